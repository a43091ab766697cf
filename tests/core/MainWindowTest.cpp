#include "core/Globals.h"
#include "core/db/Database.h"
#include "core/Startup.h"
#include "core/frmArticoli.h"
#include "core/frmImpostazioni.h"
#include "core/Utility.h"
#include "reports/PrinterSystem.h"
#include "support/RecordingPrinter.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyle>
#include <QTest>

#include <cstdlib>
#include <vector>

namespace {

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = folder.path();
        ModoInterattivo = true;
        ASSERT_TRUE(ApriDatabase());
    }
    void TearDown() override { CloseDatabase(); }

    static QVariant stored(const char* column)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM Setup"));
        return rs->Value(QString::fromLatin1(column));
    }
    static void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    TestDataFolder folder;
};

} // namespace

TEST_F(MainWindow, OperatorSettingsSurviveAnExitAndANewStart)
{
    {
        frmArticoli w;
        w.Form_Load();
        // The clock fills the production date and time: they cannot be typed.
        EXPECT_TRUE(w.ui.chkAutoUpdate->isChecked());
        EXPECT_FALSE(w.ui.mskDataProduzione->isEnabled());
        EXPECT_FALSE(w.ui.mskOraProd->isEnabled());
        type(w.ui.txtLotto, QStringLiteral("L-2024"));
        // The supplied row has these two ticked and the others not: flip every one.
        for (QCheckBox* box : {w.ui.chkUpdateSSCC, w.ui.chkAutoUpdate, w.ui.chkAnteprima, w.ui.chkAnteprimaRistampa,
                               w.ui.chkMultiLotto, w.ui.chkAnteprimaImballi, w.ui.chkAnteprimaDDT})
            box->click();
        // Ticked quietly: clicking it would compose a lot over the one typed.
        w.ui.chkAutoLotto->setChecked(true);
        type(w.ui.mskQtBatch, QStringLiteral("12"));
        type(w.ui.mskQtRistampa, QStringLiteral("3"));
        type(w.ui.mskTipoPallet, QStringLiteral("5"));
        type(w.ui.mskQtBatchMulti, QStringLiteral("4"));
        // Not a number: saved as 0.
        type(w.ui.mskQtDDT, QString());

        Dialogs().answer(vbYes);
        w.ui.mnuUscita->trigger();
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(DB) << "the database is closed at exit";
    }
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    const ShownMessage& question = Dialogs().messages()[0];
    EXPECT_EQ(question.prompt, QStringLiteral("Vuoi uscire dal programma?"));
    EXPECT_EQ(question.buttons(), vbYesNo);
    EXPECT_EQ(question.icon(), vbQuestion);
    EXPECT_EQ(question.title, QStringLiteral("Stivora"));

    ASSERT_TRUE(ApriDatabase());
    // The automatic lot now ticked recomposes the field at load, so the lot is read where it was saved.
    EXPECT_EQ(stored("lotto").toString(), QStringLiteral("L-2024"));
    frmArticoli w;
    w.Form_Load();
    EXPECT_FALSE(w.ui.chkUpdateSSCC->isChecked());
    EXPECT_FALSE(w.ui.chkAutoUpdate->isChecked());
    EXPECT_TRUE(w.ui.mskDataProduzione->isEnabled());
    for (QCheckBox* box : {w.ui.chkAnteprima, w.ui.chkAnteprimaRistampa, w.ui.chkAutoLotto, w.ui.chkMultiLotto,
                           w.ui.chkAnteprimaImballi, w.ui.chkAnteprimaDDT})
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_EQ(w.ui.mskQtBatch->text(), QStringLiteral("12"));
    EXPECT_EQ(w.ui.mskQtRistampa->text(), QStringLiteral("3"));
    EXPECT_EQ(w.ui.mskTipoPallet->text(), QStringLiteral("5"));
    EXPECT_EQ(w.ui.mskQtBatchMulti->text(), QStringLiteral("4"));
    EXPECT_EQ(w.ui.mskQtDDT->text(), QStringLiteral("0"));
    // Quantities of one print start at 1 whatever was left in them.
    for (QLineEdit* one : {w.ui.mskQtPallet, w.ui.mskQtImballi, w.ui.mskQtCartoni}) EXPECT_EQ(one->text(), QStringLiteral("1"));
    EXPECT_EQ(w.ui.labDataOraProduzione->text(), QStringLiteral("Data e ora produzione:"));
    EXPECT_EQ(w.Stato, 1);
}

