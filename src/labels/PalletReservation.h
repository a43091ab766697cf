#pragma once
// One pallet printed under an SSCC of its own, whatever a crash or another program on the same data
// folder does. In one write transaction: the serial from the counter in the file, the SSCC refused
// when archived, the counter advanced, the export and archive rows, the passive request consumed,
// the report rows filled and bound, a journal entry. Then the jobs are sent. A job that cannot be
// sent gives back what was reserved, in a second transaction.

#include "labels/PalletArchive.h"
#include "labels/PrintJournal.h"
#include "labels/PrintTransaction.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

struct ReservationOptions {
    QString tipoPallet; // the SSCC extension digit
    bool advanceCounter = true;
    std::optional<qint64> request; // the RichiesteTestate row the pallet consumes, in passive mode
    bool preview = false;          // journalled as a preview: a stop before it prints gives the pallet back
    int copies = 1;                // what a reprint after a crash prints
    // The serial a passive request asks for instead of the counter's next; the counter moves to it
    // only with the pallet, so a refused pallet leaves it as it was.
    std::optional<qint64> serial;
};

struct Reservation {
    qint64 serial = 0;
    QString sscc;
    qint64 contatore = 0;       // the counter after the reservation
    bool counterWritten = false; // advanced, or moved to the serial the request asked for
    qint64 counterBefore = 0;
    RecordedPallet recorded;
    std::vector<SavedRows> request; // header first, then its lines
    // A step that failed once an earlier one had run: the steps done, and what failed. The label is
    // out and the pallet stays printed.
    size_t stepsDone = 0;
    QString failedAfterSend; // empty when every step ran
};

// Runs inside the reservation: fills the report tables for its SSCC and binds the jobs. A preview's
// job calls `previewPrinting` right before its document goes to the printer.
using BindPalletJobs = std::function<SendSteps(const Reservation&, const std::function<void()>& previewPrinting)>;

// Nothing, and nothing changed, when the SSCC is archived already. Throws AppError when the request
// is gone (another program took it: nothing printed) or when something failed before the first step
// had run; the reservation is then undone. A step that fails after an earlier one ran is told in the
// reservation returned. The journal entry goes once the steps have run or a failure is told: only a
// crash leaves it, for the next start to send the pallet again, or to give back a pallet whose
// preview was still open.
std::optional<Reservation> PrintReservedPallet(const PalletTables& tables, const ReservationOptions& options, PalletRecord record,
                                               const BindPalletJobs& bind);

// Archive and export rows deleted by their keys, request rows put back as they were, the counter
// put back only while it still holds what the reservation wrote: a serial is never given out twice.
void UndoReservation(const PalletTables& tables, const Reservation& reservation);

// What the reservation of a pallet whose preview never printed took, from its journal entry.
Reservation PreviewReservation(const JournalEntry& preview);

