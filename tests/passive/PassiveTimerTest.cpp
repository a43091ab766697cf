// One tick of the request timer: requests printed through the window on a recording printer,
// each deleted once printed, a failed one kept for the next tick.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/ui/ControlTag.h"
#include "labels/Sscc.h"
#include "support/RecordingPrinter.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

const QString kPref = QStringLiteral("1");
const QString kEan = QStringLiteral("8001234567897");

// Fails every job, as a printer that is off or out of paper.
class FailingPrinterSystem : public RecordingPrinterSystem {
public:
    using RecordingPrinterSystem::RecordingPrinterSystem;
    void print(const PrintJob&) override { throw AppError(1, QStringLiteral("Stampante"), QStringLiteral("Stampante non pronta")); }
};

class PassiveTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        FillMonthNames();
        SetPrinterSystem(&printer);
        SetSetup({{"ReportPrinter", QStringLiteral("Zebra")}, {"ImballiPrinter", QStringLiteral("Zebra")}, {"contatore", 41},
                  {"PesoPallet3", 25}});
        AddArticle({{"EANArticolo", QStringLiteral("8001234567897")}, {"EANCartone", kEan}, {"PrefGTIN", kPref}});
        window = std::make_unique<frmArticoli>();
        window->Form_Load();
        window->ui.chkAnteprima->setChecked(true);
        window->ui.chkAnteprimaImballi->setChecked(true);
        window->ui.chkAnteprimaRistampa->setChecked(true);
        ModoInterattivo = false;
    }

    void TearDown() override
    {
        window.reset();
        ModoInterattivo = true;
        ModoFileRichiesta = false;
        SetPrinterSystem(nullptr);
        CloseDatabase();
    }

    qint64 addHeader(bool reprint, qint64 copies, qint64 idAppTestate = -1, qint64 counter = 0)
    {
        rsRichiesteTestate->AddNew();
        rsRichiesteTestate->SetValue(QStringLiteral("Copie"), copies);
        rsRichiesteTestate->SetValue(QStringLiteral("Ristampa"), reprint);
        rsRichiesteTestate->SetValue(QStringLiteral("IDAppTestate"), idAppTestate);
        rsRichiesteTestate->SetValue(QStringLiteral("SpecificaContatore"), counter > 0);
        rsRichiesteTestate->SetValue(QStringLiteral("ContatoreSSCC"), counter);
        rsRichiesteTestate->SetValue(QStringLiteral("TipoPallet"), QStringLiteral("3"));
        rsRichiesteTestate->Update();
        rsRichiesteTestate->SetBookmark(rsRichiesteTestate->LastModified());
        return rsRichiesteTestate->Value(QStringLiteral("IDRichiesteTestate")).toLongLong();
    }

    void addLine(qint64 header, int numRiga, const QString& lot, const QString& ean = kEan)
    {
        rsRichiesteRighe->AddNew();
        rsRichiesteRighe->SetValue(QStringLiteral("IDRichiesteTestate"), header);
        rsRichiesteRighe->SetValue(QStringLiteral("NumRiga"), numRiga);
        fillLine(*rsRichiesteRighe, lot, ean, 40);
    }

    void addCarton(const QString& ean, int labels)
    {
        rsRichiesteImballi->AddNew();
        fillLine(*rsRichiesteImballi, QStringLiteral("C01"), ean, labels);
    }

    static void fillLine(Recordset& rs, const QString& lot, const QString& ean, int cartons)
    {
        rs.SetValue(QStringLiteral("AutoLotto"), false);
        rs.SetValue(QStringLiteral("Lotto"), lot);
        rs.SetValue(QStringLiteral("AutoData"), false);
        rs.SetValue(QStringLiteral("DataOra"), kProduction);
        rs.SetValue(QStringLiteral("PrefGTIN"), kPref);
        rs.SetValue(QStringLiteral("EANCartone"), ean);
        rs.SetValue(QStringLiteral("NumCartoni"), cartons);
        rs.Update();
    }

    qint64 count(const char* table)
    {
        return DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM ") + QString::fromLatin1(table))->Value(QStringLiteral("n")).toLongLong();
    }

    QStringList archivedLots()
    {
        QStringList lots;
        for (auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM AppRighe ORDER BY IDAppTestate, NumRiga")); !rs->Eof(); rs->MoveNext())
            lots << rs->Value(QStringLiteral("Lotto")).toString();
        return lots;
    }

    static inline const QDateTime kProduction{QDate(2024, 3, 5), QTime(14, 30)};
    TestDataFolder data;
    RecordingPrinterSystem printer{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 203};
    std::unique_ptr<frmArticoli> window;
};

