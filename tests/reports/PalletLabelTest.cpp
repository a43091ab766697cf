// The pallet label rendered and read back: barcodes decode, band rules decide what prints.
#include "PalletFixture.h"

#include "core/Globals.h"
#include "reports/PagePainter.h"
#include "reports/PalletLayout.h"
#include "support/Zbar.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

class PalletLabel : public PalletTest {
protected:
    // The one page of a one-up label for `row`.
    FormattedPage format(const PalletRow& row = {})
    {
        auto layout = ReportLayout::Create<CrystalReport1>();
        layout->mainSection().setRows({row.row()});
        return layout->pages().at(0);
    }
    static const DrawItem* item(const FormattedPage& page, const char* name)
    {
        const auto it = std::find_if(page.items.begin(), page.items.end(), [&](const DrawItem& i) { return i.name == QLatin1String(name); });
        return it == page.items.end() ? nullptr : &*it;
    }
    static QString text(const FormattedPage& page, const char* name)
    {
        const DrawItem* i = item(page, name);
        return i ? i->text : QStringLiteral("<hidden>");
    }
    void writeLogo(const char* name, QColor colour = Qt::black)
    {
        QImage logo(200, 40, QImage::Format_RGB32);
        logo.fill(colour);
        ASSERT_TRUE(logo.save(folder.file(QString::fromLatin1(name)), "BMP"));
    }
};

TEST_F(PalletLabel, PageDecodesToTheSsccAndTheElementString)
{
    const PalletRow row;
    for (double dpi : {203.0, 300.0}) {
        const QImage page = RenderPage(format(row), dpi);
        const auto symbols = Gs1Symbols(page);
        EXPECT_NE(std::find(symbols.begin(), symbols.end(), "00" + row.sscc.toStdString()), symbols.end()) << dpi;
        EXPECT_NE(std::find(symbols.begin(), symbols.end(), row.e128Scanned()), symbols.end()) << dpi;
    }
}

TEST_F(PalletLabel, SingleLotShowsEveryLineWithItsCaption)
{
    const FormattedPage page = format();
    EXPECT_EQ(text(page, "lblSSCC"), "SSCC:");
    EXPECT_EQ(text(page, "SSCC_Form"), "3 80 12345 000000001 3");
    EXPECT_EQ(text(page, "lblGTIN"), "GTIN:");
    EXPECT_EQ(text(page, "lblItems"), "Items:");
    EXPECT_EQ(text(page, "lblEAN"), "EAN:");
    EXPECT_EQ(text(page, "lblQty"), "Quantity:");
    EXPECT_EQ(text(page, "lblBatch"), "Batch:");
    EXPECT_EQ(text(page, "Lotto"), "L2406A");
    EXPECT_EQ(text(page, "lblExpire"), "Expire date:");
    EXPECT_EQ(text(page, "lblGrossWeight"), "Gross weight:");
    EXPECT_EQ(text(page, "lblCodInterno"), "Int. code:");
    EXPECT_EQ(text(page, "lblProduzione"), "Production date/time:");
    EXPECT_EQ(text(page, "Descrizione1"), "Mozzarella di bufala 250 g");
    EXPECT_EQ(text(page, "Descrizione2"), "Cartone da 12 pezzi");
    EXPECT_EQ(item(page, "Descrizione1")->pointSize, 18);
    EXPECT_EQ(item(page, "SSCC_Form")->pointSize, 22);
    // Each value starts flush left under its caption.
    const std::pair<const char*, const char*> lines[] = {
        {"lblCodInterno", "CodInterno"}, {"lblProduzione", "DataOraProduzione"}, {"lblSSCC", "SSCC_Form"},
        {"lblGTIN", "GTIN_Form"},        {"lblItems", "NumImballi"},            {"lblEAN", "EANUC_Form"},
        {"lblQty", "NumPezzi"},          {"lblExpire", "DataScadenza"},         {"lblBatch", "Lotto"},
        {"lblGrossWeight", "PesoLordo"}};
    for (const auto& [caption, value] : lines) {
        EXPECT_DOUBLE_EQ(item(page, value)->rect.left(), item(page, caption)->rect.left()) << value;
        EXPECT_TRUE(item(page, value)->align & Qt::AlignLeft) << value;
    }
}

