// The request timer: the request files into the request tables, then each request printed through
// the window's own fields and handlers, as an operator would print it.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/MaskedEdit.h"
#include "core/SetupRow.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "passive/RequestImport.h"

#include <QScopeGuard>

#include <algorithm>

namespace {

// The request stays in its table and is tried again at the next tick.
[[noreturn]] void NonRiuscita(const QString& why) { throw AppError(0, QStringLiteral("timPassive"), why); }

// A number the field cannot hold whole would print another quantity.
void ImpostaNumero(QLineEdit* field, qint64 value)
{
    const QString text = QString::number(value);
    field->setText(text);
    if (field->text().trimmed() != text) NonRiuscita(field->objectName() + QStringLiteral(" non accetta ") + text);
}

} // namespace

void frmArticoli::ImportaRichieste()
{
    if (!ModoFileRichiesta) return;
    try {
        const QString folder = NzStr(rsSetup->Value(QStringLiteral("CartellaRichieste"))).trimmed();
        if (folder.isEmpty()) return;
        ImportRequestFolder(*DB, folder, RequestDefaultsFromSetup(*rsSetup, QDateTime::currentDateTime()));
    } catch (const AppError&) {
        // The files wait in the folder for the next tick.
    }
}

void frmArticoli::timPassive_Timer()
{
    timPassive.stop();
    tickInCorso_ = true;
    ImportaRichieste();
    try {
        while (ElaboraTestata()) {
        }
        while (ElaboraImballo()) {
        }
    } catch (const AppError&) {
        // Nobody is there to read a message: the failed request is simply tried again.
    }
    tickInCorso_ = false;
    if (chiusuraRichiesta_) return mnuChiudi_Click();
    if (!ModoInterattivo) timPassive.start();
}

// Once the window is open again, or the program is closing, the requests wait.
bool frmArticoli::ElaboraTestata()
{
    if (ModoInterattivo || chiusuraRichiesta_) return false;
    CommitAndRefresh(*rsSetup);
    CommitAndRefresh(*rsRichiesteTestate);
    if (rsRichiesteTestate->IsEmpty()) return false;
    if (rsRichiesteTestate->Value(QStringLiteral("Ristampa")).toBool()) {
        RistampaRichiesta(*rsRichiesteTestate);
    } else {
        // The pallet's reservation deletes the request together with what it reserves.
        richiestaInStampa_ = rsRichiesteTestate->Value(QStringLiteral("IDRichiesteTestate")).toLongLong();
        richiestaConsumata_ = false;
        const auto done = qScopeGuard([this] { richiestaInStampa_.reset(); });
        PalletRichiesta(*rsRichiesteTestate);
        if (richiestaConsumata_) return true;
    }
    rsRichiesteTestate->Delete();
    return true;
}

// A pallet no longer in the archive prints nothing.
void frmArticoli::RistampaRichiesta(const Recordset& testata)
{
    const qint64 id = testata.Value(QStringLiteral("IDAppTestate")).toLongLong();
    const qint64 copie = testata.Value(QStringLiteral("Copie")).toLongLong();
    CommitAndRefresh(*rsAppTestate);
    rsAppTestate->FindFirst(QStringLiteral("IDAppTestate = ") + QString::number(id));
    if (rsAppTestate->NoMatch()) return;
    ui.txtSSCC->setText(NzStr(rsAppTestate->Value(QStringLiteral("SSCC"))));
    SetTag(ui.txtSSCC, QString::number(id));
    ImpostaNumero(ui.mskQtRistampa, copie <= 0 ? 1 : copie);
    cmdRistampa_Click();
}