TEST_F(PassiveTimerTest, APalletRequestIsPrintedWithItsCounterAndDeleted)
{
    addLine(addHeader(false, 1, -1, 1000), 1, QStringLiteral("L77"));

    window->timPassive_Timer();

    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].printer, QStringLiteral("Zebra"));
    auto pallet = DB->OpenRecordset(QStringLiteral("AppTestate"));
    ASSERT_FALSE(pallet->IsEmpty());
    EXPECT_EQ(pallet->Value(QStringLiteral("SSCC")).toString(), ComposeSscc(QStringLiteral("3"), *rsSetup, 1000));
    auto line = DB->OpenRecordset(QStringLiteral("AppRighe"));
    EXPECT_EQ(line->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("L77"));
    EXPECT_EQ(line->Value(QStringLiteral("DataOra")).toDateTime(), kProduction);
    EXPECT_EQ(line->Value(QStringLiteral("QtCartoni")).toInt(), 40);
    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_EQ(count("RichiesteRighe"), 0);
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_TRUE(window->timPassive.isActive());
}

TEST_F(PassiveTimerTest, NoCopiesPrintsOnceInsteadOfBlockingTheQueue)
{
    addLine(addHeader(false, 0), 1, QStringLiteral("L78"));
    addLine(addHeader(false, 1), 1, QStringLiteral("L79"));

    window->timPassive_Timer();

    EXPECT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(count("RichiesteTestate"), 0);
}

