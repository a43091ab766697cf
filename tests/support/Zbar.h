#pragma once
// Scans a rendered page with zbar, as a scanner would read the printed label.

#include <QImage>

#include <string>
#include <vector>

struct ScannedSymbol {
    std::string type; // zbar's symbology name, "CODE-128" for GS1-128
    std::string data; // FNC1 separators come out as the byte 0x1D
    bool gs1 = false; // the symbol starts with FNC1
};

// Every symbol found on the image, all symbologies enabled.
std::vector<ScannedSymbol> ScanImage(const QImage& image);
// The data of each GS1-128 symbol on the image.
std::vector<std::string> Gs1Symbols(const QImage& image);
