// The delivery-note page's print button, and the connections of the search page and the clearing
// commands.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/ui/Dialogs.h"
#include "ddt/DeliveryNoteSheet.h"
#include "core/HandlerGuard.h"
#include "reports/StampaReport.h"

#include <optional>

void frmArticoli::ConnettiStampaDDT()
{
    connect(ui.cmdStampaDDT, &QPushButton::clicked, this, Protetto([this] { cmdStampaDDT_Click(); }));
    connect(ui.optCercaArtLotto, &QRadioButton::clicked, this, Protetto([this] { optCercaArtLotto_Click(); }));
    connect(ui.optCercaSSCC, &QRadioButton::clicked, this, Protetto([this] { optCercaSSCC_Click(); }));
    connect(ui.cmdCerca, &QPushButton::clicked, this, Protetto([this] { cmdCerca_Click(); }));
    connect(ui.mnuAzzeraStorico, &QAction::triggered, this, Protetto([this] { mnuAzzeraStorico_Click(); }));
    connect(ui.mnuAzzeraExport, &QAction::triggered, this, Protetto([this] { mnuAzzeraExport_Click(); }));
}

// The disabled button also keeps the new-note and save commands out while the job runs.
void frmArticoli::cmdStampaDDT_Click()
{
    ui.cmdStampaDDT->setEnabled(false);
    if (ui.txtNumDDT->text().isEmpty())
        MsgBox(QStringLiteral("Introdurre dei dati da stampare."), vbCritical, QStringLiteral("Errore"));
    else
        StampaDDT();
    ui.cmdStampaDDT->setEnabled(true);
}

void frmArticoli::StampaDDT()
{
    const int copie = CopieDDT(ui.mskQtDDT->text());
    if (copie < 1) {
        MsgBox(QStringLiteral("Specificare una quantità positiva di copie da stampare."), vbCritical, QStringLiteral("Errore"));
        return;
    }
    // A failed save has shown its error; the sheet would print a note that is not on file.
    if (ui.cmdSalvaDDT->isEnabled()) {
        if (!SalvaDDT()) return;
        ui.cmdSalvaDDT->setEnabled(false);
    }
    std::optional<WaitCursor> attesa(std::in_place);
    try {
        // A note without lines would send a job without pages: a blank sheet.
        if (CompilaReportDDT(*DB, ui.txtNumDDT->text(), ui.mskDataDDT->text()) == 0) {
            attesa.reset();
            MsgBox(QStringLiteral("Introdurre dei dati da stampare."), vbCritical, QStringLiteral("Errore"));
            return;
        }
        StampaReport(DeliveryNoteJob(ui.chkAnteprimaDDT->isChecked(), copie), MyReport);
    } catch (const AppError& e) {
        MyReport.reset();
        MostraErrore(e);
        // The sheet's rows live only while the job runs.
        try {
            DB->Execute(QStringLiteral("DELETE FROM ReportDDT"));
        } catch (const AppError&) {
            DB->ClearErrors();
        }
    }
}
