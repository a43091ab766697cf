#pragma once
// A page after its bands were formatted: what to draw and where, in millimetres from the page's
// top left corner, independent of the device it will be drawn on.

#include "reports/ReportTemplate.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <string>
#include <vector>

struct DrawItem {
    ObjectKind kind = ObjectKind::Text;
    QString name;
    QRectF rect;
    QString text;        // text and field objects; the readable line of a barcode
    QString family;
    double pointSize = 10;
    bool bold = false;
    int align = 0;
    QImage picture;
    std::string fontString; // barcode objects: the barcode-font string
    std::string symbology;
    double textSize = 10;   // barcode objects: the readable line
};

struct FormattedPage {
    QSizeF size; // mm, as the page is seen (landscape pages are wider than high)
    std::vector<DrawItem> items;
};
