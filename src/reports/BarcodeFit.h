#pragma once
// How wide a barcode's modules are on a device: whole dots, as wide as the font size asks and the
// box allows, with the quiet zones inside the box.

struct BarcodeFit {
    int moduleDots = 0;
    int quietDots = 0;
    int widthDots = 0; // bars and both quiet zones
};

// A barcode font of `pointSize` draws modules this wide, in mm.
double FontModuleMm(double pointSize);

BarcodeFit FitBarcode(int modules, int quietModules, double boxDots, double preferredModuleDots);
