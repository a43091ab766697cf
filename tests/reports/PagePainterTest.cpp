// Drawing on devices of different resolutions: same physical size, bars of whole dots.
#include "reports/BarcodeFit.h"
#include "reports/PagePainter.h"

#include "barcodes/Barcodes.h"
#include "support/Zbar.h"

#include <gtest/gtest.h>

#include <QImage>

#include <map>

namespace {

// Height in mm of the dark pixels of the image.
double InkHeightMm(const QImage& image, double dpi)
{
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return bottom < top ? 0 : (bottom - top + 1) * 25.4 / dpi;
}

FormattedPage OneItem(DrawItem item)
{
    return FormattedPage{QSizeF(100, 60), {std::move(item)}};
}

TEST(PagePainter, TextHasTheSamePhysicalSizeAtEveryResolution)
{
    DrawItem text;
    text.kind = ObjectKind::Field;
    text.rect = QRectF(5, 5, 90, 30);
    text.text = QStringLiteral("HEH");
    text.family = QStringLiteral("DejaVu Sans");
    text.pointSize = 36;
    const double reference = InkHeightMm(RenderPage(OneItem(text), 300), 300);
    // A 36 pt capital is about 9.2 mm high in DejaVu Sans.
    EXPECT_NEAR(reference, 9.2, 0.5);
    for (double dpi : {203.0, 600.0})
        EXPECT_NEAR(InkHeightMm(RenderPage(OneItem(text), dpi), dpi), reference, 0.2) << dpi;
}

// Widths of the dark runs along the middle row.
std::map<int, int> BarWidths(const QImage& image)
{
    std::map<int, int> widths;
    const int y = image.height() / 3;
    for (int x = 0; x < image.width();) {
        if (qGray(image.pixel(x, y)) >= 128) {
            ++x;
            continue;
        }
        int end = x;
        while (end < image.width() && qGray(image.pixel(end, y)) < 128) ++end;
        ++widths[end - x];
        x = end;
    }
    return widths;
}

TEST(PagePainter, BarsAreWholeDotsAndScan)
{
    DrawItem bars;
    bars.kind = ObjectKind::Barcode;
    bars.rect = QRectF(5, 5, 90, 40);
    bars.fontString = EncodeBarcode("00380123450000000013", "E128", true);
    bars.symbology = "E128";
    bars.pointSize = 50;
    for (double dpi : {203.0, 300.0}) {
        const QImage page = RenderPage(OneItem(bars), dpi);
        const std::map<int, int> widths = BarWidths(page);
        ASSERT_FALSE(widths.empty());
        const int module = widths.begin()->first;
        for (const auto& [width, count] : widths)
            EXPECT_EQ(width % module, 0) << dpi << " dpi: bar of " << width << " dots";
        // 156 modules and two quiet zones of 10 in 90 mm: 4.08 dots at 203 dpi, 6.03 at 300.
        EXPECT_EQ(module, dpi == 203.0 ? 4 : 6) << "the widest whole dots the box allows";
        const auto symbols = Gs1Symbols(page);
        ASSERT_EQ(symbols.size(), 1u) << dpi;
        EXPECT_EQ(symbols[0], "00380123450000000013");
    }
}

TEST(BarcodeFit, ModulesAsWideAsRulesAndBoxAllow)
{
    // 0.94 mm is 7.5 dots at 203 dpi: 7, though 100 modules + 2 x 10 quiet would fit 1000 dots at 8.
    EXPECT_EQ(FitBarcode(100, 10, 1000, MaxModuleMm("E128") * 203 / 25.4).moduleDots, 7);
    EXPECT_LT(MaxModuleMm("ean13"), MaxModuleMm("E128"));
    // The box allows only 3.
    const BarcodeFit tight = FitBarcode(100, 10, 400, 4.7);
    EXPECT_EQ(tight.moduleDots, 3);
    EXPECT_EQ(tight.quietDots, 30);
    EXPECT_EQ(tight.widthDots, 360);
    // Never less than a dot.
    EXPECT_EQ(FitBarcode(500, 10, 100, 4).moduleDots, 1);
    EXPECT_EQ(FitBarcode(0, 10, 100, 4).widthDots, 0);
}

} // namespace
