// Passive mode on and off: the File menu's entries, the tray icon and its menu.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "passive/TrayIcon.h"
#include "passive/frmRichiesteAccantonate.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

class PassiveModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        FillMonthNames();
        SetPrinterSystem(&printer);
        window = std::make_unique<frmArticoli>();
        window->Form_Load();
    }

    void TearDown() override
    {
        window.reset();
        QApplication::setQuitOnLastWindowClosed(true);
        ModoInterattivo = true;
        ModoFileRichiesta = false;
        SetPrinterSystem(nullptr);
        CloseDatabase();
    }

    void expectPassive()
    {
        EXPECT_FALSE(ModoInterattivo);
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(window->timPassive.isActive());
        EXPECT_EQ(window->timPassive.interval(), 500);
        EXPECT_TRUE(window->TrayIconData->shown());
        EXPECT_EQ(window->TrayIconData->tip(), QStringLiteral("Stivora"));
        ASSERT_NE(window->TrayIconData->platformIcon(), nullptr) << "made without a tray, to appear when one starts";
        EXPECT_TRUE(window->TrayIconData->platformIcon()->isVisible());
    }

    void loadPassive()
    {
        window.reset();
        ModoInterattivo = false;
        window = std::make_unique<frmArticoli>();
        window->Form_Load();
    }

    void addArticle()
    {
        rsArticoli->AddNew();
        rsArticoli->SetValue(QStringLiteral("Sigla"), QStringLiteral("A"));
        rsArticoli->SetValue(QStringLiteral("CodInterno"), QStringLiteral("A"));
        rsArticoli->SetValue(QStringLiteral("EANCartone"), QStringLiteral("8001234567897"));
        rsArticoli->SetValue(QStringLiteral("PrefGTIN"), QStringLiteral("1"));
        rsArticoli->SetValue(QStringLiteral("QtCartone"), 6);
        rsArticoli->SetValue(QStringLiteral("DurataProdotto"), 10);
        rsArticoli->SetValue(QStringLiteral("UnitaDurata"), 1);
        rsArticoli->Update();
    }

    void addCarton(const QString& lot)
    {
        rsRichiesteImballi->AddNew();
        rsRichiesteImballi->SetValue(QStringLiteral("AutoLotto"), false);
        rsRichiesteImballi->SetValue(QStringLiteral("Lotto"), lot);
        rsRichiesteImballi->SetValue(QStringLiteral("PrefGTIN"), QStringLiteral("1"));
        rsRichiesteImballi->SetValue(QStringLiteral("EANCartone"), QStringLiteral("8001234567897"));
        rsRichiesteImballi->Update();
    }

    TestDataFolder data;
    RecordingPrinterSystem printer{{{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra")};
    std::unique_ptr<frmArticoli> window;
};

TEST_F(PassiveModeTest, TheFileMenuEntriesStartPassiveMode)
{
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(window->TrayIconData->shown());
    EXPECT_FALSE(window->timPassive.isActive());

    window->ui.mnuModoPassivoFile->trigger();
    expectPassive();
    EXPECT_TRUE(ModoFileRichiesta);

    window->ui.mnuApri->trigger();
    window->ui.mnuModoPassivo->trigger();
    expectPassive();
    EXPECT_FALSE(ModoFileRichiesta) << "the entry without request files stops reading them";
}

TEST_F(PassiveModeTest, TheTrayMenuOpensAndCloses)
{
    window->ui.mnuModoPassivoFile->trigger();
    QMenu* menu = window->TrayIconData->menu();
    ASSERT_EQ(menu, window->ui.mnuPopup);
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("&Apri"));
    EXPECT_EQ(entries[1]->text(), QStringLiteral("&Richieste accantonate"));
    EXPECT_TRUE(entries[2]->isSeparator());
    EXPECT_EQ(entries[3]->text(), QStringLiteral("&Chiudi"));

    entries[0]->trigger();
    EXPECT_TRUE(ModoInterattivo);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->timPassive.isActive());
    EXPECT_FALSE(window->TrayIconData->shown());
    EXPECT_TRUE(ModoFileRichiesta) << "reopening keeps the request-file mode";
}

TEST_F(PassiveModeTest, ALoadOutsideInteractiveModeStartsHidden)
{
    loadPassive();
    expectPassive();
}

TEST_F(PassiveModeTest, ChiudiRemovesTheIconAndEndsTheProgram)
{
    window->ui.mnuModoPassivoFile->trigger();
    QTimer::singleShot(0, window.get(), [this] { window->ui.mnuChiudi->trigger(); });

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->TrayIconData->shown());
    EXPECT_FALSE(DB) << "the unload handler closed the database";
    EXPECT_TRUE(Dialogs().messages().empty()) << "nothing is asked in passive mode";
}

