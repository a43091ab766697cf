// The print job end to end: rows written to ReportPallet come out of the recording printer.
#include "PalletFixture.h"

#include "core/Globals.h"
#include "reports/PreviewWindow.h"
#include "reports/ReportViewer.h"
#include "reports/StampaReport.h"
#include "reports/Twips.h"
#include "support/ScriptedDialogs.h"
#include "support/Zbar.h"

#include <algorithm>

namespace {

class PrintJobTest : public PalletTest {
protected:
    void print(bool preview = false, int copies = 1) { StampaReport(PalletLabelJob(preview, copies), holder); }
    static bool Has(const std::vector<std::string>& symbols, const std::string& data)
    {
        return std::find(symbols.begin(), symbols.end(), data) != symbols.end();
    }

    std::unique_ptr<ReportLayout> holder;
};

TEST_F(PrintJobTest, EachRowPrintsAsAPageThatScans)
{
    PalletRow first;
    PalletRow second;
    second.sscc = QStringLiteral("380123450000000020");
    second.lotto = QStringLiteral("L2406B");
    second.e128Data.back() = 'B';
    WritePalletRow(first);
    WritePalletRow(second);
    print(false, 1);

    ASSERT_EQ(printers.jobs().size(), 1u);
    const RecordedJob& job = printers.jobs()[0];
    EXPECT_EQ(job.printer, "Office") << "the default printer is current at start";
    EXPECT_EQ(job.copies, 1);
    EXPECT_EQ(job.documentName, "Etichetta pallet " + first.sscFormatted()) << "named after the first label";
    EXPECT_FALSE(job.landscape);
    ASSERT_EQ(job.pages.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const PalletRow& row = i == 0 ? first : second;
        const auto symbols = Gs1Symbols(job.pages[i]);
        EXPECT_TRUE(Has(symbols, "00" + row.sscc.toStdString())) << i;
        EXPECT_TRUE(Has(symbols, row.e128Scanned())) << i;
    }
    EXPECT_FALSE(holder) << "a printed layout is released";
    EXPECT_TRUE(DB->OpenRecordset(QStringLiteral("ReportPallet"))->IsEmpty()) << "emptied once bound";
}

TEST_F(PrintJobTest, DoubleLayoutPrintsTwoLabelsOnALandscapeSheet)
{
    setOptions({{"DoubleLayout", true}});
    const PalletRow row;
    WritePalletRow(row);
    print();
    const RecordedJob& job = printers.jobs().at(0);
    EXPECT_EQ(job.documentName, "Etichetta pallet " + row.sscFormatted());
    EXPECT_TRUE(job.landscape);
    ASSERT_EQ(job.pages.size(), 1u);
    const QImage& sheet = job.pages[0];
    EXPECT_GT(sheet.width(), sheet.height());
    for (int half = 0; half < 2; ++half)
        EXPECT_TRUE(Has(Gs1Symbols(sheet.copy(half * sheet.width() / 2, 0, sheet.width() / 2, sheet.height())),
                        "00" + row.sscc.toStdString())) << half;
}

TEST_F(PrintJobTest, PrinterSettingIsTrimmedAndCaseSensitive)
{
    WritePalletRow({});
    setOptions({{"ReportPrinter", QStringLiteral("  Zebra_GK420 ")}});
    print();
    EXPECT_EQ(printers.jobs().back().printer, "Zebra_GK420");

    setOptions({{"ReportPrinter", QStringLiteral("zebra_gk420")}});
    print();
    EXPECT_EQ(printers.jobs().back().printer, "Zebra_GK420") << "no match: the earlier job's printer stays current";

    RecordingPrinterSystem fresh({{QStringLiteral("Office"), {}, {}}, {QStringLiteral("Zebra_GK420"), {}, {}}}, QStringLiteral("Office"));
    SetPrinterSystem(&fresh);
    print();
    EXPECT_EQ(fresh.jobs().back().printer, "Office") << "no match and no earlier job: the default";
}

TEST_F(PrintJobTest, FirstOfTwoPrintersWithTheSameNameIsChosen)
{
    RecordingPrinterSystem twins({{QStringLiteral("Label"), QStringLiteral("A"), QStringLiteral("usb://a")},
                                  {QStringLiteral("Label"), QStringLiteral("B"), QStringLiteral("usb://b")}},
                                 QString());
    SetPrinterSystem(&twins);
    WritePalletRow({});
    setOptions({{"ReportPrinter", QStringLiteral("Label")}});
    print();
    EXPECT_EQ(CurrentPrinter().port, "usb://a");
}

TEST_F(PrintJobTest, MarginsAndCopies)
{
    EXPECT_EQ(MmToTwips(10), 567);
    setOptions({{"MargineSinistro", 10.0}, {"MargineSuperiore", 5.5}});
    WritePalletRow({});
    print(false, 3);
    const RecordedJob& job = printers.jobs().at(0);
    EXPECT_EQ(job.leftMarginTwips, 567);
    EXPECT_EQ(job.topMarginTwips, 312);
    EXPECT_EQ(job.copies, 3);
}

TEST_F(PrintJobTest, NoPrinterAtAllIsAClearError)
{
    RecordingPrinterSystem none({}, QString());
    SetPrinterSystem(&none);
    WritePalletRow({});
    try {
        print();
        FAIL() << "printed nowhere";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("Nessuna stampante"))) << e.description().toStdString();
    }
}

