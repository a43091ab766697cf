// The request timer: the request files into the request tables, then each request printed through
// the window's own fields and handlers, as an operator would print it.
#include "core/frmArticoli.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/MaskedEdit.h"
#include "core/SetupRow.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "core/ui/Dialogs.h"
#include "labels/Sscc.h"

#include <QScopeGuard>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const QString kTestate = QStringLiteral("RichiesteTestate");
const QString kImballi = QStringLiteral("RichiesteImballi");

// A request a check refused: it stays in its table, set aside, and the requests behind it go on.
struct Rifiutata {};

// A number the field cannot hold whole would print another quantity.
void ImpostaNumero(QLineEdit* field, qint64 value)
{
    const QString text = QString::number(value);
    field->setText(text);
    if (field->text().trimmed() != text) throw Rifiutata{};
}

// False when a check refused the request: the print handlers tell a refusal by its message.
// An AppError (the database busy, no printer) goes on to the tick, which tries the request again.
bool Stampata(const std::function<void()>& print)
{
    const int messaggi = MessaggiMostrati();
    try {
        print();
    } catch (const Rifiutata&) {
        return false;
    }
    return MessaggiMostrati() == messaggi;
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

// Stands on the first row not set aside and gives its fingerprint; nothing when there is none.
std::optional<QString> PrimaRichiesta(Recordset& rs, const QString& table, const SetAsideRequests& accantonate,
                                      QString (*impronta)(const Recordset&))
{
    for (; !rs.Eof(); rs.MoveNext()) {
        QString fingerprint = impronta(rs);
        if (!accantonate.contains(table, rs.Value(QStringLiteral("ID") + table).toLongLong(), fingerprint)) return fingerprint;
    }
    return std::nullopt;
}

} // namespace

void frmArticoli::ImportaRichieste()
{
    if (!ModoFileRichiesta) return;
    try {
        const QString folder = NzStr(rsSetup->Value(QStringLiteral("CartellaRichieste"))).trimmed();
        if (folder.isEmpty()) return;
        cartellaRichieste_.Scan(*DB, folder, RequestDefaultsFromSetup(*rsSetup, QDateTime::currentDateTime()));
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
        // An error that may pass (the database busy, no printer): the request is tried again at the next tick.
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
    const std::optional<QString> impronta = PrimaRichiesta(*rsRichiesteTestate, kTestate, accantonate_, ImprontaTestata);
    if (!impronta) return false;
    const Recordset& testata = *rsRichiesteTestate;
    const qint64 id = testata.Value(QStringLiteral("IDRichiesteTestate")).toLongLong();
    const bool ristampa = testata.Value(QStringLiteral("Ristampa")).toBool();
    // A pallet's reservation deletes its request together with what it reserves.
    richiestaInStampa_ = ristampa ? std::nullopt : std::optional<qint64>(id);
    richiestaConsumata_ = false;
    const auto done = qScopeGuard([this] { richiestaInStampa_.reset(); });
    const bool stampata = Stampata([&] {
        if (ristampa) RistampaRichiesta(testata);
        else PalletRichiesta(testata);
    });
    if (richiestaConsumata_) return true;
    if (!stampata) accantonate_.add(kTestate, id, *impronta);
    else rsRichiesteTestate->Delete();
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
        // A serial the SSCC cannot hold is refused before the counter is moved.
        if (const QString why = SerialRefusal(NzStr(rsSetup->Value(QStringLiteral("CodProduttore"))), contatore + 1); !why.isEmpty()) {
            MsgBox(why, vbCritical | vbOKOnly, QStringLiteral("Errore"));
            return;
        }
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
    if (ui.flxLotti->Rows() == lotti) throw Rifiutata{};
}

// A carton request of an unknown article is dropped without printing.
bool frmArticoli::ElaboraImballo()
{
    if (ModoInterattivo || chiusuraRichiesta_) return false;
    CommitAndRefresh(*rsSetup);
    CommitAndRefresh(*rsRichiesteImballi);
    const std::optional<QString> impronta = PrimaRichiesta(*rsRichiesteImballi, kImballi, accantonate_, RowFingerprint);
    if (!impronta) return false;
    const Recordset& imballo = *rsRichiesteImballi;
    const bool stampata = Stampata([&] {
        DataOraRichiesta(imballo);
        if (!ArticoloRichiesta(imballo)) return;
        ImpostaNumero(ui.mskQtImballi, imballo.Value(QStringLiteral("NumCartoni")).toLongLong());
        cmdStampaImballi_Click();
    });
    if (!stampata) accantonate_.add(kImballi, imballo.Value(QStringLiteral("IDRichiesteImballi")).toLongLong(), *impronta);
    else rsRichiesteImballi->Delete();
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
