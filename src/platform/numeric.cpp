#include "platform/numeric.h"

#include <cctype>
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

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

double radixPrefixValue(std::string_view digits, int radix)
{
    double value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (radix == 16 && std::isxdigit(static_cast<unsigned char>(c)))
            digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

} // namespace

double textToNumber(std::string_view text)
{
    size_t position = 0;
    while (position < text.size() && isBlank(text[position]))
        ++position;
    text.remove_prefix(position);

    if (text.size() >= 2 && text[0] == '&') {
        const char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(text[1])));
        if (kind == 'h')
            return radixPrefixValue(text.substr(2), 16);
        if (kind == 'o')
            return radixPrefixValue(text.substr(2), 8);
        return 0;
    }

    // Copy the longest prefix of the form [sign] digits [. digits] [E [sign] digits].
    std::string number;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    bool anyDigit = false;
    auto takeDigits = [&] {
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            number += text[i++];
            anyDigit = true;
        }
    };
    takeDigits();
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        takeDigits();
    }
    if (!anyDigit)
        return 0;
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (text[j] == '+' || text[j] == '-')
            exponent += text[j++];
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                exponent += text[j++];
            number += exponent;
        }
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : std::copysign(std::numeric_limits<double>::max(), value);
}

uint32_t colourFromText(std::string_view text)
{
    const double value = textToNumber(text);
    if (!(value >= 0 && value <= 4294967295.0))
        return 0;
    return static_cast<uint32_t>(value);
}

std::string decimalText(int64_t value) { return std::to_string(value); }

} // namespace vortexa