TEST_F(PrintJobTest, UncommittedRowsAreRefused)
{
    DB->BeginTrans();
    WritePalletRow({});
    EXPECT_THROW(print(), AppError);
    DB->Rollback();
    EXPECT_TRUE(printers.jobs().empty());
}

TEST_F(PrintJobTest, PreviewPrintsNothingAndTheTableIsEmptied)
{
    const PalletRow row;
    WritePalletRow(row);
    int pagesShown = -1;
    Dialogs().onModal([&](QDialog& window) {
        EXPECT_EQ(window.objectName(), "Form1");
        EXPECT_EQ(window.windowTitle(), "Anteprima di stampa");
        pagesShown = window.findChild<ReportViewer*>(QStringLiteral("CRViewer1"))->pageCount();
        return 0;
    });
    print(true);
    EXPECT_EQ(pagesShown, 1);
    EXPECT_TRUE(printers.jobs().empty());
    EXPECT_TRUE(DB->OpenRecordset(QStringLiteral("ReportPallet"))->IsEmpty());
    ASSERT_TRUE(holder) << "the previewed layout stays in its holder";
    EXPECT_EQ(holder->pages().size(), 1u) << "and keeps its rows after the connection closed";
}

TEST_F(PrintJobTest, TwoPreviewsEachShowTheirOwnLayout)
{
    std::vector<QString> lots;
    const auto look = [&](QDialog&) {
        lots.push_back(holder->mainSection().rows().at(0).value(QStringLiteral("lotto")).toString());
        return 0;
    };
    for (const char* lot : {"L1", "L2"}) {
        DB->Execute(QStringLiteral("DELETE FROM ReportPallet"));
        PalletRow row;
        row.lotto = QString::fromLatin1(lot);
        WritePalletRow(row);
        Dialogs().onModal(look);
        print(true);
    }
    EXPECT_EQ(lots, (std::vector<QString>{QStringLiteral("L1"), QStringLiteral("L2")}));
}

TEST_F(PrintJobTest, ClearReportTableFollowUp)
{
    WritePalletRow({});
    ReportJob job = PalletLabelJob(false, 1);
    job.followUp = ClearReportTable(QStringLiteral("ReportPallet"));
    StampaReport(job, holder);
    EXPECT_EQ(printers.jobs().at(0).pages.size(), 1u);
    EXPECT_TRUE(DB->OpenRecordset(QStringLiteral("ReportPallet"))->IsEmpty());
}

} // namespace
