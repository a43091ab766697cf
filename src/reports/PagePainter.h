#pragma once
// Draws a formatted page on any painter device (printer, PDF, image, screen) at its resolution:
// positions and fonts are converted to the device's dots, barcodes are drawn module by module in
// whole dots.

#include "reports/BarcodeFit.h"
#include "reports/FormattedPage.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <string>

class QPainter;

// Where a barcode item's parts fall on a device, in dots.
struct BarcodePlacement {
    std::string fullRow;  // modules, '1' dark
    std::string halfRow;  // POSTNET: the row drawn at half height below; else empty
    BarcodeFit fit;       // moduleDots 0: nothing to draw
    int left = 0;         // the first module, after the quiet zone
    int top = 0;
    int barHeight = 0;
    QString readable;     // the line under the bars
    QRectF textBox;       // empty without one
};
BarcodePlacement PlaceBarcode(const DrawItem& item, double dpiX, double dpiY);

// What an item covers on a device, in dots: a barcode's bars with their quiet zones and its
// readable line, any other item its box (texts are kept within it).
QRectF DrawnBox(const DrawItem& item, double dpiX, double dpiY);

// The painter may be translated, not scaled.
void PaintPage(QPainter& painter, const FormattedPage& page, double dpiX, double dpiY);

// A white sheet of `sizeMm` at `dpi`.
QImage BlankSheet(QSizeF sizeMm, double dpi);

// The page as a white image at `dpi`.
QImage RenderPage(const FormattedPage& page, double dpi);
