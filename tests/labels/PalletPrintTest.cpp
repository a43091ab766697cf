// The print button end to end: the window's fields, the recording printer, the archive.
#include "core/frmArticoli.h"

#include "core/Clock.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/ControlTag.h"
#include "labels/ElementStrings.h"
#include "labels/LabelJob.h"
#include "labels/PalletLabel.h"
#include "labels/PalletReservation.h"
#include "labels/PrintOutcome.h"
#include "labels/Sscc.h"
#include "passive/TrayIcon.h"
#include "reports/ReportViewer.h"
#include "support/EventSpy.h"
#include "support/RecordingPrinter.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"
#include "support/Zbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

class PalletPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        FillMonthNames();
        SetPrinterSystem(&printer);
        SetSetup({{"ReportPrinter", QStringLiteral("Zebra")}, {"contatore", 41}, {"PesoPallet3", 25}});
        AddArticle();
        window = std::make_unique<frmArticoli>();
        SetUpFields();
    }

    void SetUpFields()
    {
        TypeLabelJob(*window);
        auto& ui = window->ui;
        ui.mskQtCartoni->setText(QStringLiteral("40"));
        ui.mskQtPallet->setText(QStringLiteral("1"));
        ui.cmdStampa->setText(QStringLiteral("&Stampa"));
    }

    void TearDown() override
    {
        window.reset();
        SetPrinterSystem(nullptr);
        Database::SetLockWait(nullptr);
        CloseDatabase();
    }

    void openDeliveryNote()
    {
        Dialogs().type(QStringLiteral("12"));
        Dialogs().type(QStringLiteral("08/12/26"));
        window->ui.cmdNuovoDDT->click();
    }

    qint64 count(const char* table)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM %1").arg(QString::fromLatin1(table)));
        return rs->Value(QStringLiteral("n")).toLongLong();
    }

    qint64 counter() { return rsSetup->Value(QStringLiteral("contatore")).toLongLong(); }

    // Changes a column of the current article, as another program might have stored it.
    static void setArticle(const char* column, const QVariant& value)
    {
        rsArticoli->Edit();
        rsArticoli->SetValue(QString::fromLatin1(column), value);
        rsArticoli->Update();
    }

    TestDataFolder data;
    RecordingPrinterSystem printer{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 300};
    std::unique_ptr<frmArticoli> window;
};

std::string scanned(const QString& barcodeForm)
{
    std::string s = barcodeForm.toLatin1().toStdString();
    std::replace(s.begin(), s.end(), char(kFnc1), '\x1d');
    return s;
}

TEST_F(PalletPrintTest, ThreePalletsOnAnOpenDeliveryNote)
{
    auto& ui = window->ui;
    openDeliveryNote();
    ASSERT_EQ(ui.txtNumDDT->text(), QStringLiteral("12"));
    ui.mskQtPallet->setText(QStringLiteral("3"));
    Dialogs().answer(vbYes);
    ui.cmdStampa->click();

    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Confermi la stampa di etichette per 3 pallet?"));
    ASSERT_EQ(printer.jobs().size(), 3u);
    const QDateTime production(QDate(2026, 12, 8), QTime(10, 30));
    const QDateTime expiry = CalcolaScadenza(production, 180, 1, 0);
    const QString gtin = QStringLiteral("18001234567894");
    ElementData elements{gtin, QStringLiteral("40"), 12.5 * 40 + 25, expiry.date(), QStringLiteral("L0342"),
                         QStringLiteral("08001234567897"), QStringLiteral("6"), production.date()};
    const std::string elementString = scanned(CalcolaEAN128Barcode(elements, ElementSettings::FromSetup(*rsSetup), {}));
    for (int p = 0; p < 3; ++p) {
        const QString sscc = ComposeSscc(QStringLiteral("3"), *rsSetup, 42 + p);
        ASSERT_EQ(printer.jobs()[size_t(p)].pages.size(), 1u);
        const auto symbols = Gs1Symbols(printer.jobs()[size_t(p)].pages[0]);
        EXPECT_NE(std::find(symbols.begin(), symbols.end(), "00" + sscc.toStdString()), symbols.end()) << sscc.toStdString();
        EXPECT_NE(std::find(symbols.begin(), symbols.end(), elementString), symbols.end());
        EXPECT_EQ(ui.flxDDT->TextMatrix(p + 1, 0), sscc);
    }
    EXPECT_EQ(ui.flxDDT->Rows(), 4);
    EXPECT_TRUE(ui.cmdSalvaDDT->isEnabled());
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(t), 3) << t;
    EXPECT_EQ(counter(), 44);
    EXPECT_EQ(ui.txtContatoreSSCC->text(), QStringLiteral("44"));
    EXPECT_EQ(ui.mskQtPallet->text(), QStringLiteral("1"));
    EXPECT_EQ(ui.txtSSCC->text(), ComposeSscc(QStringLiteral("3"), *rsSetup, 44));
    EXPECT_TRUE(ui.cmdStampa->isEnabled());

    // The exit question warns of the pallets not saved on the note.
    const auto exitQuestion = [&] {
        Dialogs().answer(vbNo);
        int cancel = 0;
        window->Form_Unload(cancel);
        EXPECT_EQ(cancel, 1);
        return Dialogs().messages().back().prompt;
    };
    EXPECT_EQ(exitQuestion(), QStringLiteral("Il DDT aperto ha righe non salvate: uscire senza salvarle?"));

    // Saved and searched again, the note lists the three pallets.
    ui.cmdSalvaDDT->click();
    EXPECT_FALSE(ui.cmdSalvaDDT->isEnabled());
    EXPECT_EQ(exitQuestion(), QStringLiteral("Vuoi uscire dal programma?"));
    Dialogs().type(QStringLiteral("12"));
    Dialogs().type(QStringLiteral("8/12/26"));
    ui.cmdCercaDDT->click();
    ASSERT_EQ(ui.flxDDT->Rows(), 4);
    for (int p = 0; p < 3; ++p) EXPECT_EQ(ui.flxDDT->TextMatrix(p + 1, 0), ComposeSscc(QStringLiteral("3"), *rsSetup, 42 + p));
    EXPECT_EQ(Dialogs().messages().size(), 3u);
}

