#include "core/Globals.h"
#include "core/Startup.h"
#include "core/frmCartella.h"
#include "core/frmImpostazioni.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPrintDialog>
#include <QTest>

namespace {

class SettingsDialog : public testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = folder.path();
        ASSERT_TRUE(ApriDatabase());
        SetPrinterSystem(&printers);
    }
    void TearDown() override
    {
        SetPrinterSystem(nullptr);
        CloseDatabase();
    }

    static QVariant stored(const char* column)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM Setup"));
        return rs->Value(QString::fromLatin1(column));
    }
    static void store(const char* column, const QVariant& value)
    {
        rsSetup->Edit();
        rsSetup->SetValue(QString::fromLatin1(column), value);
        rsSetup->Update();
    }
    static void type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    TestDataFolder folder;
    RecordingPrinterSystem printers{{PrinterInfo{QStringLiteral("Zebra"), {}, {}}, PrinterInfo{QStringLiteral("Laser"), {}, {}}},
                                    QStringLiteral("Laser")};
};

} // namespace

TEST_F(SettingsDialog, ProducerCodeMustHaveFiveOrSevenCharacters)
{
    frmImpostazioni dialog;
    type(dialog.ui.txtCodProduttore, QStringLiteral("123456"));
    dialog.ui.cmdOk->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Il codice produttore deve essere di 5 o 7 cifre."));
    EXPECT_EQ(Dialogs().messages()[0].icon(), vbCritical);
    EXPECT_EQ(Dialogs().messages()[0].title, QStringLiteral("Errore"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("CodProduttore").toString(), QStringLiteral("12345"));

    // Country and producer take digits only, typed or pasted; letters another program stored are
    // refused by name, and the pieces must make an SSCC of 18 digits.
    type(dialog.ui.txtCodProduttore, QStringLiteral("ab123c45"));
    EXPECT_EQ(dialog.ui.txtCodProduttore->text(), QStringLiteral("12345"));
    QApplication::clipboard()->setText(QStringLiteral("8x"));
    dialog.ui.txtPaese->selectAll();
    dialog.ui.txtPaese->paste();
    EXPECT_EQ(dialog.ui.txtPaese->text(), QStringLiteral("8"));
    const std::pair<const char*, const char*> refused[] = {
        {"8x", "Il paese dell'SSCC (\"8x\") deve essere di sole cifre."},
        {"8", "L'SSCC deve avere 18 cifre: con il paese \"8\" e la postazione \"1\" ne avrebbe 17."},
    };
    for (const auto& [paese, message] : refused) {
        Dialogs().reset();
        dialog.ui.txtPaese->setText(QString::fromLatin1(paese));
        dialog.ui.cmdOk->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << paese;
        EXPECT_EQ(Dialogs().messages()[0].prompt, QString::fromUtf8(message));
    }
    Dialogs().reset();
    dialog.ui.txtCodProduttore->setText(QStringLiteral("ab123"));
    dialog.ui.cmdOk->click();
    EXPECT_EQ(Dialogs().prompts(), std::vector<QString>{QStringLiteral("Il codice produttore deve essere di 5 o 7 cifre.")});
    EXPECT_EQ(stored("Paese").toString(), QStringLiteral("80"));
    EXPECT_EQ(stored("CodProduttore").toString(), QStringLiteral("12345"));
}

// The counter must still make an SSCC: the next serial fits the digits the producer code leaves.
TEST_F(SettingsDialog, ACounterThatCannotMakeAnSsccIsRefusedByName)
{
    store("contatore", 41);
    frmImpostazioni dialog;
    type(dialog.ui.txtPaese, QStringLiteral("99"));
    for (const char* counter : {"-5", "abc", "", "99999999999999999999", "99999999"}) {
        Dialogs().reset();
        type(dialog.ui.txtSSCC, QString::fromLatin1(counter));
        dialog.ui.cmdOk->click();
        ASSERT_EQ(Dialogs().messages().size(), 1u) << counter;
        EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Contatore SSCC: inserire un numero intero da 0 a 99999998."));
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(stored("contatore").toLongLong(), 41);
    EXPECT_EQ(stored("Paese").toString(), QStringLiteral("80"));

    // A seven-character producer code leaves six digits to the serial.
    Dialogs().reset();
    type(dialog.ui.txtCodProduttore, QStringLiteral("1234567"));
    type(dialog.ui.txtSSCC, QStringLiteral("999999"));
    dialog.ui.cmdOk->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Contatore SSCC: inserire un numero intero da 0 a 999998."));
    Dialogs().reset();
    type(dialog.ui.txtSSCC, QStringLiteral("999998"));
    dialog.ui.cmdOk->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("contatore").toLongLong(), 999998);

    // A counter left as shown is not written back over one another program advanced meanwhile.
    frmImpostazioni again;
    DB->ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = 500000"));
    again.ui.cmdOk->click();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(stored("contatore").toLongLong(), 500000);
}

TEST_F(SettingsDialog, DecimalCommaWeightsOfSeveralPalletsAndTheAIOrderAreSaved)
{
    frmImpostazioni dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Impostazioni"));
    type(dialog.ui.txtMargineSinistro, QStringLiteral("5,5"));
    type(dialog.ui.txtMargineSuperioreImballi, QStringLiteral("2,25"));

    EXPECT_EQ(dialog.ui.txtPeso->text(), QStringLiteral("25"));
    type(dialog.ui.txtPeso, QStringLiteral("31,5"));
    dialog.ui.cmbPallet->setCurrentIndex(2);
    EXPECT_EQ(dialog.ui.txtPeso->text(), QStringLiteral("15"));
    type(dialog.ui.txtPeso, QStringLiteral("18"));
    dialog.ui.cmbPallet->setCurrentIndex(0);
    EXPECT_EQ(dialog.ui.txtPeso->text(), QStringLiteral("31.5").replace(u'.', QLocale::system().decimalPoint()));
    dialog.ui.cmbPallet->setCurrentIndex(9);
    type(dialog.ui.txtPeso, QStringLiteral("7"));

    dialog.ui.lstOrdineAI->setCurrentRow(4);
    ASSERT_EQ(dialog.ui.lstOrdineAI->currentItem()->text(), QStringLiteral("10 Lotto"));
    for (int i = 0; i < 5; ++i) dialog.ui.cmdSu->click();
    EXPECT_EQ(dialog.ui.lstOrdineAI->currentRow(), 0);
    dialog.ui.lstOrdineAI->setCurrentRow(5);
    dialog.ui.cmdGiu->click();
    EXPECT_EQ(dialog.ui.lstOrdineAI->currentRow(), 5);

    dialog.ui.cmdOk->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(stored("MargineSinistro").toDouble(), 5.5);
    EXPECT_DOUBLE_EQ(stored("MargineSuperioreImballi").toDouble(), 2.25);
    EXPECT_DOUBLE_EQ(stored("pesoPallet1").toDouble(), 31.5);
    EXPECT_DOUBLE_EQ(stored("PesoPallet3").toDouble(), 18);
    EXPECT_DOUBLE_EQ(stored("PesoPallet0").toDouble(), 7);
    EXPECT_EQ(stored("OrdineAI").toString(), QStringLiteral("512346"));
}

TEST_F(SettingsDialog, CancelDropsWhatWasTyped)
{
    frmImpostazioni dialog;
    type(dialog.ui.txtPeso, QStringLiteral("99"));
    type(dialog.ui.txtSSCC, QStringLiteral("500"));
    dialog.ui.cmdCancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_DOUBLE_EQ(stored("pesoPallet1").toDouble(), 25);
    EXPECT_EQ(stored("contatore").toLongLong(), 0);
}

TEST_F(SettingsDialog, ShortAIOrderAndUnknownValuesLoadAsFarAsTheyGo)
{
    store("OrdineAI", QStringLiteral("15x3"));
    store("Lingua", QStringLiteral("7"));
    store("CalcScadenza", 9);
    frmImpostazioni dialog;
    EXPECT_EQ(dialog.ui.lstOrdineAI->count(), 3);
    EXPECT_EQ(dialog.ui.cmbLingue->currentIndex(), -1);
    EXPECT_EQ(dialog.ui.cmbScadenza->currentIndex(), 0);
    dialog.ui.cmdOk->click();
    EXPECT_EQ(stored("OrdineAI").toString(), QStringLiteral("153"));
    EXPECT_EQ(stored("Lingua").toString(), QStringLiteral("7"));
}

TEST_F(SettingsDialog, PrinterThatIsNoLongerInstalledGivesWayToTheFirst)
{
    store("ReportPrinter", QStringLiteral("Vecchia"));
    store("ImballiPrinter", QStringLiteral("Laser"));
    frmImpostazioni dialog;
    EXPECT_EQ(dialog.ui.StampantiReport->currentText(), QStringLiteral("Zebra"));
    EXPECT_EQ(dialog.ui.StampantiImballi->currentText(), QStringLiteral("Laser"));
    dialog.ui.cmdOk->click();
    EXPECT_EQ(stored("ReportPrinter").toString(), QStringLiteral("Zebra"));
    EXPECT_EQ(stored("ImballiPrinter").toString(), QStringLiteral("Laser"));
}

TEST_F(SettingsDialog, NoPrinterSavesEmptyNames)
{
    RecordingPrinterSystem none({}, QString());
    SetPrinterSystem(&none);
    store("ReportPrinter", QStringLiteral("Zebra"));
    frmImpostazioni dialog;
    EXPECT_EQ(dialog.ui.StampantiReport->count(), 0);
    dialog.ui.cmdImposta->click();
    dialog.ui.cmdOk->click();
    EXPECT_EQ(stored("ReportPrinter").toString(), QString());
    EXPECT_EQ(stored("ImballiPrinter").toString(), QString());
}

TEST_F(SettingsDialog, PrinterSetUpMakesThePrinterCurrent)
{
    frmImpostazioni dialog;
    for (int i = 0; i < 2; ++i)
        Dialogs().onModal([](QDialog& setup) {
            EXPECT_TRUE(qobject_cast<QPrintDialog*>(&setup));
            return int(QDialog::Rejected);
        });
    dialog.ui.StampantiReport->setCurrentIndex(0);
    dialog.ui.cmdImposta->click();
    EXPECT_EQ(CurrentPrinter().deviceName, QStringLiteral("Zebra"));
    dialog.ui.StampantiImballi->setCurrentIndex(1);
    dialog.ui.cmdImpostaImballi->click();
    EXPECT_EQ(CurrentPrinter().deviceName, QStringLiteral("Laser"));
    EXPECT_EQ(Dialogs().modalCount(), 2);
}

TEST_F(SettingsDialog, DigitFieldsDropOtherKeys)
{
    frmImpostazioni dialog;
    type(dialog.ui.txtPostazione, QStringLiteral("a 7"));
    EXPECT_EQ(dialog.ui.txtPostazione->text(), QStringLiteral("7"));
    type(dialog.ui.txtQtCartone, QStringLiteral("2.5"));
    EXPECT_EQ(dialog.ui.txtQtCartone->text(), QStringLiteral("25"));
    // Enter is "&Ok"'s, in these fields as in the others.
    dialog.show();
    dialog.ui.txtPostazione->setFocus();
    QTest::keyClick(dialog.ui.txtPostazione, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("Postazione").toString(), QStringLiteral("7"));
    EXPECT_EQ(stored("QtDefault").toInt(), 25);
}

TEST_F(SettingsDialog, FolderPickerStartsAtTheRootWhenTheFolderIsMissing)
{
    frmImpostazioni dialog;
    Dialogs().onModal([](QDialog& picker) {
        EXPECT_EQ(picker.windowTitle(), QStringLiteral(" Cartella per i file di richiesta"));
        EXPECT_EQ(static_cast<frmCartella&>(picker).Path(), QStringLiteral("/"));
        return int(QDialog::Rejected);
    });
    dialog.ui.cmdCambia->click();
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt, QStringLiteral("Attenzione la cartella predefinita non è disponibile"));
    EXPECT_EQ(Dialogs().messages()[0].title, QStringLiteral("Stivora"));
    EXPECT_EQ(dialog.ui.txtCartellaRichieste->text(), QStringLiteral("/"));
}

