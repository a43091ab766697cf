#include "labels/PalletReservation.h"

#include "core/Globals.h"
#include "core/SetupRow.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "labels/Sscc.h"

namespace {

// The Setup row is read again after a rollback: its copy may hold what was rolled back.
void rereadSetup(Recordset& setup) { CommitAndRefresh(setup); }

} // namespace

std::optional<Reservation> PrintReservedPallet(const PalletTables& t, const ReservationOptions& o, PalletRecord record,
                                               const BindPalletJobs& bind)
{
    Reservation r;
    std::unique_ptr<PrintJournal::Pending> entry;
    const bool printed = CommitThenSend(
        t.db, {[&]() -> std::optional<SendSteps> {
                   r.counterBefore = CounterInFile(t.setup);
                   r.serial = o.serial.value_or(r.counterBefore + 1);
                   r.sscc = ComposeSscc(o.tipoPallet, t.setup, r.serial);
                   // Whatever wrote the Setup row, the counter or the request, no pallet leaves with a code that is no SSCC.
                   if (QString why = SsccRefusal(t.setup, r.serial); !why.isEmpty()) throw AppError(0, QStringLiteral("SSCC"), why);
                   if (!IsSscc(r.sscc))
                       throw AppError(0, QStringLiteral("SSCC"), QStringLiteral("L'SSCC \"%1\" non è valido: deve avere 18 cifre.").arg(r.sscc));
                   if (SsccArchiviato(t.appTestate, r.sscc)) return std::nullopt;
                   if (o.request) r.request = TakeRequest(t.db, {QStringLiteral("RichiesteTestate"), *o.request});
                   r.contatore = o.advanceCounter ? r.serial : r.serial - 1;
                   r.counterWritten = r.contatore != r.counterBefore;
                   if (r.counterWritten) AdvanceCounter(t.db, t.setup, [&](qint64) { return r.contatore; });
                   record.sscc = r.sscc;
                   r.recorded = RecordPrintedPallet(t, record);
                   const JournalEntry resend{r.sscc, r.recorded.idAppTestate, o.copies};
                   // Once the preview prints, a stop sends the label again instead of giving the pallet back.
                   SendSteps steps = bind(r, [&entry, resend] { entry->Replace(resend); });
                   JournalEntry journalled = resend;
                   if (o.preview) {
                       journalled.kind = JournalEntry::Kind::Preview;
                       journalled.idExportTestate = r.recorded.idExportTestate;
                       journalled.counterWritten = r.counterWritten;
                       journalled.counterBefore = r.counterBefore;
                       journalled.counterAfter = r.contatore;
                   }
                   entry = StampeInCorso().Begin(journalled);
                   return steps;
               },
               [&] {
                   if (entry) entry->Done();
                   rereadSetup(t.setup);
               },
               [&] {
                   UndoReservation(t, r);
                   if (entry) entry->Done();
               },
               [&](size_t stepsDone, const AppError& failure) {
                   r.stepsDone = stepsDone;
                   r.failedAfterSend = failure.description();
               }});
    if (!printed) return std::nullopt;
    // Every job was handed over, or the one that failed is told to the operator: the next start
    // sends again only what a crash may have stopped.
    if (entry) entry->Done();
    return r;
}

Reservation PreviewReservation(const JournalEntry& preview)
{
    Reservation r;
    r.sscc = preview.sscc;
    r.recorded = {preview.idExportTestate, preview.idAppTestate};
    r.counterWritten = preview.counterWritten;
    r.counterBefore = preview.counterBefore;
    r.contatore = preview.counterAfter;
    return r;
}

void UndoReservation(const PalletTables& t, const Reservation& r)
{
    Database& db = t.db;
    db.BeginTrans();
    try {
        if (r.recorded.idAppTestate >= 0) {
            db.ExecuteNative(QStringLiteral("DELETE FROM AppRighe WHERE IDAppTestate = ?"), {r.recorded.idAppTestate});
            db.ExecuteNative(QStringLiteral("DELETE FROM AppTestate WHERE IDAppTestate = ?"), {r.recorded.idAppTestate});
        }
        if (r.recorded.idExportTestate >= 0) {
            db.ExecuteNative(QStringLiteral("DELETE FROM ExportRighe WHERE IDExportTestate = ?"), {r.recorded.idExportTestate});
            db.ExecuteNative(QStringLiteral("DELETE FROM ExportTestate WHERE IDExportTestate = ?"), {r.recorded.idExportTestate});
        }
        PutBackRows(db, r.request);
        // Another program may have taken the next serial meanwhile: then the counter stays.
        if (r.counterWritten)
            db.ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = ? WHERE contatore = ?"), {r.counterBefore, r.contatore});
        db.CommitTrans();
    } catch (...) {
        db.Rollback();
        rereadSetup(t.setup);
        throw;
    }
    rereadSetup(t.setup);
}
