#pragma once
// Draws a formatted page on any painter device (printer, PDF, image, screen) at its resolution:
// positions and fonts are converted to the device's dots, barcodes are drawn module by module in
// whole dots.

#include "reports/FormattedPage.h"

#include <QImage>
#include <QSizeF>

class QPainter;

// The painter may be translated, not scaled.
void PaintPage(QPainter& painter, const FormattedPage& page, double dpiX, double dpiY);

// A white sheet of `sizeMm` at `dpi`.
QImage BlankSheet(QSizeF sizeMm, double dpi);

// The page as a white image at `dpi`.
QImage RenderPage(const FormattedPage& page, double dpi);
