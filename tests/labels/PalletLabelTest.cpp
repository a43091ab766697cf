// One pallet printed: its SSCC reserved (counter, export, archive) and its report rows bound in one
// transaction, then the job sent; a job that cannot be sent gives back exactly what was reserved.
#include "labels/PalletLabel.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "labels/Sscc.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <map>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

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
        args.eanCartone = QStringLiteral("8001234567897");
        args.qtCartoni = QStringLiteral("40");
        args.qtCassa = QStringLiteral("6");
        args.eanArticolo = QStringLiteral("8001234567897");
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

TEST_F(PalletLabelTest, ReservesBindsThenSends)
{
    int rowsBound = 0;
    bool sent = false;
    auto result = StampaEtichettaPallet(args, [&](const std::function<void()>&) {
        EXPECT_TRUE(DB->InTransaction());
        auto rs = DB->OpenRecordset(QStringLiteral("ReportPallet"));
        for (; !rs->Eof(); rs->MoveNext()) {
            ++rowsBound;
            EXPECT_EQ(rs->Value(QStringLiteral("SSCC_Form")).toString(), QStringLiteral("3 80 12345 100000042 3"));
            EXPECT_EQ(rs->Value(QStringLiteral("GTIN_Form")).toString(), QStringLiteral("180 01234 56789 4"));
            EXPECT_EQ(rs->Value(QStringLiteral("EANUC_Form")).toString(), QStringLiteral("80 01234 56789 7"));
            EXPECT_EQ(rs->Value(QStringLiteral("PesoLordo")).toString(), QStringLiteral("525"));
            EXPECT_EQ(rs->Value(QStringLiteral("NumPezzi")).toString(), QStringLiteral("240"));
            EXPECT_EQ(rs->Value(QStringLiteral("SSCC_Text")).toString(), QStringLiteral("(00)380123451000000423"));
            EXPECT_EQ(rs->Value(QStringLiteral("Descrizione")).toString().size(), 80);
            EXPECT_FALSE(rs->Value(QStringLiteral("E128_Barcode")).toString().isEmpty());
        }
        return SendSteps{[&] {
            // Sent after the commit: another program sees the pallet archived and the counter taken.
            auto other = Database::Open(PercorsoDB, true);
            auto setup = other->OpenRecordset(QStringLiteral("Setup"));
            EXPECT_EQ(setup->Value(QStringLiteral("contatore")).toLongLong(), 42);
            auto archived = other->OpenRecordset(QStringLiteral("SELECT * FROM AppTestate WHERE SSCC = '380123451000000423'"));
            EXPECT_FALSE(archived->IsEmpty());
            EXPECT_FALSE(DB->InTransaction());
            sent = true;
        }};
    });
    ASSERT_TRUE(result);
    EXPECT_TRUE(sent);
    EXPECT_EQ(rowsBound, 3);
    EXPECT_EQ(result->sscc, QStringLiteral("380123451000000423"));
    EXPECT_EQ(result->reserved.contatore, 42);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 42);
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(QString::fromLatin1(t)), 1) << t;
    rsAppTestate->FindFirst(QStringLiteral("SSCC = '380123451000000423'"));
    ASSERT_FALSE(rsAppTestate->NoMatch());
    EXPECT_EQ(rsAppTestate->Value(QStringLiteral("IDAppTestate")).toLongLong(), result->reserved.recorded.idAppTestate);
    EXPECT_DOUBLE_EQ(rsAppTestate->Value(QStringLiteral("pesolordo")).toDouble(), 525);
    auto line = DB->OpenRecordset(QStringLiteral("SELECT * FROM AppRighe WHERE IDAppTestate = %1").arg(result->reserved.recorded.idAppTestate));
    EXPECT_EQ(line->Value(QStringLiteral("GTIN")).toString(), QStringLiteral("18001234567894"));
    EXPECT_EQ(line->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("L0342"));
    EXPECT_EQ(line->Value(QStringLiteral("DataScadenza")).toDateTime(), args.scadenza);
    EXPECT_EQ(line->Value(QStringLiteral("numpezzi")).toLongLong(), 240);
    // The journal entry went with the sent job.
    EXPECT_TRUE(StampeInCorso().Orphans().empty());
}

TEST_F(PalletLabelTest, CopiesThatAreNotANumberStillPrintOnce)
{
    for (const char* copies : {"0", "", "abc"}) {
        args.copie = QString::fromLatin1(copies);
        int rows = 0;
        StampaEtichettaPallet(args, [&](const std::function<void()>&) {
            rows = int(count(QStringLiteral("ReportPallet")));
            return SendSteps{};
        });
        EXPECT_EQ(rows, 1) << copies;
    }
}

