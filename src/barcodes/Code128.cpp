#include "barcodes/Barcodes.h"

#include <vector>

namespace {

enum Value { Fnc3 = 96, Fnc2 = 97, Shift = 98, CodeC = 99, CodeB = 100, CodeA = 101, Fnc1 = 102,
             StartA = 103, StartB = 104, StartC = 105 };
constexpr int kMarkerNul = 128;
constexpr int kMarkerFnc1 = 129;
constexpr int kLastEncodable = 132;
constexpr char kStopGlyph = static_cast<char>(139);

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool NeedsCodeA(int c) { return c < 32 || c == kMarkerNul; }
bool NeedsCodeB(int c) { return c >= 96 && c <= 127; }

// Digits from `from`, FNC1 counting as a pair when it stands where a pair could start.
int DigitRun(const std::vector<int>& s, std::size_t from)
{
    int count = 0;
    for (std::size_t i = from; i < s.size(); ++i) {
        if (IsDigit(s[i]))
            count += 1;
        else if (s[i] == kMarkerFnc1 && count % 2 == 0)
            count += 2;
        else
            break;
    }
    return count;
}

// Code A or B, whichever the first character that needs one of them asks for.
int SetFor(const std::vector<int>& s, std::size_t from)
{
    for (std::size_t i = from; i < s.size(); ++i) {
        if (NeedsCodeA(s[i]))
            return StartA;
        if (NeedsCodeB(s[i]))
            return StartB;
    }
    return StartB;
}

int StartFor(const std::vector<int>& s, std::size_t from)
{
    return DigitRun(s, from) >= 4 ? StartC : SetFor(s, from);
}

int MarkerValue(int c, int set)
{
    switch (c) {
    case kMarkerFnc1: return Fnc1;
    case 130: return Fnc2;
    case 131: return Fnc3;
    default: return set == StartA ? CodeA : CodeB;   // FNC4 shares its value with the other set's switch
    }
}

int ValueIn(int c, int set)
{
    if (c > kMarkerNul)
        return MarkerValue(c, set);
    if (set == StartA && NeedsCodeA(c))
        return c == 0 || c == kMarkerNul ? 64 : c + 64;
    return c - 32;
}

std::vector<int> SymbolValues(const std::vector<int>& s, int start)
{
    std::vector<int> out{start};
    int set = start;
    std::size_t i = 0;
    while (i < s.size()) {
        const int c = s[i];
        if (set == StartC) {
            if (IsDigit(c) && i + 1 < s.size() && IsDigit(s[i + 1])) {
                out.push_back((c - '0') * 10 + (s[i + 1] - '0'));
                i += 2;
                continue;
            }
            if (c == kMarkerFnc1) {
                out.push_back(Fnc1);
                ++i;
                continue;
            }
            set = SetFor(s, i);
            out.push_back(set == StartA ? CodeA : CodeB);
            continue;
        }
        if (IsDigit(c)) {
            const int run = DigitRun(s, i);
            if (run >= 4) {
                if (run % 2 == 1)
                    out.push_back(s[i++] - 32);
                out.push_back(CodeC);
                set = StartC;
                continue;
            }
            for (int k = 0; k < run; ++k)
                out.push_back(s[i++] - 32);
            continue;
        }
        const bool last = i + 1 == s.size();
        if (set == StartB && NeedsCodeA(c)) {
            if (last || !NeedsCodeB(s[i + 1])) {
                out.push_back(CodeA);
                set = StartA;
            } else {
                out.push_back(Shift);
            }
            out.push_back(ValueIn(c, StartA));
            ++i;
            continue;
        }
        if (set == StartA && NeedsCodeB(c)) {
            if (last || !NeedsCodeA(s[i + 1])) {
                out.push_back(CodeB);
                set = StartB;
            } else {
                out.push_back(Shift);
            }
            out.push_back(ValueIn(c, StartB));
            ++i;
            continue;
        }
        out.push_back(ValueIn(c, set));
        ++i;
    }
    return out;
}

char Glyph(int value)
{
    if (value >= 94 && value <= 96)
        return static_cast<char>(value + 56);
    return static_cast<char>(value + 33);
}

// "" when the data hold a character no code set can carry.
std::string Encode(const std::string& data, bool gs1)
{
    std::vector<int> chars;
    int pos = 1;
    while (pos <= static_cast<int>(data.size())) {
        const std::string c = NextEscapedChar(data, pos);
        if (c.empty() || static_cast<unsigned char>(c[0]) > kLastEncodable)
            return "";
        chars.push_back(static_cast<unsigned char>(c[0]));
    }
    const int start = chars.size() >= 4 ? StartFor(chars, 0) : SetFor(chars, 0);
    std::vector<int> values = SymbolValues(chars, start);
    if (gs1)
        values.insert(values.begin() + 1, Fnc1);

    // Reduced at every step: the weights grow with the data and would overflow on very long input.
    int sum = values[0] % 103;
    for (std::size_t i = 1; i < values.size(); ++i)
        sum = static_cast<int>((sum + (i % 103) * static_cast<std::size_t>(values[i])) % 103);
    values.push_back(sum);

    std::string out;
    for (int v : values)
        out += Glyph(v);
    out += kStopGlyph;
    return gs1 ? SwapGs1128Glyphs(out) : out;
}

} // namespace

int ChooseCode128Start(const std::string& s)
{
    std::vector<int> chars;
    for (unsigned char c : s)
        chars.push_back(c);
    return StartFor(chars, 0);
}

std::string SwapGs1128Glyphs(const std::string& s)
{
    std::string out = s;
    for (char& c : out) {
        switch (static_cast<unsigned char>(c)) {
        case 102: c = static_cast<char>(104); break;
        case 104: c = static_cast<char>(102); break;
        case 103: c = static_cast<char>(139); break;
        case 139: c = static_cast<char>(103); break;
        case 105: c = static_cast<char>(106); break;
        case 106: c = static_cast<char>(105); break;
        default: break;
        }
    }
    return out;
}

std::string EncodeCode128(const std::string& data)
{
    return Encode(data, false);
}

std::string EncodeGs1128(const std::string& data)
{
    return Encode(data, true);
}
