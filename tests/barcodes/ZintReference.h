#pragma once

// The zint command line as an independent reference encoder.
#include <string>
#include <vector>

bool ZintAvailable();

// The rows of `zint --dump` for the symbology number with the given options, modules "1"/"0" without the
// padding to whole nibbles (a row ends with the symbol's last bar); empty when zint refuses the data.
std::vector<std::string> ZintModules(int symbology, const std::string& data, const std::string& options = "");

// The only row of a linear symbol, "" when zint refuses the data.
std::string ZintRow(int symbology, const std::string& data, const std::string& options = "");

// Each bar and space as "n" (narrow) or "w" (wider than the narrowest element): compares symbols drawn
// with different wide-to-narrow ratios.
std::string ElementClasses(const std::string& modules);