TEST_F(PassiveTimerTest, AFailedPrintKeepsTheRequestAndTheNextTickPrintsItOnce)
{
    FailingPrinterSystem failing{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra")};
    SetPrinterSystem(&failing);
    const qint64 header = addHeader(false, 1);
    addLine(header, 1, QStringLiteral("A"));
    addLine(header, 2, QStringLiteral("B"));
    addCarton(kEan, 2);

    window->timPassive_Timer();

    EXPECT_EQ(count("RichiesteTestate"), 1);
    EXPECT_EQ(count("RichiesteRighe"), 2);
    EXPECT_EQ(count("RichiesteImballi"), 1) << "requests behind a failed one wait";
    EXPECT_EQ(count("AppTestate"), 0);
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_TRUE(window->timPassive.isActive());

    SetPrinterSystem(&printer);
    window->timPassive_Timer();

    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_EQ(count("RichiesteImballi"), 0);
    EXPECT_EQ(archivedLots(), (QStringList{QStringLiteral("A"), QStringLiteral("B")})) << "no lot gathered twice";
}

TEST_F(PassiveTimerTest, LinesArePrintedInTheirOrderAndUnknownArticlesAddNothing)
{
    const qint64 header = addHeader(false, 1);
    addLine(header, 3, QStringLiteral("C"));
    addLine(header, 1, QStringLiteral("A"));
    addLine(header, 2, QStringLiteral("X"), QStringLiteral("0000000000000"));
    addLine(header, 2, QStringLiteral("B"));

    window->timPassive_Timer();

    EXPECT_EQ(archivedLots(), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(count("RichiesteTestate"), 0);
}

TEST_F(PassiveTimerTest, LotsTheOperatorLeftInTheGridAreNotPartOfARequest)
{
    window->ui.flxLotti->AddItem(QStringLiteral("x\tOPER\t01/01/26 10:00\t5"));
    addLine(addHeader(false, 1), 1, QStringLiteral("L1"));

    window->timPassive_Timer();

    EXPECT_EQ(archivedLots(), QStringList{QStringLiteral("L1")});
}

TEST_F(PassiveTimerTest, AHeaderWithoutLinesPrintsNothingAndGoes)
{
    addHeader(false, 1);

    window->timPassive_Timer();

    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(count("RichiesteTestate"), 0);
}

TEST_F(PassiveTimerTest, ReprintRequests)
{
    addLine(addHeader(false, 1), 1, QStringLiteral("L1"));
    window->timPassive_Timer();
    ASSERT_EQ(printer.jobs().size(), 1u);
    const qint64 archived = DB->OpenRecordset(QStringLiteral("AppTestate"))->Value(QStringLiteral("IDAppTestate")).toLongLong();
    window->ui.txtSSCC->setText(QString());

    addHeader(true, -2, archived);
    addHeader(true, 3, archived + 100);
    window->timPassive_Timer();

    ASSERT_EQ(printer.jobs().size(), 2u) << "a pallet gone from the archive prints nothing";
    EXPECT_EQ(window->ui.mskQtRistampa->text(), QStringLiteral("1"));
    EXPECT_EQ(Tag(window->ui.txtSSCC), QString::number(archived));
    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_EQ(count("AppTestate"), 1) << "a reprint is not archived again";
}

TEST_F(PassiveTimerTest, CartonRequestsOfUnknownArticlesAreDroppedUnprinted)
{
    addCarton(QStringLiteral("0000000000000"), 2);
    addCarton(kEan, 3);

    window->timPassive_Timer();

    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(printer.jobs()[0].copies * int(printer.jobs()[0].pages.size()), 3);
    EXPECT_EQ(window->ui.mskDataProduzione->text(), FormatDate(kProduction, FormatoData));
    EXPECT_EQ(window->ui.mskOraProd->text(), FormatDate(kProduction, FormatoOra));
    EXPECT_EQ(count("RichiesteImballi"), 0);
}

TEST_F(PassiveTimerTest, ANumberTheFieldCannotHoldKeepsTheRequest)
{
    addCarton(kEan, 12000);

    window->timPassive_Timer();

    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(count("RichiesteImballi"), 1);
}

TEST_F(PassiveTimerTest, RequestFilesAreImportedOnceTheyStoppedChanging)
{
    ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral("req")));
    rsSetup->Edit();
    rsSetup->SetValue(QStringLiteral("CartellaRichieste"), data.file(QStringLiteral("req")));
    rsSetup->Update();
    QFile file(data.file(QStringLiteral("req/ordine.req")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[TESTATA]\nTIPOPALLET=3\n[RIGA]\nAUTOLOTTO=NO\nLOTTO=F1\nPREFGTIN=1\nEANCARTONE=800123456789\nNUMCARTONI=40\n");
    file.close();

    window->timPassive_Timer();
    window->timPassive_Timer();
    EXPECT_TRUE(file.exists()) << "without the request-file mode the folder is not read";
    EXPECT_TRUE(printer.jobs().empty());

    ModoFileRichiesta = true;
    window->timPassive_Timer();
    EXPECT_TRUE(file.exists()) << "a file is first seen, and read only if it is the same at the next tick";
    window->timPassive_Timer();
    EXPECT_FALSE(file.exists());
    EXPECT_EQ(archivedLots(), QStringList{QStringLiteral("F1")});
    EXPECT_EQ(count("RichiesteTestate"), 0);
}

TEST_F(PassiveTimerTest, ARefusedRequestIsShownOnceAndSetAsideUntilItsRowChanges)
{
    const qint64 refused = addHeader(false, 1);
    addLine(refused, 1, QStringLiteral("R1"));
    DB->ExecuteNative(QStringLiteral("UPDATE RichiesteTestate SET TipoPallet = 'X'"));
    addLine(addHeader(false, 1), 1, QStringLiteral("P1"));
    addCarton(kEan, 2);
    DB->ExecuteNative(QStringLiteral("UPDATE RichiesteImballi SET Lotto = ''"));
    addCarton(kEan, 3);

    window->timPassive_Timer();
    window->timPassive_Timer();

    EXPECT_EQ(Dialogs().prompts(), (std::vector<QString>{QStringLiteral("Tipo pallet non valido!"), QStringLiteral("Il lotto non può essere nullo.")}));
    EXPECT_EQ(printer.jobs().size(), 2u) << "the requests behind the refused ones are printed";
    EXPECT_EQ(archivedLots(), QStringList{QStringLiteral("P1")});
    EXPECT_EQ(count("RichiesteTestate"), 1);
    EXPECT_EQ(count("RichiesteRighe"), 1);
    EXPECT_EQ(count("RichiesteImballi"), 1);

    DB->ExecuteNative(QStringLiteral("UPDATE RichiesteTestate SET TipoPallet = '3'"));
    window->timPassive_Timer();

    EXPECT_EQ(archivedLots(), (QStringList{QStringLiteral("P1"), QStringLiteral("R1")})) << "a changed row is another request";
    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_EQ(count("RichiesteImballi"), 1);
    EXPECT_EQ(Dialogs().messages().size(), 2u);
}

TEST_F(PassiveTimerTest, BackInInteractiveModeTheTimerStaysOff)
{
    addHeader(false, 1);
    ModoInterattivo = true;

    window->timPassive_Timer();

    EXPECT_FALSE(window->timPassive.isActive());
    EXPECT_EQ(count("RichiesteTestate"), 1);
}

} // namespace