void frmArticoli::PalletRichiesta(const Recordset& testata)
{
    const qint64 id = testata.Value(QStringLiteral("IDRichiesteTestate")).toLongLong();
    ui.chkMultiLotto->setChecked(true);
    chkMultiLotto_Click();
    // Lots gathered by the operator, or by a request that failed half-way, are not this pallet's.
    PulisciLotti();
    // Copies of 0 or less print once, as a reprint does, instead of blocking every request behind this one.
    ImpostaNumero(ui.mskQtBatchMulti, std::max<qint64>(1, testata.Value(QStringLiteral("Copie")).toLongLong()));
    ui.mskQtPallet->setText(QStringLiteral("1"));
    if (testata.Value(QStringLiteral("SpecificaContatore")).toBool()) {
        const qint64 contatore = testata.Value(QStringLiteral("ContatoreSSCC")).toLongLong() - 1;
        AdvanceCounter(*DB, *rsSetup, [contatore](qint64) { return contatore; });
        ui.txtContatoreSSCC->setText(QString::number(contatore));
    }
    ui.chkUpdateSSCC->setChecked(testata.Value(QStringLiteral("AggiornaContatore")).toBool());
    ui.mskTipoPallet->setText(NzStr(testata.Value(QStringLiteral("TipoPallet"))));
    const auto righe = DB->OpenRecordset(QStringLiteral("SELECT * FROM RichiesteRighe WHERE IDRichiesteTestate = ") + QString::number(id)
                                         + QStringLiteral(" ORDER BY NumRiga"));
    for (; !righe->Eof(); righe->MoveNext()) LottoRichiesta(*righe);
    righe->Close();
    cmdStampaMulti_Click();
}

// A line whose article is gone adds nothing; a line the print button refuses stops the pallet,
// which would otherwise be printed without it.
void frmArticoli::LottoRichiesta(const Recordset& riga)
{
    DataOraRichiesta(riga);
    if (!ArticoloRichiesta(riga)) return;
    ImpostaNumero(ui.mskQtCartoni, riga.Value(QStringLiteral("NumCartoni")).toLongLong());
    const int lotti = ui.flxLotti->Rows();
    cmdStampa_Click();
    if (ui.flxLotti->Rows() == lotti) NonRiuscita(QStringLiteral("Lotto non aggiunto"));
}

// A carton request of an unknown article is dropped without printing.
bool frmArticoli::ElaboraImballo()
{
    if (ModoInterattivo || chiusuraRichiesta_) return false;
    CommitAndRefresh(*rsSetup);
    CommitAndRefresh(*rsRichiesteImballi);
    if (rsRichiesteImballi->IsEmpty()) return false;
    const Recordset& imballo = *rsRichiesteImballi;
    DataOraRichiesta(imballo);
    if (ArticoloRichiesta(imballo)) {
        ImpostaNumero(ui.mskQtImballi, imballo.Value(QStringLiteral("NumCartoni")).toLongLong());
        cmdStampaImballi_Click();
    }
    rsRichiesteImballi->Delete();
    return true;
}

void frmArticoli::DataOraRichiesta(const Recordset& riga)
{
    const bool autoData = riga.Value(QStringLiteral("AutoData")).toBool();
    ui.chkAutoUpdate->setChecked(autoData);
    if (autoData) return;
    const QDateTime dataOra = riga.Value(QStringLiteral("DataOra")).toDateTime();
    SetEditMask(*ui.mskDataProduzione, MascheraData);
    ui.mskDataProduzione->setText(FormatDate(dataOra, FormatoData));
    SetEditMask(*ui.mskOraProd, MascheraOra);
    ui.mskOraProd->setText(FormatDate(dataOra, FormatoOra));
}

// Makes the request's article current, with the request's lot; false when it is not in the master.
bool frmArticoli::ArticoloRichiesta(const Recordset& riga)
{
    rsArticoli->FindFirst(QStringLiteral("PrefGTIN = '") + SqlQuote(NzStr(riga.Value(QStringLiteral("PrefGTIN"))))
                          + QStringLiteral("' AND EANCartone = '") + SqlQuote(NzStr(riga.Value(QStringLiteral("EANCartone"))))
                          + QStringLiteral("'"));
    if (rsArticoli->NoMatch()) return false;
    CaricaArticolo();
    const bool autoLotto = riga.Value(QStringLiteral("AutoLotto")).toBool();
    ui.chkAutoLotto->setChecked(autoLotto);
    if (!autoLotto) ui.txtLotto->setText(NzStr(riga.Value(QStringLiteral("Lotto"))));
    chkAutoLotto_Click();
    return true;
}
