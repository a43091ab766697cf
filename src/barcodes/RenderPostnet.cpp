#include "barcodes/GlyphRenderers.h"

namespace barcodes {
namespace {

// Tall bars of each digit's five bars.
const char* const kTall[10] = {"11000", "00011", "00101", "00110", "01001",
                               "01010", "01100", "10001", "10010", "10100"};

} // namespace

// Two rows, one bar every other module: the tall bars, then every bar. "*" and "#" draw the tall frame bars.
std::string PostnetModules(const std::string& font)
{
    std::string tall;
    for (char c : font) {
        if (c == '*' || c == '#')
            tall += '1';
        else if (c >= '0' && c <= '9')
            tall += kTall[c - '0'];
        else
            return "";
    }
    std::string top;
    std::string all;
    for (std::size_t i = 0; i < tall.size(); ++i) {
        if (i > 0) {
            top += '0';
            all += '0';
        }
        top += tall[i];
        all += '1';
    }
    return top + "\n" + all;
}

} // namespace barcodes