TEST_F(MainWindow, NoToTheExitQuestionKeepsEverything)
{
    frmArticoli w;
    w.Form_Load();
    const QString lotto = stored("lotto").toString();
    type(w.ui.txtLotto, QStringLiteral("NUOVO"));
    w.ui.chkAnteprima->click();

    Dialogs().answer(vbNo);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(DB);
    EXPECT_EQ(stored("lotto").toString(), lotto);
    EXPECT_FALSE(stored("PrintPreview").toBool());
}

TEST_F(MainWindow, PassiveModeClosesWithoutAsking)
{
    frmArticoli w;
    w.Form_Load();
    ModoInterattivo = false;
    type(w.ui.txtLotto, QStringLiteral("NOTTE"));
    EXPECT_TRUE(w.close());
    ModoInterattivo = true;
    EXPECT_TRUE(Dialogs().messages().empty());
    ASSERT_TRUE(ApriDatabase());
    EXPECT_EQ(stored("lotto").toString(), QStringLiteral("NOTTE"));
}

TEST_F(MainWindow, ControlsCarryTheirNamesLengthsAndFilters)
{
    frmArticoli w;
    for (const char* name : {"txtSigla", "txtCodInterno", "txtDescrizione", "txtDescrizione2", "txtEAN", "txtGTIN",
                             "txtPrefGTIN", "txtQtCassa", "txtPesoCassa", "txtTipoPallet", "txtQtPallet",
                             "txtDurataProdotto", "cmbDurata", "cmdNuovoArticolo", "SSTab1", "txtContatoreSSCC",
                             "IconTray", "flxLotti", "flxDDT", "cmbIntestazione", "labIntestazione_0", "txtCercaSSCC",
                             "txtDescrizione2S", "cmdStampaDDT", "optCercaArtLotto"})
        EXPECT_TRUE(w.findChild<QObject*>(QString::fromLatin1(name))) << name;
    QStringList pages;
    for (int i = 0; i < w.ui.SSTab1->count(); ++i) pages << w.ui.SSTab1->tabText(i);
    EXPECT_EQ(pages, (QStringList{"Stampa", "Ristampa", "Imballi", "DDT", "Cerca"}));
    EXPECT_EQ(w.ui.mnuAzzeraExport->text(), QStringLiteral("A&zzera dati esportati"));
    EXPECT_FALSE(w.menuBar()->actions().contains(w.ui.mnuPopup->menuAction()));
    EXPECT_EQ(w.timPassive.interval(), 500);
    EXPECT_FALSE(w.timPassive.isActive());

    QTest::keyClicks(w.ui.txtSigla, QStringLiteral("ab-1"));
    EXPECT_EQ(w.ui.txtSigla->text(), QStringLiteral("AB-1"));
    QTest::keyClicks(w.ui.txtQtPallet, QStringLiteral("1,-2x3"));
    EXPECT_EQ(w.ui.txtQtPallet->text(), QStringLiteral("123"));
    QTest::keyClick(w.ui.txtQtPallet, Qt::Key_Backspace);
    EXPECT_EQ(w.ui.txtQtPallet->text(), QStringLiteral("12"));
    QTest::keyClicks(w.ui.txtPesoCassa, QStringLiteral("12.5.3"));
    EXPECT_EQ(w.ui.txtPesoCassa->text(), QStringLiteral("12.53"));
    QTest::keyClicks(w.ui.txtEAN, QStringLiteral("80123456789012"));
    EXPECT_EQ(w.ui.txtEAN->text(), QStringLiteral("8012345678901"));
    QTest::keyClicks(w.ui.txtLotto, QString(25, u'X'));
    EXPECT_EQ(w.ui.txtLotto->text().size(), 20);
}

