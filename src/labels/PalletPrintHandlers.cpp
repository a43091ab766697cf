// The print button of the pallet tab: checks the job, assigns SSCCs, prints pallet by pallet.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/HandlerGuard.h"
#include "core/SetupRow.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "core/ui/Dialogs.h"
#include "labels/LabelJob.h"
#include "labels/PalletLabel.h"
#include "labels/PrintOutcome.h"
#include "labels/PrintTransaction.h"
#include "labels/Sscc.h"
#include "reports/StampaReport.h"

namespace {

const QString kErrore = QStringLiteral("Errore");

} // namespace

void frmArticoli::cmdStampa_Click()
{
    if (rsArticoli->IsEmpty()) {
        MsgBox(QStringLiteral("Selezionare un articolo."), vbCritical | vbOKOnly, kErrore);
        return;
    }
    if (rsArticoli->Eof()) return;
    CaricaArticoloStampa();
    StampaPallet();
}

void frmArticoli::CaricaArticoloStampa()
{
    const Recordset& a = *rsArticoli;
    const QString descrizione = NzStr(a.Value(QStringLiteral("Descrizione")));
    ui.txtCodInternoS->setText(NzStr(a.Value(QStringLiteral("CodInterno"))));
    ui.txtDescrizioneS->setText(descrizione.left(40).trimmed());
    ui.txtDescrizione2S->setText(descrizione.mid(40, 40).trimmed());
    ui.txtEANS->setText(NzStr(a.Value(QStringLiteral("EANArticolo"))));
    ui.txtQTCassaS->setText(GeneralNumber(a.Value(QStringLiteral("QtCartone")).toDouble()));
    ui.txtGTINS->setText(NzStr(a.Value(QStringLiteral("EANCartone"))));
    ui.txtPesoCassaS->setText(ReplaceAll(GeneralNumber(a.Value(QStringLiteral("PesoCartone")).toDouble()), QStringLiteral(","),
                                         QStringLiteral(".")));
    ui.txtTipoPalletS->setText(NzStr(a.Value(QStringLiteral("TipoPallet"))));
    ui.txtQTPalletS->setText(ui.mskQtCartoni->text());
    // A missing product life stays empty here, so the print refuses the article instead of guessing.
    const ProductLife life = ProductLifeOf(a.Value(QStringLiteral("DurataProdotto")), a.Value(QStringLiteral("UnitaDurata")));
    ui.txtDurataProdottoS->setText(life.durata);
    SetTag(ui.txtDurataProdottoS, life.unita);
    ui.txtPrefGTINS->setText(NzStr(a.Value(QStringLiteral("PrefGTIN"))));
}

bool frmArticoli::ControllaLavoro()
{
    if (const auto refusal = CheckLabelJob({ui.mskOraProd->text(), ui.txtLotto->text(), ui.mskDataProduzione->text(), ui.mskQtBatch->text()})) {
        MsgBox(refusal->message, refusal->icon | vbOKOnly, kErrore);
        return false;
    }
    if (ui.cmdStampa->text() == QLatin1String("&Stampa") && rsSetup->Value(QStringLiteral("ForzaDDT")).toBool()
        && ui.txtNumDDT->text().isEmpty()) {
        MsgBox(QStringLiteral("Introdurre prima i dati del DDT."), vbInformation | vbOKOnly, QStringLiteral("Attenzione"));
        return false;
    }
    return true;
}

void frmArticoli::StampaPallet()
{
    if (!ControllaLavoro()) return;
    const bool singleLot = ui.cmdStampa->text() == QLatin1String("&Stampa");
    if (const QString why = singleLot ? RifiutoEtichettaPallet() : QString(); !why.isEmpty()) {
        MsgBox(why, vbCritical | vbOKOnly, kErrore);
        return;
    }
    AbilitaControlli(false);
    bool resetCount = true;
    try {
        if (singleLot) resetCount = StampaPalletSingoli();
        else AggiungiLotto();
    } catch (const AppError& e) {
        MostraErrore(e);
    }
    if (resetCount) ui.mskQtPallet->setText(QStringLiteral("1"));
    AbilitaControlli(true);
}

