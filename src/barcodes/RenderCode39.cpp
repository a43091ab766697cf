#include "barcodes/GlyphRenderers.h"
#include "barcodes/Modules.h"

namespace barcodes {
namespace {

// Wide elements of the Code 39 characters, bar first, the space drawn at "_"; "#" draws the start/stop "*".
constexpr std::string_view kSet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._$/+%#";
const char* const kMasks[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000", "000100101",
    "100100100", "001100100", "100001001", "001001001", "101001000", "000011001", "100011000", "001011000",
    "000001101", "100001100", "001001100", "000011100", "100000011", "001000011", "101000010", "000010011",
    "100010010", "001010010", "000000111", "100000110", "001000110", "000010110", "110000001", "011000001",
    "111000000", "010010001", "110010000", "011010000", "010000101", "110000100", "011000100", "010101000",
    "010100010", "010001010", "000101010", "010010100"};

// Code 32 draws base-32 digit k at code 66 + k as this Code 39 character.
constexpr std::string_view kBase32 = "0123456789BCDFGHJKLMNPQRSTUVWXYZ";

// Characters of the Code 39 set, separated by a narrow gap.
std::string Draw(const std::string& chars)
{
    std::string modules;
    for (char c : chars) {
        const int at = IndexIn(kSet, c);
        if (at < 0)
            return "";
        if (!modules.empty())
            modules += '0';
        AppendWideMask(modules, kMasks[at]);
    }
    return modules;
}

} // namespace

std::string Code39Modules(const std::string& font)
{
    return Draw(font);
}

std::string Code32Modules(const std::string& font)
{
    if (font.size() < 2 || font.front() != '*' || font.back() != '#')
        return "";
    std::string chars = "#";
    for (std::size_t i = 1; i + 1 < font.size(); ++i) {
        const int k = static_cast<unsigned char>(font[i]) - 66;
        if (k < 0 || k >= 32)
            return "";
        chars += kBase32[static_cast<std::size_t>(k)];
    }
    return Draw(chars + "#");
}

} // namespace barcodes