// A job that cannot be sent leaves the records, the passive request and the counter as they were,
// but never takes back a serial another program has drawn since.
TEST_F(PalletLabelTest, AJobThatCannotBeSentGivesBackExactlyWhatWasReserved)
{
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteTestate (IDRichiesteTestate, Copie, TipoPallet) VALUES (7, 2, '3')"));
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteRighe (IDRichiesteTestate, NumRiga, Lotto, DataOra, NumCartoni) "
                                     "VALUES (7, 1, 'AB12', '2026-12-08 10:30:00', 40), (7, 2, NULL, '2026-12-08 11:00:00', 2.5)"));
    auto snapshot = [&] {
        QStringList rows;
        for (const char* sql : {"SELECT * FROM RichiesteTestate ORDER BY rowid",
                                "SELECT *, typeof(DataOra), typeof(NumCartoni), typeof(Lotto) FROM RichiesteRighe ORDER BY rowid"}) {
            Statement st = DB->prepare(QString::fromLatin1(sql));
            while (st.step()) {
                QStringList cells;
                for (int i = 0; i < st.columnCount(); ++i) cells << st.value(i).toString();
                rows << cells.join(u'|');
            }
        }
        return rows;
    };
    const QStringList before = snapshot();
    auto offline = [](const std::function<void()>&) { return SendSteps{[] { throw AppError(1, QStringLiteral("printer"), QStringLiteral("offline")); }}; };

    EXPECT_THROW(StampaEtichettaPallet(args, offline, 7), AppError);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 41);
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(QString::fromLatin1(t)), 0) << t;
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(StampeInCorso().Orphans().empty());

    // Another program prints while this job fails: its serial stays taken.
    EXPECT_THROW(StampaEtichettaPallet(args,
                                       [](const std::function<void()>&) {
                                           return SendSteps{[] {
                                               Database::Open(PercorsoDB)->ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = 43"));
                                               throw AppError(1, QStringLiteral("printer"), QStringLiteral("offline"));
                                           }};
                                       }),
                 AppError);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 43);
    EXPECT_EQ(count(QStringLiteral("AppTestate")), 0);

    // Once a label may be out, a later failure keeps the reservation; the caller learns what failed,
    // and after which step, and tells it: the entry goes, and the next start sends nothing again.
    const auto late = StampaEtichettaPallet(args, [](const std::function<void()>&) {
        return SendSteps{[] {}, [] { throw AppError(1, QStringLiteral("printer"), QStringLiteral("offline")); }, [] {}};
    });
    ASSERT_TRUE(late);
    EXPECT_EQ(late->reserved.failedAfterSend, QStringLiteral("offline"));
    EXPECT_EQ(late->reserved.stepsDone, 1u);
    EXPECT_EQ(late->sscc, ComposeSscc(QStringLiteral("3"), *rsSetup, 44));
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 44);
    EXPECT_EQ(count(QStringLiteral("AppTestate")), 1);
    EXPECT_TRUE(StampeInCorso().Orphans().empty());
    DB->ExecuteNative(QStringLiteral("DELETE FROM AppTestate"));

    // A request another program has taken meanwhile prints nothing.
    DB->ExecuteNative(QStringLiteral("DELETE FROM RichiesteTestate"));
    bool bound = false;
    EXPECT_THROW(StampaEtichettaPallet(args, [&](const std::function<void()>&) { bound = true; return SendSteps{[] {}}; }, 7), AppError);
    EXPECT_FALSE(bound);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 44);
    EXPECT_EQ(count(QStringLiteral("AppTestate")), 0);
}

TEST_F(PalletLabelTest, ADatabaseFailureMidwayLeavesCounterExportAndArchiveAsTheyWere)
{
    DB->ExecuteNative(QStringLiteral("CREATE TEMP TRIGGER fail_archive BEFORE INSERT ON AppRighe BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    auto nothing = [](const std::function<void()>&) { return SendSteps{[] {}}; };
    EXPECT_THROW(StampaEtichettaPallet(args, nothing), AppError);
    ASSERT_FALSE(DB->Errors().empty());
    EXPECT_TRUE(DB->Errors().front().description.contains(QStringLiteral("disk full")));
    EXPECT_FALSE(DB->InTransaction());
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 41);
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(QString::fromLatin1(t)), 0) << t;

    // The next pallet goes through once the fault is gone.
    DB->ExecuteNative(QStringLiteral("DROP TRIGGER fail_archive"));
    auto result = StampaEtichettaPallet(args, nothing);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->reserved.contatore, 42);
    EXPECT_EQ(count(QStringLiteral("AppRighe")), 1);
}

