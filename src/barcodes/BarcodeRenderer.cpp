#include "barcodes/BarcodeRenderer.h"

#include "barcodes/Barcodes.h"
#include "barcodes/GlyphRenderers.h"

#include <algorithm>
#include <cctype>

using namespace barcodes;

namespace {

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

constexpr std::string_view kReadableBreak = "\r\n";

// C32HRC: "|", the symbol, a line break, the readable code.
bool SplitCode32Readable(const std::string& font, std::string& symbol, std::string& readable)
{
    const auto brk = font.find(kReadableBreak);
    if (font.empty() || font[0] != '|' || brk == std::string::npos)
        return false;
    symbol = font.substr(1, brk - 1);
    readable = font.substr(brk + kReadableBreak.size());
    return true;
}

std::string Draw(const std::string& font, const std::string& keyword)
{
    if (keyword == "C128")
        return Code128Modules(font);
    if (keyword == "E128")
        return Code128Modules(SwapGs1128Glyphs(font));
    if (keyword == "EAN13" || keyword == "EAN8" || keyword == "UPCA" || keyword == "UPCE" ||
        keyword == "ADD2" || keyword == "ADD5")
        return EanUpcModules(font, keyword);
    if (keyword == "C39" || keyword == "C39FULL")
        return Code39Modules(font);
    if (keyword == "C93" || keyword == "C93FULL")
        return Code93Modules(font);
    if (keyword == "C32")
        return Code32Modules(font);
    if (keyword == "C32HRC") {
        std::string symbol;
        std::string readable;
        return SplitCode32Readable(font, symbol, readable) ? Code32Modules(symbol) : "";
    }
    if (keyword == "CBAR")
        return CodabarModules(font);
    if (keyword == "C25" || keyword == "ITF")
        return Interleaved25Modules(font);
    if (keyword == "CIND25" || keyword == "C5BARS" || keyword == "C25INV")
        return TwoOfFiveModules(font, TwoOfFive::Industrial);
    if (keyword == "C25COMP")
        return TwoOfFiveModules(font, TwoOfFive::Iata);
    if (keyword == "C3BARS")
        return TwoOfFiveModules(font, TwoOfFive::Matrix);
    if (keyword == "CBCD")
        return TwoOfFiveModules(font, TwoOfFive::Datalogic);
    if (keyword == "C11")
        return Code11Modules(font);
    if (keyword == "CMSI")
        return MsiModules(font);
    if (keyword == "PLESSEY")
        return PlesseyModules(font);
    if (keyword == "POSTNET")
        return PostnetModules(font);
    return "";
}

} // namespace

std::string BarcodeModules(const std::string& fontString, const std::string& symbology)
{
    if (fontString.empty())
        return "";
    return Draw(fontString, Upper(symbology));
}

std::string BarcodeHumanReadable(const std::string& fontString, const std::string& symbology)
{
    const std::string keyword = Upper(symbology);
    if ((keyword == "EAN13" || keyword == "UPCE") && !fontString.empty() && std::isdigit(static_cast<unsigned char>(fontString[0])))
        return fontString.substr(0, 1);
    std::string symbol;
    std::string readable;
    if (keyword == "C32HRC" && SplitCode32Readable(fontString, symbol, readable))
        return readable;
    return "";
}

int BarcodeQuietZone(const std::string& symbology)
{
    const std::string keyword = Upper(symbology);
    if (keyword == "EAN13")
        return 11;
    if (keyword == "UPCA" || keyword == "UPCE")
        return 9;
    if (keyword == "EAN8")
        return 7;
    if (keyword == "ADD2" || keyword == "ADD5")
        return 5;
    if (keyword == "POSTNET")
        return 6;
    if (keyword == "CMSI" || keyword == "PLESSEY")
        return 12;
    const char* const tenModules[] = {"C128", "E128", "C39", "C39FULL", "C93", "C93FULL", "C32", "C32HRC",
                                      "CBAR", "C25", "ITF", "CIND25", "C5BARS", "C3BARS", "CBCD",
                                      "C25INV", "C25COMP", "C11"};
    return std::find(std::begin(tenModules), std::end(tenModules), keyword) != std::end(tenModules) ? 10 : 0;
}