TEST_F(MainWindow, SettingsRefreshTheCounterEvenWhenCancelled)
{
    frmArticoli w;
    w.Form_Load();
    w.ui.txtContatoreSSCC->setText(QStringLiteral("999"));
    rsSetup->Edit();
    rsSetup->SetValue(QStringLiteral("contatore"), 41);
    rsSetup->Update();
    Dialogs().onModal([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Impostazioni"));
        static_cast<frmImpostazioni&>(dialog).ui.cmdCancel->click();
        return int(QDialog::Rejected);
    });
    w.ui.mnuImpostazioni->trigger();
    EXPECT_EQ(w.ui.txtContatoreSSCC->text(), QStringLiteral("41"));

    // Another program moves the counter before and while the dialog is open: the dialog shows the
    // row as it is, and so does the window after it, as every reader of the connection does.
    auto other = Database::Open(PercorsoDB);
    other->ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = 17"));
    Dialogs().onModal([&](QDialog& dialog) {
        EXPECT_EQ(static_cast<frmImpostazioni&>(dialog).ui.txtSSCC->text(), QStringLiteral("17"));
        other->ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = 23"));
        return int(QDialog::Rejected);
    });
    w.ui.mnuImpostazioni->trigger();
    EXPECT_EQ(w.ui.txtContatoreSSCC->text(), QStringLiteral("23"));
    EXPECT_EQ(stored("contatore").toLongLong(), 23);
}

TEST_F(MainWindow, LogoFolderAndManualOpenThroughTheDesktop)
{
    QStringList opened;
    SetShellOpenHandler([&](const QString& target) {
        opened << target;
        return true;
    });
    frmArticoli w;
    w.ui.mnuCartellaLogo->trigger();
    // A missing manual is told where it was looked for.
    w.ui.mnuManuale->trigger();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Manuale non trovato: il programma lo cerca in ") + folder.file(QStringLiteral("manuale.pdf")) + u'.');
    QFile(folder.file(QStringLiteral("Manuale.PDF"))).open(QIODevice::WriteOnly);
    w.ui.mnuManuale->trigger();
    SetShellOpenHandler(nullptr);
    EXPECT_EQ(opened, (QStringList{folder.path() + QStringLiteral("/Intestazioni"), folder.file(QStringLiteral("Manuale.PDF"))}));
    EXPECT_EQ(Dialogs().messages().size(), 1u);
}

