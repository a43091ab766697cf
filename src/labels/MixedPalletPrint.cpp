// The print button of the mixed pallet: one row prints as an ordinary pallet label; several rows
// reserve the pallet's SSCC (counted, exported, archived) and then print a summary label and the
// article lists.
#include "core/frmArticoli.h"

#include "core/Clock.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/HandlerGuard.h"
#include "core/SetupRow.h"
#include "core/db/AppError.h"
#include "core/ui/ControlTag.h"
#include "core/ui/Dialogs.h"
#include "labels/ArticleListLabels.h"
#include "labels/MixedPallet.h"
#include "labels/PalletReservation.h"
#include "labels/PrintOutcome.h"
#include "labels/Sscc.h"
#include "labels/SymbolRefusal.h"
#include "reports/StampaReport.h"

#include <QScopeGuard>

namespace {

const QString kErrore = QStringLiteral("Errore");

std::vector<LotRow> lotRows(const FlexGrid& grid)
{
    std::vector<LotRow> rows;
    for (int r = 1; r < grid.Rows(); ++r)
        rows.push_back({grid.RowData(r).toLongLong(), grid.TextMatrix(r, 1), grid.TextMatrix(r, 2), grid.TextMatrix(r, 3)});
    return rows;
}

} // namespace

void frmArticoli::cmdStampaMulti_Click()
{
    ui.cmdStampaMulti->setEnabled(false);
    const auto unlock = qScopeGuard([this] { ui.cmdStampaMulti->setEnabled(true); });
    try {
        StampaMultiLotto();
    } catch (const AppError& e) {
        // Passive mode tries the request again at its next tick.
        if (!ModoInterattivo) throw;
        MostraErrore(e);
    }
}

void frmArticoli::StampaMultiLotto()
{
    const QString tipoPallet = ui.mskTipoPallet->text();
    const qint64 serial = serialeRichiesta_.value_or(CounterInFile(*rsSetup) + 1);
    // A serial cut to its digits would be an older pallet's: the end of the range is told as such.
    if (const QString why = SsccRefusal(*rsSetup, serial); !why.isEmpty()) {
        MsgBox(why, vbCritical | vbOKOnly, kErrore);
        return;
    }
    const QString sscc = ComposeSscc(tipoPallet, *rsSetup, serial);
    if (SsccArchiviato(*rsAppTestate, sscc)) {
        MsgBox(SsccEsistente(), vbCritical | vbOKOnly, kErrore);
        return;
    }
    if (ui.flxLotti->Rows() < 2) return;
    if (isVisible() && rsSetup->Value(QStringLiteral("ForzaDDT")).toBool() && ui.txtNumDDT->text().isEmpty()) {
        MsgBox(QStringLiteral("Introdurre prima i dati del DDT."), vbInformation | vbOKOnly, QStringLiteral("Attenzione"));
        return;
    }
    if (!IsPalletType(tipoPallet)) {
        MsgBox(QStringLiteral("Tipo pallet non valido!"), vbCritical | vbOKOnly, kErrore);
        return;
    }

    // The rows' articles are looked up on the window's recordset: the operator's article stays current.
    const std::optional<Bookmark> kept = rsArticoli->Eof() || rsArticoli->Bof() ? std::nullopt : std::optional(rsArticoli->GetBookmark());
    const auto restore = qScopeGuard([kept] {
        if (kept) rsArticoli->SetBookmark(*kept);
    });
    const QString copie = ui.mskQtBatchMulti->text();
    MixedPalletJob job = PrepareMixedPallet(lotRows(*ui.flxLotti), *rsArticoli, *rsSetup, tipoPallet, copie, serial,
                                            Now());
    if (!job.refusal.isEmpty()) {
        MsgBox(job.refusal, vbCritical | vbOKOnly, kErrore);
        return;
    }

    std::optional<PrintedPallet> printed;
    if (job.record.lines.size() == 1) {
        EtichettaMulti = false;
        ArticoloUnico = false;
        job.label.advanceCounter = ui.chkUpdateSSCC->isChecked();
        printed = StampaEtichettaPallet(job.label);
    } else {
        EtichettaMulti = true;
        ArticoloUnico = !job.severalArticles;
        if (const std::optional<Reservation> reserved = StampaRiepilogo(job)) {
            printed = PrintedPallet{reserved->sscc, *reserved};
            if (reserved->counterWritten) ui.txtContatoreSSCC->setText(QString::number(reserved->contatore));
            ui.txtSSCC->setText(reserved->sscc);
            SetTag(ui.txtSSCC, QString::number(reserved->recorded.idAppTestate));
            ui.mskQtRistampa->setText(copie);
        }
    }
    if (!printed) {
        MsgBox(SsccEsistente(), vbCritical | vbOKOnly, kErrore);
        return;
    }
    // Only a pallet that was printed and archived goes onto the delivery note.
    if (!ui.txtNumDDT->text().isEmpty()) {
        ui.flxDDT->AddItem(printed->sscc);
        ui.cmdSalvaDDT->setEnabled(true);
    }
    PulisciLotti();
    // Only the article lists, sent after the summary, can fail once a label is out.
    if (const QString& failure = printed->reserved.failedAfterSend; !failure.isEmpty())
        MsgBox(StampatoConErrore(printed->sscc, failure), vbExclamation | vbOKOnly, QStringLiteral("Attenzione"));
}

// The summary label and the article lists of a pallet of several rows, under one reserved SSCC;
// nothing when that SSCC is archived already.
std::optional<Reservation> frmArticoli::StampaRiepilogo(MixedPalletJob& job)
{
    const QString copie = job.label.copie;
    const PalletTables tables{*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe};
    // The operator setting as last saved decides, not the check box of the single-lot tab.
    ReservationOptions options{job.label.tipoPallet, rsSetup->Value(QStringLiteral("AutoUpdateSSCC")).toBool(), PalletInStampa(),
                               false, std::max(1, int(qRound(NumericValue(copie)))), serialeRichiesta_};
    WaitCursor hourglass;
    ReportJob summary = PalletLabelJob(false, 1);
    ReportJob lists = ArticleListJob(options.copies);
    ChoosePrinter(summary);
    ChoosePrinter(lists);
    // Both jobs are bound to this pallet's rows before the commit, and sent in order.
    const auto reserved = PrintReservedPallet(tables, options, job.record, [&](const Reservation& r, const std::function<void()>&) {
        job.label.serial = r.serial;
        FillPalletLabel(job.label);
        SendSteps steps = JobSteps(BindReport(summary), MyReport);
        FillArticleList(r.sscc, job.articleLines);
        for (auto& step : JobSteps(BindReport(lists), MyReport)) steps.push_back(std::move(step));
        return steps;
    });
    if (!reserved) return std::nullopt;
    if (richiestaInStampa_) richiestaConsumata_ = true;
    return reserved;
}
