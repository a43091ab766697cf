// The request timer: the request files into the request tables, then each request printed through
// the window's own fields and handlers, as an operator would print it.
#include "core/frmArticoli.h"

#include "core/Clock.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/MaskedEdit.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/ControlTag.h"
#include "passive/Avvisi.h"
#include "passive/RequestCheck.h"

#include <QScopeGuard>

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

namespace {

const QString kTestate = QStringLiteral("RichiesteTestate");
const QString kImballi = QStringLiteral("RichiesteImballi");
// What is told once while it lasts.
const QString kDatabase = QStringLiteral("database");
const QString kCartella = QStringLiteral("cartella");
// The engine's "Record is deleted".
constexpr long kRigaEliminata = 3167;

// Errors that pass by themselves: the database busy, full or unreachable, the printer not ready.
// The request waits for the next tick; any other error is the request's own, and sets it aside.
bool Passeggero(const AppError& e)
{
    switch (e.number()) {
    case 3260: // busy or locked
    case 3043: // disk full, or an error reading or writing the file
    case 3027: // read-only
    case 3024: // cannot be opened
    case 75:   // a file of the data folder that cannot be written
    case 482:  // the printer
        return true;
    default: return false;
    }
}

// A header and its lines: a change to any line makes it another request.
QString ImprontaTestata(const Recordset& testata)
{
    QString fingerprint = RowFingerprint(testata);
    const auto righe = DB->OpenRecordset(QStringLiteral("SELECT * FROM RichiesteRighe WHERE IDRichiesteTestate = ")
                                         + QString::number(testata.Value(QStringLiteral("IDRichiesteTestate")).toLongLong())
                                         + QStringLiteral(" ORDER BY NumRiga, IDRichiesteRighe"));
    for (; !righe->Eof(); righe->MoveNext()) fingerprint += u'\x1d' + RowFingerprint(*righe);
    return fingerprint;
}

struct Richiesta {
    RequestKey key;
    QString impronta;
};

// Stands on the first row not set aside. When there is none, the set-aside entries of rows gone
// from the table go too.
std::optional<Richiesta> PrimaRichiesta(Recordset& rs, const QString& table, SetAsideRequests& accantonate,
                                        QString (*impronta)(const Recordset&))
{
    std::set<qint64> presenti;
    for (; !rs.Eof(); rs.MoveNext()) {
        Richiesta r;
        try {
            r = {{table, rs.Value(QStringLiteral("ID") + table).toLongLong()}, impronta(rs)};
        } catch (const AppError& e) {
            // Deleted since the table was read: another program printed it.
            if (e.number() == kRigaEliminata) continue;
            throw;
        }
        if (!accantonate.contains(r.key, r.impronta)) return r;
        presenti.insert(r.key.id);
    }
    accantonate.keepOnly(table, presenti);
    return std::nullopt;
}

// False once another program has taken the request from its table. A table that cannot be read
// counts as holding it: the request is told as usual.
bool RichiestaPresente(const RequestKey& key)
{
    try {
        Statement st = DB->prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE ID%1 = ?").arg(key.table));
        st.bind(1, key.id);
        return !st.step() || st.int64(0) > 0;
    } catch (const AppError&) {
        return true;
    }
}

QString ArticoloMancante(const RequestLine& riga)
{
    return QStringLiteral("Articolo non in anagrafica: PrefGTIN '%1', EANCartone '%2'.").arg(riga.prefGTIN, riga.eanCartone);
}

} // namespace

void frmArticoli::ImportaRichieste()
{
    if (!ModoFileRichiesta) return;
    try {
        const QString folder = NzStr(rsSetup->Value(QStringLiteral("CartellaRichieste"))).trimmed();
        if (folder.isEmpty()) return;
        const QString problema = cartellaRichieste_.Scan(*DB, folder, RequestDefaultsFromSetup(*rsSetup, Now()));
        if (problema.isEmpty()) avvisi_->Risolto(kCartella);
        else avvisi_->Problema(kCartella, problema);
    } catch (const AppError& e) {
        // The files wait in the folder for the next tick.
        avvisi_->Problema(kCartella, QStringLiteral("I file richiesta attendono: ") + e.description());
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
        avvisi_->Risolto(kDatabase);
        avvisi_->Risolto(Avvisi::kMessaggio);
    } catch (const AppError& e) {
        // An error that may pass: the request is tried again at the next tick.
        avvisi_->Problema(kDatabase, QStringLiteral("Le richieste attendono: ") + e.description());
    }
    avvisi_->FineTick();
    tickInCorso_ = false;
    ResumeWaiting();
    if (chiusuraRichiesta_) return mnuChiudi_Click();
    if (std::exchange(aperturaRichiesta_, false)) return mnuApri_Click();
    if (!ModoInterattivo) timPassive.start();
}

