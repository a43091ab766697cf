#include "barcodes/GlyphRenderers.h"
#include "barcodes/Modules.h"

namespace barcodes {
namespace {

// Bar and space widths of the 47 Code 93 characters; "a" to "d" are the shifts ($) (%) (/) (+).
constexpr std::string_view kSet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._$/+%abcd";
const char* const kWidths[47] = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114", "131211", "141111",
    "211113", "211212", "211311", "221112", "221211", "231111", "112113", "112212", "112311", "122112",
    "132111", "111123", "111222", "111321", "121122", "131121", "212112", "212211", "211122", "211221",
    "221121", "222111", "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211"};
constexpr std::string_view kStartStop = "111141";

} // namespace

// "*" draws the start pattern, "#" the stop pattern with its closing bar.
std::string Code93Modules(const std::string& font)
{
    std::string modules;
    for (char c : font) {
        if (c == '*') {
            AppendWidths(modules, kStartStop);
        } else if (c == '#') {
            AppendWidths(modules, kStartStop);
            modules += '1';
        } else {
            const int at = IndexIn(kSet, c);
            if (at < 0)
                return "";
            AppendWidths(modules, kWidths[at]);
        }
    }
    return modules;
}

} // namespace barcodes
