// The delivery-note page: opening, searching, saving a note and adding archived pallets to it.
#include "core/frmArticoli.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/ui/Dialogs.h"
#include "ddt/DeliveryNote.h"
#include "labels/Sscc.h"
#include "core/HandlerGuard.h"

#include <optional>
#include <utility>

namespace {

const QString kErrore = QStringLiteral("Errore");

DDTTables tabelleDDT() { return {*DB, *rsDDTTestate, *rsDDTRighe, *rsAppTestate}; }

// Number and date of a note, as the operator types them; nothing when either is left out, the
// number does not fit its field (cut, it would not be found as typed) or the date is no date.
std::optional<std::pair<QString, QString>> chiediEstremiDDT(int lunghezzaNumero)
{
    const QString numero = InputBox(QStringLiteral("Introdurre il numero del DDT:"), QStringLiteral("Nuovo DDT")).trimmed();
    if (numero.isEmpty()) return std::nullopt;
    if (numero.size() > lunghezzaNumero) {
        MsgBox(QStringLiteral("Il numero del DDT può avere al massimo %1 caratteri.").arg(lunghezzaNumero), vbCritical, kErrore);
        return std::nullopt;
    }
    const QString testo = InputBox(QStringLiteral("Introdurre la data del DDT (gg/mm/aa):"), QStringLiteral("Data DDT"),
                                   DataDDT(Today()))
                              .trimmed();
    if (testo.isEmpty()) return std::nullopt;
    const auto data = LeggiDataDDT(testo);
    if (!data) {
        MsgBox(QStringLiteral("Data errata"), vbCritical, kErrore);
        return std::nullopt;
    }
    return std::pair(numero, *data);
}

} // namespace

void frmArticoli::ConnettiDDT()
{
    connect(ui.cmdNuovoDDT, &QPushButton::clicked, this, Protetto([this] { cmdNuovoDDT_Click(); }));
    connect(ui.cmdCercaDDT, &QPushButton::clicked, this, Protetto([this] { cmdCercaDDT_Click(); }));
    connect(ui.cmdSalvaDDT, &QPushButton::clicked, this, Protetto([this] { cmdSalvaDDT_Click(); }));
    connect(ui.cmdAggiungiSSCC, &QPushButton::clicked, this, Protetto([this] { cmdAggiungiSSCC_Click(); }));
    connect(ui.cmdUpSSCC, &QPushButton::clicked, this, Protetto([this] { cmdUpSSCC_Click(); }));
    connect(ui.cmdDownSSCC, &QPushButton::clicked, this, Protetto([this] { cmdDownSSCC_Click(); }));
    connect(ui.cmdEliminaSSCC, &QPushButton::clicked, this, Protetto([this] { cmdEliminaSSCC_Click(); }));
    ConnettiStampaDDT();
}

// Before the open note is replaced. A failed save keeps the note and its changes on the page.
bool frmArticoli::DomandaSalvataggioDDT(QPushButton* premuto)
{
    if (ui.cmdSalvaDDT->isEnabled()) {
        const int risposta = MsgBox(QStringLiteral("Salvo le ultime modifiche?"), vbYesNoCancel | vbQuestion,
                                    QStringLiteral("Richiesta"));
        if (risposta == vbCancel || (risposta == vbYes && !SalvaDDT())) {
            premuto->setEnabled(true);
            return false;
        }
        ui.cmdSalvaDDT->setEnabled(false);
    }
    return true;
}

void frmArticoli::cmdNuovoDDT_Click()
{
    if (!ui.cmdStampaDDT->isEnabled()) return;
    ui.cmdNuovoDDT->setEnabled(false);
    if (!DomandaSalvataggioDDT(ui.cmdNuovoDDT)) return;
    PulisciDDT();
    ui.txtNumDDT->clear();
    ui.mskDataDDT->setText(DataDDT(Today()));
    if (const auto estremi = chiediEstremiDDT(ui.txtNumDDT->maxLength())) {
        ui.txtNumDDT->setText(estremi->first);
        ui.mskDataDDT->setText(estremi->second);
        // An empty note is a change too: it can be saved as it is.
        ui.cmdSalvaDDT->setEnabled(true);
    }
    ui.cmdNuovoDDT->setEnabled(true);
}