// Once the window is open again, or the program is closing, the requests wait.
bool frmArticoli::ElaboraTestata()
{
    if (ModoInterattivo || chiusuraRichiesta_) return false;
    CommitAndRefresh(*rsSetup);
    CommitAndRefresh(*rsRichiesteTestate);
    const std::optional<Richiesta> r = PrimaRichiesta(*rsRichiesteTestate, kTestate, accantonate_, ImprontaTestata);
    if (!r) return false;
    StampaRichiesta(r->key, r->impronta, [&]() -> QString {
        const RequestRow<RequestHeader> testata = ReadHeaderRow(*rsRichiesteTestate);
        if (!testata.refusal.isEmpty()) return testata.refusal;
        if (QString why = HeaderRefusal(testata.request, NzStr(rsSetup->Value(QStringLiteral("CodProduttore")))); !why.isEmpty())
            return why;
        return testata.request.ristampa ? RistampaRichiesta(testata.request) : PalletRichiesta(r->key.id, testata.request);
    });
    return true;
}

bool frmArticoli::ElaboraImballo()
{
    if (ModoInterattivo || chiusuraRichiesta_) return false;
    CommitAndRefresh(*rsSetup);
    CommitAndRefresh(*rsRichiesteImballi);
    const std::optional<Richiesta> r = PrimaRichiesta(*rsRichiesteImballi, kImballi, accantonate_, RowFingerprint);
    if (!r) return false;
    StampaRichiesta(r->key, r->impronta, [&]() -> QString {
        const RequestRow<RequestLine> imballo = ReadLineRow(*rsRichiesteImballi);
        if (!imballo.refusal.isEmpty()) return imballo.refusal;
        if (QString why = CartonRequestRefusal(imballo.request); !why.isEmpty()) return why;
        return ImballoRichiesta(imballo.request);
    });
    return true;
}

// Printed, the request left its table in its print's transaction. Refused (by the request check,
// by a print handler's message, by an error of its own such as a damaged page under it), it stays
// set aside with why. An error that may pass ends the tick; the request waits for the next one.
void frmArticoli::StampaRichiesta(const RequestKey& key, const QString& impronta, const std::function<QString()>& stampa)
{
    richiestaInStampa_ = key;
    richiestaConsumata_ = false;
    avvisi_->InizioRichiesta();
    const auto fine = qScopeGuard([this] {
        richiestaInStampa_.reset();
        serialeRichiesta_.reset();
    });
    QString motivo;
    std::optional<AppError> errore;
    try {
        motivo = stampa();
    } catch (const AppError& e) {
        errore = e;
    }
    const QString messaggi = avvisi_->FineRichiesta();
    // Taken, and printed, by another program while this one read it: nothing to tell.
    if (!richiestaConsumata_ && !RichiestaPresente(key)) return;
    if (errore) {
        // Another program printed it.
        if (errore->number() == kRichiestaGiaPresa) return;
        if (Passeggero(*errore)) throw *errore;
        motivo = errore->description();
    }
    if (richiestaConsumata_) {
        // Printed all the same: what a handler said afterwards is told as it is.
        if (!messaggi.isEmpty()) avvisi_->Problema(Avvisi::kMessaggio, messaggi);
        return;
    }
    if (motivo.isEmpty()) motivo = messaggi;
    if (motivo.isEmpty()) motivo = QStringLiteral("La richiesta non è stata stampata.");
    accantonate_.add(key, impronta, motivo);
    avvisi_->Accantonata(key, motivo);
}