// Each preview decides for its own pallet: closed without printing, the pallet gives back what it
// took (its serial too, as its SSCC was on no label); printed from its window, it is recorded.
TEST_F(PalletPrintTest, APreviewClosedWithoutPrintingGivesItsPalletBack)
{
    auto& ui = window->ui;
    openDeliveryNote();
    ui.chkAnteprima->setChecked(true);
    ui.mskQtPallet->setText(QStringLiteral("3"));
    Dialogs().answer(vbYes);
    const auto close = [](QDialog&) { return 0; };
    Dialogs().onModal(close);
    Dialogs().onModal([](QDialog& preview) {
        preview.findChild<ReportViewer*>(QStringLiteral("CRViewer1"))->printReport();
        return 0;
    });
    Dialogs().onModal(close);
    ui.cmdStampa->click();

    EXPECT_TRUE(Dialogs().allAnswered());
    EXPECT_EQ(Dialogs().messages().size(), 1u) << "only the confirmation";
    const QString sscc = ComposeSscc(QStringLiteral("3"), *rsSetup, 42);
    ASSERT_EQ(printer.jobs().size(), 1u);
    const auto symbols = Gs1Symbols(printer.jobs()[0].pages.at(0));
    EXPECT_NE(std::find(symbols.begin(), symbols.end(), "00" + sscc.toStdString()), symbols.end());
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(t), 1) << t;
    EXPECT_EQ(count("ReportPallet"), 0);
    EXPECT_EQ(counter(), 42);
    EXPECT_EQ(ui.txtContatoreSSCC->text(), QStringLiteral("42"));
    EXPECT_EQ(ui.txtSSCC->text(), sscc);
    ASSERT_EQ(ui.flxDDT->Rows(), 2);
    EXPECT_EQ(ui.flxDDT->TextMatrix(1, 0), sscc);
    EXPECT_EQ(ui.mskQtPallet->text(), QStringLiteral("1"));

    // One pallet, its preview closed: nothing is left of it.
    Dialogs().reset();
    Dialogs().onModal(close);
    ui.cmdStampa->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(count("AppTestate"), 1);
    EXPECT_EQ(counter(), 42);
    EXPECT_EQ(ui.flxDDT->Rows(), 2);
    EXPECT_TRUE(StampeInCorso().Orphans().empty());
}

// Asking the printer system for its printers, its default or a job may take long (a print server
// that stalls): another program writes to the database meanwhile, as no transaction is open.
TEST_F(PalletPrintTest, NothingWaitsOnThePrinterSystemInsideATransaction)
{
    class Stalling : public RecordingPrinterSystem {
    public:
        using RecordingPrinterSystem::RecordingPrinterSystem;
        QList<PrinterInfo> printers() const override
        {
            anotherProgramWrites();
            return RecordingPrinterSystem::printers();
        }
        QString defaultPrinterName() const override
        {
            anotherProgramWrites();
            return RecordingPrinterSystem::defaultPrinterName();
        }
        void print(const PrintJob& job) override
        {
            anotherProgramWrites();
            RecordingPrinterSystem::print(job);
        }
        void anotherProgramWrites() const
        {
            ++asked;
            try {
                Database::Open(PercorsoDB)->ExecuteNative(QStringLiteral("UPDATE Articoli SET Sigla = Sigla"));
            } catch (const AppError& e) {
                blocked << e.description();
            }
        }
        mutable int asked = 0;
        mutable QStringList blocked;
    } stalling{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 203};
    SetPrinterSystem(&stalling);
    Database::SetLockWait([](int) { return false; });
    auto& ui = window->ui;
    ui.cmdStampa->click();
    ui.mskQtRistampa->setText(QStringLiteral("1"));
    ui.chkAnteprimaRistampa->setChecked(false);
    ui.cmdRistampa->click();
    ui.chkAnteprimaImballi->setChecked(false);
    ui.mskQtImballi->setText(QStringLiteral("1"));
    ui.cmdStampaImballi->click();

    EXPECT_TRUE(Dialogs().messages().empty()) << Dialogs().messages()[0].prompt.toStdString();
    EXPECT_EQ(stalling.jobs().size(), 3u);
    EXPECT_GE(stalling.asked, 3);
    EXPECT_TRUE(stalling.blocked.isEmpty()) << qPrintable(stalling.blocked.join(u'\n'));
}

TEST_F(PalletPrintTest, ACounterBehindTheArchiveIsRefused)
{
    window->ui.cmdStampa->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    SetSetup({{"contatore", 41}});
    window->ui.mskQtPallet->setText(QStringLiteral("2"));
    window->ui.cmdStampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_TRUE(Dialogs().messages()[0].prompt.startsWith(QStringLiteral("SSCC esistente")));
    EXPECT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(count("AppTestate"), 1);
    EXPECT_EQ(window->ui.mskQtPallet->text(), QStringLiteral("2"));
    EXPECT_TRUE(window->ui.cmdStampa->isEnabled());
    EXPECT_TRUE(window->ui.SSTab1->isEnabled());
}

