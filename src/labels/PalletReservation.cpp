#include "labels/PalletReservation.h"

#include "core/Globals.h"
#include "core/SetupRow.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "labels/Sscc.h"

#include <sqlite3.h>

#include <exception>

namespace {

SavedRows readRows(Database& db, const QString& table, const QString& key, qint64 id)
{
    SavedRows saved{table, {}, {}};
    Statement st = db.prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY rowid").arg(table, key));
    st.bind(1, id);
    for (int i = 0; i < st.columnCount(); ++i) saved.columns << st.columnName(i);
    while (st.step()) {
        QVector<QVariant> row;
        for (int i = 0; i < st.columnCount(); ++i) {
            switch (sqlite3_column_type(st.handle(), i)) {
            case SQLITE_INTEGER: row << QVariant(st.int64(i)); break;
            case SQLITE_FLOAT: row << QVariant(sqlite3_column_double(st.handle(), i)); break;
            case SQLITE_NULL: row << QVariant(); break;
            default: row << QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.handle(), i)))); break;
            }
        }
        saved.rows.push_back(std::move(row));
    }
    return saved;
}

// The request leaves its table in the transaction that reserves its pallet; gone already, another
// program has taken it.
std::vector<SavedRows> consumeRequest(Database& db, qint64 id)
{
    const QString key = QStringLiteral("IDRichiesteTestate");
    std::vector<SavedRows> saved{readRows(db, QStringLiteral("RichiesteTestate"), key, id),
                                 readRows(db, QStringLiteral("RichiesteRighe"), key, id)};
    if (saved.front().rows.empty())
        throw AppError(0, QStringLiteral("Richieste"), QStringLiteral("Richiesta %1 già elaborata da un altro programma.").arg(id));
    db.ExecuteNative(QStringLiteral("DELETE FROM RichiesteRighe WHERE IDRichiesteTestate = ?"), {id});
    db.ExecuteNative(QStringLiteral("DELETE FROM RichiesteTestate WHERE IDRichiesteTestate = ?"), {id});
    return saved;
}

void putBack(Database& db, const SavedRows& saved)
{
    QStringList columns;
    QStringList marks;
    for (const QString& c : saved.columns) {
        columns << u'"' + c + u'"';
        marks << QStringLiteral("?");
    }
    for (const auto& row : saved.rows)
        db.ExecuteNative(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(saved.table, columns.join(u','), marks.join(u',')), row);
}

// The Setup row is read again after a rollback: its copy may hold what was rolled back.
void rereadSetup(Recordset& setup) { CommitAndRefresh(setup); }

} // namespace

PrintJournal PalletJournal() { return PrintJournal(PathJoin(CartellaDati, QStringLiteral("StampeInCorso"))); }

std::optional<Reservation> PrintReservedPallet(const PalletTables& t, const ReservationOptions& o, PalletRecord record,
                                               const BindPalletJobs& bind)
{
    Reservation r;
    SendSteps senders;
    std::unique_ptr<PrintJournal::Pending> entry;
    t.db.BeginTrans();
    try {
        r.serial = CounterInFile(t.setup) + 1;
        r.sscc = ComposeSscc(o.tipoPallet, t.setup, r.serial);
        // Whatever wrote the Setup row or the counter, no pallet leaves with a code that is no SSCC.
        if (QString why = SsccRefusal(t.setup, r.serial); !why.isEmpty()) throw AppError(0, QStringLiteral("SSCC"), why);
        if (!IsSscc(r.sscc))
            throw AppError(0, QStringLiteral("SSCC"), QStringLiteral("L'SSCC \"%1\" non è valido: deve avere 18 cifre.").arg(r.sscc));
        if (SsccArchiviato(t.appTestate, r.sscc)) {
            t.db.Rollback();
            return std::nullopt;
        }
        if (o.request) r.request = consumeRequest(t.db, *o.request);
        if (o.advanceCounter) r.contatore = AdvanceCounter(t.db, t.setup, [&](qint64) { return r.serial; });
        else r.contatore = r.serial - 1;
        r.counterAdvanced = o.advanceCounter;
        record.sscc = r.sscc;
        r.recorded = RecordPrintedPallet(t, record);
        senders = bind(r);
        if (o.journal) entry = PalletJournal().Begin({r.sscc, r.recorded.idAppTestate, o.copies});
        t.db.CommitTrans();
    } catch (...) {
        t.db.Rollback();
        if (entry) entry->Done();
        rereadSetup(t.setup);
        throw;
    }

    size_t sent = 0;
    try {
        for (const auto& send : senders) {
            send();
            ++sent;
        }
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        if (sent == 0) {
            try {
                UndoReservation(t, r);
                if (entry) entry->Done();
            } catch (const AppError&) {
                // The pallet stays reserved with its entry: the next start prints it.
            }
        }
        std::rethrow_exception(failure);
    }
    if (entry) entry->Done();
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
        for (const SavedRows& saved : r.request) putBack(db, saved);
        // Another program may have taken the next serial meanwhile: then the counter stays.
        if (r.counterAdvanced)
            db.ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = ? WHERE contatore = ?"), {r.serial - 1, r.serial});
        db.CommitTrans();
    } catch (...) {
        db.Rollback();
        rereadSetup(t.setup);
        throw;
    }
    rereadSetup(t.setup);
}