TEST_F(SettingsDialog, FolderPickerWritesTheChosenFolderOnOk)
{
    QDir(folder.path()).mkpath(QStringLiteral("richieste/nuove"));
    QLineEdit field(QStringLiteral(" %1/richieste ").arg(folder.path()));
    frmCartella picker(field);
    EXPECT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(picker.Path(), folder.path() + QStringLiteral("/richieste"));
    ASSERT_TRUE(picker.SetPath(folder.path() + QStringLiteral("/richieste/nuove")));
    picker.ui.cmdAnnulla->click();
    EXPECT_EQ(field.text(), QStringLiteral(" %1/richieste ").arg(folder.path()));
    picker.ui.cmdOk->click();
    EXPECT_EQ(field.text(), folder.path() + QStringLiteral("/richieste/nuove"));
}

// Field lengths limit what is typed: longer stored defaults are shown and saved back whole.
TEST_F(SettingsDialog, StoredDefaultsLongerThanTheirFieldsAreKeptWhole)
{
    store("DurataDefault", 1095);
    store("QtDefault", 123456);
    frmImpostazioni dialog;
    EXPECT_EQ(dialog.ui.txtDurata->text(), QStringLiteral("1095"));
    EXPECT_EQ(dialog.ui.txtQtCartone->text(), QStringLiteral("123456"));
    dialog.ui.StampantiReport->setCurrentIndex(1);
    dialog.ui.cmdOk->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("DurataDefault").toInt(), 1095);
    EXPECT_EQ(stored("QtDefault").toInt(), 123456);

    frmImpostazioni again;
    type(again.ui.txtDurata, QStringLiteral("12345"));
    EXPECT_EQ(again.ui.txtDurata->text(), QStringLiteral("123"));
    again.ui.cmdOk->click();
    EXPECT_EQ(stored("DurataDefault").toInt(), 123);
    EXPECT_EQ(stored("QtDefault").toInt(), 123456);
}
