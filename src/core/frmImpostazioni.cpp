#include "core/frmImpostazioni.h"

#include "core/Formats.h"
#include "core/HandlerGuard.h"
#include "core/Globals.h"
#include "core/OrdineAI.h"
#include "core/SetupRow.h"
#include "core/Utility.h"
#include "core/frmCartella.h"
#include "core/ui/Dialogs.h"
#include "core/ui/KeyFilter.h"
#include "core/ui/TypingLimit.h"
#include "labels/Sscc.h"
#include "reports/PrinterSystem.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

// Setup columns of the pallet weights, in the order of the weight entries.
const char* const kPesoPallet[10] = {"pesoPallet1", "PesoPallet2", "PesoPallet3", "PesoPallet4", "PesoPallet5",
                                     "PesoPallet6", "PesoPallet7", "PesoPallet8", "PesoPallet9", "PesoPallet0"};

struct CheckColumn {
    const char* column;
    QCheckBox* Ui::frmImpostazioni::*box;
};

const CheckColumn kChecks[] = {
    {"StampaCodInterno", &Ui::frmImpostazioni::chkCodInterno},
    {"StampaDataProd", &Ui::frmImpostazioni::chkDataProduzione},
    {"StampaOraProd", &Ui::frmImpostazioni::chkOraProduzione},
    {"StampaEANProd", &Ui::frmImpostazioni::chkEANProdotto},
    {"StampaEANCartone", &Ui::frmImpostazioni::chkEANCartone},
    {"StampaPezzi", &Ui::frmImpostazioni::chkTotaleProdotti},
    {"StampaScadenza", &Ui::frmImpostazioni::chkScadenza},
    {"StampaPesoLordo", &Ui::frmImpostazioni::chkPesoLordo},
    {"ForzaDDT", &Ui::frmImpostazioni::chkForzaDDT},
    {"DoubleLayout", &Ui::frmImpostazioni::chkDoubleLayout},
};

struct NumberColumn {
    const char* column;
    QLineEdit* Ui::frmImpostazioni::*field;
};

// Margins may be typed with a decimal comma.
const NumberColumn kMargins[] = {
    {"MargineSinistro", &Ui::frmImpostazioni::txtMargineSinistro},
    {"MargineSuperiore", &Ui::frmImpostazioni::txtMargineSuperiore},
    {"MargineSinistroImballi", &Ui::frmImpostazioni::txtMargineSinistroImballi},
    {"MargineSuperioreImballi", &Ui::frmImpostazioni::txtMargineSuperioreImballi},
};

// Digits, and Enter for the default button "&Ok", as the other fields leave it.
int DigitOrEnterKey(int keyAscii, const QString& currentText) { return keyAscii == 13 ? keyAscii : DigitKey(keyAscii, currentText); }

QString col(const char* name) { return QString::fromLatin1(name); }
QVariant setup(const char* name) { return rsSetup->Value(col(name)); }
QString number(const char* name) { return GeneralNumber(setup(name).toDouble()); }

} // namespace

frmImpostazioni::frmImpostazioni(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    for (QLineEdit* digits : {ui.txtPaese, ui.txtCodProduttore, ui.txtDefaultPallet, ui.txtDurata, ui.txtPostazione, ui.txtQtCartone})
        InstallCharacterFilter(digits, DigitOrEnterKey);
    connect(ui.cmdOk, &QPushButton::clicked, this, Protetto([this] { cmdOk_Click(); }));
    connect(ui.cmdCancel, &QPushButton::clicked, this, Protetto([this] { cmdCancel_Click(); }));
    connect(ui.cmdSu, &QPushButton::clicked, this, Protetto([this] { cmdSu_Click(); }));
    connect(ui.cmdGiu, &QPushButton::clicked, this, Protetto([this] { cmdGiu_Click(); }));
    connect(ui.cmdImposta, &QPushButton::clicked, this, Protetto([this] { cmdImposta_Click(); }));
    connect(ui.cmdImpostaImballi, &QPushButton::clicked, this, Protetto([this] { cmdImpostaImballi_Click(); }));
    connect(ui.cmdCambia, &QPushButton::clicked, this, Protetto([this] { cmdCambia_Click(); }));
    Form_Load();
    connect(ui.cmbPallet, &QComboBox::currentIndexChanged, this, Protetto([this] { cmbPallet_Click(); }));
}

