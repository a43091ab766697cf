#include "barcodes/Barcodes.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

// A numeric escape names no character when its digits are missing or fold to a negative value.
std::string CodeOrNothing(long value)
{
    if (value < 0)
        return "";
    return std::string(1, static_cast<char>(std::min(value, 255L)));
}

// A decimal number with an optional sign and fraction, rounded; the first other character ends it.
std::string DecimalEscape(const std::string& text)
{
    // Cut off by the end of the data: what is there is read as it is, and nothing counts zero.
    if (text.empty())
        return std::string(1, '\0');
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return "";
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    double value = 0;
    double scale = 1;
    bool seenDigit = false;
    bool inFraction = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        seenDigit = true;
        if (inFraction) {
            scale /= 10;
            value += (c - '0') * scale;
        } else {
            value = value * 10 + (c - '0');
        }
    }
    if (!seenDigit)
        return "";
    return CodeOrNothing(std::lround(negative ? -value : value));
}

std::string BaseEscape(const std::string& digits, int base)
{
    if (digits.empty())
        return std::string(1, '\0');
    return CodeOrNothing(ParseNumberInBase(digits, base));
}

} // namespace

int ParseNumberInBase(const std::string& digits, int base)
{
    int value = 0;
    for (unsigned char c : digits) {
        const int code = std::toupper(c);
        value = value * base + (code <= '9' ? code - '0' : code - 'A' + 10);
    }
    return value;
}

std::string NextEscapedChar(const std::string& data, int& pos)
{
    const auto at = static_cast<std::size_t>(pos - 1);
    if (data[at] != '\\') {
        ++pos;
        return data.substr(at, 1);
    }
    pos += 2;
    if (at + 1 >= data.size())
        return "";
    const char kind = data[at + 1];
    switch (kind) {
    case 'a': case 'A': return "\a";
    case 'b': case 'B': return "\b";
    case 'f': case 'F': return "\f";
    case 'n': case 'N': return "\n";
    case 'r': case 'R': return "\r";
    case 't': case 'T': return "\t";
    case 'v': case 'V': return "\v";
    case '\\': case '?': case '\'': case '"': return std::string(1, kind);
    case 'd': case 'D':
        pos += 3;
        return DecimalEscape(data.substr(at + 2, 3));
    case 'x': case 'X':
        pos += 2;
        return BaseEscape(data.substr(at + 2, 2), 16);
    default:
        break;
    }
    if (kind >= '0' && kind <= '9') {
        pos += 2;
        return BaseEscape(data.substr(at + 1, 3), 8);
    }
    return "";
}
