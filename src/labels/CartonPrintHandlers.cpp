// The print button of the carton tab: a run of identical carton labels for the current article,
// with the lot and the production moment of the pallet tab. No SSCC, counter or archive is touched.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "core/ui/Dialogs.h"
#include "labels/CartonLabel.h"
#include "labels/PrintTransaction.h"
#include "labels/SymbolRefusal.h"
#include "reports/StampaReport.h"

#include <QScopeGuard>

namespace {

const QString kErrore = QStringLiteral("Errore");

bool Refused(const std::optional<JobRefusal>& refusal)
{
    if (refusal) MsgBox(refusal->message, refusal->icon | vbOKOnly, kErrore);
    return refusal.has_value();
}

} // namespace

void frmArticoli::cmdStampaImballi_Click()
{
    if (rsArticoli->IsEmpty()) {
        MsgBox(QStringLiteral("Selezionare un articolo."), vbCritical | vbOKOnly, kErrore);
        return;
    }
    if (rsArticoli->Eof()) return;
    CaricaArticoloStampa();
    StampaEtichetteImballi();
}

void frmArticoli::StampaEtichetteImballi()
{
    const QString copie = ui.mskQtImballi->text();
    if (Refused(CheckLabelJob({ui.mskOraProd->text(), ui.txtLotto->text(), ui.mskDataProduzione->text(), copie}))) return;
    const QString name = ArticleName(NzStr(rsArticoli->Value(QStringLiteral("Sigla"))), ui.txtCodInternoS->text(), ui.txtEANS->text());
    // The run would otherwise print labels with the production date as expiry, or without a barcode.
    if (Refused(CheckCartonArticle(name, ui.txtDurataProdottoS->text(), ::Tag(ui.txtDurataProdottoS), ui.txtGTINS->text())))
        return;
    const bool preview = ui.chkAnteprimaImballi->isChecked() && ModoInterattivo;
    if (!ui.chkAnteprimaImballi->isChecked() && ModoInterattivo && NumericValue(copie) > 1
        && MsgBox(QStringLiteral("Confermi la stampa di ") + copie + QStringLiteral(" etichette?"), vbYesNo | vbQuestion,
                  QStringLiteral("Richiesta"))
               != vbYes)
        return;

    ui.cmdStampaImballi->setEnabled(false);
    const auto enable = qScopeGuard([this] { ui.cmdStampaImballi->setEnabled(true); });
    WaitCursor hourglass;

    const QDateTime clock = ui.chkAutoUpdate->isChecked() ? LeggiOrologio() : QDateTime();
    CartonLabelArgs a;
    a.codInterno = ui.txtCodInternoS->text();
    a.descrizione1 = ui.txtDescrizioneS->text();
    a.descrizione2 = ui.txtDescrizione2S->text();
    a.eanCartone = ui.txtGTINS->text();
    a.qtCassa = ui.txtQTCassaS->text();
    // The product life counted in hours starts from the production time.
    a.produzione = ReadDateTime(ui.mskDataProduzione->text(), ui.mskOraProd->text()).value_or(QDateTime());
    a.scadenza = CalcolaScadenza(a.produzione, int(NumericValue(ui.txtDurataProdottoS->text())), ::Tag(ui.txtDurataProdottoS).toInt());
    a.expiryRule = rsSetup->Value(QStringLiteral("CalcScadenza")).toInt();
    if (ui.chkAutoLotto->isChecked()) ui.txtLotto->setText(ComponiLotto(a.scadenza, clock));
    a.lotto = ui.txtLotto->text();

    InviaEtichetteImballi(MakeCartonRow(a), int(NumericValue(copie)), preview);
}

void frmArticoli::InviaEtichetteImballi(const CartonRow& row, int copies, bool preview)
{
    ReportJob job = CartonLabelJob(preview, copies);
    ChoosePrinter(job);
    JournalEntry resend;
    resend.kind = JournalEntry::Kind::Cartons;
    resend.copies = copies;
    resend.carton = row;
    PrintTakingRequest(*DB, richiestaInStampa_, resend, [&] {
        WriteCartonRow(row);
        return JobSteps(BindReport(job), Report2);
    });
    if (richiestaInStampa_) richiestaConsumata_ = true;
}

void frmArticoli::mskQtImballi_GotFocus() { ui.mskQtImballi->setSelection(0, int(ui.mskQtImballi->text().size())); }