void frmImpostazioni::Form_Load()
{
    // The row as it is now, with what other programs wrote since the program last read it.
    rsSetup->Refresh();
    ui.chkDataProduzione->setText(QStringLiteral("Data produzione"));
    ui.chkOraProduzione->setText(QStringLiteral("Ora produzione"));

    const QString lingua = NzStr(setup("Lingua"));
    ui.cmbLingue->setCurrentIndex(lingua == u"0" ? 0 : lingua == u"1" ? 1 : -1);

    ui.lstOrdineAI->clear();
    ui.lstOrdineAI->addItems(OrdineAIItems(NzStr(setup("OrdineAI"))));
    ui.lstOrdineAI->setCurrentRow(0);

    for (const NumberColumn& m : kMargins) (ui.*m.field)->setText(number(m.column));
    ui.txtSSCC->setText(number("contatore"));
    contatoreLetto_ = ui.txtSSCC->text();
    for (int i = 0; i < 10; ++i) pesi_[size_t(i)] = setup(kPesoPallet[i]).toDouble();

    ShowWhole(ui.txtPaese, NzStr(setup("Paese")));
    ShowWhole(ui.txtCodProduttore, NzStr(setup("CodProduttore")));
    ShowWhole(ui.txtPostazione, NzStr(setup("Postazione")));
    for (const CheckColumn& c : kChecks) (ui.*c.box)->setChecked(setup(c.column).toBool());

    const qint64 scadenza = setup("CalcScadenza").toLongLong();
    ui.cmbScadenza->setCurrentIndex(scadenza >= 1 && scadenza <= 4 ? int(scadenza) : 0);

    ShowWhole(ui.txtDefaultPallet, NzStr(setup("PalletDefault")));
    ShowWhole(ui.txtDurata, number("DurataDefault"));
    ShowWhole(ui.txtQtCartone, number("QtDefault"));
    ShowWhole(ui.txtMaskLotto, NzStr(setup("MaskLotto")));
    ShowWhole(ui.txtCartellaRichieste, NzStr(setup("CartellaRichieste")));
    const qint64 unita = setup("UnitaDurata").toLongLong();
    ui.cmbDurata->setCurrentIndex(unita >= 0 && unita < ui.cmbDurata->count() ? int(unita) : -1);

    palletCorrente_ = 0;
    ui.txtPeso->setText(GeneralNumber(pesi_[0]));
    ui.cmbPallet->setCurrentIndex(0);

    CaricaStampanti(*ui.StampantiReport, NzStr(setup("ReportPrinter")));
    CaricaStampanti(*ui.StampantiImballi, NzStr(setup("ImballiPrinter")));
}

