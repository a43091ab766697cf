#include "barcodes/GlyphRenderers.h"
#include "barcodes/Modules.h"

namespace barcodes {
namespace {

void MsiBit(std::string& modules, bool one) { modules += one ? "110" : "100"; }
void PlesseyBit(std::string& modules, bool one) { modules += one ? "1110" : "1000"; }

} // namespace

// MSI draws each digit as its four bits, most significant first; ":" is the check value 10.
std::string MsiModules(const std::string& font)
{
    std::string modules;
    for (char c : font) {
        if (c == '*') {
            modules += "110";
        } else if (c == '#') {
            modules += "1001";
        } else if (c >= '0' && c <= ':') {
            for (int bit = 3; bit >= 0; --bit)
                MsiBit(modules, (c - '0') >> bit & 1);
        } else {
            return "";
        }
    }
    return modules;
}

// Plessey draws each hex digit as its four bits, least significant first.
std::string PlesseyModules(const std::string& font)
{
    std::string modules;
    for (char c : font) {
        if (c == '*') {
            for (bool one : {true, true, false, true})
                PlesseyBit(modules, one);
        } else if (c == '#') {
            AppendWidths(modules, "331311313");
        } else {
            const int nibble = IndexIn("0123456789ABCDEF", c);
            if (nibble < 0)
                return "";
            for (int bit = 0; bit < 4; ++bit)
                PlesseyBit(modules, nibble >> bit & 1);
        }
    }
    return modules;
}

} // namespace barcodes
