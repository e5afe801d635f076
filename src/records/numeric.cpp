#include "records/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vortexa {

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

std::optional<int32_t> toInt32(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}

std::optional<int16_t> toInt16(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= std::numeric_limits<int16_t>::min() && rounded <= std::numeric_limits<int16_t>::max()))
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

int32_t wholeNumber(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (value >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(roundHalfEven(value));
}

namespace {

// Characters are classified by hand, in ASCII, so that the user's locale plays no part.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<double> radixPrefixValue(std::string_view digits, int radix)
{
    double value = 0;
    bool anyDigit = false;
    for (char c : digits) {
        c = lowerAscii(c);
        int digit = -1;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
        anyDigit = true;
    }
    if (!anyDigit)
        return std::nullopt;
    return std::min(value, std::numeric_limits<double>::max());
}

size_t digitsFrom(std::string_view text, size_t position)
{
    while (position < text.size() && isDigit(text[position]))
        ++position;
    return position;
}

// The longest prefix of the form [sign] digits [. digits] [E [sign] digits] with at least one digit
// before the exponent; empty when there is none.
std::string_view decimalPrefix(std::string_view text)
{
    size_t end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    const size_t wholeStart = end;
    end = digitsFrom(text, end);
    bool anyDigit = end > wholeStart;
    if (end < text.size() && text[end] == '.') {
        const size_t fractionStart = end + 1;
        end = digitsFrom(text, fractionStart);
        anyDigit = anyDigit || end > fractionStart;
    }
    if (!anyDigit)
        return {};
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const size_t exponentEnd = digitsFrom(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    return text.substr(0, end);
}

// True when a decimal number too far from 1 to be held is large rather than tiny: its first
// non-zero digit stands at or above the units place once the exponent is applied.
bool isLargeMagnitude(std::string_view number)
{
    const size_t mantissaEnd = std::min(number.find_first_of("eE"), number.size());
    const std::string_view mantissa = number.substr(0, mantissaEnd);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t firstNonZero = mantissa.find_first_of("123456789");
    if (firstNonZero == std::string_view::npos)
        return false;
    int64_t place = firstNonZero < point ? static_cast<int64_t>(point - firstNonZero - 1)
                                         : -static_cast<int64_t>(firstNonZero - point);
    if (mantissaEnd < number.size()) {
        // Exponents beyond any double only need their sign; hold them where the sum cannot overflow.
        int64_t exponent = 0;
        std::string_view digits = number.substr(mantissaEnd + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        if (!digits.empty() && (digits[0] == '-' || digits[0] == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min<int64_t>(exponent * 10 + (c - '0'), int64_t {1} << 40);
        place += negative ? -exponent : exponent;
    }
    return place >= 0;
}

} // namespace

std::optional<double> numberAtStart(std::string_view text)
{
    size_t position = 0;
    while (position < text.size() && isBlank(text[position]))
        ++position;
    text.remove_prefix(position);

    if (text.size() >= 2 && text[0] == '&') {
        const char kind = lowerAscii(text[1]);
        if (kind == 'h')
            return radixPrefixValue(text.substr(2), 16);
        if (kind == 'o')
            return radixPrefixValue(text.substr(2), 8);
        return std::nullopt;
    }

    const std::string_view number = decimalPrefix(text);
    if (number.empty())
        return std::nullopt;
    // from_chars takes no plus sign, and reads "." as the decimal point whatever the locale says.
    const bool negative = number[0] == '-';
    const std::string_view magnitude = number[0] == '-' || number[0] == '+' ? number.substr(1) : number;
    double value = 0;
    const std::from_chars_result read = std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), value);
    if (read.ec == std::errc::result_out_of_range)
        value = isLargeMagnitude(magnitude) ? std::numeric_limits<double>::max() : 0.0;
    return negative ? -value : value;
}

double textToNumber(std::string_view text) { return numberAtStart(text).value_or(0); }

uint32_t colourFromText(std::string_view text)
{
    const double value = textToNumber(text);
    if (!(value >= 0 && value <= 4294967295.0))
        return 0;
    return static_cast<uint32_t>(value);
}

std::string decimalText(int64_t value) { return std::to_string(value); }

int secondOfDay(double date)
{
    const double fraction = std::fabs(date - std::trunc(date));
    return static_cast<int>(std::llround(fraction * SecondsPerDay) % SecondsPerDay);
}

} // namespace vortexa