TEST_F(PalletPrintTest, ADatabaseFailureWhileReservingPrintsNothingAndLeavesAnUsableWindow)
{
    DB->ExecuteNative(QStringLiteral("CREATE TEMP TRIGGER fail_archive BEFORE INSERT ON AppTestate BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"));
    window->ui.cmdStampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_TRUE(Dialogs().messages()[0].prompt.contains(QStringLiteral("disk I/O error")));
    EXPECT_EQ(counter(), 41);
    for (const char* t : {"AppTestate", "AppRighe", "ExportTestate", "ExportRighe"}) EXPECT_EQ(count(t), 0) << t;
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_TRUE(window->ui.cmdStampa->isEnabled());
    EXPECT_TRUE(window->ui.mnuImpostazioni->isEnabled());

    DB->ExecuteNative(QStringLiteral("DROP TRIGGER fail_archive"));
    Dialogs().reset();
    window->ui.cmdStampa->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(counter(), 42);
}

// Another program holds the file's lock: every press tells it and changes nothing, the window stays
// usable, and the pallet prints once the lock is gone.
TEST_F(PalletPrintTest, AnotherProgramsLockIsToldAtEveryPressAndChangesNothing)
{
    WaitForLocksWhileWindowsPaint(std::chrono::milliseconds(0));
    {
        OtherProgramsLock lock(PercorsoDB);
        for (int press = 0; press < 3; ++press) window->ui.cmdStampa->click();
        ASSERT_EQ(Dialogs().messages().size(), 3u);
        for (const ShownMessage& m : Dialogs().messages())
            EXPECT_TRUE(m.prompt.contains(QStringLiteral("database is locked"))) << m.prompt.toStdString();
        EXPECT_TRUE(window->ui.cmdStampa->isEnabled());
        EXPECT_TRUE(window->ui.SSTab1->isEnabled());
    }
    EXPECT_TRUE(printer.jobs().empty());
    for (const char* t : {"AppTestate", "ExportTestate"}) EXPECT_EQ(count(t), 0) << t;
    EXPECT_EQ(counter(), 41);

    Dialogs().reset();
    window->ui.cmdStampa->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(counter(), 42);
}

// While the print waits for another program's lock the window paints, under the hourglass, and what
// is typed goes unheard; the pallet prints when the lock goes.
TEST_F(PalletPrintTest, WaitingForALockTheWindowPaints)
{
    WaitForLocksWhileWindowsPaint(std::chrono::minutes(1));
    window->show();
    QApplication::processEvents();
    OtherProgramsLock lock(PercorsoDB);
    QLineEdit typedInto;
    typedInto.show();
    bool painted = false;
    bool hourglass = false;
    EventSpy spy(window.get(), QEvent::Paint, [&] {
        if (!lock.held()) return;
        painted = true;
        hourglass = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        QTest::keyClicks(&typedInto, QStringLiteral("123"));
        lock.release();
    });
    QTimer::singleShot(0, window.get(), [&] { window->update(); });
    window->ui.cmdStampa->click();
    EXPECT_TRUE(painted);
    EXPECT_TRUE(hourglass);
    EXPECT_TRUE(typedInto.text().isEmpty());
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(printer.jobs().size(), 1u);
}

// A run that stops says how many pallets were printed and leaves those still to print in the
// count: after a refusal, and after a failure once a label was out, which is told as printed, on
// the delivery note and in the fields.
TEST_F(PalletPrintTest, ARunThatStopsTellsWhatWasPrintedAndLeavesTheRest)
{
    auto& ui = window->ui;
    openDeliveryNote();
    const QString second = ComposeSscc(QStringLiteral("3"), *rsSetup, 43);
    DB->ExecuteNative(QStringLiteral("INSERT INTO AppTestate (SSCC, TipoPallet) VALUES (?, '3')"), {second});
    ui.mskQtPallet->setText(QStringLiteral("3"));
    Dialogs().answer(vbYes);
    ui.cmdStampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 2u);
    EXPECT_EQ(Dialogs().messages()[1].prompt, SsccEsistente() + SerieInterrotta(1, 3));
    EXPECT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(ui.mskQtPallet->text(), QStringLiteral("2"));
    EXPECT_EQ(ui.flxDDT->Rows(), 2);

    DB->ExecuteNative(QStringLiteral("DELETE FROM AppTestate WHERE SSCC = ?"), {second});
    // The printer refuses the next pallet: the one before it is printed, that one given back.
    class RefusesTheSecond : public RecordingPrinterSystem {
    public:
        using RecordingPrinterSystem::RecordingPrinterSystem;
        void print(const PrintJob& job) override
        {
            if (++calls == 2) throw AppError(482, QStringLiteral("Stampa"), QStringLiteral("Stampante non pronta"));
            RecordingPrinterSystem::print(job);
        }
        int calls = 0;
    } refusing{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 300};
    SetPrinterSystem(&refusing);
    Dialogs().reset();
    Dialogs().answer(vbYes);
    ui.cmdStampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 2u);
    EXPECT_EQ(Dialogs().messages()[1].prompt, QStringLiteral("Errore: Stampante non pronta") + SerieInterrotta(1, 2));
    EXPECT_EQ(refusing.jobs().size(), 1u);
    EXPECT_EQ(ui.flxDDT->Rows(), 3);
    EXPECT_EQ(ui.flxDDT->TextMatrix(2, 0), second);
    EXPECT_EQ(ui.txtSSCC->text(), second);
    EXPECT_EQ(ui.txtContatoreSSCC->text(), QStringLiteral("43"));
    EXPECT_EQ(counter(), 43);
    EXPECT_EQ(ui.mskQtPallet->text(), QStringLiteral("1"));
    EXPECT_EQ(count("AppTestate"), 2);
    EXPECT_EQ(count("ReportPallet"), 0);
}

