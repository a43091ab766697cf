// The carton label: the row the carton job writes, read back through the carton layout and
// printed; the EAN-13 must scan to the carton EAN and the captions follow the CARTON section.
#include "PalletFixture.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "core/db/Database.h"
#include "labels/CartonLabel.h"
#include "reports/CartonLayout.h"
#include "reports/PagePainter.h"
#include "reports/StampaReport.h"
#include "support/Zbar.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdlib>

namespace {

CartonLabelArgs SampleCarton()
{
    CartonLabelArgs a;
    a.codInterno = QStringLiteral("MOZ-250");
    a.descrizione1 = QStringLiteral("Mozzarella di bufala campana DOP 250 g");
    a.descrizione2 = QStringLiteral("Confezione in atmosfera protettiva");
    a.eanCartone = QStringLiteral("8012345678907");
    a.qtCassa = QStringLiteral("12");
    a.lotto = QStringLiteral("L26342A");
    a.produzione = QDateTime(QDate(2026, 12, 8), QTime(14, 5));
    a.scadenza = QDateTime(QDate(2027, 3, 8), QTime(14, 5));
    return a;
}

class CartonLabel : public PalletTest {
protected:
    // The carton job's row written to ReportImballi and formatted by the carton layout.
    std::unique_ptr<CrystalReport2> format(const CartonLabelArgs& a = SampleCarton())
    {
        WriteCartonRow(MakeCartonRow(a));
        auto layout = ReportLayout::Create<CrystalReport2>();
        auto rs = DB->OpenRecordset(QStringLiteral("ReportImballi"));
        layout->SetDataSource(*rs);
        layout->pages();
        return layout;
    }
    static QString text(const FormattedPage& page, const char* name)
    {
        const auto it = std::find_if(page.items.begin(), page.items.end(), [&](const DrawItem& i) { return i.name == QLatin1String(name); });
        return it == page.items.end() ? QStringLiteral("<hidden>") : it->text;
    }
    static std::vector<std::string> eans(const QImage& page)
    {
        std::vector<std::string> found;
        for (const ScannedSymbol& s : ScanImage(page))
            if (s.type == "EAN-13") found.push_back(s.data);
        return found;
    }
};

TEST_F(CartonLabel, RowColumnsAsTheLayoutReadsThem)
{
    CartonLabelArgs a = SampleCarton();
    a.descrizione1 = QString(45, u'x');
    a.expiryRule = 4;
    FillMonthNames();
    const CartonRow r = MakeCartonRow(a);
    EXPECT_EQ(r.dataOraProduzione, QStringLiteral("08.12.2026    14:05"));
    EXPECT_EQ(r.descrizione.size(), 80) << "two halves of 40, the long one cut";
    EXPECT_EQ(r.descrizione.mid(40).trimmed(), a.descrizione2);
    EXPECT_EQ(r.eanForm, QStringLiteral("80 12345 67890 7"));
    EXPECT_EQ(r.numPezzi, QStringLiteral("12"));
    EXPECT_EQ(r.dataScadenza, QStringLiteral("Marzo 2027"));
    a.expiryRule = 0;
    EXPECT_EQ(MakeCartonRow(a).dataScadenza, QStringLiteral("08.03.2027"));
}

TEST_F(CartonLabel, PrintedLabelScansToTheCartonEanAtEveryResolution)
{
    // The barcode is made from the first twelve digits: a wrong stored check digit is corrected.
    CartonLabelArgs a = SampleCarton();
    a.eanCartone = QStringLiteral("8012345678900");
    for (double dpi : {203.0, 300.0, 600.0}) {
        const auto layout = format(a);
        EXPECT_EQ(eans(RenderPage(layout->pages().at(0), dpi)), std::vector<std::string>{"8012345678907"}) << dpi;
    }
}

TEST_F(CartonLabel, ShowsEveryFieldWithTheDefaultCaptions)
{
    const FormattedPage page = format()->pages().at(0);
    EXPECT_EQ(text(page, "lblBatch"), "Batch:");
    EXPECT_EQ(text(page, "lblQty"), "Quantity:");
    EXPECT_EQ(text(page, "Lotto"), "L26342A");
    EXPECT_EQ(text(page, "NumPezzi"), "12");
    EXPECT_EQ(text(page, "CodInterno"), "MOZ-250");
    EXPECT_EQ(text(page, "DataOraProduzione"), "08.12.2026    14:05");
    EXPECT_EQ(text(page, "Descrizione1").trimmed(), SampleCarton().descrizione1);
    EXPECT_EQ(text(page, "Descrizione2").trimmed(), SampleCarton().descrizione2);
    EXPECT_EQ(text(page, "EANUC_Barcode"), "80 12345 67890 7") << "the grouped digits under the bars";
}

TEST_F(CartonLabel, CaptionsComeFromTheCartonSectionOnly)
{
    setOptions({{"Lingua", QStringLiteral("1")}});
    QFile file(folder.file(QStringLiteral("Lang1.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[PALLET_MAIN]\r\nBATCH=Lotto pallet:\r\n[CARTON]\r\nbatch=Lotto:\r\nQTY=Pezzi:\r\n");
    file.close();
    const FormattedPage page = format()->pages().at(0);
    EXPECT_EQ(text(page, "lblBatch"), "Lotto:");
    EXPECT_EQ(text(page, "lblQty"), "Pezzi:");
}

TEST_F(CartonLabel, AMissingReportRowIsRestored)
{
    DB->Execute(QStringLiteral("DELETE FROM ReportImballi"));
    WriteCartonRow(MakeCartonRow(SampleCarton()));
    ReportJob job = CartonLabelJob(false, 2);
    std::unique_ptr<ReportLayout> holder;
    StampaReport(job, holder);
    ASSERT_EQ(printers.jobs().size(), 1u);
    EXPECT_EQ(printers.jobs()[0].copies, 2);
    auto rs = DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n, max(Lotto) AS lotto, max(EANUC_Barcode) AS bars FROM ReportImballi"));
    EXPECT_EQ(rs->Value(QStringLiteral("n")).toInt(), 1);
    EXPECT_EQ(rs->Value(QStringLiteral("lotto")).toString(), "L26342A");
    EXPECT_EQ(rs->Value(QStringLiteral("bars")).toString(), "");
}

class CartonLabelDocs : public CartonLabel {};

// Writes docs/carton-label.png when STIVORA_DOCS names the docs folder.
TEST_F(CartonLabelDocs, WritesTheSampleLabel)
{
    const char* dir = std::getenv("STIVORA_DOCS");
    if (!dir) GTEST_SKIP() << "STIVORA_DOCS not set";
    const auto layout = format();
    EXPECT_TRUE(RenderPage(layout->pages().at(0), 200).save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("carton-label.png"))));
}

} // namespace