QString frmArticoli::RistampaRichiesta(const RequestHeader& testata)
{
    CommitAndRefresh(*rsAppTestate);
    rsAppTestate->FindFirst(QStringLiteral("IDAppTestate = ") + QString::number(testata.idAppTestate));
    if (rsAppTestate->NoMatch()) return QStringLiteral("Il pallet %1 da ristampare non è in archivio.").arg(testata.idAppTestate);
    ui.txtSSCC->setText(NzStr(rsAppTestate->Value(QStringLiteral("SSCC"))));
    SetTag(ui.txtSSCC, QString::number(testata.idAppTestate));
    ui.mskQtRistampa->setText(QString::number(std::max<qint64>(1, testata.copie)));
    cmdRistampa_Click();
    return {};
}

// Every line is checked, and its article found, before the first one is gathered: a pallet is
// printed with all its lots or not at all.
QString frmArticoli::PalletRichiesta(qint64 id, const RequestHeader& testata)
{
    std::vector<RequestLine> lotti;
    const auto righe = DB->OpenRecordset(QStringLiteral("SELECT * FROM RichiesteRighe WHERE IDRichiesteTestate = ") + QString::number(id)
                                         + QStringLiteral(" ORDER BY NumRiga"));
    for (; !righe->Eof(); righe->MoveNext()) {
        const RequestRow<RequestLine> riga = ReadLineRow(*righe);
        const QString numero = QStringLiteral("Riga %1: ").arg(righe->Value(QStringLiteral("NumRiga")).toString());
        if (!riga.refusal.isEmpty()) return numero + riga.refusal;
        if (QString why = LineRefusal(riga.request); !why.isEmpty()) return numero + why;
        if (!TrovaArticolo(riga.request)) return numero + ArticoloMancante(riga.request);
        lotti.push_back(riga.request);
    }
    righe->Close();
    if (lotti.empty()) return QStringLiteral("La richiesta non ha righe.");

    ui.chkMultiLotto->setChecked(true);
    chkMultiLotto_Click();
    // Lots gathered by the operator, or by a request that failed half-way, are not this pallet's.
    PulisciLotti();
    // Copies of 0 or less print once, as a reprint does.
    ui.mskQtBatchMulti->setText(QString::number(std::max<qint64>(1, testata.copie)));
    ui.mskQtPallet->setText(QStringLiteral("1"));
    ui.chkUpdateSSCC->setChecked(testata.aggiornaContatore);
    ui.mskTipoPallet->setText(testata.tipoPallet);
    for (const RequestLine& lotto : lotti) {
        ArticoloRichiesta(lotto);
        ui.mskQtCartoni->setText(QString::number(lotto.numCartoni));
        const int gathered = ui.flxLotti->Rows();
        cmdStampa_Click();
        // The print button refused the lot and said why.
        if (ui.flxLotti->Rows() == gathered) return {};
    }
    if (testata.specificaContatore) serialeRichiesta_ = testata.contatoreSSCC;
    cmdStampaMulti_Click();
    return {};
}

QString frmArticoli::ImballoRichiesta(const RequestLine& imballo)
{
    if (!TrovaArticolo(imballo)) return ArticoloMancante(imballo);
    ArticoloRichiesta(imballo);
    ui.mskQtImballi->setText(QString::number(imballo.numCartoni));
    cmdStampaImballi_Click();
    return {};
}

bool frmArticoli::TrovaArticolo(const RequestLine& riga)
{
    rsArticoli->FindFirst(QStringLiteral("PrefGTIN = '") + SqlQuote(riga.prefGTIN) + QStringLiteral("' AND EANCartone = '")
                          + SqlQuote(riga.eanCartone) + QStringLiteral("'"));
    return !rsArticoli->NoMatch();
}

// The request's article made current, with the request's production moment and lot. A request
// from the clock reads it now, so that nothing an earlier request left in the fields refuses it.
void frmArticoli::ArticoloRichiesta(const RequestLine& riga)
{
    TrovaArticolo(riga);
    CaricaArticolo();
    ui.chkAutoUpdate->setChecked(riga.autoData);
    if (riga.autoData) {
        LeggiOrologio();
    } else {
        SetEditMask(*ui.mskDataProduzione, MascheraData);
        ui.mskDataProduzione->setText(FormatDate(riga.dataOra, FormatoData));
        SetEditMask(*ui.mskOraProd, MascheraOra);
        ui.mskOraProd->setText(FormatDate(riga.dataOra, FormatoOra));
    }
    ui.chkAutoLotto->setChecked(riga.autoLotto);
    if (!riga.autoLotto) ui.txtLotto->setText(riga.lotto);
    chkAutoLotto_Click();
}
