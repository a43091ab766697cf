#pragma once

// Reads module strings back with zbar, as a scanner would read the printed symbol.
#include <zbar.h>

#include <string>

struct ZbarResult {
    bool found = false;
    std::string data;
    bool gs1 = false;
};

// Draws the modules (3 px each, quiet zones of 12 modules) on a grey image and scans it with only
// `symbology` enabled.
ZbarResult ZbarRead(const std::string& modules, zbar::zbar_symbol_type_t symbology);

// Encodes data with the check switch on, draws it and expects zbar to read `expected`.
void ExpectScans(const std::string& data, const char* keyword, zbar::zbar_symbol_type_t type,
                 const std::string& expected);
