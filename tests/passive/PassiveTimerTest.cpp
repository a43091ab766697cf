// One tick of the request timer: requests printed through the window on a recording printer, each
// taken from its table by its print; one that fails for a while kept for the next tick, one that
// cannot print set aside with why, told beside the tray icon, and nothing waiting for a person.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/HandlerGuard.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/ControlTag.h"
#include "labels/Sscc.h"
#include "passive/RequestClaim.h"
#include "passive/TrayIcon.h"
#include "passive/frmRichiesteAccantonate.h"
#include "support/ChildProcess.h"
#include "support/EventSpy.h"
#include "support/RecordingPrinter.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"
#include "support/Zbar.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimeZone>
#include <QTimer>

#include <map>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kPref = QStringLiteral("1");
const QString kEan = QStringLiteral("8001234567897");

// Request files a program holds while it imports them, in any program's folder.
int ClaimedFiles(const QString& requestFolder)
{
    int n = 0;
    const QDir inCorso(QDir(requestFolder).filePath(kCartellaInCorso));
    for (const QString& claims : inCorso.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        n += int(QDir(inCorso.filePath(claims)).entryList({QStringLiteral("*.req")}, QDir::Files).size());
    return n;
}

// Fails every job, as a printer that is off or out of paper does.
class FailingPrinterSystem : public RecordingPrinterSystem {
public:
    using RecordingPrinterSystem::RecordingPrinterSystem;
    void print(const PrintJob&) override { throw AppError(482, QStringLiteral("Stampa"), QStringLiteral("Stampante non pronta")); }
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
        Database::SetLockWait(nullptr);
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

    // The first column of the first row; the statement is reset at once, so it holds no read lock.
    qint64 number(const char* sql)
    {
        Statement st = DB->prepare(QString::fromLatin1(sql));
        return st.step() ? st.int64(0) : -1;
    }

    qint64 count(const char* table)
    {
        return DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM ") + QString::fromLatin1(table))->Value(QStringLiteral("n")).toLongLong();
    }

    // "table id: reason" of every request set aside.
    QStringList setAside()
    {
        QStringList out;
        for (const SetAsideRequest& e : window->Accantonate().entries())
            out << (e.file.isEmpty() ? e.key.table + u' ' + QString::number(e.key.id) : NomeMostrato(e.file)) + QStringLiteral(": ")
                       + e.reason;
        return out;
    }

    const std::deque<TrayIcon::Told>& told() { return window->TrayIconData->told(); }

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

    // A failure once the summary of a mixed pallet is out: the request is printed, and what failed
    // is told as such.
    class ListsRefused : public RecordingPrinterSystem {
    public:
        using RecordingPrinterSystem::RecordingPrinterSystem;
        void print(const PrintJob& job) override
        {
            if (++calls == 2) throw AppError(482, QStringLiteral("Stampa"), QStringLiteral("Stampante non pronta"));
            RecordingPrinterSystem::print(job);
        }
        int calls = 0;
    } listsRefused{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 203};
    SetPrinterSystem(&listsRefused);
    const qint64 mixed = addHeader(false, 1);
    addLine(mixed, 1, QStringLiteral("L78"));
    addLine(mixed, 2, QStringLiteral("L79"));
    window->timPassive_Timer();
    EXPECT_EQ(listsRefused.jobs().size(), 1u);
    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_TRUE(setAside().isEmpty());
    ASSERT_EQ(told().size(), 1u);
    EXPECT_TRUE(told().back().text.contains(QStringLiteral("etichetta di riepilogo stampata"))) << qPrintable(told().back().text);
    EXPECT_TRUE(Dialogs().messages().empty());
    SetPrinterSystem(&printer);
}

// While a tick waits for another program's lock the tray menu answers: "&Chiudi" gives the wait up
// and ends the program, and the request stays whole for the next run.
TEST_F(PassiveTimerTest, ChiudiEndsATickThatWaitsForALock)
{
    WaitForLocksWhileWindowsPaint(std::chrono::minutes(1));
    addLine(addHeader(false, 1), 1, QStringLiteral("L80"));
    OtherProgramsLock lock(data.mdbPath());
    bool askedWhileWaiting = false;
    QTimer::singleShot(0, window.get(), [&] {
        askedWhileWaiting = lock.held() && WaitingWhileWindowsPaint();
        window->ui.mnuChiudi->trigger();
    });
    // The other program lets go once the tick has ended and the window closes, saving its settings.
    EventSpy closing(window.get(), QEvent::Close, [&] { lock.release(); });
    EseguiGestore([&] { window->timPassive_Timer(); });

    EXPECT_TRUE(askedWhileWaiting);
    EXPECT_FALSE(DB) << "the unload handler closed the database";
    EXPECT_TRUE(printer.jobs().empty());
    auto left = Database::Open(data.mdbPath());
    for (const char* table : {"RichiesteTestate", "RichiesteRighe"}) {
        auto rows = left->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM ") + QString::fromLatin1(table));
        EXPECT_EQ(rows->Value(QStringLiteral("n")).toInt(), 1) << table;
    }
    EXPECT_TRUE(left->OpenRecordset(QStringLiteral("AppTestate"))->IsEmpty());
}

TEST_F(PassiveTimerTest, NoCopiesPrintsOnceInsteadOfBlockingTheQueue)
{
    addLine(addHeader(false, 0), 1, QStringLiteral("L78"));
    addLine(addHeader(false, 1), 1, QStringLiteral("L79"));

    window->timPassive_Timer();

    EXPECT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(count("RichiesteTestate"), 0);
}

// The printer off: told once however many ticks it lasts; each request put back as it was, since
// nothing of it could be sent, and printed once when the printer is back.
TEST_F(PassiveTimerTest, AFailedPrintKeepsTheRequestAndTheNextTickPrintsItOnce)
{
    FailingPrinterSystem failing{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra")};
    SetPrinterSystem(&failing);
    const qint64 header = addHeader(false, 1);
    addLine(header, 1, QStringLiteral("A"));
    addLine(header, 2, QStringLiteral("B"));
    addCarton(kEan, 2);
    const QString carton = RowFingerprint(*DB->OpenRecordset(QStringLiteral("RichiesteImballi")));

    window->timPassive_Timer();
    window->timPassive_Timer();

    EXPECT_EQ(count("RichiesteTestate"), 1);
    EXPECT_EQ(count("RichiesteRighe"), 2);
    EXPECT_EQ(count("RichiesteImballi"), 1) << "requests behind a failed one wait";
    EXPECT_EQ(count("AppTestate"), 0);
    EXPECT_TRUE(Dialogs().messages().empty());
    ASSERT_EQ(told().size(), 1u);
    EXPECT_EQ(told().back().text, QStringLiteral("Le richieste attendono: Stampante non pronta"));
    EXPECT_TRUE(setAside().isEmpty());
    EXPECT_TRUE(window->timPassive.isActive());

    DB->ExecuteNative(QStringLiteral("DELETE FROM RichiesteTestate"));
    window->timPassive_Timer();
    EXPECT_EQ(RowFingerprint(*DB->OpenRecordset(QStringLiteral("RichiesteImballi"))), carton) << "put back as it was";

    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteTestate (IDRichiesteTestate, TipoPallet) VALUES (?, '3')"), {header});
    addLine(header, 1, QStringLiteral("A"));
    addLine(header, 2, QStringLiteral("B"));
    SetPrinterSystem(&printer);
    window->timPassive_Timer();

    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_EQ(count("RichiesteImballi"), 0);
    EXPECT_EQ(printer.jobs().size(), 3u) << "the summary, its article list and the cartons";
    EXPECT_EQ(archivedLots(), (QStringList{QStringLiteral("A"), QStringLiteral("B")})) << "no lot gathered twice";
}

TEST_F(PassiveTimerTest, LinesArePrintedInTheirOrder)
{
    const qint64 header = addHeader(false, 1);
    addLine(header, 3, QStringLiteral("C"));
    addLine(header, 1, QStringLiteral("A"));
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

TEST_F(PassiveTimerTest, ReprintRequests)
{
    addLine(addHeader(false, 1), 1, QStringLiteral("L1"));
    window->timPassive_Timer();
    ASSERT_EQ(printer.jobs().size(), 1u);
    const qint64 archived = DB->OpenRecordset(QStringLiteral("AppTestate"))->Value(QStringLiteral("IDAppTestate")).toLongLong();
    window->ui.txtSSCC->setText(QString());

    addHeader(true, -2, archived);
    const qint64 gone = addHeader(true, 3, archived + 100);
    window->timPassive_Timer();

    ASSERT_EQ(printer.jobs().size(), 2u) << "a pallet gone from the archive prints nothing";
    EXPECT_EQ(window->ui.mskQtRistampa->text(), QStringLiteral("1"));
    EXPECT_EQ(Tag(window->ui.txtSSCC), QString::number(archived));
    EXPECT_EQ(setAside(), QStringList{QStringLiteral("RichiesteTestate %1: Il pallet %2 da ristampare non è in archivio.")
                                          .arg(gone)
                                          .arg(archived + 100)});
    EXPECT_EQ(count("RichiesteTestate"), 1);
    EXPECT_EQ(count("AppTestate"), 1) << "a reprint is not archived again";

    // An expiry another program wrote in another form refuses the reprint, as on the button.
    DB->ExecuteNative(QStringLiteral("UPDATE AppRighe SET DataScadenza = '31/12/2026'"));
    const qint64 unreadable = addHeader(true, 1, archived);
    window->timPassive_Timer();
    EXPECT_EQ(printer.jobs().size(), 2u);
    ASSERT_EQ(setAside().size(), 2);
    const QString sscc = DB->OpenRecordset(QStringLiteral("AppTestate"))->Value(QStringLiteral("SSCC")).toString();
    EXPECT_TRUE(setAside()[1].startsWith(QStringLiteral("RichiesteTestate %1: Il pallet %2 dell'articolo ").arg(unreadable).arg(sscc)))
        << setAside()[1].toStdString();
    EXPECT_TRUE(setAside()[1].endsWith(QStringLiteral(" non ha una data di scadenza leggibile in archivio: impossibile ristamparlo.")));
}

// The request leaves its table before its labels are sent, in the transaction that fills and binds them.
TEST_F(PassiveTimerTest, ACartonRequestIsTakenBeforeItsLabelsAreSent)
{
    class CheckingPrinter : public RecordingPrinterSystem {
    public:
        using RecordingPrinterSystem::RecordingPrinterSystem;
        void print(const PrintJob& job) override
        {
            committed = !DB->InTransaction();
            left = Database::Open(DB->path(), true)->OpenRecordset(QStringLiteral("RichiesteImballi"))->IsEmpty();
            RecordingPrinterSystem::print(job);
        }
        bool committed = false;
        bool left = false;
    } checking{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra")};
    SetPrinterSystem(&checking);
    addCarton(kEan, 3);

    window->timPassive_Timer();

    ASSERT_EQ(checking.jobs().size(), 1u);
    EXPECT_TRUE(checking.committed);
    EXPECT_TRUE(checking.left);
    EXPECT_EQ(checking.jobs()[0].copies * int(checking.jobs()[0].pages.size()), 3);
    EXPECT_EQ(window->ui.mskDataProduzione->text(), FormatDate(kProduction, FormatoData));
    EXPECT_EQ(window->ui.mskOraProd->text(), FormatDate(kProduction, FormatoOra));
    EXPECT_EQ(count("RichiesteImballi"), 0);

    // A request that cannot be taken prints nothing.
    addCarton(kEan, 1);
    DB->ExecuteNative(QStringLiteral("CREATE TRIGGER tiene BEFORE DELETE ON RichiesteImballi BEGIN SELECT RAISE(ABORT, 'tenuta'); END"));
    window->timPassive_Timer();
    EXPECT_EQ(checking.jobs().size(), 1u);
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

// A request asks only what its print needs: a pallet of an integration that sends no carton EAN prints
// while no label states the carton GTIN, a reprint that names a counter reprints. A file refused whole
// is told once beside the icon and listed with its reason; sent again it is read again, dropped it
// leaves the list and stays among the refused files.
TEST_F(PassiveTimerTest, RequestsAreRefusedOnlyForWhatTheirPrintNeedsAndARefusedFileIsTold)
{
    ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral("req")));
    SetSetup({{"CartellaRichieste", data.file(QStringLiteral("req"))}, {"StampaEANCartone", false}});
    ModoFileRichiesta = true;
    const auto drop = [&](const char* name, const QByteArray& text) {
        QFile file(data.file(QStringLiteral("req/") + QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    const auto twoTicks = [&] {
        window->timPassive_Timer();
        window->timPassive_Timer();
    };
    drop("pallet.req", "[ARTICOLO]\nCODINTERNO=OLIO1\nEANARTICOLO=8001234567897\n[TESTATA]\nTIPOPALLET=3\n"
                       "[RIGA]\nAUTOLOTTO=NO\nLOTTO=F1\nNUMCARTONI=40\n");
    twoTicks();
    ASSERT_EQ(archivedLots(), QStringList{QStringLiteral("F1")});
    EXPECT_TRUE(setAside().isEmpty()) << setAside().join(u'\n').toStdString();
    const qint64 archived = number("SELECT IDAppTestate FROM AppTestate");

    drop("ristampa.req", QStringLiteral("[TESTATA]\nRISTAMPA=SI\nIDAPPTESTATE=%1\nSPECIFICACONTATORE=SI\n").arg(archived).toUtf8());
    drop("rotto.req", "[TESTATA]\nCOPIE=12000\n");
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteTestate (Copie, Ristampa, IDAppTestate, SpecificaContatore, ContatoreSSCC) "
                                     "VALUES (1, 1, ?, 1, NULL)"),
                      {archived});
    const size_t toldBefore = told().size();
    twoTicks();
    const QString reason = QStringLiteral("Riga 1: Copie 12000: al massimo 9999.");
    EXPECT_EQ(printer.jobs().size(), 3u) << "both reprints printed";
    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_EQ(setAside(), QStringList{QStringLiteral("rotto.req: ") + reason});
    ASSERT_EQ(told().size(), toldBefore + 1);
    EXPECT_EQ(told().back().title, QStringLiteral("Richiesta accantonata"));
    EXPECT_EQ(told().back().text, QStringLiteral("File rotto.req spostato in scartati: ") + reason);
    window->timPassive_Timer();
    EXPECT_EQ(told().size(), toldBefore + 1) << "told once";

    window->mnuAccantonate_Click();
    auto* list = window->findChild<frmRichiesteAccantonate*>();
    ASSERT_NE(list, nullptr);
    FlexGrid& grid = *list->ui.flxRichieste;
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("scartati/rotto.req"));
    EXPECT_EQ(grid.TextMatrix(1, 2), reason);
    const QString refused = data.file(QStringLiteral("req/scartati/rotto.req"));
    EXPECT_TRUE(QFile::exists(refused + QStringLiteral(".txt")));

    grid.SetRow(1);
    list->ui.cmdRiprova->click();
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_TRUE(QFile::exists(data.file(QStringLiteral("req/rotto.req"))));
    EXPECT_FALSE(QFile::exists(refused + QStringLiteral(".txt")));
    twoTicks();
    EXPECT_EQ(setAside(), QStringList{QStringLiteral("rotto.req: ") + reason}) << "read again";
    EXPECT_EQ(told().size(), toldBefore + 2);

    grid.SetRow(1);
    list->ui.cmdElimina->click();
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_TRUE(setAside().isEmpty());
    EXPECT_TRUE(QFile::exists(refused));

    // A name that is no text is told and listed as well, shown with replacement characters, and
    // kept and sent again under its own bytes.
    const QByteArray notText = QFile::encodeName(data.file(QStringLiteral("req"))) + "/caff\xe8.req";
    const QByteArray keptAs = QFile::encodeName(data.file(QStringLiteral("req/scartati"))) + "/caff\xe8.req";
    ::close(::open(notText.constData(), O_CREAT | O_WRONLY, 0644));
    window->timPassive_Timer();
    const QString shown = QStringLiteral("caff\uFFFD.req");
    const QString why = QStringLiteral("Il nome del file non è testo UTF-8: il file non si legge.");
    EXPECT_EQ(told().back().text, QStringLiteral("File %1 spostato in scartati: %2").arg(shown, why));
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("scartati/") + shown);
    EXPECT_EQ(::access(keptAs.constData(), F_OK), 0);
    grid.SetRow(1);
    list->ui.cmdRiprova->click();
    EXPECT_EQ(::access(notText.constData(), F_OK), 0);
    EXPECT_NE(::access((keptAs + ".txt").constData(), F_OK), 0);
    window->timPassive_Timer();
    EXPECT_EQ(setAside(), QStringList{shown + QStringLiteral(": ") + why});
    ::unlink(keptAs.constData());
    ::unlink((keptAs + ".txt").constData());

    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(printer.jobs().size(), 3u);
}

// A backlog of files does not hold up the printer: labels come out while files still wait, and every
// file is printed once.
TEST_F(PassiveTimerTest, ABacklogOfFilesPrintsWhileFilesStillWait)
{
    const QDir folder(data.file(QStringLiteral("req")));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    SetSetup({{"CartellaRichieste", folder.path()}});
    ModoFileRichiesta = true;
    printer.setKeepPages(false);
    constexpr int kFiles = 250;
    std::map<QString, int> printed;
    for (int i = 0; i < kFiles; ++i) {
        const QString lot = QStringLiteral("B%1").arg(i, 3, 10, QLatin1Char('0'));
        QFile f(folder.filePath(lot + QStringLiteral(".req")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[IMBALLO]\nAUTOLOTTO=NO\nLOTTO=%1\nPREFGTIN=1\nEANCARTONE=800123456789\nNUMCARTONI=1\n").arg(lot).toUtf8());
        printed[lot] = 0;
    }
    const auto waiting = [&] { return folder.entryList({QStringLiteral("*.req")}, QDir::Files).size(); };
    qsizetype waitingAtFirstLabel = 0;
    for (int tick = 0; tick < 2 * kFiles && (waiting() > 0 || count("RichiesteImballi") > 0); ++tick) {
        window->timPassive_Timer();
        if (waitingAtFirstLabel == 0 && !printer.jobs().empty()) waitingAtFirstLabel = waiting();
    }
    EXPECT_GT(waitingAtFirstLabel, kFiles / 2) << "the first labels came out before most files were read";
    for (const RecordedJob& job : printer.jobs()) ++printed[job.documentName.section(u' ', -1)];
    for (const auto& [lot, labels] : printed) EXPECT_EQ(labels, 1) << qPrintable(lot);
    EXPECT_EQ(printed.size(), size_t(kFiles));
    EXPECT_EQ(waiting(), 0);
    EXPECT_TRUE(setAside().isEmpty()) << qPrintable(setAside().join(u'\n'));
}

// A refusal asks nobody: the request stays in its table, set aside with its reason, and the requests
// behind it are printed; a row changed since is another request.
TEST_F(PassiveTimerTest, ARefusedRequestIsSetAsideUntilItsRowChanges)
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

    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(setAside(), (QStringList{QStringLiteral("RichiesteTestate %1: TipoPallet 'X': il tipo pallet è una cifra da 0 a 9.").arg(refused),
                                       QStringLiteral("RichiesteImballi 1: Il lotto non può essere nullo.")}));
    ASSERT_EQ(told().size(), 1u) << "told once, at the end of the tick that set them aside";
    EXPECT_EQ(told().back().title, QStringLiteral("2 richieste accantonate"));
    EXPECT_EQ(printer.jobs().size(), 2u) << "the requests behind the refused ones are printed";
    EXPECT_EQ(archivedLots(), QStringList{QStringLiteral("P1")});
    EXPECT_EQ(count("RichiesteTestate"), 1);
    EXPECT_EQ(count("RichiesteRighe"), 1);
    EXPECT_EQ(count("RichiesteImballi"), 1);

    DB->ExecuteNative(QStringLiteral("UPDATE RichiesteTestate SET TipoPallet = '3'"));
    window->timPassive_Timer();

    EXPECT_EQ(archivedLots(), (QStringList{QStringLiteral("P1"), QStringLiteral("R1")})) << "a changed row is another request";
    EXPECT_EQ(count("RichiesteTestate"), 0);
    EXPECT_EQ(setAside(), QStringList{QStringLiteral("RichiesteImballi 1: Il lotto non può essere nullo.")});

    // Started again, the program sets it aside again and tells it once.
    window = std::make_unique<frmArticoli>();
    window->Form_Load();
    window->timPassive_Timer();
    EXPECT_EQ(setAside(), QStringList{QStringLiteral("RichiesteImballi 1: Il lotto non può essere nullo.")});
    EXPECT_EQ(told().size(), 1u);
    EXPECT_TRUE(Dialogs().messages().empty());
}

// Rows other programs write, each asking what the window cannot print as asked: every one told
// with its table, key and reason, nothing printed, the counter as it was.
TEST_F(PassiveTimerTest, EveryRequestThatDoesNotPrintIsToldWithItsReason)
{
    auto header = [&](const QString& columns, const QString& values) {
        DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteTestate (%1) VALUES (%2)").arg(columns, values));
        return DB->OpenRecordset(QStringLiteral("SELECT max(IDRichiesteTestate) AS id FROM RichiesteTestate"))->Value(QStringLiteral("id")).toLongLong();
    };
    auto line = [&](qint64 h, const QString& columns, const QString& values) {
        DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteRighe (IDRichiesteTestate, NumRiga, AutoLotto, Lotto, AutoData, PrefGTIN, "
                                         "EANCartone%1) VALUES (?, 1, 0, 'L1', 1, '1', '8001234567897'%2)")
                              .arg(columns, values),
                          {h});
    };
    const QStringList expected{
        QStringLiteral("RichiesteTestate %1: Riga 1: NumCartoni 100000000: da 1 a 99999999."),
        QStringLiteral("RichiesteTestate %1: Riga 1: NumCartoni -3: da 1 a 99999999."),
        QStringLiteral("RichiesteTestate %1: Riga 1: NumCartoni '10kg' non è un numero intero."),
        QStringLiteral("RichiesteTestate %1: Riga 1: NumCartoni '2.5' non è un numero intero."),
        QStringLiteral("RichiesteTestate %1: Riga 1: Lotto di 500 caratteri: al massimo 20."),
        QStringLiteral("RichiesteTestate %1: Riga 1: Articolo non in anagrafica: PrefGTIN '1', EANCartone '8009999999993'."),
        QStringLiteral("RichiesteTestate %1: Copie 12000: al massimo 9999."),
        QStringLiteral("RichiesteTestate %1: Copie 2147483648: al massimo 9999."),
        QStringLiteral("RichiesteTestate %1: TipoPallet '12': il tipo pallet è una cifra da 0 a 9."),
        QStringLiteral("RichiesteTestate %1: ContatoreSSCC -5: il primo seriale va da 1 a 99999999."),
        QStringLiteral("RichiesteTestate %1: Il contatore SSCC ha raggiunto la fine del suo intervallo: il seriale 123456789 non sta nelle 8 cifre dell'SSCC."),
        QStringLiteral("RichiesteTestate %1: ContatoreSSCC 'abc' non è un numero intero."),
        QStringLiteral("RichiesteTestate %1: La richiesta non ha righe."),
        QStringLiteral("RichiesteTestate %1: Il pallet -1 da ristampare non è in archivio."),
        QStringLiteral("RichiesteImballi %1: NumCartoni -3: da 1 a 9999."),
        QStringLiteral("RichiesteImballi %1: Articolo non in anagrafica: PrefGTIN '', EANCartone ''."),
    };
    QStringList ids;
    const QString pallet = QStringLiteral("Copie, TipoPallet");
    for (const char* cartons : {"100000000", "-3", "'10kg'", "2.5"}) {
        const qint64 h = header(pallet, QStringLiteral("1, '3'"));
        line(h, QStringLiteral(", NumCartoni"), QStringLiteral(", ") + QString::fromLatin1(cartons));
        ids << QString::number(h);
    }
    qint64 h = header(pallet, QStringLiteral("1, '3'"));
    line(h, {}, {});
    DB->ExecuteNative(QStringLiteral("UPDATE RichiesteRighe SET Lotto = ? WHERE IDRichiesteTestate = ?"), {QString(500, u'L'), h});
    ids << QString::number(h);
    h = header(pallet, QStringLiteral("1, '3'"));
    line(h, {}, {});
    DB->ExecuteNative(QStringLiteral("UPDATE RichiesteRighe SET EANCartone = '8009999999993' WHERE IDRichiesteTestate = ?"), {h});
    ids << QString::number(h);
    for (const char* values : {"12000, '3'", "2147483648, '3'", "1, '12'"}) {
        h = header(pallet, QString::fromLatin1(values));
        line(h, {}, {});
        ids << QString::number(h);
    }
    for (const char* counter : {"-5", "123456789", "'abc'"}) {
        h = header(QStringLiteral("Copie, TipoPallet, SpecificaContatore, ContatoreSSCC"), QStringLiteral("1, '3', 1, ") + QString::fromLatin1(counter));
        line(h, {}, {});
        ids << QString::number(h);
    }
    ids << QString::number(header(pallet, QStringLiteral("1, '3'")));
    ids << QString::number(header(QStringLiteral("Ristampa"), QStringLiteral("-1")));
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteImballi (AutoLotto, Lotto, PrefGTIN, EANCartone, NumCartoni) VALUES (0, 'L1', '1', ?, -3)"),
                      {kEan});
    ids << QStringLiteral("1");
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteImballi (AutoLotto, Lotto, AutoData, DataOra, PrefGTIN, EANCartone, NumCartoni) "
                                     "VALUES (1, NULL, 1, NULL, NULL, NULL, 1)"));
    ids << QStringLiteral("2");
    const qint64 counter = rsSetup->Value(QStringLiteral("contatore")).toLongLong();

    window->timPassive_Timer();

    QStringList want;
    for (int i = 0; i < expected.size(); ++i) want << expected[i].arg(ids[i]);
    EXPECT_EQ(setAside(), want);
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_TRUE(Dialogs().messages().empty());
    ASSERT_EQ(told().size(), 1u);
    EXPECT_EQ(told().back().title, QStringLiteral("16 richieste accantonate"));
    CommitAndRefresh(*rsSetup);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), counter);
    EXPECT_EQ(count("RichiesteTestate"), 14);
    EXPECT_EQ(count("RichiesteImballi"), 2);
}

