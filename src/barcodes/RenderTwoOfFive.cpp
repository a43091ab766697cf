#include "barcodes/GlyphRenderers.h"
#include "barcodes/Modules.h"

namespace barcodes {
namespace {

// The two wide elements among the five of each digit.
const char* const kDigits[10] = {"00110", "10001", "01001", "11000", "00101",
                                 "10100", "01100", "00011", "10010", "01010"};

// Interleaved glyphs: codes 64 + k draw bar-space-bar-space-bar, codes 96 + k space-bar-space-bar-space,
// both with the wide elements of entry k; empty entries are no glyph.
const char* const kPairHalves[31] = {
    "00000", "00001", "00010", "00100", "01000", "10000", "00011", "00101", "01001", "10001", "00110",
    "01010", "10010", "01100", "10100", "11000", "11100", "11010", "10110", "01110", "11001", "",
    "01101", "10011", "01011", "00111", "11110", "", "11011", "", "01111"};

struct Frame {
    const char* start;
    const char* stop;
    bool barsOnly;   // the digit is in its five bars, each followed by a narrow space
};

Frame FrameOf(TwoOfFive variant)
{
    switch (variant) {
    case TwoOfFive::Industrial: return {"101000", "10001", true};
    case TwoOfFive::Iata: return {"0000", "100", true};
    case TwoOfFive::Matrix: return {"100000", "10000", false};
    case TwoOfFive::Datalogic: return {"0000", "100", false};
    }
    return {"", "", true};
}

} // namespace

std::string Interleaved25Modules(const std::string& font)
{
    std::string modules;
    for (char c : font) {
        const int code = static_cast<unsigned char>(c);
        if (c == '*') {
            modules += "1010";
        } else if (c == '#') {
            AppendWideMask(modules, "100");
        } else if (code >= 64 && code <= 126 && code != 95 && *kPairHalves[code % 32]) {
            AppendWideMask(modules, kPairHalves[code % 32], code < 96);
        } else {
            return "";
        }
    }
    return modules;
}

std::string TwoOfFiveModules(const std::string& font, TwoOfFive variant)
{
    const Frame frame = FrameOf(variant);
    std::string modules;
    for (char c : font) {
        if (c == '*') {
            AppendWideMask(modules, frame.start);
        } else if (c == '#') {
            AppendWideMask(modules, frame.stop);
        } else if (c >= '0' && c <= '9') {
            const std::string digit = kDigits[c - '0'];
            if (frame.barsOnly) {
                for (char wide : digit)
                    AppendWideMask(modules, std::string{wide, '0'});
            } else {
                AppendWideMask(modules, digit + "0");
            }
        } else {
            return "";
        }
    }
    return modules;
}

} // namespace barcodes