// The tray menu works while a tick prints; the tick finishes its request before the program ends.
TEST_F(PassiveModeTest, ChiudiDuringATickWaitsForItsEnd)
{
    class ClosingPrinter : public RecordingPrinterSystem {
    public:
        ClosingPrinter(frmArticoli& w) : RecordingPrinterSystem({{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra")), w_(w) {}
        void print(const PrintJob& job) override
        {
            RecordingPrinterSystem::print(job);
            w_.ui.mnuChiudi->trigger();
        }
        frmArticoli& w_;
    } closing(*window);
    SetPrinterSystem(&closing);
    addArticle();
    addCarton(QStringLiteral("L1"));
    addCarton(QStringLiteral("L1"));
    window->ui.mnuModoPassivo->trigger();

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(closing.jobs().size(), 1u) << "the second request waits for the next run";
    EXPECT_FALSE(DB);
    auto left = Database::Open(data.mdbPath());
    EXPECT_EQ(left->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM RichiesteImballi"))->Value(QStringLiteral("n")).toInt(), 1);
}

// With the program's own message boxes, a refused request shows none: nothing waits for a person,
// the request behind it prints, and only "&Chiudi" ends the program, through the unload handler.
TEST_F(PassiveModeTest, ARefusalShowsNoMessageBoxAndTheQueueGoesOn)
{
    SetDialogBackend(nullptr);
    addArticle();
    addCarton(QString());
    addCarton(QStringLiteral("L2"));
    loadPassive();
    const bool preview = !window->ui.chkAnteprima->isChecked();
    window->ui.chkAnteprima->setChecked(preview);

    QString shown;
    QTimer watcher;
    watcher.callOnTimeout([&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->buttons().constFirst()->click();
        } else if (printer.jobs().size() == 1 && !window->Accantonate().entries().empty()) {
            watcher.stop();
            window->ui.mnuChiudi->trigger();
        }
    });
    watcher.start(50);

    EXPECT_EQ(QApplication::exec(), 0);
    SetDialogBackend(&Dialogs());
    EXPECT_EQ(shown, QString());
    ASSERT_FALSE(window->TrayIconData->told().empty());
    EXPECT_EQ(window->TrayIconData->told().back().text, QStringLiteral("RichiesteImballi 1: Il lotto non può essere nullo."));
    EXPECT_FALSE(DB) << "the unload handler closed the database";
    const auto db = Database::Open(data.mdbPath());
    auto setup = db->OpenRecordset(QStringLiteral("Setup"));
    EXPECT_EQ(setup->Value(QStringLiteral("PrintPreview")).toBool(), preview) << "the operator settings were saved";
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM RichiesteImballi"))->Value(QStringLiteral("n")).toInt(), 1);
}

// From the tray menu: the requests set aside, each with its table, key and reason; one dropped from
// its table after a question, one sent again once what refused it is mended.
TEST_F(PassiveModeTest, TheWindowOfSetAsideRequestsDropsOrSendsAgain)
{
    addCarton(QStringLiteral("L1"));
    addCarton(QStringLiteral("L2"));
    window->ui.mnuModoPassivo->trigger();
    window->timPassive_Timer();
    ASSERT_EQ(window->Accantonate().entries().size(), 2u);

    window->ui.mnuAccantonate->trigger();
    auto* list = window->findChild<frmRichiesteAccantonate*>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    FlexGrid& grid = *list->ui.flxRichieste;
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("Motivo"));
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("RichiesteImballi"));
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("1"));
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("Articolo non in anagrafica: PrefGTIN '1', EANCartone '8001234567897'."));

    grid.SetRow(1);
    Dialogs().answer(vbYes);
    list->ui.cmdElimina->click();
    EXPECT_EQ(Dialogs().messages().back().prompt, QStringLiteral("Confermi l'eliminazione della richiesta RichiesteImballi 1?"));
    ASSERT_EQ(grid.Rows(), 2);

    addArticle();
    window->timPassive_Timer();
    EXPECT_TRUE(printer.jobs().empty()) << "still set aside: its row has not changed";
    grid.SetRow(1);
    list->ui.cmdRiprova->click();
    EXPECT_EQ(grid.Rows(), 1);
    window->timPassive_Timer();

    ASSERT_EQ(printer.jobs().size(), 1u);
    auto left = DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM RichiesteImballi"));
    EXPECT_EQ(left->Value(QStringLiteral("n")).toInt(), 0);
}

} // namespace
