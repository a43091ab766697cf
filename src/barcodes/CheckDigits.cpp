#include "barcodes/Barcodes.h"

#include <array>

namespace {

int Value(char c) { return c - '0'; }
char DigitChar(int value) { return static_cast<char>('0' + value); }
char TensComplement(int total) { return DigitChar((10 - total % 10) % 10); }
int DigitSum(int n) { return n / 10 + n % 10; }

// x^(8+k) modulo x^8 + x^7 + x^6 + x^5 + x^3 + 1, bit 7 standing for x^7.
constexpr std::array<int, 61> PlesseyCrcTable()
{
    std::array<int, 61> table{};
    int r = 0xE9;
    for (int& entry : table) {
        entry = r;
        r <<= 1;
        if (r & 0x100)
            r ^= 0x1E9;
    }
    return table;
}

int ReverseNibble(int n)
{
    return ((n & 1) << 3) | ((n & 2) << 1) | ((n & 4) >> 1) | ((n & 8) >> 3);
}

int Code11Value(char c) { return c == '-' ? 10 : Value(c); }

char Code11Check(const std::string& data, int maxWeight)
{
    int sum = 0;
    int weight = 1;
    for (auto it = data.rbegin(); it != data.rend(); ++it) {
        sum += Code11Value(*it) * weight;
        weight = weight == maxWeight ? 1 : weight + 1;
    }
    const int c = sum % 11;
    return c == 10 ? '-' : DigitChar(c);
}

int CodabarValue(char c)
{
    const std::string values = "0123456789-$:/.+";
    const auto at = values.find(c);
    if (at != std::string::npos)
        return static_cast<int>(at);
    switch (c) {
    case 'a': case 'A': case 't': case 'T': return 16;
    case 'b': case 'B': case 'm': case 'M': return 17;
    case 'c': case 'C': case '*': return 18;
    default: return 19;
    }
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

} // namespace

std::string PostnetCheckDigit(const std::string& data)
{
    int sum = 0;
    for (char c : data)
        sum += Value(c);
    return data + TensComplement(sum);
}

std::string CipCheckDigit(const std::string& data)
{
    int sum = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        sum += Value(data[i]) * static_cast<int>(i + 2);
    const int r = sum % 11;
    if (r == 10)
        return "";
    return data + static_cast<char>(58 - r);
}

std::string PlesseyCheckChars(const std::string& data)
{
    static constexpr std::array<int, 61> table = PlesseyCrcTable();
    const std::string hex = "0123456789ABCDEF";
    // Each hex digit is sent least significant bit first; k counts bits back from the last one.
    int crc = 0;
    const int bits = static_cast<int>(data.size()) * 4;
    for (int i = 0; i < bits; ++i) {
        const int nibble = static_cast<int>(hex.find(data[i / 4]));
        if (nibble >> (i % 4) & 1)
            crc ^= table[bits - 1 - i];
    }
    return data + hex[ReverseNibble(crc >> 4)] + hex[ReverseNibble(crc & 15)];
}

std::string DeltaCheckDigit(const std::string& data)
{
    const std::string values = "0123456789KLM_O";
    int sum = 0;
    bool doubled = true;
    for (auto it = data.rbegin(); it != data.rend(); ++it, doubled = !doubled) {
        const int v = static_cast<int>(values.find(*it)) * (doubled ? 2 : 1);
        sum += DigitSum(v);
    }
    return data + TensComplement(sum);
}

std::string Interleaved25CheckDigit(const std::string& data)
{
    int total = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        total += Value(data[i]) * (i % 2 == 0 ? 3 : 1);
    return data + TensComplement(total);
}

std::string TwoOfFiveCheckDigit(const std::string& data)
{
    int total = 0;
    bool heavy = true;
    for (auto it = data.rbegin(); it != data.rend(); ++it, heavy = !heavy)
        total += Value(*it) * (heavy ? 3 : 1);
    return data + TensComplement(total);
}

std::string Code11CheckChars(const std::string& data)
{
    std::string out = data + Code11Check(data, 10);
    if (data.size() > 10)
        out += Code11Check(out, 9);
    return out;
}

std::string MsiCheckDigit(const std::string& data, int mode)
{
    int sum = 0;
    std::string joined;
    for (std::size_t count = 1; count <= data.size(); ++count) {
        const char c = data[data.size() - count];
        if (count % 2 == 1)
            joined += c;
        else
            sum += Value(c);
    }
    // The digits of twice the joined number: each doubled digit adds its digit sum (a carry never meets a 9).
    for (char c : joined)
        sum += DigitSum(2 * Value(c));
    std::string out = data + TensComplement(sum);
    if (mode != 2)
        return out;

    int total = 0;
    int weight = 2;
    for (auto it = out.rbegin(); it != out.rend(); ++it) {
        total += Value(*it) * weight;
        weight = weight == 7 ? 2 : weight + 1;
    }
    return out + DigitChar((11 - total % 11) % 11);
}

std::string CodabarCheckChar(const std::string& data)
{
    const std::string body = data.substr(1, data.size() - 2);
    int sum = CodabarValue(data.front()) + CodabarValue(data.back());
    for (char c : body)
        sum += CodabarValue(c);
    const int r = sum % 16;
    const char check = "0123456789-$:/.+"[r == 0 ? 0 : 16 - r];
    return std::string(1, Lower(data.front())) + body + check + Lower(data.back());
}