// Another program on the same data folder moved the counter: "+ 1" and the print count from it.
TEST_F(PalletPrintTest, CounterAdvancesFromWhatTheFileHolds)
{
    Database::Open(PercorsoDB)->ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = 500"));
    window->ui.cmdIncrementa->click();
    EXPECT_EQ(window->ui.txtContatoreSSCC->text(), QStringLiteral("501"));
    EXPECT_EQ(Database::Open(PercorsoDB)->OpenRecordset(QStringLiteral("Setup"))->Value(QStringLiteral("contatore")).toLongLong(), 501);

    Database::Open(PercorsoDB)->ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = 600"));
    window->ui.cmdStampa->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(window->ui.txtSSCC->text(), ComposeSscc(QStringLiteral("3"), *rsSetup, 601));
    EXPECT_EQ(window->ui.txtContatoreSSCC->text(), QStringLiteral("601"));
}

// What a crash left in the journal: a job of an archived pallet is sent again through the reprint,
// one whose reservation never committed is dropped, one a living print holds is left alone.
TEST_F(PalletPrintTest, TheNextStartSendsAgainWhatACrashMayHaveStopped)
{
    window->ui.cmdStampa->click();
    ASSERT_EQ(printer.jobs().size(), 1u);
    const QString sscc = window->ui.txtSSCC->text();
    const qint64 id = ::Tag(window->ui.txtSSCC).toLongLong();
    PrintJournal journal = StampeInCorso();
    journal.Begin({sscc, id, 2}).reset();
    journal.Begin({ComposeSscc(QStringLiteral("3"), *rsSetup, 99), id + 1, 1}).reset();
    auto living = journal.Begin({sscc, id, 1});

    window->RiprendiStampe();
    ASSERT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(printer.jobs()[1].copies, 2);
    const auto symbols = Gs1Symbols(printer.jobs()[1].pages[0]);
    EXPECT_NE(std::find(symbols.begin(), symbols.end(), "00" + sscc.toStdString()), symbols.end());
    EXPECT_TRUE(journal.Orphans().empty());
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, EtichetteRiprese({QStringLiteral("Pallet ") + sscc}));
    living->Done();
    EXPECT_TRUE(QDir(PathJoin(CartellaDati, QStringLiteral("StampeInCorso"))).isEmpty());
    EXPECT_EQ(count("AppTestate"), 1);

    // In passive mode the start tells it beside the icon.
    journal.Begin({sscc, id, 1}).reset();
    ModoInterattivo = false;
    window->RiprendiStampe();
    ModoInterattivo = true;
    EXPECT_EQ(printer.jobs().size(), 3u);
    EXPECT_EQ(Dialogs().messages().size(), 1u);
    ASSERT_FALSE(window->TrayIconData->told().empty());
    EXPECT_EQ(window->TrayIconData->told().back().text, EtichetteRiprese({QStringLiteral("Pallet ") + sscc}));
}

TEST_F(PalletPrintTest, TheJobIsCheckedBeforeAnythingHappens)
{
    auto& ui = window->ui;
    struct Case {
        std::function<void()> spoil;
        const char* message;
        int icon;
    };
    const Case cases[] = {
        {[&] { ui.mskOraProd->setText(QStringLiteral("25:00")); }, "Ora di produzione errata.", vbInformation},
        {[&] { ui.txtLotto->setText(QStringLiteral("   ")); }, "Il lotto non può essere nullo.", vbCritical},
        {[&] { ui.mskDataProduzione->setText(QStringLiteral("31/02/26")); }, "La data di produzione non è valida.", vbCritical},
        {[&] { ui.mskQtBatch->setText(QString()); }, "La quantità non può essere nulla.", vbCritical},
        {[&] {
             SetSetup({{"ForzaDDT", true}});
         },
         "Introdurre prima i dati del DDT.", vbInformation},
    };
    for (const Case& c : cases) {
        Dialogs().reset();
        c.spoil();
        ui.cmdStampa->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << c.message;
        EXPECT_EQ(Dialogs().messages()[0].prompt, QString::fromUtf8(c.message));
        EXPECT_EQ(Dialogs().messages()[0].icon(), c.icon);
        SetUpFields();
    }
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(counter(), 41);
}

