#pragma once
// A print whose report rows are written and bound inside one write transaction and sent after its
// commit: no other program's rows slip into its report table, and the passive request it prints is
// taken in that transaction, by one program only. When not even the first job could be sent, what
// the transaction took is given back.

#include "core/db/AppError.h"
#include "labels/PrintJournal.h"
#include "reports/StampaReport.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Database;

// What is done after the commit, in order. Once a step has run, the labels may be out: a later
// failure no longer gives back what was taken.
using SendSteps = std::vector<std::function<void()>>;

// The number of the AppError of a pallet's preview closed without printing: nothing was sent.
inline constexpr long kAnteprimaNonStampata = 3198;

// A bound job as a step, whose report rows are gone already. With `previewMustPrint` a preview
// closed without printing throws kAnteprimaNonStampata: as a job the printer refused, it gives
// back what the print took.
SendSteps JobSteps(BoundReport report, std::unique_ptr<ReportLayout>& holder, bool previewMustPrint = false);

// A passive request: a header of RichiesteTestate (with its lines) or a row of RichiesteImballi.
struct RequestKey {
    QString table;
    qint64 id = -1;
};

// Rows as they were in the file, to be put back exactly.
struct SavedRows {
    QString table;
    QStringList columns;
    std::vector<QVector<QVariant>> rows;
};

// The number of the AppError a print throws when its request is gone: another program printed it.
inline constexpr long kRichiestaGiaPresa = 3197;

// Inside the caller's transaction: the request leaves its table (a header with its lines, header
// first); gone already, throws AppError kRichiestaGiaPresa.
std::vector<SavedRows> TakeRequest(Database& db, const RequestKey& request);

// Inside the caller's transaction: the rows inserted again with their keys.
void PutBackRows(Database& db, const std::vector<SavedRows>& saved);

struct TransactionalPrint {
    // Inside the transaction: takes, writes and binds; nothing rolls back, with nothing sent.
    std::function<std::optional<SendSteps>()> write;
    // After any rollback of that transaction.
    std::function<void()> rolledBack;
    // When the first step failed: gives back what `write` took, in a transaction of its own. A
    // failure here leaves it taken.
    std::function<void()> giveBack;
    // When a step failed once an earlier one had run: the steps done and the failure, which then
    // does not reach the caller. Unset, it does.
    std::function<void(size_t stepsDone, const AppError& failure)> failedAfterSend;
};

// False when `write` gave nothing to send. Failures reach the caller, but for failedAfterSend.
bool CommitThenSend(Database& db, const TransactionalPrint& print);

// A print of rows `fill` writes and binds: the passive request, when there is one, taken with
// them and put back when nothing could be sent. A request taken has `resend` in the journal until
// its jobs are handed over or their failure told: a stop in between loses no request.
void PrintTakingRequest(Database& db, const std::optional<RequestKey>& request, const JournalEntry& resend,
                        const std::function<SendSteps()>& fill);
