#include "reports/PagePainter.h"

#include "barcodes/BarcodeRenderer.h"
#include "reports/BarcodeFit.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kMmPerInch = 25.4;

struct Dots {
    double x, y;
    QRectF rect(const QRectF& mm) const
    {
        const QRectF& r = mm;
        return QRectF(r.x() * x / kMmPerInch, r.y() * y / kMmPerInch, r.width() * x / kMmPerInch, r.height() * y / kMmPerInch);
    }
};

// Qt turns points into dots with the device's own resolution; scale so the text has its size in
// points at the resolution the page is laid out for.
QFont FontFor(const QPainter& painter, const QString& family, double points, bool bold, double dpiY)
{
    QFont font(family);
    font.setPointSizeF(points * dpiY / painter.device()->logicalDpiY());
    font.setBold(bold);
    return font;
}

// A text wider than its box is made smaller rather than cut: nothing of the data is lost.
void DrawText(QPainter& painter, const QRectF& box, QFont font, int align, const QString& text)
{
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    if (width > box.width() && width > 0)
        font.setPointSizeF(font.pointSizeF() * box.width() / width * 0.98);
    painter.save();
    painter.setClipRect(box);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(box, align, text);
    painter.restore();
}

// Dark runs of one module row, each drawn as one rectangle of whole dots.
void DrawModuleRow(QPainter& painter, const std::string& row, int left, int top, int height, int moduleDots)
{
    for (std::size_t i = 0; i < row.size();) {
        if (row[i] != '1') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < row.size() && row[end] == '1') ++end;
        painter.fillRect(QRect(left + static_cast<int>(i) * moduleDots, top, static_cast<int>(end - i) * moduleDots, height), Qt::black);
        i = end;
    }
}

void DrawBarcode(QPainter& painter, const DrawItem& item, const Dots& dots)
{
    const BarcodePlacement at = PlaceBarcode(item, dots.x, dots.y);
    if (at.fit.moduleDots == 0) return;
    if (at.halfRow.empty()) {
        DrawModuleRow(painter, at.fullRow, at.left, at.top, at.barHeight, at.fit.moduleDots);
    } else {
        DrawModuleRow(painter, at.fullRow, at.left, at.top, at.barHeight / 2, at.fit.moduleDots);
        DrawModuleRow(painter, at.halfRow, at.left, at.top + at.barHeight / 2, at.barHeight - at.barHeight / 2, at.fit.moduleDots);
    }
    if (!at.readable.isEmpty())
        DrawText(painter, at.textBox, FontFor(painter, item.family, item.textSize, false, dots.y), Qt::AlignHCenter | Qt::AlignVCenter,
                 at.readable);
}

} // namespace

BarcodePlacement PlaceBarcode(const DrawItem& item, double dpiX, double dpiY)
{
    BarcodePlacement at;
    const std::string modules = BarcodeModules(item.fontString, item.symbology);
    if (modules.empty()) return at;
    // POSTNET: the tall bars, then every bar at half height.
    const auto brk = modules.find('\n');
    at.fullRow = modules.substr(0, brk);
    if (brk != std::string::npos) at.halfRow = modules.substr(brk + 1);

    const QRectF box = Dots{dpiX, dpiY}.rect(item.rect);
    at.fit = FitBarcode(static_cast<int>(at.fullRow.size()), BarcodeQuietZone(item.symbology), box.width(),
                        MaxModuleMm(item.symbology) * dpiX / kMmPerInch);
    at.readable = item.text.isEmpty() ? QString::fromStdString(BarcodeHumanReadable(item.fontString, item.symbology)) : item.text;
    const double textHeight = at.readable.isEmpty() ? 0 : item.textSize * 1.35 * dpiY / 72;
    at.left = static_cast<int>(std::lround(box.x() + (box.width() - at.fit.widthDots) / 2)) + at.fit.quietDots;
    at.top = static_cast<int>(std::lround(box.y()));
    at.barHeight = static_cast<int>(std::lround(box.height() - textHeight));
    if (!at.readable.isEmpty()) at.textBox = QRectF(box.x(), at.top + at.barHeight, box.width(), textHeight);
    return at;
}

QRectF DrawnBox(const DrawItem& item, double dpiX, double dpiY)
{
    if (item.kind != ObjectKind::Barcode) return Dots{dpiX, dpiY}.rect(item.rect);
    const BarcodePlacement at = PlaceBarcode(item, dpiX, dpiY);
    const QRectF symbol(at.left - at.fit.quietDots, at.top, at.fit.widthDots, at.barHeight);
    return at.textBox.isEmpty() ? symbol : symbol.united(at.textBox);
}

void PaintPage(QPainter& painter, const FormattedPage& page, double dpiX, double dpiY)
{
    const Dots dots{dpiX, dpiY};
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const DrawItem& item : page.items) {
        switch (item.kind) {
        case ObjectKind::Text:
        case ObjectKind::Field:
            DrawText(painter, dots.rect(item.rect), FontFor(painter, item.family, item.pointSize, item.bold, dpiY), item.align, item.text);
            break;
        case ObjectKind::Picture:
            if (!item.picture.isNull()) painter.drawImage(dots.rect(item.rect), item.picture);
            break;
        case ObjectKind::Barcode:
            DrawBarcode(painter, item, dots);
            break;
        case ObjectKind::Line:
            painter.fillRect(dots.rect(item.rect), Qt::black);
            break;
        }
    }
    painter.restore();
}

QImage BlankSheet(QSizeF sizeMm, double dpi)
{
    const QSize size(static_cast<int>(std::lround(sizeMm.width() * dpi / kMmPerInch)),
                     static_cast<int>(std::lround(sizeMm.height() * dpi / kMmPerInch)));
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

QImage RenderPage(const FormattedPage& page, double dpi)
{
    QImage image = BlankSheet(page.size, dpi);
    QPainter painter(&image);
    PaintPage(painter, page, dpi, dpi);
    return image;
}
