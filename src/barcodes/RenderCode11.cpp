#include "barcodes/GlyphRenderers.h"
#include "barcodes/Modules.h"

namespace barcodes {
namespace {

// Wide elements of the Code 11 characters (three bars, two spaces); "*" and "#" both draw start/stop.
constexpr std::string_view kSet = "0123456789-*#";
const char* const kMasks[13] = {"00001", "10001", "01001", "11000", "00101", "10100", "01100",
                                "00011", "10010", "10000", "00100", "00110", "00110"};

} // namespace

std::string Code11Modules(const std::string& font)
{
    std::string modules;
    for (char c : font) {
        const int at = IndexIn(kSet, c);
        if (at < 0)
            return "";
        if (!modules.empty())
            modules += '0';
        AppendWideMask(modules, kMasks[at]);
    }
    return modules;
}

} // namespace barcodes