// An entry names a job that may not have reached the printer until the job is done; the process
// that writes it holds it, so only entries a crash left behind are found.
TEST(PrintJournal, OnlyEntriesNoLivingProcessHoldsAreFound)
{
    QTemporaryDir dir;
    PrintJournal journal(dir.filePath(QStringLiteral("StampeInCorso")));
    auto held = journal.Begin({QStringLiteral("380123451000000423"), 5, 3});
    auto crashed = journal.Begin({QStringLiteral("380123451000000430"), 6, 1});
    crashed.reset();
    QFile half(dir.filePath(QStringLiteral("StampeInCorso/x-1-1.tmp")));
    ASSERT_TRUE(half.open(QIODevice::WriteOnly));
    half.write("sscc=3801");
    half.close();
    QFile garbage(dir.filePath(QStringLiteral("StampeInCorso/y-1-1.job")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.close();

    auto orphans = journal.Orphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0]->entry().sscc, QStringLiteral("380123451000000430"));
    EXPECT_EQ(orphans[0]->entry().idAppTestate, 6);
    EXPECT_EQ(orphans[0]->entry().copies, 1);
    orphans[0]->Done();
    held->Done();
    EXPECT_TRUE(journal.Orphans().empty());

    // A carton run and an open preview come back whole, whatever their texts hold; an entry replaced
    // says what it says now.
    JournalEntry cartons;
    cartons.kind = JournalEntry::Kind::Cartons;
    cartons.copies = 12;
    cartons.carton = {QStringLiteral("ART=1"), QStringLiteral("08.12.2026 10:30"), QStringLiteral("Passata\nè 100%"),
                      QStringLiteral("80 01234 56789 7"), QString::fromLatin1("\xe0\x01\x7f=\n"), QStringLiteral("6"),
                      QStringLiteral("06.2027"), QStringLiteral("L 1")};
    journal.Begin(cartons).reset();
    JournalEntry preview{QStringLiteral("380123451000000447"), 7, 2};
    preview.kind = JournalEntry::Kind::Preview;
    preview.idExportTestate = 9;
    preview.counterWritten = true;
    preview.counterBefore = 43;
    preview.counterAfter = 44;
    auto previewed = journal.Begin(preview);
    previewed.reset();
    auto replaced = journal.Begin(preview);
    replaced->Replace({QStringLiteral("380123451000000454"), 8, 1});
    replaced.reset();
    orphans = journal.Orphans();
    ASSERT_EQ(orphans.size(), 3u);
    std::map<JournalEntry::Kind, JournalEntry> found;
    for (auto& orphan : orphans) found[orphan->entry().kind] = orphan->entry();
    const JournalEntry& p = found[JournalEntry::Kind::Preview];
    EXPECT_EQ(p.kind, JournalEntry::Kind::Preview);
    EXPECT_EQ(p.sscc, preview.sscc);
    EXPECT_EQ(p.idAppTestate, 7);
    EXPECT_EQ(p.copies, 2);
    EXPECT_EQ(p.idExportTestate, 9);
    EXPECT_TRUE(p.counterWritten);
    EXPECT_EQ(p.counterBefore, 43);
    EXPECT_EQ(p.counterAfter, 44);
    EXPECT_EQ(found[JournalEntry::Kind::Pallet].sscc, QStringLiteral("380123451000000454"));
    const JournalEntry& c = found[JournalEntry::Kind::Cartons];
    EXPECT_EQ(c.copies, 12);
    EXPECT_EQ(c.carton.codInterno, cartons.carton.codInterno);
    EXPECT_EQ(c.carton.descrizione, cartons.carton.descrizione);
    EXPECT_EQ(c.carton.eanBarcode, cartons.carton.eanBarcode);
    EXPECT_EQ(c.carton.lotto, cartons.carton.lotto);
    for (auto& orphan : orphans) orphan->Done();
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("StampeInCorso"))).isEmpty());

    // What is no entry neither holds up the start nor is read without end.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("StampeInCorso/f-1-1.job"))).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("StampeInCorso/z-1-1.job"))));
    QFile big(dir.filePath(QStringLiteral("StampeInCorso/b-1-1.job")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write("sscc=380123451000000447\nid=7\ncopie=1\n");
    ASSERT_TRUE(big.resize(1 << 20));
    big.close();
    EXPECT_TRUE(journal.Orphans().empty());
    EXPECT_FALSE(big.exists());
}

TEST_F(PalletLabelTest, SummaryLabelsTakeTheirPiecesAndWeightFromTheCaller)
{
    EtichettaMulti = true;
    ArticoloUnico = false;
    args.totalPieces = 999;
    args.totalWeight = 2.25;
    args.copie = QStringLiteral("1");
    StampaEtichettaPallet(args, [&](const std::function<void()>&) {
        auto rs = DB->OpenRecordset(QStringLiteral("ReportPallet"));
        EXPECT_EQ(rs->Value(QStringLiteral("NumPezzi")).toString(), QStringLiteral("999"));
        EXPECT_EQ(rs->Value(QStringLiteral("PesoLordo")).toString(), QStringLiteral("2,25"));
        return SendSteps{[] {}};
    });
    // The archive keeps the pallet's own quantities.
    rsAppTestate->MoveFirst();
    EXPECT_EQ(rsAppTestate->Value(QStringLiteral("numpezzi")).toLongLong(), 240);
}

} // namespace
