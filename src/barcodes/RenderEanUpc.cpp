#include "barcodes/GlyphRenderers.h"
#include "barcodes/Modules.h"

#include <algorithm>

namespace barcodes {
namespace {

// Set A (odd parity) of the digits 0 to 9; set C is its inverse and set B set C read backwards.
const char* const kSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                               "0110001", "0101111", "0111011", "0110111", "0001011"};

enum class Set { A, B, C };

std::string Digit(int d, Set set)
{
    std::string m = kSetA[d];
    if (set == Set::A)
        return m;
    std::transform(m.begin(), m.end(), m.begin(), [](char c) { return c == '1' ? '0' : '1'; });
    if (set == Set::B)
        std::reverse(m.begin(), m.end());
    return m;
}

// A digit glyph of `first` to `first + 9` drawn in `set`; false when c is not such a glyph.
bool DigitGlyph(std::string& modules, unsigned char c, int first, Set set)
{
    if (c < first || c > first + 9)
        return false;
    modules += Digit(c - first, set);
    return true;
}

bool Glyph(std::string& modules, unsigned char c, const std::string& keyword)
{
    switch (c) {
    case '|': modules += "101"; return true;
    case '!': modules += "01010"; return true;
    case '#':
        if (keyword != "UPCE")
            return false;
        modules += "010101";
        return true;
    case '+': modules += "1011"; return true;
    case '_': modules += "01"; return true;
    case '-': return true;   // the gap in front of an add-on belongs to the quiet zone
    default: break;
    }
    if (keyword == "ADD2" || keyword == "ADD5")
        return DigitGlyph(modules, c, 'K', Set::A) || DigitGlyph(modules, c, 'U', Set::B);
    if (keyword == "EAN13")
        return DigitGlyph(modules, c, 'a', Set::A) || DigitGlyph(modules, c, 'A', Set::B) ||
               DigitGlyph(modules, c, 'm', Set::C);
    if (keyword == "UPCE")
        return DigitGlyph(modules, c, 'A', Set::A) || DigitGlyph(modules, c, 'a', Set::B);
    return DigitGlyph(modules, c, 'A', Set::A) || DigitGlyph(modules, c, 'm', Set::C);
}

} // namespace

std::string EanUpcModules(const std::string& font, const std::string& keyword)
{
    // EAN-13 and UPC-E strings lead with a readable digit drawn beside the bars.
    std::size_t from = 0;
    if ((keyword == "EAN13" || keyword == "UPCE") && !font.empty() && font[0] >= '0' && font[0] <= '9')
        from = 1;
    std::string modules;
    for (std::size_t i = from; i < font.size(); ++i)
        if (!Glyph(modules, static_cast<unsigned char>(font[i]), keyword))
            return "";
    return modules;
}

} // namespace barcodes