// False when the run stopped before its last pallet (a duplicate SSCC, a failure): the pallet count
// then holds the pallets still to print, and the message says how many were printed.
bool frmArticoli::StampaPalletSingoli()
{
    const qint64 firstSerial = CounterInFile(*rsSetup) + 1;
    const QString first = ComposeSscc(ui.txtTipoPalletS->text(), *rsSetup, firstSerial);
    if (SsccArchiviato(*rsAppTestate, first)) {
        MsgBox(SsccEsistente(), vbCritical | vbOKOnly, kErrore);
        return false;
    }
    if (!ui.chkUpdateSSCC->isChecked()) ui.mskQtPallet->setText(QStringLiteral("1"));
    qint64 pallets = 1;
    if (NumericValue(ui.mskQtPallet->text()) > 1) {
        const int answer = MsgBox(QStringLiteral("Confermi la stampa di etichette per ") + ui.mskQtPallet->text() + QStringLiteral(" pallet?"),
                                  vbYesNo | vbQuestion, QStringLiteral("Richiesta"));
        if (answer != vbYes) return true;
        pallets = qRound64(NumericValue(ui.mskQtPallet->text()));
        // A run the counter cannot finish is not started.
        if (const QString why = SerialRefusal(NzStr(rsSetup->Value(QStringLiteral("CodProduttore"))), firstSerial + pallets - 1);
            !why.isEmpty()) {
            MsgBox(why, vbCritical | vbOKOnly, kErrore);
            return false;
        }
    }
    const auto stop = [&](const QString& why, int style, qint64 printed) {
        MsgBox(why + (printed > 0 && pallets > 1 ? SerieInterrotta(printed, pallets) : QString()), style | vbOKOnly, kErrore);
        if (printed == pallets) return true;
        ui.mskQtPallet->setText(QString::number(pallets - printed));
        return false;
    };
    for (qint64 done = 0; done < pallets; ++done) {
        // Every pallet's SSCC is checked as it is reserved, so a counter behind the archive never issues one twice.
        std::optional<PrintedPallet> pallet;
        try {
            pallet = PreparaEtichettaPallet();
        } catch (const AppError& e) {
            // Its preview closed without printing: the pallet was given back, and the run goes on.
            if (e.number() == kAnteprimaNonStampata) continue;
            // The pallet in progress left no records; the operator reads why and can go on.
            return stop(QStringLiteral("Errore: ") + e.description(), vbExclamation, done);
        }
        if (!pallet) return stop(SsccEsistente(), vbCritical, done);
        if (!ui.txtNumDDT->text().isEmpty()) {
            ui.flxDDT->AddItem(pallet->sscc);
            ui.cmdSalvaDDT->setEnabled(true);
        }
    }
    return true;
}

void frmArticoli::AggiungiLotto()
{
    if (ui.chkAutoUpdate->isChecked()) cmdDataOra_Click();
    if (ui.chkAutoLotto->isChecked()) LottoAutomatico();
    ui.flxLotti->AddItem(ui.txtEANS->text() + u'\t' + ui.txtLotto->text() + u'\t' + ui.mskDataProduzione->text() + u' '
                         + ui.mskOraProd->text() + u'\t' + ui.mskQtCartoni->text());
    ui.flxLotti->SetRowData(ui.flxLotti->Rows() - 1, rsArticoli->Value(QStringLiteral("ID")).toLongLong());
}

void frmArticoli::AbilitaControlli(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui.cmdStampa, ui.SSTab1, ui.cmdAvanti, ui.cmdIndietro, ui.cmdListaArticoli,
                                                      ui.cmdCercaAbb, ui.cmdCercaInterno, ui.cmdNuovoArticolo, ui.cmdCopiaArticolo,
                                                      ui.cmdModificaArticolo, ui.cmdEliminaArticolo, ui.cmdAnnulla})
        w->setEnabled(enabled);
    ui.mnuImpostazioni->setEnabled(enabled);
    ui.mnuAzzeraStorico->setEnabled(enabled);
}

