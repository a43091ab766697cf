// The search page (trace listings by lot or by SSCC) and the commands that clear the archive and
// the export tables.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "core/ui/ControlTag.h"
#include "core/ui/Dialogs.h"
#include "core/HandlerGuard.h"
#include "ddt/TraceSearch.h"
#include "labels/Sscc.h"
#include "reports/PreviewWindow.h"
#include "reports/TraceLayouts.h"

namespace {

// Shows the search's rows in a listing on a read-only connection of its own; the listing stays in
// `holder`. The listing is seen on the default printer's page, with no margins.
template <class Listing>
void MostraTraccia(const QString& query, std::unique_ptr<ReportLayout>& holder, PreviewForm form, const PrinterInfo& stampante)
{
    try {
        auto connessione = Database::Open(PercorsoDB, true);
        auto rs = connessione->OpenRecordset(query);
        auto listing = ReportLayout::Create<Listing>();
        listing->SetListingSource(*rs);
        holder = std::move(listing);
        SetCurrentPrinter(stampante);
        holder->SelectPrinter(stampante.driverName, stampante.deviceName, stampante.port);
        ShowPreview(form, *holder);
        rs->Close();
    } catch (const AppError& e) {
        MostraErrore(e);
    }
}

bool Conferma(const QString& domanda)
{
    return MsgBox(domanda, vbYesNo | vbQuestion, QStringLiteral("Richiesta")) == vbYes;
}

} // namespace

void frmArticoli::optCercaArtLotto_Click()
{
    ui.txtCercaLotto->setEnabled(true);
    ui.txtCercaSSCC->setEnabled(false);
}

void frmArticoli::optCercaSSCC_Click()
{
    ui.txtCercaLotto->setEnabled(false);
    ui.txtCercaSSCC->setEnabled(true);
}

void frmArticoli::cmdCerca_Click()
{
    if (ui.optCercaArtLotto->isChecked()) CercaPerLotto();
    else if (ui.optCercaSSCC->isChecked()) CercaPerSSCC();
}

void frmArticoli::CercaPerLotto()
{
    if (rsArticoli->IsEmpty()) {
        MsgBox(QStringLiteral("Selezionare un articolo."), vbCritical, QStringLiteral("Errore"));
        return;
    }
    if (rsArticoli->Bof() || rsArticoli->Eof()) return;
    const QString ean = rsArticoli->Value(QStringLiteral("EANArticolo")).toString();
    MostraTraccia<CrystalReport5>(QueryTracciaLotto(ui.txtCercaLotto->text(), ean), Report5, PreviewForm::Form4, DefaultPrinter);
}

// A scanned SSCC is looked up, and shown, as its 18 digits; anything else as it was typed.
void frmArticoli::CercaPerSSCC()
{
    if (const QString scanned = ScannedSscc(ui.txtCercaSSCC->text()); !scanned.isEmpty()) ui.txtCercaSSCC->setText(scanned);
    MostraTraccia<CrystalReport6>(QueryTracciaSSCC(ui.txtCercaSSCC->text()), Report6, PreviewForm::Form5, DefaultPrinter);
}

void frmArticoli::mnuAzzeraStorico_Click()
{
    if (!Conferma(QStringLiteral("Confermi l'azzeramento dell'archivio SSCC?"))) return;
    try {
        AzzeraTestate(*DB, QStringLiteral("APPTESTATE"), *rsAppTestate);
    } catch (const AppError& e) {
        MostraErrore(e);
        return;
    }
    ui.txtSSCC->clear();
    SetTag(ui.txtSSCC, QStringLiteral("-1"));
    MsgBox(QStringLiteral("Archivio azzerato"), vbInformation, QStringLiteral("Avviso"));
}

void frmArticoli::mnuAzzeraExport_Click()
{
    if (!Conferma(QStringLiteral("Confermi l'azzeramento delle tabelle di esportazione?"))) return;
    try {
        AzzeraTestate(*DB, QStringLiteral("EXPORTTESTATE"), *rsExportTestate);
    } catch (const AppError& e) {
        MostraErrore(e);
        return;
    }
    MsgBox(QStringLiteral("Tabelle azzerate"), vbInformation, QStringLiteral("Avviso"));
}
