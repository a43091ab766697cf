#include "ZintReference.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::string ShellQuoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string RunCommand(const std::string& command)
{
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()))
        out += buffer;
    return out;
}

std::string HexRowToModules(const std::string& row)
{
    std::string modules;
    for (char c : row) {
        if (c == ' ')
            continue;
        const int nibble = c <= '9' ? c - '0' : c - 'A' + 10;
        for (int bit = 3; bit >= 0; --bit)
            modules += (nibble >> bit & 1) ? '1' : '0';
    }
    return modules;
}

} // namespace

bool ZintAvailable()
{
    return std::system("zint --version > /dev/null 2>&1") == 0;
}

std::vector<std::string> ZintModules(int symbology, const std::string& data, const std::string& options)
{
    const std::string out = RunCommand("zint --dump -b " + std::to_string(symbology) + " " + options +
                                       " -d " + ShellQuoted(data) + " 2>/dev/null");
    std::vector<std::string> rows;
    std::size_t start = 0;
    std::size_t width = 0;
    while (start < out.size()) {
        const std::size_t end = out.find('\n', start);
        const std::string line = out.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? out.size() : end + 1;
        if (line.find_first_not_of("0123456789ABCDEF ") != std::string::npos)
            return {};
        if (!line.empty())
            rows.push_back(HexRowToModules(line));
    }
    for (const std::string& row : rows)
        width = std::max(width, row.find_last_of('1') + 1);
    for (std::string& row : rows)
        row.resize(width);
    return rows;
}

std::string ZintRow(int symbology, const std::string& data, const std::string& options)
{
    const std::vector<std::string> rows = ZintModules(symbology, data, options);
    return rows.empty() ? "" : rows[0];
}

std::string ElementClasses(const std::string& modules)
{
    std::vector<std::size_t> runs;
    for (std::size_t i = 0; i < modules.size();) {
        std::size_t j = i;
        while (j < modules.size() && modules[j] == modules[i])
            ++j;
        runs.push_back(j - i);
        i = j;
    }
    const std::size_t narrow = runs.empty() ? 0 : *std::min_element(runs.begin(), runs.end());
    std::string classes;
    for (std::size_t r : runs)
        classes += r == narrow ? 'n' : 'w';
    return classes;
}