TEST_F(PalletLabel, SsccBarcodeIsTheLowestObject)
{
    const FormattedPage page = format();
    const DrawItem* sscc = item(page, "SSCC_Barcode");
    ASSERT_TRUE(sscc);
    for (const DrawItem& i : page.items)
        EXPECT_LE(i.rect.top(), sscc->rect.top()) << i.name.toStdString();
    EXPECT_LE(sscc->rect.bottom(), page.size.height());
}

// The print options the layout reads, one bit each in a combination.
constexpr const char* kPrintOptions[] = {"StampaCodInterno", "StampaDataProd", "StampaOraProd", "StampaEANProd",
                                         "StampaEANCartone", "StampaPezzi",    "StampaScadenza", "StampaPesoLordo"};

// What decides how a page looks: pages alike are checked once.
std::string Signature(const FormattedPage& page)
{
    std::string key;
    for (const DrawItem& i : page.items) {
        const double numbers[] = {i.rect.x(), i.rect.y(), i.rect.width(), i.rect.height(), i.pointSize};
        key += i.name.toStdString();
        key.append(reinterpret_cast<const char*>(numbers), sizeof numbers);
        key += i.fontString;
    }
    return key;
}

// The page drawn at `dpi` around `dots`, with a margin for the scanner.
QImage Around(const FormattedPage& page, const QRectF& dots, double dpi)
{
    const double margin = 2 * dpi / 25.4;
    const QRect area = dots.adjusted(-margin, -margin, margin, margin).toAlignedRect();
    QImage image = BlankSheet(QSizeF(area.width(), area.height()) * 25.4 / dpi, dpi);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    PaintPage(painter, page, dpi, dpi);
    return image;
}

bool Overlap(const QRectF& a, const QRectF& b)
{
    const QRectF common = a.intersected(b);
    return common.width() > 1e-6 && common.height() > 1e-6;
}

// Checks pages on a device: objects within the page and apart, texts whole at their size, and
// each symbol with one geometry on every label, scanned once at each resolution.
class PageCheck {
public:
    explicit PageCheck(std::map<std::string, std::string> scanned) : scanned_(std::move(scanned)) {}

    void check(const FormattedPage& page, double dpi, const std::string& where)
    {
        const std::string at = where + ", " + std::to_string(int(dpi)) + " dpi: ";
        const QImage probe = BlankSheet(QSizeF(1, 1), dpi);
        const QRectF sheet(QPointF(0, 0), page.size * dpi / 25.4);
        std::vector<QRectF> boxes;
        for (const DrawItem& item : page.items) {
            const QRectF box = DrawnBox(item, dpi, dpi);
            const std::string name = item.name.toStdString();
            if (box.left() < -1e-6 || box.top() < -1e-6 || box.right() > sheet.right() + 1e-6 || box.bottom() > sheet.bottom() + 1e-6)
                faults.push_back(at + name + " leaves the page");
            for (std::size_t other = 0; other < boxes.size(); ++other)
                if (Overlap(box, boxes[other])) faults.push_back(at + name + " overlaps " + page.items[other].name.toStdString());
            boxes.push_back(box);
            if (item.kind == ObjectKind::Text || item.kind == ObjectKind::Field) {
                // The painter makes a text narrower than its box smaller and cuts what is taller.
                QFont font(item.family);
                font.setPointSizeF(item.pointSize);
                font.setBold(item.bold);
                const QFontMetricsF metrics(font, &probe);
                if (metrics.height() > box.height()) faults.push_back(at + name + " is cut");
                if (item.name == u"SSCC_Form" && metrics.horizontalAdvance(item.text) > box.width())
                    faults.push_back(at + name + " is shrunk to its box");
            }
            if (item.kind == ObjectKind::Barcode) checkSymbol(page, item, box, dpi, at + name);
        }
    }

    std::vector<std::string> faults;
    std::size_t symbols() const { return geometry_.size(); }

private:
    struct Geometry {
        int moduleDots, quietDots, barDots;
        bool operator==(const Geometry&) const = default;
    };

    void checkSymbol(const FormattedPage& page, const DrawItem& item, const QRectF& box, double dpi, const std::string& at)
    {
        const BarcodePlacement placed = PlaceBarcode(item, dpi, dpi);
        const Geometry geometry{placed.fit.moduleDots, placed.fit.quietDots, placed.barHeight};
        const auto [known, first] = geometry_.try_emplace({item.fontString, dpi}, geometry);
        if (!first) {
            if (!(known->second == geometry)) faults.push_back(at + " has other bars than on another label");
            return;
        }
        // GS1's logistic labels: bars at least 32 mm high, the SSCC's module at least 0.495 mm.
        if (geometry.barDots * 25.4 / dpi < 32) faults.push_back(at + " bars under 32 mm");
        if (item.name == u"SSCC_Barcode" && geometry.moduleDots * 25.4 / dpi < 0.495) faults.push_back(at + " module under 0.495 mm");
        if (Gs1Symbols(Around(page, box, dpi)) != std::vector<std::string>{scanned_.at(item.fontString)})
            faults.push_back(at + " does not scan");
    }

