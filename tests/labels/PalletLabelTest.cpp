// One pallet printed: report rows per copy visible to the print job, then counter, export and
// archive written together, or not at all.
#include "labels/PalletLabel.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace {

class PalletLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        EtichettaMulti = false;
        ArticoloUnico = true;
        rsSetup->Edit();
        rsSetup->SetValue(QStringLiteral("contatore"), 41);
        rsSetup->SetValue(QStringLiteral("PesoPallet3"), 25);
        rsSetup->Update();
        args.codInterno = QStringLiteral("ART1");
        args.descrizione1 = QStringLiteral("Passata di pomodoro");
        args.descrizione2 = QStringLiteral("vetro 700 g");
        args.tipoPallet = QStringLiteral("3");
        args.prefGTIN = QStringLiteral("1");
        args.eanCartone = QStringLiteral("8001234567895");
        args.qtCartoni = QStringLiteral("40");
        args.qtCassa = QStringLiteral("6");
        args.eanArticolo = QStringLiteral("8001234567895");
        args.lotto = QStringLiteral("L0342");
        args.pesoCassa = QStringLiteral("12,5");
        args.copie = QStringLiteral("3");
        args.produzione = QDateTime(QDate(2026, 12, 8), QTime(10, 30));
        args.scadenza = QDateTime(QDate(2027, 6, 8), QTime(0, 0));
        args.serial = 42;
    }
    void TearDown() override { CloseDatabase(); }

    qint64 count(const QString& table)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM %1").arg(table));
        return rs->Value(QStringLiteral("n")).toLongLong();
    }

    TestDataFolder data;
    PalletLabelArgs args;
};

TEST_F(PalletLabelTest, PrintsOneRowPerCopyThenRecordsThePallet)
{
    int rowsSeenByPrintJob = 0;
    auto result = StampaEtichettaPallet(args, [&](bool preview) {
        EXPECT_FALSE(preview);
        auto reader = Database::Open(PercorsoDB, true);
        auto rs = reader->OpenRecordset(QStringLiteral("ReportPallet"));
        for (; !rs->Eof(); rs->MoveNext()) {
            ++rowsSeenByPrintJob;
            EXPECT_EQ(rs->Value(QStringLiteral("SSCC_Form")).toString(), QStringLiteral("3 80 12345 100000042 3"));
            EXPECT_EQ(rs->Value(QStringLiteral("GTIN_Form")).toString(), QStringLiteral("180 01234 56789 4"));
            EXPECT_EQ(rs->Value(QStringLiteral("EANUC_Form")).toString(), QStringLiteral("80 01234 56789 5"));
            EXPECT_EQ(rs->Value(QStringLiteral("PesoLordo")).toString(), QStringLiteral("525"));
            EXPECT_EQ(rs->Value(QStringLiteral("NumPezzi")).toString(), QStringLiteral("240"));
            EXPECT_EQ(rs->Value(QStringLiteral("SSCC_Text")).toString(), QStringLiteral("(00)380123451000000423"));
            EXPECT_EQ(rs->Value(QStringLiteral("Descrizione")).toString().size(), 80);
            EXPECT_FALSE(rs->Value(QStringLiteral("E128_Barcode")).toString().isEmpty());
        }
        // Nothing is recorded before the label has printed.
        EXPECT_EQ(count(QStringLiteral("AppTestate")), 0);
    });
    EXPECT_EQ(rowsSeenByPrintJob, 3);
    EXPECT_EQ(result.sscc, QStringLiteral("380123451000000423"));
    EXPECT_EQ(result.recorded.contatore, 42);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 42);
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(QString::fromLatin1(t)), 1) << t;
    rsAppTestate->FindFirst(QStringLiteral("SSCC = '380123451000000423'"));
    ASSERT_FALSE(rsAppTestate->NoMatch());
    EXPECT_EQ(rsAppTestate->Value(QStringLiteral("IDAppTestate")).toLongLong(), result.recorded.idAppTestate);
    EXPECT_DOUBLE_EQ(rsAppTestate->Value(QStringLiteral("pesolordo")).toDouble(), 525);
    auto line = DB->OpenRecordset(QStringLiteral("SELECT * FROM AppRighe WHERE IDAppTestate = %1").arg(result.recorded.idAppTestate));
    EXPECT_EQ(line->Value(QStringLiteral("GTIN")).toString(), QStringLiteral("18001234567894"));
    EXPECT_EQ(line->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("L0342"));
    EXPECT_EQ(line->Value(QStringLiteral("DataScadenza")).toDateTime(), args.scadenza);
    EXPECT_EQ(line->Value(QStringLiteral("numpezzi")).toLongLong(), 240);
}

TEST_F(PalletLabelTest, CopiesThatAreNotANumberStillPrintOnce)
{
    for (const char* copies : {"0", "", "abc"}) {
        args.copie = QString::fromLatin1(copies);
        args.archive = false;
        args.advanceCounter = false;
        int rows = 0;
        StampaEtichettaPallet(args, [&](bool) { rows = int(count(QStringLiteral("ReportPallet"))); });
        EXPECT_EQ(rows, 1) << copies;
    }
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 41);
    EXPECT_EQ(count(QStringLiteral("AppTestate")), 0);
}

TEST_F(PalletLabelTest, AFailedPrintRecordsNothing)
{
    EXPECT_THROW(StampaEtichettaPallet(args, [](bool) { throw AppError(1, QStringLiteral("printer"), QStringLiteral("offline")); }),
                 AppError);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 41);
    EXPECT_EQ(count(QStringLiteral("AppTestate")), 0);
    EXPECT_EQ(count(QStringLiteral("ExportTestate")), 0);
}

TEST_F(PalletLabelTest, ADatabaseFailureMidwayLeavesCounterExportAndArchiveAsTheyWere)
{
    DB->ExecuteNative(QStringLiteral("CREATE TEMP TRIGGER fail_archive BEFORE INSERT ON AppRighe BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    EXPECT_THROW(StampaEtichettaPallet(args, [](bool) {}), AppError);
    ASSERT_FALSE(DB->Errors().empty());
    EXPECT_TRUE(DB->Errors().front().description.contains(QStringLiteral("disk full")));
    EXPECT_FALSE(DB->InTransaction());
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 41);
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(QString::fromLatin1(t)), 0) << t;

    // The next pallet goes through once the fault is gone.
    DB->ExecuteNative(QStringLiteral("DROP TRIGGER fail_archive"));
    auto result = StampaEtichettaPallet(args, [](bool) {});
    EXPECT_EQ(result.recorded.contatore, 42);
    EXPECT_EQ(count(QStringLiteral("AppRighe")), 1);
}

TEST_F(PalletLabelTest, SummaryLabelsTakeTheirPiecesAndWeightFromTheCaller)
{
    EtichettaMulti = true;
    ArticoloUnico = false;
    args.totalPieces = 999;
    args.totalWeight = 2.25;
    args.copie = QStringLiteral("1");
    StampaEtichettaPallet(args, [&](bool) {
        auto rs = DB->OpenRecordset(QStringLiteral("ReportPallet"));
        EXPECT_EQ(rs->Value(QStringLiteral("NumPezzi")).toString(), QStringLiteral("999"));
        EXPECT_EQ(rs->Value(QStringLiteral("PesoLordo")).toString(), QStringLiteral("2,25"));
    });
    // The archive keeps the pallet's own quantities.
    rsAppTestate->MoveFirst();
    EXPECT_EQ(rsAppTestate->Value(QStringLiteral("numpezzi")).toLongLong(), 240);
}

} // namespace
