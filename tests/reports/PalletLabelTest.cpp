// The pallet label rendered and read back: barcodes decode, band rules decide what prints.
#include "PalletFixture.h"

#include "core/Globals.h"
#include "reports/PagePainter.h"
#include "reports/PalletLayout.h"
#include "support/Zbar.h"

#include <QFile>
#include <QImage>

#include <algorithm>

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
    const FormattedPage withLogo2 = format();
    const DrawItem* large = item(withLogo2, "Logo");
    ASSERT_TRUE(large);
    EXPECT_NEAR(large->rect.height(), 42.86, 0.05);
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
    PalletRow first;
    PalletRow second;
    second.lotto = QStringLiteral("L2406B");
    second.e128Data = PalletRow().e128Data.substr(0, PalletRow().e128Data.size() - 1) + "B";
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