void frmArticoli::cmdCercaDDT_Click()
{
    ui.cmdCercaDDT->setEnabled(false);
    if (!DomandaSalvataggioDDT(ui.cmdCercaDDT)) return;
    PulisciDDT();
    ui.txtNumDDT->clear();
    if (const auto estremi = chiediEstremiDDT(ui.txtNumDDT->maxLength()); estremi && CaricaDDT(estremi->first, estremi->second))
        ui.cmdSalvaDDT->setEnabled(false);
    ui.cmdCercaDDT->setEnabled(true);
}

bool frmArticoli::CaricaDDT(const QString& numero, const QString& dataDDT)
{
    std::optional<QStringList> sscc;
    try {
        sscc = LeggiDDT(tabelleDDT(), numero, dataDDT);
    } catch (const AppError& e) {
        MostraErrore(e);
        return false;
    }
    if (!sscc) {
        MsgBox(QStringLiteral("DDT non trovato!"), vbCritical, kErrore);
        return false;
    }
    ui.txtNumDDT->setText(numero);
    ui.mskDataDDT->setText(dataDDT);
    for (const QString& s : *sscc) ui.flxDDT->AddItem(s);
    return true;
}

bool frmArticoli::SalvaDDT()
{
    QStringList sscc;
    for (int r = 1; r < ui.flxDDT->Rows(); ++r) sscc << ui.flxDDT->TextMatrix(r, 0);
    std::vector<int> mancanti;
    try {
        mancanti = ScriviDDT(tabelleDDT(), ui.txtNumDDT->text(), ui.mskDataDDT->text(), sscc);
    } catch (const AppError& e) {
        MostraErrore(e);
        return false;
    }
    for (int i : mancanti)
        MsgBox(QStringLiteral("SSCC non trovato rimosso: ") + sscc[i], vbInformation, QStringLiteral("Attenzione"));
    for (auto i = mancanti.rbegin(); i != mancanti.rend(); ++i) RimuoviRigaDDT(*i + 1);
    return true;
}

void frmArticoli::cmdSalvaDDT_Click()
{
    if (ui.cmdStampaDDT->isEnabled() && ui.cmdSalvaDDT->isEnabled() && SalvaDDT()) ui.cmdSalvaDDT->setEnabled(false);
}

void frmArticoli::cmdAggiungiSSCC_Click()
{
    if (ui.txtNumDDT->text().isEmpty()) {
        MsgBox(QStringLiteral("Selezionare prima gli estremi del DDT."), vbCritical, kErrore);
        return;
    }
    const QString typed = InputBox(QStringLiteral("Introdurre l'SSCC da aggiungere:"), QStringLiteral("Richiesta")).trimmed();
    if (typed.isEmpty()) return;
    const QString sscc = ScannedSscc(typed);
    if (sscc.isEmpty()) {
        MsgBox(QStringLiteral("SSCC incompleto (richieste 18 cifre)."), vbCritical, kErrore);
        return;
    }
    try {
        rsAppTestate->FindFirst(QStringLiteral("SSCC = '") + SqlQuote(sscc) + QStringLiteral("'"));
    } catch (const AppError& e) {
        MostraErrore(e);
        return;
    }
    if (rsAppTestate->NoMatch()) {
        MsgBox(QStringLiteral("SSCC non in archivio."), vbCritical, kErrore);
        return;
    }
    for (int r = 1; r < ui.flxDDT->Rows(); ++r) {
        if (ui.flxDDT->TextMatrix(r, 0) == sscc) {
            MsgBox(QStringLiteral("SSCC già presente."), vbCritical, kErrore);
            return;
        }
    }
    ui.flxDDT->AddItem(sscc);
    ui.cmdSalvaDDT->setEnabled(true);
}
