#include "barcodes/GlyphRenderers.h"
#include "barcodes/Modules.h"

namespace barcodes {
namespace {

// Wide elements of the Codabar characters (four bars, three spaces); A to D are the start and stop characters.
constexpr std::string_view kSet = "0123456789-$:/.+ABCD";
const char* const kMasks[20] = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001", "0100100", "0110000", "1001000",
    "0001100", "0011000", "1000101", "1010001", "1010100", "0010101", "0011010", "0101001", "0001011", "0001110"};

// The start and stop letters in either case, with their other names T, M, * and E.
char Canonical(char c)
{
    switch (c) {
    case 'a': case 't': case 'T': return 'A';
    case 'b': case 'm': case 'M': return 'B';
    case 'c': case '*': return 'C';
    case 'd': case 'e': case 'E': return 'D';
    default: return c;
    }
}

} // namespace

// "|" draws the narrow gap between two characters.
std::string CodabarModules(const std::string& font)
{
    std::string modules;
    for (char c : font) {
        if (c == '|') {
            modules += '0';
            continue;
        }
        const int at = IndexIn(kSet, Canonical(c));
        if (at < 0)
            return "";
        AppendWideMask(modules, kMasks[at]);
    }
    return modules;
}

} // namespace barcodes
