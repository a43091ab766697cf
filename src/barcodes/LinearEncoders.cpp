#include "barcodes/Barcodes.h"

namespace {

// Two glyphs per digit pair; row = first digit, each row the ten pairs d0 to d9 one after the other.
const char* const kInterleavedPairs[10] = {
    "ApHhFhXdAtHoFoAvHmFm", "ErOfLfQbEwOlLlEyOjLj", "CrMfJfSbCwMlJlCyMjJj", "NnPaRaZ`NiPeReNgPcRc",
    "ArHfFfXbAwHlFlAyHjFj", "InTaWa\\`IiTeWeIgTcWc", "GnVaYa^`GiVeYeGgVcYc", "@zDxBxKk@|DqBq@~DsBs",
    "EpOhLhQdEtOoLoEvOmLm", "CpMhJhSdCtMoJoCvMmJm"};

} // namespace

std::string EncodeDelta(const std::string& data)
{
    std::string out = "*";
    for (char c : data) {
        out += '|';
        out += c;
    }
    return out + "|#";
}

std::string EncodeInterleaved25(const std::string& data)
{
    std::string out = "*";
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        out += std::string(kInterleavedPairs[data[i] - '0'] + 2 * (data[i + 1] - '0'), 2);
    return out + "#";
}

std::string EncodeCodabar(const std::string& data)
{
    std::string out;
    for (char c : data) {
        if (!out.empty())
            out += '|';
        out += c;
    }
    return out;
}
