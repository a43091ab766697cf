// The print button of the mixed pallet: one row prints as an ordinary pallet label; several rows
// print a summary label and the article lists, and only then are counted, exported and archived.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/HandlerGuard.h"
#include "core/db/AppError.h"
#include "core/ui/ControlTag.h"
#include "core/ui/Dialogs.h"
#include "labels/ArticleListLabels.h"
#include "labels/MixedPallet.h"
#include "labels/Sscc.h"
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

bool isPalletType(const QString& text) { return text.size() == 1 && text[0] >= u'0' && text[0] <= u'9'; }

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
    const qint64 serial = NextSerial(*rsSetup);
    const QString sscc = ComposeSscc(tipoPallet, *rsSetup, serial);
    if (SsccArchiviato(*rsAppTestate, sscc)) {
        MsgBox(QStringLiteral("SSCC esistente: aggiornare il contatore o utilizzare la funzione Ristampa per stampare nuovamente "
                              "un'etichetta in archivio."),
               vbCritical | vbOKOnly, kErrore);
        return;
    }
    if (ui.flxLotti->Rows() < 2) return;
    if (isVisible() && rsSetup->Value(QStringLiteral("ForzaDDT")).toBool() && ui.txtNumDDT->text().isEmpty()) {
        MsgBox(QStringLiteral("Introdurre prima i dati del DDT."), vbInformation | vbOKOnly, QStringLiteral("Attenzione"));
        return;
    }
    if (!isPalletType(tipoPallet)) {
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
                                            QDateTime::currentDateTime());
    if (!job.refusal.isEmpty()) {
        MsgBox(job.refusal, vbCritical | vbOKOnly, kErrore);
        return;
    }

    if (job.record.lines.size() == 1) {
        EtichettaMulti = false;
        ArticoloUnico = false;
        job.label.advanceCounter = ui.chkUpdateSSCC->isChecked();
        StampaEtichettaPallet(job.label);
    } else {
        EtichettaMulti = true;
        ArticoloUnico = !job.severalArticles;
        ::StampaEtichettaPallet(job.label, [this](bool preview) { StampaReport(PalletLabelJob(preview, 1), MyReport); });
        StampaEtichetteArticoli(sscc, job.articleLines, copie, MyReport);
        // The operator setting as last saved decides, not the check box of the single-lot tab.
        const bool advance = rsSetup->Value(QStringLiteral("AutoUpdateSSCC")).toBool();
        const PalletTables tables{*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe};
        const RecordedPallet recorded = RecordPrintedPallet(tables, job.record, advance, true);
        if (advance) ui.txtContatoreSSCC->setText(QString::number(recorded.contatore));
        ui.txtSSCC->setText(sscc);
        SetTag(ui.txtSSCC, QString::number(recorded.idAppTestate));
        ui.mskQtRistampa->setText(copie);
    }
    // Only a pallet that was printed and archived goes onto the delivery note.
    if (!ui.txtNumDDT->text().isEmpty()) {
        ui.flxDDT->AddItem(sscc);
        ui.cmdSalvaDDT->setEnabled(true);
    }
    PulisciLotti();
}
