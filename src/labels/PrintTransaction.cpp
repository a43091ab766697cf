#include "labels/PrintTransaction.h"

#include "core/db/Database.h"

#include <QScopeGuard>

#include <sqlite3.h>

#include <exception>
#include <utility>

namespace {

const QString kTestate = QStringLiteral("RichiesteTestate");

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

} // namespace

std::vector<SavedRows> TakeRequest(Database& db, const RequestKey& request)
{
    const QString key = QStringLiteral("ID") + request.table;
    std::vector<SavedRows> saved{readRows(db, request.table, key, request.id)};
    if (saved.front().rows.empty())
        throw AppError(kRichiestaGiaPresa, QStringLiteral("Richieste"),
                       QStringLiteral("Richiesta %1 %2 già elaborata da un altro programma.").arg(request.table).arg(request.id));
    if (request.table == kTestate) {
        saved.push_back(readRows(db, QStringLiteral("RichiesteRighe"), key, request.id));
        db.ExecuteNative(QStringLiteral("DELETE FROM RichiesteRighe WHERE IDRichiesteTestate = ?"), {request.id});
    }
    db.ExecuteNative(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(request.table, key), {request.id});
    return saved;
}

void PutBackRows(Database& db, const std::vector<SavedRows>& saved)
{
    for (const SavedRows& s : saved) {
        QStringList columns;
        QStringList marks;
        for (const QString& c : s.columns) {
            columns << u'"' + c + u'"';
            marks << QStringLiteral("?");
        }
        for (const auto& row : s.rows)
            db.ExecuteNative(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(s.table, columns.join(u','), marks.join(u',')), row);
    }
}

bool CommitThenSend(Database& db, const TransactionalPrint& print)
{
    SendSteps steps;
    db.BeginTrans();
    try {
        std::optional<SendSteps> written = print.write();
        if (!written) {
            db.Rollback();
            if (print.rolledBack) print.rolledBack();
            return false;
        }
        steps = std::move(*written);
        db.CommitTrans();
    } catch (...) {
        db.Rollback();
        if (print.rolledBack) print.rolledBack();
        throw;
    }

    size_t done = 0;
    try {
        for (const auto& send : steps) {
            send();
            ++done;
        }
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        if (done > 0 && print.failedAfterSend) {
            try {
                std::rethrow_exception(failure);
            } catch (const AppError& e) {
                print.failedAfterSend(done, e);
                return true;
            }
        }
        if (done == 0 && print.giveBack) {
            try {
                print.giveBack();
            } catch (const AppError&) {
                // What was taken stays taken: nothing is printed twice.
            }
        }
        std::rethrow_exception(failure);
    }
    return true;
}

void PrintTakingRequest(Database& db, const std::optional<RequestKey>& request, const JournalEntry& resend,
                        const std::function<SendSteps()>& fill)
{
    std::vector<SavedRows> taken;
    std::unique_ptr<PrintJournal::Pending> entry;
    // Only a request that could not be put back keeps its entry, for the next start to print it.
    bool keep = false;
    const auto done = qScopeGuard([&] {
        if (entry && !keep) entry->Done();
    });
    CommitThenSend(db, {[&]() -> std::optional<SendSteps> {
                            if (request) taken = TakeRequest(db, *request);
                            SendSteps steps = fill();
                            if (request) entry = StampeInCorso().Begin(resend);
                            return steps;
                        },
                        {},
                        [&] {
                            if (taken.empty()) return;
                            db.BeginTrans();
                            try {
                                PutBackRows(db, taken);
                                db.CommitTrans();
                            } catch (...) {
                                db.Rollback();
                                keep = true;
                                throw;
                            }
                        },
                        {}});
}

SendSteps JobSteps(BoundReport report, std::unique_ptr<ReportLayout>& holder, bool previewMustPrint)
{
    auto bound = std::make_shared<BoundReport>(std::move(report));
    return {[bound, &holder, previewMustPrint] {
        if (!SendReport(std::move(*bound), holder) && previewMustPrint)
            throw AppError(kAnteprimaNonStampata, QStringLiteral("Stampa"), QStringLiteral("Anteprima chiusa senza stampare."));
    }};
}