// A date the program cannot read, or a counter that would issue an archived SSCC, refuses only its
// own request: the counter stays, and the requests after it print with the clock and the counter.
TEST_F(PassiveTimerTest, ARefusedRequestLeavesNothingThatRefusesTheNext)
{
    addLine(addHeader(false, 1), 1, QStringLiteral("P1"));
    window->timPassive_Timer();
    ASSERT_EQ(count("AppTestate"), 1);
    CommitAndRefresh(*rsSetup);
    const qint64 counter = rsSetup->Value(QStringLiteral("contatore")).toLongLong();

    for (const char* date : {"08/12/2026", "2026-13-45"}) {
        addCarton(kEan, 1);
        DB->ExecuteNative(QStringLiteral("UPDATE RichiesteImballi SET DataOra = ? WHERE IDRichiesteImballi = (SELECT max(IDRichiesteImballi) "
                                         "FROM RichiesteImballi)"),
                          {QString::fromLatin1(date)});
    }
    const qint64 behind = addHeader(false, 1, -1, counter);
    addLine(behind, 1, QStringLiteral("X1"));
    addLine(addHeader(false, 1), 1, QStringLiteral("P2"));
    addCarton(kEan, 1);
    DB->ExecuteNative(QStringLiteral("UPDATE RichiesteImballi SET AutoData = 1 WHERE IDRichiesteImballi = 3"));

    window->timPassive_Timer();

    EXPECT_EQ(setAside(), (QStringList{QStringLiteral("RichiesteTestate %1: ").arg(behind) + SsccEsistente(),
                                       QStringLiteral("RichiesteImballi 1: DataOra '08/12/2026' non è una data e ora."),
                                       QStringLiteral("RichiesteImballi 2: DataOra '2026-13-45' non è una data e ora.")}));
    EXPECT_EQ(archivedLots(), (QStringList{QStringLiteral("P1"), QStringLiteral("P2")}));
    CommitAndRefresh(*rsSetup);
    EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), counter + 1) << "moved by the pallet printed, not by the refused request";
    EXPECT_EQ(printer.jobs().size(), 3u) << "the carton from the clock printed";
    EXPECT_EQ(count("RichiesteImballi"), 2);
}

