#include "reports/BarcodeFit.h"

#include <algorithm>
#include <cmath>

double FontModuleMm(double pointSize) { return pointSize * 0.01; }

BarcodeFit FitBarcode(int modules, int quietModules, double boxDots, double preferredModuleDots)
{
    BarcodeFit fit;
    if (modules <= 0) return fit;
    const int span = modules + 2 * quietModules;
    const int fitting = static_cast<int>(std::floor(boxDots / span));
    // Never thinner than a dot: a symbol wider than its box is still readable, a missing one is not.
    fit.moduleDots = std::max(1, std::min(static_cast<int>(std::floor(preferredModuleDots)), fitting));
    fit.quietDots = quietModules * fit.moduleDots;
    fit.widthDots = span * fit.moduleDots;
    return fit;
}
