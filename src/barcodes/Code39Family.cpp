#include "barcodes/Barcodes.h"

#include <optional>

namespace {

const std::string kCode39Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._$/+%";
const std::string kCode93Set = kCode39Set + "abcd";

// The Code 39 full-ASCII pair (or single character) for codes 0 to 127.
std::string FullAsciiCode39(int c)
{
    auto pair = [](char shift, char letter) { return std::string{shift, letter}; };
    if (c == 0)
        return "%U";
    if (c <= 26)
        return pair('$', static_cast<char>('A' + c - 1));
    if (c <= 31)
        return pair('%', static_cast<char>('A' + c - 27));
    if (c == ' ')
        return "_";
    if (c <= 47)
        return pair('/', static_cast<char>('A' + c - 33));
    if (c <= 57)
        return std::string(1, static_cast<char>(c));
    if (c == ':')
        return "/Z";
    if (c <= 63)
        return pair('%', static_cast<char>('F' + c - 59));
    if (c == '@')
        return "%V";
    if (c <= 90)
        return std::string(1, static_cast<char>(c));
    if (c <= 95)
        return pair('%', static_cast<char>('K' + c - 91));
    if (c == '`')
        return "%W";
    if (c <= 122)
        return pair('+', static_cast<char>(c - 32));
    return pair('%', static_cast<char>('P' + c - 123));
}

std::string FullAsciiCode93(int c)
{
    std::string s = FullAsciiCode39(c);
    if (s.size() == 2)
        s[0] = "abcd"[std::string("$%/+").find(s[0])];
    return s;
}

// The character of (weighted sum modulo set size), weights 1..maxWeight cycling from the last character.
char WeightedCheck(const std::string& data, const std::string& set, int maxWeight)
{
    int sum = 0;
    int weight = 1;
    for (auto it = data.rbegin(); it != data.rend(); ++it) {
        sum += static_cast<int>(set.find(*it)) * weight;
        weight = weight == maxWeight ? 1 : weight + 1;
    }
    return set[sum % static_cast<int>(set.size())];
}

template <typename Table>
std::optional<std::string> Translated(const std::string& data, Table table)
{
    std::string out;
    int pos = 1;
    while (pos <= static_cast<int>(data.size())) {
        const std::string c = NextEscapedChar(data, pos);
        if (c.empty() || static_cast<unsigned char>(c[0]) > 127)
            return std::nullopt;
        out += table(c[0]);
    }
    return out;
}

} // namespace

std::string Code39CheckChar(const std::string& data)
{
    int sum = 0;
    for (char c : data)
        sum += static_cast<int>(kCode39Set.find(c));
    return data + kCode39Set[sum % 43];
}

std::string Code93CheckChars(const std::string& data)
{
    const std::string withC = data + WeightedCheck(data, kCode93Set, 20);
    return withC + WeightedCheck(withC, kCode93Set, 15);
}

std::string EncodeCode39Full(const std::string& data, bool addCheck)
{
    const std::optional<std::string> s = Translated(data, FullAsciiCode39);
    if (!s)
        return "";
    return "#" + (addCheck ? Code39CheckChar(*s) : *s) + "#";
}

std::string EncodeCode93Full(const std::string& data, bool addCheck)
{
    const std::optional<std::string> s = Translated(data, FullAsciiCode93);
    if (!s)
        return "";
    return "*" + (addCheck ? Code93CheckChars(*s) : *s) + "#";
}

std::string Code32CheckDigit(const std::string& data)
{
    int total = 0;
    for (std::size_t i = 0; i < 8 && i < data.size(); ++i) {
        const int d = data[i] - '0';
        total += i % 2 == 1 ? (2 * d) / 10 + (2 * d) % 10 : d;
    }
    return data + static_cast<char>('0' + total % 10);
}

std::string EncodeCode32(const std::string& data)
{
    long value = std::stol(data);
    std::string glyphs;
    for (int i = 0; i < 6; ++i) {
        glyphs.insert(glyphs.begin(), static_cast<char>(66 + value % 32));
        value /= 32;
    }
    return "*" + glyphs + "#";
}