std::optional<PrintedPallet> frmArticoli::PreparaEtichettaPallet()
{
    const QDateTime clock = ui.chkAutoUpdate->isChecked() ? LeggiOrologio() : QDateTime();
    const QDateTime production = ReadDateTime(ui.mskDataProduzione->text(), ui.mskOraProd->text()).value_or(QDateTime());
    const int rule = rsSetup->Value(QStringLiteral("CalcScadenza")).toInt();
    const QDateTime expiry = CalcolaScadenza(production, int(NumericValue(ui.txtDurataProdottoS->text())),
                                             ::Tag(ui.txtDurataProdottoS).toInt());
    if (ui.chkAutoLotto->isChecked()) ui.txtLotto->setText(ComponiLotto(expiry, clock));

    EtichettaMulti = false;
    ArticoloUnico = true;
    PalletLabelArgs a = ArgomentiEtichetta();
    a.produzioneText = ProductionText(production, rsSetup->Value(QStringLiteral("StampaDataProd")).toBool(),
                                      rsSetup->Value(QStringLiteral("StampaOraProd")).toBool());
    a.produzione = production;
    a.scadenza = expiry;
    a.scadenzaText = ExpiryText(expiry, rule);
    a.archive = true;
    a.advanceCounter = ui.chkUpdateSSCC->isChecked();
    a.preview = ui.chkAnteprima->isChecked() && ModoInterattivo;
    return StampaEtichettaPallet(a);
}

PalletLabelArgs frmArticoli::ArgomentiEtichetta() const
{
    PalletLabelArgs a;
    a.codInterno = ui.txtCodInternoS->text();
    a.descrizione1 = ui.txtDescrizioneS->text();
    a.descrizione2 = ui.txtDescrizione2S->text();
    a.tipoPallet = ui.txtTipoPalletS->text();
    a.prefGTIN = ui.txtPrefGTINS->text();
    a.eanCartone = ui.txtGTINS->text();
    a.qtCartoni = ui.mskQtCartoni->text();
    a.qtCassa = ui.txtQTCassaS->text();
    a.eanArticolo = ui.txtEANS->text();
    a.lotto = ui.txtLotto->text();
    a.pesoCassa = ui.txtPesoCassaS->text();
    a.copie = ui.mskQtBatch->text();
    return a;
}

std::optional<PrintedPallet> frmArticoli::StampaEtichettaPallet(const PalletLabelArgs& a, bool copyCopies)
{
    ReportJob job = PalletLabelJob(a.preview, 1);
    ChoosePrinter(job);
    // A preview closed without printing sent nothing: the pallet is given back.
    const auto printed = ::StampaEtichettaPallet(
        a,
        [&](const std::function<void()>& printing) {
            job.previewPrinting = printing;
            return JobSteps(BindReport(job), MyReport, true);
        },
        PalletInStampa(), serialeRichiesta_);
    if (!printed) return std::nullopt;
    if (richiestaInStampa_) richiestaConsumata_ = true;
    if (printed->reserved.counterWritten) ui.txtContatoreSSCC->setText(QString::number(printed->reserved.contatore));
    if (copyCopies) ui.mskQtRistampa->setText(a.copie);
    if (a.archive) {
        ui.txtSSCC->setText(printed->sscc);
        SetTag(ui.txtSSCC, QString::number(printed->reserved.recorded.idAppTestate));
    }
    return printed;
}

void frmArticoli::cmdIncrementa_Click()
{
    QString refusal;
    try {
        AdvanceCounter(*DB, *rsSetup, [&](qint64 contatore) {
            // The counter holds the last serial used: the one after the new value must still make an SSCC.
            refusal = SerialRefusal(NzStr(rsSetup->Value(QStringLiteral("CodProduttore"))), contatore + 2);
            if (!refusal.isEmpty()) throw AppError(0, QStringLiteral("SSCC"), refusal);
            return contatore + 1;
        });
    } catch (const AppError&) {
        if (refusal.isEmpty()) ShowDBErrors(*DB);
        else MsgBox(refusal, vbCritical | vbOKOnly, kErrore);
    }
    ui.txtContatoreSSCC->setText(GeneralNumber(rsSetup->Value(QStringLiteral("contatore")).toDouble()));
}

void frmArticoli::mskQtCartoni_GotFocus() { ui.mskQtCartoni->setSelection(0, int(ui.mskQtCartoni->text().size())); }