// With the clock on, the fields, the label's texts, its (11) and (15), the archive and the lot all
// state the one moment of printing: on the last day of the 2020s, in 2030 and in the 2070s.
TEST_F(PalletPrintTest, TheClockGivesOneDateEverywhereInEveryYear)
{
    auto& ui = window->ui;
    SetSetup({{"StampaDataProd", true}, {"StampaOraProd", true}, {"MaskLotto", QStringLiteral("aaaaggg")}});
    ui.chkAutoUpdate->setChecked(true);
    ui.chkAutoLotto->setChecked(true);
    struct Moment {
        QDateTime now;
        const char *production, *expiry, *expiryElement, *productionElement, *lot;
    };
    const Moment moments[] = {
        {QDateTime(QDate(2029, 12, 31), QTime(23, 59)), "31.12.2029    23:59", "29.06.2030", "(15)300629", "(11)291231", "2029365"},
        {QDateTime(QDate(2030, 1, 15), QTime(10, 0)), "15.01.2030    10:00", "14.07.2030", "(15)300714", "(11)300115", "2030015"},
        {QDateTime(QDate(2075, 6, 30), QTime(8, 15)), "30.06.2075    08:15", "27.12.2075", "(15)751227", "(11)750630", "2075181"},
    };
    KeepReportRows("ReportPallet");
    for (const Moment& m : moments) {
        SetNow(m.now);
        // The symbol states the expiry, or the production date when the expiry is not printed.
        for (const bool withExpiry : {true, false}) {
            SetSetup({{"StampaScadenza", withExpiry}});
            ui.cmdStampa->click();
            ASSERT_TRUE(Dialogs().messages().empty()) << Dialogs().messages()[0].prompt.toStdString();
            EXPECT_EQ(ui.mskDataProduzione->text(), FormatDate(m.now, FormatoData));
            EXPECT_EQ(ui.txtLotto->text(), QLatin1String(m.lot));
            auto label = DB->OpenRecordset(QStringLiteral("SELECT * FROM KeptReportPallet ORDER BY rowid DESC"));
            EXPECT_EQ(label->Value(QStringLiteral("DataOraProduzione")).toString(), QLatin1String(m.production));
            EXPECT_EQ(label->Value(QStringLiteral("DataScadenza")).toString(), QLatin1String(m.expiry));
            EXPECT_EQ(label->Value(QStringLiteral("Lotto")).toString(), QLatin1String(m.lot));
            const QString elements = label->Value(QStringLiteral("E128_Text")).toString();
            EXPECT_TRUE(elements.contains(QLatin1String(withExpiry ? m.expiryElement : m.productionElement))) << elements.toStdString();
            auto archived = DB->OpenRecordset(QStringLiteral("SELECT * FROM AppRighe ORDER BY IDAppTestate DESC"));
            EXPECT_EQ(archived->Value(QStringLiteral("DataOra")).toDateTime(), m.now);
            EXPECT_EQ(archived->Value(QStringLiteral("DataScadenza")).toDateTime().date(), m.now.date().addDays(180));
            EXPECT_EQ(archived->Value(QStringLiteral("Lotto")).toString(), QLatin1String(m.lot));
        }
    }
    EXPECT_EQ(count("AppRighe"), 6);
}

// Tab in the production date recomposes the automatic lot from the date typed, as Enter does, and
// still moves on; without the automatic lot both leave the lot as typed.
TEST_F(PalletPrintTest, TabAndEnterInTheProductionDateRecomposeTheAutomaticLot)
{
    auto& ui = window->ui;
    SetSetup({{"MaskLotto", QStringLiteral("aaaaggg")}});
    SetNow(QDateTime(QDate(2030, 1, 15), QTime(10, 0)));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui.SSTab1->setCurrentWidget(ui.tabStampa);
    ui.chkAutoLotto->setChecked(true);
    const std::pair<Qt::Key, const char*> presses[] = {{Qt::Key_Tab, "2030015"}, {Qt::Key_Backtab, "2030016"}, {Qt::Key_Return, "2030017"}};
    int day = 15;
    for (const auto& [key, lot] : presses) {
        ui.txtLotto->setText(QStringLiteral("L0342"));
        ui.mskDataProduzione->setText(QStringLiteral("%1/01/30").arg(day++));
        ui.mskDataProduzione->setFocus();
        QTest::keyClick(ui.mskDataProduzione, key);
        EXPECT_EQ(ui.txtLotto->text(), QLatin1String(lot)) << key;
        EXPECT_EQ(ui.mskDataProduzione->hasFocus(), key == Qt::Key_Return) << key;
    }
    ui.chkAutoLotto->setChecked(false);
    ui.txtLotto->setText(QStringLiteral("L0342"));
    ui.mskDataProduzione->setFocus();
    QTest::keyClick(ui.mskDataProduzione, Qt::Key_Tab);
    EXPECT_EQ(ui.txtLotto->text(), QStringLiteral("L0342"));
    EXPECT_TRUE(Dialogs().messages().empty());
}

TEST_F(PalletPrintTest, AnArticleWithoutProductLifeIsRefusedByName)
{
    AddArticle({{"Sigla", QStringLiteral("SENZA")}, {"DurataProdotto", QVariant()}});
    window->ui.cmdStampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_TRUE(Dialogs().messages()[0].prompt.contains(QStringLiteral("SENZA")));
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(count("AppTestate"), 0);
}

