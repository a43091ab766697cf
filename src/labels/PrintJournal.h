#pragma once
// Pallet labels on their way to the printer, so that a crash cannot lose one in silence: one small
// file per pallet, written and synced before the pallet's reservation commits, locked by the process
// that prints it and removed once its jobs are handed over, or their failure told. An entry that no
// living process holds names a job that may never have reached the printer.

#include <QString>

#include <memory>
#include <vector>

struct JournalEntry {
    QString sscc;
    qint64 idAppTestate = -1; // the archive row the reservation wrote
    int copies = 1;
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
        // The job was sent, or never will be: the entry goes.
        void Done();

    private:
        QString path_;
        int fd_;
        JournalEntry entry_;
    };

    explicit PrintJournal(QString folder) : folder_(std::move(folder)) {}

    // Throws AppError when the entry cannot be written durably: the pallet must not print then.
    std::unique_ptr<Pending> Begin(const JournalEntry& entry);

    // Entries that no living process holds, each now held by the caller. Unreadable entries, entries
    // longer than any entry, and entries a crash left half written, are removed. Links, FIFOs and
    // devices are no entries: they are passed over unopened.
    std::vector<std::unique_ptr<Pending>> Orphans();

private:
    QString folder_;
};