    std::map<std::string, std::string> scanned_; // barcode-font string -> what a scanner reads
    std::map<std::pair<std::string, double>, Geometry> geometry_;
};

TEST_F(PalletLabel, EveryCombinationFitsItsPage)
{
    const PalletRow twoLines;
    const PalletRow oneLine = [] {
        PalletRow row;
        row.descrizione2.clear();
        return row;
    }();
    const QString longestLot = QStringLiteral("LOTTO-2024-06-14-A01");
    std::map<std::string, std::string> scanned;
    for (const PalletRow& row : {twoLines, twoLines.withLot(longestLot)}) {
        const ReportRow values = row.row();
        scanned[values.value(QStringLiteral("sscc_barcode")).toString().toLatin1().toStdString()] = "00" + row.sscc.toStdString();
        scanned[values.value(QStringLiteral("e128_barcode")).toString().toLatin1().toStdString()] = row.e128Scanned();
    }
    // A job keeps hidden what a row hid for the rows after it: with the two-line rows first, each row
    // is laid out as in a job of its own. The lot changes no band.
    const std::vector<ReportRow> rows{twoLines.row(), twoLines.withLot(longestLot).row(), oneLine.row(), oneLine.withLot(longestLot).row()};
    const std::pair<bool, bool> kinds[] = {{false, false}, {true, true}, {true, false}}; // EtichettaMulti, ArticoloUnico

    // Every combination of the print options, the label kinds, one or two description lines and
    // the four sets of heading bitmaps, one-up and two-up, laid out without painting.
    std::map<std::string, std::pair<FormattedPage, std::string>> pages;
    DB->BeginTrans(); // 256 changes of the settings, none flushed to disk
    for (int options = 0; options < 256; ++options) {
        rsSetup->Edit();
        for (int bit = 0; bit < 8; ++bit)
            rsSetup->SetValue(QString::fromLatin1(kPrintOptions[bit]), bool(options >> bit & 1));
        rsSetup->Update();
        for (int logos = 0; logos < 4; ++logos) {
            QFile::remove(folder.file(QStringLiteral("logo.bmp")));
            QFile::remove(folder.file(QStringLiteral("logo2.bmp")));
            if (logos & 1) writeLogo("logo.bmp");
            if (logos & 2) writeLogo("logo2.bmp");
            for (const auto& [multi, unico] : kinds) {
                EtichettaMulti = multi;
                ArticoloUnico = unico;
                auto one = ReportLayout::Create<CrystalReport1>();
                one->mainSection().setRows(rows);
                auto two = ReportLayout::Create<CrystalReport7>();
                two->Subreport1().setRows(rows);
                two->Subreport2().setRows(rows);
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    const std::string where = "options " + std::to_string(options) + ", EtichettaMulti " + std::to_string(multi)
                                              + ", ArticoloUnico " + std::to_string(unico) + ", lines " + (i < 2 ? "2" : "1")
                                              + ", logos " + std::to_string(logos);
                    pages.try_emplace(Signature(one->pages().at(i)), one->pages().at(i), where + ", one-up");
                    pages.try_emplace(Signature(two->pages().at(i)), two->pages().at(i), where + ", two-up");
                }
            }
        }
    }
    DB->Rollback();

    PageCheck check(std::move(scanned));
    for (double dpi : {203.0, 300.0, 600.0})
        for (const auto& [signature, entry] : pages)
            check.check(entry.first, dpi, entry.second);
    EXPECT_EQ(check.symbols(), 9u) << "two element strings and one SSCC, at three resolutions";
    EXPECT_TRUE(check.faults.empty()) << check.faults.size() << " faults in " << pages.size() << " distinct pages, first: "
                                      << check.faults.front();
}

TEST_F(PalletLabel, OneCartonOrNoCartonEanHidesTheGtinLine)
{
    PalletRow one;
    one.numImballi = QStringLiteral("1");
    EXPECT_FALSE(item(format(one), "GTIN_Form"));
    EXPECT_FALSE(item(format(one), "NumImballi"));
    EXPECT_TRUE(item(format(), "GTIN_Form"));
    setOptions({{"StampaEANCartone", false}});
    EXPECT_FALSE(item(format(), "lblItems"));
}

