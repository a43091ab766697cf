#pragma once

// Building blocks of the glyph renderers: bars and spaces written out as modules, "1" dark, "0" light.
#include <string>
#include <string_view>

namespace barcodes {

// Alternating elements, each as many modules as its digit; the first is a bar unless barFirst is false.
inline void AppendWidths(std::string& modules, std::string_view widths, bool barFirst = true)
{
    bool bar = barFirst;
    for (char w : widths) {
        modules.append(static_cast<std::size_t>(w - '0'), bar ? '1' : '0');
        bar = !bar;
    }
}

// Alternating narrow ("0") and wide ("1") elements; wide elements are three modules.
inline void AppendWideMask(std::string& modules, std::string_view mask, bool barFirst = true)
{
    bool bar = barFirst;
    for (char m : mask) {
        modules.append(m == '1' ? 3 : 1, bar ? '1' : '0');
        bar = !bar;
    }
}

// The place of c in set, or -1.
inline int IndexIn(std::string_view set, char c)
{
    const auto at = set.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

} // namespace barcodes