// DataOra as other programs write it, in any ISO 8601 form, is the moment it names: printed and
// archived with its time of day and an expiry counted in hours from it. Text no form reads is set aside.
TEST_F(PassiveTimerTest, DataOraIsReadInEveryIsoFormToItsMoment)
{
    const QString ean = QStringLiteral("8001234500016");
    AddArticle({{"Sigla", QStringLiteral("ORE")}, {"CodInterno", QStringLiteral("ART2")}, {"EANCartone", ean},
                {"DurataProdotto", 36}, {"UnitaDurata", 0}});
    const QDateTime moment(QDate(2024, 3, 5), QTime(14, 30));
    const std::pair<const char*, QDateTime> forms[] = {
        {"2024-03-05T14:30:00", moment},
        {"2024-03-05 14:30", moment},
        {"2024-03-05T14:30", moment},
        {"2024-03-05 14:30:00.000", moment},
        {"2024-03-05T13:30:00Z", QDateTime(QDate(2024, 3, 5), QTime(13, 30), QTimeZone::utc())},
        {"2024-03-05T14:30:00+02:00", QDateTime(QDate(2024, 3, 5), QTime(14, 30), QTimeZone(2 * 3600))},
        {"2024-03-05", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
    };
    const auto writeDataOra = [&](qint64 header, const QString& text) {
        DB->ExecuteNative(QStringLiteral("UPDATE RichiesteRighe SET DataOra = ? WHERE IDRichiesteTestate = ?"), {text, header});
    };
    for (const auto& [text, expected] : forms) {
        const qint64 h = addHeader(false, 1);
        addLine(h, 1, QStringLiteral("L1"), ean);
        writeDataOra(h, QString::fromLatin1(text));
    }
    QStringList refused;
    for (const char* text : {"2024-03-05garbage", "2024-03-05 25:00", "2024-03-05T14:30:00 +02"}) {
        const qint64 h = addHeader(false, 1);
        addLine(h, 1, QStringLiteral("X"), ean);
        writeDataOra(h, QString::fromLatin1(text));
        refused << QStringLiteral("RichiesteTestate %1: Riga 1: DataOra '%2' non è una data e ora.").arg(h).arg(QString::fromLatin1(text));
    }

    window->timPassive_Timer();

    EXPECT_EQ(setAside(), refused);
    auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM AppRighe ORDER BY IDAppTestate"));
    for (const auto& [text, expected] : forms) {
        ASSERT_FALSE(rs->Eof()) << text;
        EXPECT_EQ(rs->Value(QStringLiteral("DataOra")).toDateTime(), expected) << text;
        EXPECT_EQ(rs->Value(QStringLiteral("DataScadenza")).toDateTime(), expected.addSecs(36 * 3600)) << text;
        rs->MoveNext();
    }
    EXPECT_TRUE(rs->Eof());
}

TEST_F(PassiveTimerTest, BackInInteractiveModeTheTimerStaysOff)
{
    addHeader(false, 1);
    ModoInterattivo = true;

    window->timPassive_Timer();

    EXPECT_FALSE(window->timPassive.isActive());
    EXPECT_EQ(count("RichiesteTestate"), 1);
}

// The disk full: told once however long it lasts; nothing is set aside, and every request prints
// once when space comes back.
TEST_F(PassiveTimerTest, ADiskFullIsToldOnceAndEveryRequestPrintsOnceWhenSpaceComesBack)
{
    QStringList lots;
    for (int i = 1; i <= 30; ++i) {
        lots << QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0'));
        addLine(addHeader(false, 1), 1, lots.back());
    }
    addCarton(kEan, 2);
    // Descriptions as long as they go: the archive outgrows its pages within these pallets.
    DB->ExecuteNative(QStringLiteral("UPDATE Articoli SET Descrizione = ?"), {QString(80, u'D')});
    DB->ExecuteNative(QStringLiteral("CREATE TABLE riempi (x BLOB)"));
    const qint64 full = number("PRAGMA page_count");
    DB->ExecuteNative(QStringLiteral("PRAGMA max_page_count = %1").arg(full));
    // The free pages taken too, as a full disk leaves none.
    try {
        for (;;) DB->ExecuteNative(QStringLiteral("INSERT INTO riempi VALUES (zeroblob(1000))"));
    } catch (const AppError&) {
    }

    window->timPassive_Timer();
    window->timPassive_Timer();

    ASSERT_GT(count("RichiesteTestate"), 0) << "the archive outgrew the room left";
    EXPECT_EQ(count("RichiesteImballi"), 1);
    ASSERT_EQ(told().size(), 1u);
    EXPECT_TRUE(told().back().text.startsWith(QStringLiteral("Le richieste attendono: Disco pieno"))) << qPrintable(told().back().text);
    EXPECT_TRUE(setAside().isEmpty());

    DB->ExecuteNative(QStringLiteral("PRAGMA max_page_count = %1").arg(full * 100));
    window->timPassive_Timer();

    EXPECT_EQ(archivedLots(), lots);
    EXPECT_EQ(printer.jobs().size(), 31u);
    EXPECT_EQ(count("RichiesteTestate") + count("RichiesteImballi"), 0);
}

// A damaged page under the archive lines a reprint reads: the request is set aside with the
// engine's reason, and the requests behind it print.
TEST_F(PassiveTimerTest, ARequestOverADamagedPageIsSetAsideAndThoseBehindItPrint)
{
    addLine(addHeader(false, 1), 1, QStringLiteral("L1"));
    window->timPassive_Timer();
    const qint64 archived = DB->OpenRecordset(QStringLiteral("AppTestate"))->Value(QStringLiteral("IDAppTestate")).toLongLong();
    const qint64 reprint = addHeader(true, 1, archived);
    addCarton(kEan, 2);
    const qint64 page = number("SELECT rootpage FROM sqlite_master WHERE name = 'AppRighe'");
    const qint64 pageSize = number("PRAGMA page_size");
    {
        QFile file(data.mdbPath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.seek((page - 1) * pageSize));
        file.write(QByteArray(int(pageSize), '\xff'));
        // A new change counter makes the open connection read the file again.
        ASSERT_TRUE(file.seek(24));
        QByteArray counter = file.read(4);
        counter[3] = char(counter[3] + 1);
        ASSERT_TRUE(file.seek(24));
        file.write(counter);
    }

    window->timPassive_Timer();

    const QStringList aside = setAside();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(aside[0].startsWith(QStringLiteral("RichiesteTestate %1: File di database non riconosciuto o danneggiato").arg(reprint)))
        << qPrintable(aside[0]);
    EXPECT_EQ(printer.jobs().size(), 2u) << "the carton behind it printed";
    EXPECT_EQ(count("RichiesteImballi"), 0);
}

// Rows and files of every kind on one data folder, printed by two programs at once: each request
// is printed exactly once, by one of them.
TEST_F(PassiveTimerTest, TwoProgramsOnOneFolderPrintEveryRequestOnce)
{
    SetSetup({{"ImballiPrinter", QStringLiteral("Cartoni")}, {"AutoUpdateSSCC", true}});
    // The pallets the reprints ask for, archived by an earlier run.
    std::vector<qint64> archived;
    for (int i = 1; i <= 8; ++i) addLine(addHeader(false, 1), 1, QStringLiteral("A%1").arg(i));
    window->timPassive_Timer();
    ASSERT_EQ(count("AppTestate"), 8);
    std::map<QString, int> reprints; // SSCC: copies asked
    for (auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM AppTestate ORDER BY IDAppTestate")); !rs->Eof(); rs->MoveNext()) {
        archived.push_back(rs->Value(QStringLiteral("IDAppTestate")).toLongLong());
        reprints[rs->Value(QStringLiteral("SSCC")).toString()] = 1 + int(archived.size()) % 2;
    }

    std::map<QString, int> pallets; // lot: labels printed
    std::map<QString, int> cartons; // lot: labels asked
    for (int i = 1; i <= 6; ++i) {
        const QString lot = QStringLiteral("R%1").arg(i);
        addLine(addHeader(false, 1), 1, lot);
        pallets[lot] = 0;
        addCarton(kEan, i);
        DB->ExecuteNative(QStringLiteral("UPDATE RichiesteImballi SET Lotto = ? WHERE IDRichiesteImballi = (SELECT max(IDRichiesteImballi) FROM "
                                         "RichiesteImballi)"),
                          {QStringLiteral("C%1").arg(i)});
        cartons[QStringLiteral("C%1").arg(i)] = i;
    }
    for (size_t i = 0; i < 4; ++i) addHeader(true, 1 + qint64(i + 1) % 2, archived[i]);

    const QString folder = data.file(QStringLiteral("req"));
    ASSERT_TRUE(QDir().mkpath(folder));
    SetSetup({{"CartellaRichieste", folder}});
    auto drop = [&](const QString& name, const QString& text) {
        QFile f(QDir(folder).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    };
    drop(QStringLiteral("articolo.req"), QStringLiteral("[ARTICOLO]\nCODINTERNO=ART1\nDESCRIZIONE=Passata di pomodoro\nPREFGTIN=1\n"
                                                        "EANCARTONE=800123456789\nEANARTICOLO=800123456789\nQTCARTONE=6\nNUMCARTONI=40\n"
                                                        "PESOCARTONE=12,5\nUNITADURATA=1\nDURATAPRODOTTO=180\n"));
    for (int i = 1; i <= 4; ++i) {
        const QString lot = QStringLiteral("F%1").arg(i);
        drop(QStringLiteral("pallet%1.req").arg(i), QStringLiteral("[TESTATA]\nTIPOPALLET=3\n[RIGA]\nAUTOLOTTO=NO\nLOTTO=%1\nAUTODATA=NO\n"
                                                                  "DATAORA=2026-12-08 10:30:00\nPREFGTIN=1\nEANCARTONE=800123456789\n"
                                                                  "NUMCARTONI=20\n")
                                                       .arg(lot));
        pallets[lot] = 0;
        drop(QStringLiteral("cartoni%1.req").arg(i),
             QStringLiteral("[IMBALLO]\nAUTOLOTTO=NO\nLOTTO=G%1\nPREFGTIN=1\nEANCARTONE=800123456789\nNUMCARTONI=%1\n").arg(i));
        cartons[QStringLiteral("G%1").arg(i)] = i;
        drop(QStringLiteral("ristampa%1.req").arg(i),
             QStringLiteral("[TESTATA]\nRISTAMPA=SI\nIDAPPTESTATE=%1\nCOPIE=%2\n").arg(archived[size_t(3 + i)]).arg(1 + (4 + i) % 2));
    }
    window.reset();
    CloseDatabase();

    QTemporaryDir jobs;
    auto first = StartChild(QStringLiteral("passive-road"), {data.path(), jobs.path()});
    auto second = StartChild(QStringLiteral("passive-road"), {data.path(), jobs.path()});
    for (auto* child : {first.get(), second.get()}) {
        ASSERT_TRUE(child->waitForFinished(-1));
        EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardOutput().constData();
    }

    std::map<QString, int> reprinted;
    for (const RecordedJob& job : RecordedJobsIn(jobs.path())) {
        if (job.documentName.startsWith(QLatin1String("Etichetta cartone"))) {
            const QString lot = job.documentName.section(u' ', -1);
            ASSERT_EQ(job.pages.size(), 1u) << qPrintable(job.documentName);
            EXPECT_EQ(job.copies, cartons[lot]) << qPrintable(lot);
            const auto symbols = ScanImage(job.pages[0]);
            ASSERT_EQ(symbols.size(), 1u) << qPrintable(lot);
            EXPECT_EQ(symbols[0].data, kEan.toStdString()) << qPrintable(lot);
            cartons[lot] = -1;
            continue;
        }
        ASSERT_EQ(job.pages.size(), 1u) << qPrintable(job.documentName);
        QString sscc;
        QString lots;
        for (const std::string& symbol : Gs1Symbols(job.pages[0])) {
            if (symbol.size() == 20 && symbol.rfind("00", 0) == 0) sscc = QString::fromStdString(symbol.substr(2));
            else lots += QString::fromStdString(symbol);
        }
        if (reprints.count(sscc)) {
            EXPECT_EQ(job.copies, reprints[sscc]) << qPrintable(sscc);
            ++reprinted[sscc];
            continue;
        }
        int found = 0;
        for (auto& [lot, labels] : pallets) {
            if (!lots.contains(QStringLiteral("10") + lot)) continue;
            ++labels;
            ++found;
        }
        EXPECT_EQ(found, 1) << qPrintable(sscc) << " " << qPrintable(lots);
    }
    for (const auto& [lot, labels] : pallets) EXPECT_EQ(labels, 1) << qPrintable(lot);
    for (const auto& [lot, copies] : cartons) EXPECT_EQ(copies, -1) << qPrintable(lot) << " printed once";
    for (const auto& [sscc, copies] : reprints) EXPECT_EQ(reprinted[sscc], 1) << qPrintable(sscc) << " reprinted once";

    const auto db = Database::Open(data.mdbPath());
    auto left = db->OpenRecordset(QStringLiteral("SELECT (SELECT count(*) FROM RichiesteTestate) + (SELECT count(*) FROM RichiesteImballi) AS n"));
    EXPECT_EQ(left->Value(QStringLiteral("n")).toInt(), 0);
    auto lots = db->OpenRecordset(QStringLiteral("SELECT count(*) AS n, count(DISTINCT Lotto) AS lots FROM AppRighe"));
    EXPECT_EQ(lots->Value(QStringLiteral("n")).toInt(), 8 + int(pallets.size())) << "each pallet archived once";
    EXPECT_EQ(lots->Value(QStringLiteral("lots")).toInt(), 8 + int(pallets.size()));
    EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.req")}, QDir::Files).isEmpty());
    EXPECT_EQ(ClaimedFiles(folder), 0);
}

// Two stations, each with its database, sharing one request folder: each file printed once, by one of them.
TEST_F(PassiveTimerTest, TwoDatabasesOnOneRequestFolderPrintEveryFileOnce)
{
    const QString folder = data.file(QStringLiteral("req"));
    ASSERT_TRUE(QDir().mkpath(folder));
    SetSetup({{"CartellaRichieste", folder}});
    std::map<QString, int> cartons; // lot: labels printed
    for (int i = 0; i < 90; ++i) {
        const QString lot = QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0'));
        QFile f(QDir(folder).filePath(lot + QStringLiteral(".req")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[IMBALLO]\nAUTOLOTTO=NO\nLOTTO=%1\nPREFGTIN=1\nEANCARTONE=800123456789\nNUMCARTONI=1\n").arg(lot).toUtf8());
        cartons[lot] = 0;
    }
    window.reset();
    CloseDatabase();
    TestDataFolder otherStation(false);
    ASSERT_TRUE(QFile::copy(data.mdbPath(), otherStation.mdbPath()));

    QTemporaryDir jobs;
    auto first = StartChild(QStringLiteral("passive-road"), {data.path(), jobs.path()});
    auto second = StartChild(QStringLiteral("passive-road"), {otherStation.path(), jobs.path()});
    for (auto* child : {first.get(), second.get()}) {
        ASSERT_TRUE(child->waitForFinished(-1));
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardOutput().constData();
    }
    for (const RecordedJob& job : RecordedJobsIn(jobs.path())) ++cartons[job.documentName.section(u' ', -1)];
    for (const auto& [lot, labels] : cartons) EXPECT_EQ(labels, 1) << qPrintable(lot);
    EXPECT_EQ(cartons.size(), 90u);
    EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.req")}, QDir::Files).isEmpty());
}

// args: data folder, jobs folder. The passive road until no request is left, in the request tables
// or in the request folder; it fails at once on a request set aside or a message shown.
const ChildRegistration passiveRoad("passive-road", [](const QStringList& args) {
    CartellaDati = args.at(0);
    FillMonthNames();
    if (!ApriDatabase()) return 3;
    RecordingPrinterSystem printer({{QStringLiteral("Zebra"), QString(), QString()}, {QStringLiteral("Cartoni"), QString(), QString()}},
                                   QStringLiteral("Zebra"), 200);
    printer.recordTo(args.at(1));
    SetPrinterSystem(&printer);
    ModoInterattivo = false;
    ModoFileRichiesta = true;
    auto window = std::make_unique<frmArticoli>();
    window->Form_Load();
    const QDir folder(NzStr(rsSetup->Value(QStringLiteral("CartellaRichieste"))));
    auto pending = [&] {
        Statement st = DB->prepare(QStringLiteral("SELECT (SELECT count(*) FROM RichiesteTestate) + (SELECT count(*) FROM RichiesteImballi)"));
        st.step();
        return st.int64(0) > 0 || !folder.entryList({QStringLiteral("*.req")}, QDir::Files).isEmpty()
               || ClaimedFiles(folder.path()) > 0;
    };
    QTextStream out(stdout);
    while (pending() && window->Accantonate().entries().empty() && Dialogs().messages().empty()) {
        window->timPassive_Timer();
        // Leaves the machine to the other program while it holds the database.
        QThread::msleep(10);
    }
    for (const SetAsideRequest& e : window->Accantonate().entries()) out << "set aside: " << e.key.table << ' ' << e.key.id << ' ' << e.reason << '\n';
    for (const ShownMessage& m : Dialogs().messages()) out << "message: " << m.prompt << '\n';
    const bool clean = window->Accantonate().entries().empty() && Dialogs().messages().empty();
    window.reset();
    CloseDatabase();
    return clean ? 0 : 4;
});

} // namespace
