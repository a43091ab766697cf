#pragma once
// Labels on their way to the printer, so that a stop cannot lose one in silence: one small file per
// job of a pallet or of a request taken from its table, written and synced before the transaction
// that took them commits, locked by the process that prints it and removed once its jobs are handed
// over, or their failure told. An entry that no living process holds names a job that may never
// have reached the printer: the next start sends it again, or, for a pallet whose preview was still
// open, gives back what the pallet took.

#include "labels/CartonLabel.h"

#include <QString>

#include <memory>
#include <vector>

struct JournalEntry {
    QString sscc;             // a pallet's
    qint64 idAppTestate = -1; // the archive row the reservation wrote
    int copies = 1;
    enum class Kind {
        Pallet,  // sent again from the archive
        Preview, // the pallet's preview was open: nothing came out
        Cartons, // a run of carton labels
    };
    Kind kind = Kind::Pallet;
    // A preview's, to give back what its pallet took: the export row, and the counter before and
    // after the reservation when it wrote it.
    qint64 idExportTestate = -1;
    bool counterWritten = false;
    qint64 counterBefore = 0;
    qint64 counterAfter = 0;
    CartonRow carton = {}; // a carton run's label
};

class PrintJournal {
public:
    // An entry held by this process; dropping the handle without Done leaves the entry for the next start.
    class Pending {
    public:
        Pending(QString path, int fd, JournalEntry entry) : path_(std::move(path)), fd_(fd), entry_(std::move(entry)) {}
        ~Pending();
        Pending(const Pending&) = delete;
        Pending& operator=(const Pending&) = delete;
        const JournalEntry& entry() const { return entry_; }
        // The entry says something else from now on, whatever moment the program stops. Throws
        // AppError when it cannot be written durably: the entry then says what it said.
        void Replace(const JournalEntry& entry);
        // The job was sent, or never will be: the entry goes.
        void Done();

    private:
        QString path_;
        int fd_;
        JournalEntry entry_;
    };

    explicit PrintJournal(QString folder) : folder_(std::move(folder)) {}

    // Throws AppError when the entry cannot be written durably: the job must not print then.
    std::unique_ptr<Pending> Begin(const JournalEntry& entry);

    // Entries that no living process holds, each now held by the caller. Unreadable entries, entries
    // longer than any entry, and entries a crash left half written, are removed. Links, FIFOs and
    // devices are no entries: they are passed over unopened.
    std::vector<std::unique_ptr<Pending>> Orphans();

private:
    QString folder_;
};

// The journal of the data folder, "StampeInCorso".
PrintJournal StampeInCorso();
