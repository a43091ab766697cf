#pragma once
// The request folder: each *.req file is read once it has stopped changing, then stored whole and
// deleted, by one program only and once (see RequestClaim), or moved with the reason into the
// folder of refused files; one file at a time, a few at each scan. Only ordinary files are read:
// a link, a FIFO or a device is refused unread.

#include "passive/RequestClaim.h"
#include "passive/RequestFile.h"

#include <functional>
#include <map>
#include <memory>

class Database;
class Recordset;

// The subfolder of the request folder that keeps refused files, each beside "<name>.txt" saying why.
inline const QString kCartellaScartati = QStringLiteral("scartati");

// The Setup values a request file falls back on, with `now` as the time of the import.
RequestDefaults RequestDefaultsFromSetup(const Recordset& setup, const QDateTime& now);

// The longest request file: none comes near it.
constexpr qint64 kByteRichiestaMassimi = 4 * 1024 * 1024;

// The files read at one scan: the requests already imported print before the next ones are read.
constexpr int kFilePerScansione = 50;

// Runs pending window messages: the window and the tray answer between one file and the next.
void LasciaRispondere();

// The folder as scan after scan sees it: what each file looked like at the previous scan.
class RequestFolder {
public:
    // `pause` runs between reading a file and storing it.
    explicit RequestFolder(std::function<void()> pause = LasciaRispondere) : pause_(std::move(pause)) {}

    // The *.req files of the folder (any letter case), in name order, at most kFilePerScansione of them.
    // A file is read only when its size and time of change are those of the previous scan and no
    // writer holds a lock on it. A file whose rows cannot be written waits for the next scan; the
    // files behind it go on. Returns why files wait (the folder missing or not writable, ".inCorso"
    // or "scartati" not folders of their own, rows that cannot be stored); "" when none do.
    QString Scan(Database& db, const QString& folder, const RequestDefaults& defaults);

    // Told of each file moved among the refused files: its path there, as bytes that need not be
    // text, and why.
    void OnScartato(std::function<void(const QByteArray& file, const QString& motivo)> told) { scartato_ = std::move(told); }
    // Told of the files a stopped program of the same database had taken, put back into the folder.
    void OnRimessi(std::function<void(const QStringList& files)> told) { rimessi_ = std::move(told); }

private:
    struct Seen {
        FileIdentity identity;
        int unopenable = 0; // scans in a row that could not open it
    };
    std::map<QString, Seen> seen_;
    std::function<void()> pause_;
    std::function<void(const QByteArray&, const QString&)> scartato_;
    std::function<void(const QStringList&)> rimessi_;
    std::unique_ptr<ClaimFolder> claims_; // made at the first import
};

// What is told of the files a stopped program had taken, put back into the request folder.
QString FileRimessi(const QStringList& files);

// The name of the file at `path` as it is shown: bytes that are no text as replacement characters.
QString NomeMostrato(const QByteArray& path);

// Puts a refused file back into the request folder, under a name not taken there, without its
// reason: the scans read it again. False when it cannot be moved.
bool RimettiInCartella(const QByteArray& scartato);