TEST_F(PalletPrintTest, SymbolsStateWhatTheLabelStatesOrNothingIsPrinted)
{
    auto& ui = window->ui;
    const QString sigla = rsArticoli->Value(QStringLiteral("Sigla")).toString();
    // Lots GS1 does not allow, typed or composed by the mask, and weights the element cannot state.
    const std::pair<std::function<void()>, QString> refused[] = {
        {[&] { ui.txtLotto->setText(QString::fromUtf8("L€1")); }, QString::fromUtf8("\"€\"")},
        {[&] { ui.txtLotto->setText(QString::fromUtf8("Lé1")); }, QString::fromUtf8("\"é\"")},
        {[&] { ui.txtLotto->setText(QStringLiteral("L#1")); }, QStringLiteral("\"#\"")},
        {[&] {
             SetSetup({{"MaskLotto", QStringLiteral("L dd")}});
             ui.chkAutoLotto->setChecked(true);
         },
         QStringLiteral("\" \"")},
        {[&] { setArticle("PesoCartone", 30000); }, sigla},    // 1,200,025 kg
        {[&] { SetSetup({{"PesoPallet3", -1000}}); }, sigla}, // a tare beyond the cartons
    };
    for (const auto& [spoil, named] : refused) {
        Dialogs().reset();
        spoil();
        ui.cmdStampa->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << named.toStdString();
        EXPECT_TRUE(Dialogs().messages()[0].prompt.contains(named)) << Dialogs().messages()[0].prompt.toStdString();
        SetUpFields();
        SetSetup({{"PesoPallet3", 25}});
        setArticle("PesoCartone", 12.5);
    }
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(counter(), 41);
    for (const char* t : {"AppTestate", "ExportTestate", "ReportPallet"}) EXPECT_EQ(count(t), 0) << t;

    // The longest lot GS1 allows, its punctuation and the heaviest pallet that fits: a long element
    // string, read back at the printers' resolutions, one and two labels a sheet, and stated
    // exactly by the text under it.
    const QString lot = QStringLiteral("Lot-1/2.A_b%&'*+,:;<");
    Dialogs().reset();
    KeepReportRows("ReportPallet");
    setArticle("PesoCartone", 24999.36); // 999,999.4 kg with the tare
    qint64 serial = 42;
    for (const auto& [dpi, twoUp] : {std::pair{203.0, false}, {600.0, false}, {300.0, true}, {203.0, true}}) {
        SetSetup({{"DoubleLayout", twoUp}});
        printer.setDpi(dpi);
        ui.txtLotto->setText(lot);
        const std::size_t job = printer.jobs().size();
        ui.cmdStampa->click();
        ASSERT_TRUE(Dialogs().messages().empty()) << Dialogs().messages()[0].prompt.toStdString();
        ASSERT_EQ(printer.jobs().size(), job + 1);
        const QDateTime production(QDate(2026, 12, 8), QTime(10, 30));
        const ElementData elements{QStringLiteral("18001234567894"), QStringLiteral("40"), 999999.4,
                                   CalcolaScadenza(production, 180, 1, 0).date(), lot, QStringLiteral("08001234567897"),
                                   QStringLiteral("6"), production.date()};
        const QString barcodeForm = CalcolaEAN128Barcode(elements, ElementSettings::FromSetup(*rsSetup), {});
        ASSERT_GE(barcodeForm.size(), 46);
        const std::vector<std::string> expected{"00" + ComposeSscc(QStringLiteral("3"), *rsSetup, serial++).toStdString(),
                                                scanned(barcodeForm)};
        const QImage& page = printer.jobs()[job].pages.at(0);
        const int half = page.width() / 2;
        const std::vector<QImage> labels = twoUp ? std::vector{page.copy(0, 0, half, page.height()), page.copy(half, 0, half, page.height())}
                                                 : std::vector{page};
        for (const QImage& label : labels) {
            std::vector<std::string> symbols = Gs1Symbols(label);
            std::sort(symbols.begin(), symbols.end());
            EXPECT_EQ(symbols, expected) << dpi << (twoUp ? " two-up" : " one-up");
        }

        Statement st = DB->prepare(QStringLiteral("SELECT E128_Text FROM KeptReportPallet ORDER BY rowid DESC LIMIT 1"));
        ASSERT_TRUE(st.step());
        QString text = st.value(0).toString();
        text.replace(QRegularExpression(QStringLiteral("\\((\\d{2,4})\\)")), QStringLiteral("\\1"));
        QString bare = barcodeForm;
        bare.remove(QChar(kFnc1));
        EXPECT_EQ(text, bare);
    }
}

// Values that would put a wrong or invalid symbol on a label, whoever stored them: each is refused
// in Italian by name and value before anything is written or printed.
TEST_F(PalletPrintTest, ValuesNoRightLabelCanStateAreRefusedByNameBeforeAnythingHappens)
{
    auto& ui = window->ui;
    const auto restore = [&] {
        SetUpFields();
        SetSetup({{"Paese", QStringLiteral("80")}, {"CodProduttore", QStringLiteral("12345")}});
        for (const auto& [column, value] : std::initializer_list<std::pair<const char*, QVariant>>{
                 {"EANCartone", QStringLiteral("8001234567897")}, {"EANArticolo", QStringLiteral("8001234567897")},
                 {"PrefGTIN", QStringLiteral("1")}, {"UnitaDurata", 1},
                 {"TipoPallet", QStringLiteral("3")}})
            setArticle(column, value);
    };
    const std::pair<std::function<void()>, const char*> refused[] = {
        {[&] { ui.mskQtCartoni->setText(QString()); }, "cartoni del pallet dell'articolo PASSATA non è valido (\"\")"},
        {[&] { ui.mskQtCartoni->setText(QStringLiteral("0")); }, "cartoni del pallet dell'articolo PASSATA non è valido (\"0\")"},
        {[&] { setArticle("EANCartone", QString()); }, "L'articolo PASSATA non ha un codice EAN cartone valido (\"\")"},
        {[&] { setArticle("EANCartone", QStringLiteral("8001234567895")); }, "EAN cartone valido (\"8001234567895\")"},
        {[&] {
             setArticle("EANArticolo", QStringLiteral("8001234567891"));
             ui.mskQtCartoni->setText(QStringLiteral("1"));
         },
         "Il GTIN (01) dell'articolo PASSATA non è valido (\"08001234567891\")"},
        {[&] { setArticle("PrefGTIN", QString()); }, "L'articolo PASSATA ha un prefisso GTIN non valido (\"\")"},
        {[&] { setArticle("UnitaDurata", 7); }, "L'articolo PASSATA ha un'unità di durata non valida (7)"},
        {[&] { setArticle("TipoPallet", QString()); }, "L'articolo PASSATA ha un tipo pallet non valido (\"\")"},
        {[&] { setArticle("TipoPallet", QStringLiteral("A")); }, "L'articolo PASSATA ha un tipo pallet non valido (\"A\")"},
        {[&] { SetSetup({{"Paese", QStringLiteral("8x")}}); }, "Il paese dell'SSCC (\"8x\")"},
        {[&] { SetSetup({{"CodProduttore", QStringLiteral("ab123")}}); }, "Il codice produttore dell'SSCC (\"ab123\")"},
    };
    for (const auto& [spoil, named] : refused) {
        Dialogs().reset();
        spoil();
        ui.cmdStampa->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << named;
        EXPECT_TRUE(Dialogs().messages()[0].prompt.contains(QString::fromUtf8(named))) << Dialogs().messages()[0].prompt.toStdString();
        restore();
    }
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(counter(), 41);
    for (const char* t : {"AppTestate", "ExportTestate", "ReportPallet"}) EXPECT_EQ(count(t), 0) << t;

    // Whatever wrote the Setup row, the reservation itself issues no code that is not an SSCC.
    SetSetup({{"Paese", QStringLiteral("8")}});
    const PalletTables tables{*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe};
    bool bound = false;
    ReservationOptions options;
    options.tipoPallet = QStringLiteral("3");
    EXPECT_THROW(PrintReservedPallet(tables, options, PalletRecord{},
                                     [&](const Reservation&, const std::function<void()>&) {
                                         bound = true;
                                         return SendSteps{};
                                     }),
                 AppError);
    EXPECT_FALSE(bound);
    EXPECT_EQ(counter(), 41);
    EXPECT_EQ(count("AppTestate"), 0);
}