TEST_F(PalletLabel, EanAndPiecesOptions)
{
    setOptions({{"StampaPezzi", false}});
    FormattedPage page = format();
    EXPECT_EQ(text(page, "EANUC_Form"), "80 12345 00001 2");
    EXPECT_FALSE(item(page, "NumPezzi"));
    EXPECT_FALSE(item(page, "lblQty"));
    EXPECT_EQ(item(page, "SSCC_Form")->pointSize, 22);

    setOptions({{"StampaEANProd", false}});
    page = format();
    EXPECT_FALSE(item(page, "EANUC_Form"));
    EXPECT_FALSE(item(page, "lblEAN"));
    EXPECT_FALSE(item(page, "lblQty"));
    EXPECT_EQ(item(page, "SSCC_Form")->pointSize, 34);

    setOptions({{"StampaPezzi", true}});
    page = format();
    EXPECT_EQ(text(page, "lblQty"), "Quantity:");
    EXPECT_FALSE(item(page, "lblEAN"));
}

TEST_F(PalletLabel, BarcodeSizeFollowsTheLengthOfItsString)
{
    const std::pair<int, int> cases[] = {{32, 45}, {33, 35}, {38, 35}, {39, 30}, {45, 30}, {46, 25}};
    for (const auto& [length, size] : cases) {
        EXPECT_EQ(PalletBarcodeSize(length), size) << length;
        PalletRow row;
        ReportRow values = row.row();
        values[QStringLiteral("e128_barcode")] = QString(length, u'A');
        auto layout = ReportLayout::Create<CrystalReport1>();
        layout->mainSection().setRows({values});
        EXPECT_EQ(item(layout->pages().at(0), "E128_Barcode")->pointSize, size) << length;
    }
}

TEST_F(PalletLabel, ExpiryBatchAndWeightOptions)
{
    setOptions({{"StampaScadenza", false}, {"StampaPesoLordo", false}});
    const FormattedPage page = format();
    EXPECT_FALSE(item(page, "DataScadenza"));
    EXPECT_FALSE(item(page, "lblExpire"));
    EXPECT_EQ(text(page, "Lotto"), "L2406A");
    EXPECT_FALSE(item(page, "PesoLordo"));
    EXPECT_FALSE(item(page, "txtKg"));
    EXPECT_FALSE(item(page, "lblGrossWeight"));
}

TEST_F(PalletLabel, ProductionCaptionFollowsDateAndTimeOptions)
{
    setOptions({{"StampaOraProd", false}});
    EXPECT_EQ(text(format(), "lblProduzione"), "Production date:");
    setOptions({{"StampaOraProd", true}, {"StampaDataProd", false}});
    EXPECT_EQ(text(format(), "lblProduzione"), "Production time:");
    setOptions({{"StampaOraProd", false}});
    FormattedPage page = format();
    EXPECT_FALSE(item(page, "DataOraProduzione"));
    EXPECT_EQ(text(page, "CodInterno"), "ART-0042");
    setOptions({{"StampaCodInterno", false}});
    page = format();
    EXPECT_FALSE(item(page, "lblCodInterno"));
    EXPECT_FALSE(item(page, "CodInterno"));
}

TEST_F(PalletLabel, BlankSecondDescriptionLine)
{
    PalletRow row;
    row.descrizione2 = QStringLiteral("    ");
    const FormattedPage page = format(row);
    EXPECT_FALSE(item(page, "Descrizione2"));
    EXPECT_EQ(item(page, "Descrizione1")->pointSize, 24);
}

