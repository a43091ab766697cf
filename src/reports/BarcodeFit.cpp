#include "reports/BarcodeFit.h"

#include <algorithm>
#include <cctype>
#include <cmath>

double MaxModuleMm(const std::string& symbology)
{
    std::string keyword;
    for (char c : symbology) keyword += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool eanUpc = keyword == "EAN13" || keyword == "EAN8" || keyword == "UPCA" || keyword == "UPCE" || keyword == "ADD2"
                        || keyword == "ADD5";
    return eanUpc ? 0.66 : 0.94;
}

BarcodeFit FitBarcode(int modules, int quietModules, double boxDots, double maxModuleDots)
{
    BarcodeFit fit;
    if (modules <= 0) return fit;
    const int span = modules + 2 * quietModules;
    const int fitting = static_cast<int>(std::floor(boxDots / span));
    // Never thinner than a dot: a symbol wider than its box is still readable, a missing one is not.
    fit.moduleDots = std::max(1, std::min(static_cast<int>(std::floor(maxModuleDots)), fitting));
    fit.quietDots = quietModules * fit.moduleDots;
    fit.widthDots = span * fit.moduleDots;
    return fit;
}