// An article's cartons reach the print tab, the label, its symbol and the archive whole, up to the
// eight digits (37) states; a count beyond them is shown whole and refused, never cut.
TEST_F(PalletPrintTest, AnArticlesCartonsReachTheLabelWhole)
{
    auto& ui = window->ui;
    KeepReportRows("ReportPallet");
    setArticle("PesoCartone", 0.005);
    for (const char* cartons : {"10000", "123456", "99999999"}) {
        setArticle("NumCartoni", QString::fromLatin1(cartons).toLongLong());
        window->CaricaArticolo();
        EXPECT_EQ(ui.mskQtCartoni->text(), QString::fromLatin1(cartons));
        ui.cmdStampa->click();
        EXPECT_TRUE(Dialogs().messages().empty()) << Dialogs().messages().front().prompt.toStdString();
        Statement label = DB->prepare(QStringLiteral("SELECT NumImballi, E128_Text FROM KeptReportPallet ORDER BY rowid DESC LIMIT 1"));
        ASSERT_TRUE(label.step());
        EXPECT_EQ(label.value(0).toString(), QString::fromLatin1(cartons));
        EXPECT_TRUE(label.value(1).toString().contains(QStringLiteral("(37)") + QString::fromLatin1(cartons) + u'(')) << cartons;
        const auto symbols = Gs1Symbols(printer.jobs().back().pages.at(0));
        EXPECT_TRUE(std::any_of(symbols.begin(), symbols.end(), [&](const std::string& symbol) {
            return symbol.find("37" + std::string(cartons) + "\x1d") != std::string::npos;
        })) << cartons;
        Statement archived = DB->prepare(QStringLiteral("SELECT QtCartoni FROM AppTestate ORDER BY IDAppTestate DESC LIMIT 1"));
        ASSERT_TRUE(archived.step());
        EXPECT_EQ(archived.int64(0), QString::fromLatin1(cartons).toLongLong());
    }
    ASSERT_EQ(printer.jobs().size(), 3u);

    setArticle("NumCartoni", 123456789);
    window->CaricaArticolo();
    EXPECT_EQ(ui.mskQtCartoni->text(), QStringLiteral("123456789"));
    ui.cmdStampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt,
              QStringLiteral("Il pallet dell'articolo PASSATA ha 123456789 cartoni: un'etichetta ne riporta al massimo 99999999."));
    EXPECT_EQ(printer.jobs().size(), 3u);
    EXPECT_EQ(count("AppTestate"), 3);

    // Typed, the count takes eight digits.
    ui.mskQtCartoni->clear();
    QTest::keyClicks(ui.mskQtCartoni, QStringLiteral("1234567890"));
    EXPECT_EQ(ui.mskQtCartoni->text(), QStringLiteral("12345678"));
}

