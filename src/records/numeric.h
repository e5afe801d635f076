#pragma once
// The number rules of the program, kept in one place: rounding to whole numbers, integer halving,
// 16-bit conversions that can fail, and the conversions of text to numbers.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vortexa {

// Nearest whole number, halves to the even neighbour: round(2.5) = 2, round(3.5) = 4.
double roundHalfEven(double value);

// A whole number of 32 bits, or nothing when the rounded value does not fit.
std::optional<int32_t> toInt32(double value);

// A whole number of 16 bits, or nothing when the rounded value does not fit.
std::optional<int16_t> toInt16(double value);

// The whole number of 32 bits for values the program knows to be in range; out-of-range values
// are held at the nearer end, never undefined.
int32_t wholeNumber(double value);

// Integer division truncating towards zero, as in "Width \ 2".
constexpr int32_t integerHalf(int32_t value) { return value / 2; }

// Values are stored as single precision, as the screen elements hold them.
constexpr float single(double value) { return static_cast<float>(value); }

// A letter A..Z in lower case, any other character as it is: texts are compared in ASCII, whatever
// the user's locale says.
constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The ordinary conversion of text to a number: leading blanks are skipped, then the longest
// prefix that reads as a decimal number (or an "&H" hexadecimal or "&O" octal number) is taken;
// text that starts with anything else, and empty text, gives 0. The decimal point is always ".",
// whatever the locale; values beyond a double are held at its largest.
double textToNumber(std::string_view text);

// The number the ordinary conversion finds at the start of the text, or nothing when the text does
// not start with one (an empty text, a word, "&H" without digits).
std::optional<double> numberAtStart(std::string_view text);

// The value of a colour text: "&H" followed by hexadecimal digits, as the colour table holds.
uint32_t colourFromText(std::string_view text);

constexpr int SecondsPerDay = 24 * 3600;

// The time of day of a date value in whole seconds, 0 to 86399. A negative date's time of day is
// its fraction taken without the sign, as date values count it.
int secondOfDay(double date);

// A whole number as plain decimal digits, with a minus sign when negative.
std::string decimalText(int64_t value);

} // namespace vortexa
