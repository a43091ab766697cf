#pragma once
// How wide a barcode's modules are on a device: the widest whole number of dots with which the
// symbol and its quiet zones fit the box, up to the widest module the symbology's rules allow.

#include <string>

struct BarcodeFit {
    int moduleDots = 0;
    int quietDots = 0;
    int widthDots = 0; // bars and both quiet zones
};

// The widest module in mm: 0.94 for GS1 logistic labels, 0.66 (twice nominal) for the EAN/UPC family.
double MaxModuleMm(const std::string& symbology);

BarcodeFit FitBarcode(int modules, int quietModules, double boxDots, double maxModuleDots);