// The carton EAN and the GTIN indicator are asked for only where the carton GTIN reaches the label:
// with the carton EAN setting off the symbol states (01) with the article's EAN, and so does a pallet
// of one carton. A refusal names the article by a code it is found by, or by its EAN.
TEST_F(PalletPrintTest, TheCartonEanIsCheckedOnlyWhereTheLabelStatesIt)
{
    auto& ui = window->ui;
    setArticle("EANCartone", QStringLiteral("000000000000"));
    setArticle("PrefGTIN", QString());
    const auto statesArticleEan = [&] {
        const auto symbols = Gs1Symbols(printer.jobs().back().pages.at(0));
        return std::any_of(symbols.begin(), symbols.end(), [](const std::string& s) { return s.rfind("0108001234567897", 0) == 0; });
    };
    const auto refusal = [] { return Dialogs().messages().empty() ? QString() : Dialogs().messages().back().prompt; };

    SetSetup({{"StampaEANCartone", false}});
    ui.cmdStampa->click();
    EXPECT_EQ(refusal(), QString());
    ASSERT_EQ(printer.jobs().size(), 1u);
    EXPECT_TRUE(statesArticleEan());

    SetSetup({{"StampaEANCartone", true}});
    ui.mskQtCartoni->setText(QStringLiteral("1"));
    ui.cmdStampa->click();
    EXPECT_EQ(refusal(), QString());
    ASSERT_EQ(printer.jobs().size(), 2u);
    EXPECT_TRUE(statesArticleEan());
    EXPECT_EQ(counter(), 43);

    const std::pair<QString, QString> named[] = {{QStringLiteral("PASSATA"), QStringLiteral("PASSATA")},
                                                 {QString(), QStringLiteral("ART1")}};
    for (const auto& [sigla, name] : named) {
        Dialogs().reset();
        setArticle("Sigla", sigla);
        ui.mskQtCartoni->setText(QStringLiteral("40"));
        ui.cmdStampa->click();
        EXPECT_EQ(refusal(),
                  QStringLiteral("L'articolo %1 non ha un codice EAN cartone valido (\"000000000000\"): correggerlo prima di stampare.").arg(name));
    }
    Dialogs().reset();
    setArticle("CodInterno", QString());
    setArticle("EANCartone", QStringLiteral("8001234567897"));
    ui.cmdStampa->click();
    EXPECT_EQ(refusal(), QStringLiteral("L'articolo 8001234567897 ha un prefisso GTIN non valido (\"\"): deve essere una cifra da 0 a 9."));
    EXPECT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(count("AppTestate"), 2);
}

// At the end of the serial range no road gives out a serial cut to its digits, which would be an
// older pallet's SSCC.
TEST_F(PalletPrintTest, TheEndOfTheSerialRangeIsRefusedOnEveryRoad)
{
    auto& ui = window->ui;
    const QString end = QStringLiteral("Il contatore SSCC ha raggiunto la fine del suo intervallo");
    const auto lastPrompt = [] { return Dialogs().messages().empty() ? QString() : Dialogs().messages().back().prompt; };
    SetSetup({{"contatore", 99999997}});
    ui.mskQtPallet->setText(QStringLiteral("3"));
    Dialogs().answer(vbYes);
    ui.cmdStampa->click();
    EXPECT_TRUE(lastPrompt().startsWith(end + QStringLiteral(": il seriale 100000000 non sta nelle 8 cifre"))) << lastPrompt().toStdString();
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_EQ(ui.mskQtPallet->text(), QStringLiteral("3"));

    Dialogs().reset();
    ui.mskQtPallet->setText(QStringLiteral("2"));
    Dialogs().answer(vbYes);
    ui.cmdStampa->click();
    ASSERT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(ui.txtSSCC->text(), ComposeSscc(QStringLiteral("3"), *rsSetup, 99999999));
    EXPECT_TRUE(IsSscc(ui.txtSSCC->text()));
    EXPECT_EQ(counter(), 99999999);

    const std::pair<const char*, std::function<void()>> roads[] = {
        {"print button", [&] { ui.cmdStampa->click(); }},
        {"+ 1", [&] { ui.cmdIncrementa->click(); }},
        {"mixed pallet",
         [&] {
             ui.chkMultiLotto->setChecked(true);
             window->chkMultiLotto_Click();
             ui.mskTipoPallet->setText(QStringLiteral("3"));
             ui.cmdStampa->click();
             ui.cmdStampaMulti->click();
             EXPECT_EQ(ui.flxLotti->Rows(), 2);
             ui.chkMultiLotto->setChecked(false);
             window->chkMultiLotto_Click();
         }},
        {"seven-digit producer", [&] {
             SetSetup({{"CodProduttore", QStringLiteral("1234567")}, {"contatore", 999999}});
             ui.cmdStampa->click();
         }},
    };
    for (const auto& [road, press] : roads) {
        Dialogs().reset();
        press();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << road;
        EXPECT_TRUE(lastPrompt().startsWith(end)) << road << ": " << lastPrompt().toStdString();
    }
    EXPECT_EQ(counter(), 999999);
    EXPECT_EQ(printer.jobs().size(), 2u);
    EXPECT_EQ(count("AppTestate"), 2);

    // A request that sets a counter the SSCC cannot hold is refused before the counter moves.
    SetSetup({{"CodProduttore", QStringLiteral("12345")}, {"contatore", 41}});
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteTestate (IDRichiesteTestate, Copie, SpecificaContatore, ContatoreSSCC, TipoPallet) "
                                     "VALUES (1, 1, 1, 100000000, '3')"));
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiesteRighe (IDRichiesteTestate, NumRiga, AutoLotto, Lotto, AutoData, DataOra, "
                                     "PrefGTIN, EANCartone, NumCartoni) VALUES (1, 1, 0, 'L1', 0, '2026-12-08 10:30:00', '1', '8001234567897', 40)"));
    Dialogs().reset();
    ModoInterattivo = false;
    window->timPassive_Timer();
    window->timPassive.stop();
    ModoInterattivo = true;
    // In passive mode the refusal asks nobody: the request is set aside with it.
    EXPECT_TRUE(Dialogs().messages().empty());
    ASSERT_EQ(window->Accantonate().entries().size(), 1u);
    EXPECT_TRUE(window->Accantonate().entries()[0].reason.startsWith(end)) << window->Accantonate().entries()[0].reason.toStdString();
    EXPECT_EQ(counter(), 41);
    EXPECT_EQ(count("RichiesteTestate"), 1);
    EXPECT_EQ(printer.jobs().size(), 2u);
}

TEST_F(PalletPrintTest, NoArticleAtAll)
{
    rsArticoli->MoveFirst();
    rsArticoli->Delete();
    rsArticoli->MoveNext();
    window->ui.cmdStampa->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Selezionare un articolo."));
}

} // namespace