namespace {

// The widest texts the fields hold at work, page by page of the tab control.
struct FieldText {
    QLineEdit* field;
    const char* text;
};

std::vector<std::pair<QWidget*, std::vector<FieldText>>> WidestTexts(Ui::frmArticoli& ui)
{
    const std::vector<FieldText> article = {
        {ui.txtSigla, "PASSATA-XL"},        {ui.txtCodInterno, "ART-0042-B/26"}, {ui.txtDescrizione, "Mozzarella di bufala campana DOP 250 g x"},
        {ui.txtEAN, "8001234567897"},       {ui.txtGTIN, "8001234567897"},      {ui.txtQtCassa, "99999"},
        {ui.txtPrefGTIN, "9"},              {ui.txtPesoCassa, "1250.5"},        {ui.txtTipoPallet, "9"},
        {ui.txtQtPallet, "99999"},          {ui.txtDurataProdotto, "365"},      {ui.txtContatoreSSCC, "999999999"}};
    return {{ui.tabStampa, {{ui.mskDataProduzione, "28/12/26"}, {ui.mskOraProd, "20:48"}, {ui.txtLotto, "L2026-12-08-A-000001"},
                            {ui.mskQtCartoni, "99999999"}, {ui.mskQtBatch, "9999"}, {ui.mskQtPallet, "9999"},
                            {ui.mskTipoPallet, "9"}, {ui.mskQtBatchMulti, "9999"}}},
            {ui.tabRistampa, {{ui.txtSSCC, "380012345000000017"}, {ui.mskQtRistampa, "9999"}}},
            {ui.tabImballi, {{ui.mskQtImballi, "9999"}}},
            {ui.tabDDT, {{ui.txtNumDDT, "2026/12345"}, {ui.mskDataDDT, "28/12/26"}, {ui.mskQtDDT, "9999"}}},
            {ui.tabCerca, {{ui.txtCercaLotto, "L2026-12-08-A-000001"}, {ui.txtCercaSSCC, "380012345000000017"}}},
            {nullptr, article}};
}

// Room for text inside a line edit: its frame and Qt's fixed margin of 2 pixels a side come off.
int TextRoom(const QLineEdit& field)
{
    const int frame = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &field);
    return field.contentsRect().width() - 2 * (frame + 2);
}

} // namespace

TEST_F(MainWindow, EveryFieldReadsWholeOnA1280x800Screen)
{
    frmArticoli w;
    w.Form_Load();
    // The window opens within the smallest screen and goes no smaller.
    EXPECT_LE(w.width(), 1280);
    EXPECT_LE(w.height(), 800);
    EXPECT_LE(w.minimumSizeHint().width(), 1280);
    w.show();
    // The mixed-lot grid shows its columns whole at the size the window opens with.
    const FlexGrid& grid = *w.ui.flxLotti;
    int columns = 0;
    for (int c = 0; c < grid.columnCount(); ++c) columns += grid.columnWidth(c);
    EXPECT_LE(columns, grid.viewport()->width());
    EXPECT_GE(grid.columnWidth(1), grid.fontMetrics().horizontalAdvance(QStringLiteral("L2026-12-08"))) << "room for a lot";
    for (const QSize size : {QSize(1280, 800), QSize(1920, 1080)}) {
        w.resize(size);
        for (const auto& [page, fields] : WidestTexts(w.ui)) {
            if (page) w.ui.SSTab1->setCurrentWidget(page);
            QApplication::processEvents();
            for (const auto& [field, text] : fields) {
                field->setText(QString::fromUtf8(text));
                EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), TextRoom(*field))
                    << field->objectName().toStdString() << " at " << size.width() << "x" << size.height();
            }
        }
    }
}

namespace {

class MainWindowDocs : public MainWindow {};

// Writes docs/main-window.png when STIVORA_DOCS names the docs folder: the window at the size it
// opens with, an article loaded and a pallet just printed.
TEST_F(MainWindowDocs, WritesTheScreenshot)
{
    const char* dir = std::getenv("STIVORA_DOCS");
    if (!dir) GTEST_SKIP() << "STIVORA_DOCS not set";
    RecordingPrinterSystem printer{{{QStringLiteral("PDF"), QString(), QString()}}, QStringLiteral("PDF")};
    SetPrinterSystem(&printer);
    SetSetup({{"ReportPrinter", QStringLiteral("PDF")}, {"contatore", 41}});
    AddArticle();
    frmArticoli w;
    w.Form_Load();
    w.ui.chkAnteprima->setChecked(false);
    w.ui.chkAutoLotto->setChecked(false);
    w.ui.txtLotto->setText(QStringLiteral("L0342"));
    w.ui.mskQtCartoni->setText(QStringLiteral("40"));
    w.show();
    w.ui.cmdStampa->click();
    SetPrinterSystem(nullptr);
    EXPECT_EQ(printer.jobs().size(), 1u);
    QApplication::processEvents();
    EXPECT_TRUE(w.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("main-window.png"))));
}

} // namespace