TEST_F(PalletLabel, HeadingPicture)
{
    EXPECT_FALSE(item(format(), "Logo")) << "no logo file";
    writeLogo("LOGO.BMP");
    const FormattedPage withLogo = format();
    const DrawItem* small = item(withLogo, "Logo");
    ASSERT_TRUE(small) << "found without regard to letter case";
    EXPECT_NEAR(small->rect.width(), 144.2, 0.05);
    EXPECT_NEAR(small->rect.height(), 23.81, 0.05);

    setOptions({{"StampaCodInterno", false}, {"StampaDataProd", false}, {"StampaOraProd", false}});
    EXPECT_FALSE(item(format(), "Logo")) << "logo2.bmp wanted, logo.bmp not tried";
    writeLogo("logo2.bmp");
    PalletRow oneLine;
    oneLine.descrizione2.clear();
    const FormattedPage withLogo2 = format(oneLine);
    const DrawItem* large = item(withLogo2, "Logo");
    ASSERT_TRUE(large);
    EXPECT_NEAR(large->rect.height(), 42.86, 0.05);

    // A second description line leaves no room for all of it: the heading gives way, whole.
    const FormattedPage crowded = format();
    const DrawItem* smaller = item(crowded, "Logo");
    ASSERT_TRUE(smaller);
    EXPECT_LT(smaller->rect.height(), 42.5);
    EXPECT_NEAR(smaller->rect.width() / smaller->rect.height(), 8175.0 / 2430, 1e-9);
    EXPECT_NEAR(smaller->rect.center().x(), large->rect.center().x(), 1e-9);
}

TEST_F(PalletLabel, SeveralLotsOfOneArticle)
{
    EtichettaMulti = true;
    ArticoloUnico = true;
    writeLogo("logo.bmp");
    const FormattedPage page = format();
    EXPECT_FALSE(item(page, "DataOraProduzione"));
    EXPECT_FALSE(item(page, "lblProduzione"));
    EXPECT_EQ(text(page, "CodInterno"), "ART-0042");
    EXPECT_TRUE(item(page, "Logo")) << "small heading";
    EXPECT_FALSE(item(page, "Lotto"));
    EXPECT_FALSE(item(page, "DataScadenza"));
    EXPECT_EQ(text(page, "GTIN_Form"), "180 12345 00001 9");
    EXPECT_EQ(text(page, "Descrizione1"), "Mozzarella di bufala 250 g");
}

TEST_F(PalletLabel, SeveralArticlesSummary)
{
    EtichettaMulti = true;
    ArticoloUnico = false;
    writeLogo("logo2.bmp");
    const FormattedPage page = format();
    for (const char* hidden : {"Descrizione1", "Descrizione2", "GTIN_Form", "lblGTIN", "EANUC_Form", "lblEAN", "Lotto",
                               "lblBatch", "DataScadenza", "CodInterno", "DataOraProduzione"})
        EXPECT_FALSE(item(page, hidden)) << hidden;
    EXPECT_EQ(text(page, "NumImballi"), "40");
    EXPECT_EQ(text(page, "NumPezzi"), "480");
    EXPECT_EQ(text(page, "PesoLordo"), "275,5");
    EXPECT_EQ(item(page, "SSCC_Form")->pointSize, 34);
    ASSERT_TRUE(item(page, "Logo"));
    EXPECT_NEAR(item(page, "Logo")->rect.height(), 42.86, 0.05);
}

TEST_F(PalletLabel, TwoUpCarriesTheRowInBothHalves)
{
    auto layout = ReportLayout::Create<CrystalReport7>();
    const PalletRow first;
    const PalletRow second = first.withLot(QStringLiteral("L2406B"));
    layout->Subreport1().setRows({first.row(), second.row()});
    layout->Subreport2().setRows({first.row(), second.row()});
    const auto& pages = layout->pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_GT(pages[0].size.width(), pages[0].size.height());
    // zbar reports a symbol once per image: read each half on its own.
    const QImage sheet = RenderPage(pages[1], 203);
    for (const QImage& half : {sheet.copy(0, 0, sheet.width() / 2, sheet.height()),
                               sheet.copy(sheet.width() / 2, 0, sheet.width() / 2, sheet.height())}) {
        const auto symbols = Gs1Symbols(half);
        EXPECT_EQ(std::count(symbols.begin(), symbols.end(), second.e128Scanned()), 1);
        EXPECT_EQ(std::count(symbols.begin(), symbols.end(), "00" + second.sscc.toStdString()), 1);
    }
}

TEST_F(PalletLabel, CaptionsComeFromTheLanguageFile)
{
    setOptions({{"Lingua", QStringLiteral("1")}});
    QFile file(folder.file(QStringLiteral("Lang1.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[PALLET_MAIN]\r\nBATCH=Lotto:\r\nSSCC=Collo:\r\n[CARTON]\r\nQTY=Pezzi:\r\n");
    file.close();
    const FormattedPage page = format();
    EXPECT_EQ(text(page, "lblBatch"), "Lotto:");
    EXPECT_EQ(text(page, "lblSSCC"), "Collo:");
    EXPECT_EQ(text(page, "lblQty"), "Quantity:");
}

} // namespace
