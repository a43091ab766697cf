#include "core/Globals.h"
#include "core/Startup.h"
#include "core/frmArticoli.h"
#include "core/frmImpostazioni.h"
#include "core/Utility.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QTest>

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
    w.ui.mnuManuale->trigger();
    SetShellOpenHandler(nullptr);
    EXPECT_EQ(opened, (QStringList{folder.path() + QStringLiteral("/Intestazioni"), folder.path() + QStringLiteral("/manuale.pdf")}));
}