// A saved printer that is no longer installed gives way to the first one of the system.
void frmImpostazioni::CaricaStampanti(QComboBox& list, const QString& saved)
{
    list.clear();
    for (const PrinterInfo& p : Printers().printers()) list.addItem(p.deviceName);
    const int found = list.findText(saved, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list.setCurrentIndex(found >= 0 || list.count() == 0 ? found : 0);
}

void frmImpostazioni::SalvaPesoPallet()
{
    if (palletCorrente_ >= 0) pesi_[size_t(palletCorrente_)] = DecimalValue(ui.txtPeso->text());
}

void frmImpostazioni::cmbPallet_Click()
{
    SalvaPesoPallet();
    palletCorrente_ = ui.cmbPallet->currentIndex();
    if (palletCorrente_ >= 0) ui.txtPeso->setText(GeneralNumber(pesi_[size_t(palletCorrente_)]));
}

void frmImpostazioni::cmdOk_Click()
{
    const QString codProduttore = ui.txtCodProduttore->text();
    if (!IsDigits(codProduttore) || (codProduttore.size() != 5 && codProduttore.size() != 7)) {
        MsgBox(QStringLiteral("Il codice produttore deve essere di 5 o 7 cifre."), vbCritical | vbOKOnly, QStringLiteral("Errore"));
        return;
    }
    // What the prefix pieces make must be an SSCC, whatever the row held before.
    if (const QString why = SsccRefusal(ui.txtPaese->text(), codProduttore, ui.txtPostazione->text(), 0); !why.isEmpty()) {
        MsgBox(why, vbCritical | vbOKOnly, QStringLiteral("Errore"));
        return;
    }
    if (!ContatoreValido()) return;
    SalvaPesoPallet();
    if (Salva()) accept();
}

// The counter is the last serial used: the next one must still fit the serial's digits, which the
// producer code's length fixes.
bool frmImpostazioni::ContatoreValido()
{
    const QString text = ui.txtSSCC->text().trimmed();
    const qint64 highest = HighestSerial(ui.txtCodProduttore->text()) - 1;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (IsDigits(text) && ok && value <= highest) return true;
    MsgBox(QStringLiteral("Contatore SSCC: inserire un numero intero da 0 a %1.").arg(highest), vbCritical | vbOKOnly,
           QStringLiteral("Errore"));
    return false;
}

// Writes the whole row at once; on a database error the row keeps its stored values.
bool frmImpostazioni::Salva()
{
    try {
        EditSetupRow(*DB, *rsSetup, [this](Recordset& row) { ScriviImpostazioni(row); });
        return true;
    } catch (const AppError& e) {
        if (DB->Errors().empty()) MostraErrore(e);
        else ShowDBErrors(*DB);
        MsgBox(QStringLiteral("Errore nel salvataggio"), vbCritical, QStringLiteral("Errore"));
        return false;
    }
}

void frmImpostazioni::ScriviImpostazioni(Recordset& row)
{
    if (ui.cmbLingue->currentIndex() == 0 || ui.cmbLingue->currentIndex() == 1)
        row.SetValue(QStringLiteral("Lingua"), QString::number(ui.cmbLingue->currentIndex()));
    // A counter the operator left as shown stays where other programs may have moved it meanwhile.
    if (ui.txtSSCC->text() != contatoreLetto_) row.SetValue(QStringLiteral("contatore"), ui.txtSSCC->text().trimmed().toLongLong());
    for (int i = 0; i < 10; ++i) row.SetValue(col(kPesoPallet[i]), pesi_[size_t(i)]);
    row.SetValue(QStringLiteral("Paese"), ui.txtPaese->text());
    row.SetValue(QStringLiteral("CodProduttore"), ui.txtCodProduttore->text());
    row.SetValue(QStringLiteral("ReportPrinter"), ui.StampantiReport->currentText());
    row.SetValue(QStringLiteral("ImballiPrinter"), ui.StampantiImballi->currentText());
    row.SetValue(QStringLiteral("Postazione"), ui.txtPostazione->text());
    for (const CheckColumn& c : kChecks) row.SetValue(col(c.column), (ui.*c.box)->isChecked());
    row.SetValue(QStringLiteral("CalcScadenza"), qMax(ui.cmbScadenza->currentIndex(), 0));
    row.SetValue(QStringLiteral("PalletDefault"), ui.txtDefaultPallet->text());
    row.SetValue(QStringLiteral("DurataDefault"), NumericValue(ui.txtDurata->text()));
    row.SetValue(QStringLiteral("QtDefault"), NumericValue(ui.txtQtCartone->text()));
    row.SetValue(QStringLiteral("MaskLotto"), ui.txtMaskLotto->text());
    row.SetValue(QStringLiteral("CartellaRichieste"), ui.txtCartellaRichieste->text());
    row.SetValue(QStringLiteral("UnitaDurata"), ui.cmbDurata->currentIndex());
    for (const NumberColumn& m : kMargins) row.SetValue(col(m.column), DecimalValue((ui.*m.field)->text()));
    QStringList items;
    for (int i = 0; i < ui.lstOrdineAI->count(); ++i) items << ui.lstOrdineAI->item(i)->text();
    row.SetValue(QStringLiteral("OrdineAI"), OrdineAIFromItems(items));
}

void frmImpostazioni::cmdCancel_Click() { reject(); }

void frmImpostazioni::ScambiaOrdineAI(int offset)
{
    const int row = ui.lstOrdineAI->currentRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= ui.lstOrdineAI->count()) return;
    QListWidgetItem* a = ui.lstOrdineAI->item(row);
    QListWidgetItem* b = ui.lstOrdineAI->item(other);
    const QString text = a->text();
    a->setText(b->text());
    b->setText(text);
    ui.lstOrdineAI->setCurrentRow(other);
}

void frmImpostazioni::cmdSu_Click() { ScambiaOrdineAI(-1); }

void frmImpostazioni::cmdGiu_Click() { ScambiaOrdineAI(+1); }

// Makes the printer current and opens the system's print set-up for it; what is chosen there is not kept.
void frmImpostazioni::ImpostaStampante(const QComboBox& list)
{
    if (list.currentIndex() < 0) return;
    const QString name = list.currentText().trimmed();
    for (const PrinterInfo& p : Printers().printers()) {
        if (p.deviceName != name) continue;
        SetCurrentPrinter(p);
        QPrinter printer;
        printer.setPrinterName(p.deviceName);
        QPrintDialog setup(&printer, this);
        ShowModal(setup);
        return;
    }
}

void frmImpostazioni::cmdImposta_Click() { ImpostaStampante(*ui.StampantiReport); }

void frmImpostazioni::cmdImpostaImballi_Click() { ImpostaStampante(*ui.StampantiImballi); }

void frmImpostazioni::cmdCambia_Click()
{
    frmCartella picker(*ui.txtCartellaRichieste, this);
    ShowModal(picker);
}
