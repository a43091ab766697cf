#pragma once
// A layout template: the page, the bands from top to bottom and the objects in each band, read from
// a JSON file built into the program. Positions and sizes are in millimetres, fonts in points.

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

enum class ObjectKind { Text, Field, Picture, Barcode, Line };

struct TemplateObject {
    QString name;
    ObjectKind kind = ObjectKind::Text;
    QRectF rect; // relative to the band's top left corner
    QString text;  // text objects
    QString field; // field and barcode objects
    int start = 0;       // field objects may show a slice of the value
    int length = -1;     // -1: to the end
    QString family = QStringLiteral("DejaVu Sans");
    double size = 10;    // points; for a barcode the font size that sets its module width
    bool bold = false;
    int align = 0x0001 | 0x0080; // Qt::AlignLeft | Qt::AlignVCenter unless "align" or "valign" say otherwise
    QString symbology;   // barcode objects
    QString textField;   // barcode objects: the field printed under the bars
    double textSize = 10;
};

struct TemplateBand {
    QString name;
    double height = 0;
    bool bottom = false; // anchored to the bottom of the page instead of following the band above
    bool yields = false; // gives up height, down to none, when the other bands need the page
    std::vector<TemplateObject> objects;
};

// A sub-report: a full copy of another template placed on this page.
struct TemplateSubreport {
    QString name;
    QString templateName;
    QPointF origin;
};

struct ReportTemplate {
    QString name;
    QSizeF paper;          // portrait paper in mm
    bool landscape = false;
    std::vector<TemplateBand> bands;
    std::vector<TemplateSubreport> subreports;

    QSizeF pageSize() const { return landscape ? paper.transposed() : paper; }
};

// Throws AppError on malformed text.
ReportTemplate ParseTemplate(const QByteArray& json);
// The built-in template of that name; throws AppError when there is none.
ReportTemplate LoadTemplate(const QString& name);
