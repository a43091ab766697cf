#pragma once
// A request file imported by one program only, and once whatever moment the program stops. Each
// program takes the files it imports into a folder of its own under ".inCorso" of the request
// folder: it holds the folder while it runs (a lock the system frees when the program dies) and
// names it in its database before the first file goes there. Inside the write transaction that
// stores a file's rows, the file moves into that folder under a number, and the same transaction
// records the folder and the number in RichiestePrese. A file left in a folder that nobody holds
// was imported when its number is recorded there: it goes. Otherwise its import never committed:
// it goes back into the request folder. Only folders named in the program's own database are
// touched: databases sharing the request folder, and stations still running, keep theirs.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class Database;

inline const QString kCartellaInCorso = QStringLiteral(".inCorso");

// What tells a file from another of the same name: where it lives on disk, its size and its time of change.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    bool regular = false; // an ordinary file, not a link, a folder, a FIFO or a device
    bool operator==(const FileIdentity&) const = default;
};

// Nothing when the file cannot be looked at. A link is looked at, not followed.
std::optional<FileIdentity> IdentityOf(const QString& path);
std::optional<FileIdentity> IdentityOf(int fd);

// False when `path` is missing (made first when `crea`), true when it is a folder. Throws AppError
// when it is anything else, a link to a folder included: nothing is moved through it.
bool CartellaVera(const QString& path, bool crea);

enum class Presa {
    Importata, // rows committed, file gone
    GiaPresa,  // another program took it
    Cambiata,  // not the file read: nothing stored, it stays in the folder
};

// This program's folder under ".inCorso" of one request folder, held as long as the object lives.
class ClaimFolder {
public:
    // Makes the folder, holds it and names it in `db`. Throws AppError when it cannot.
    ClaimFolder(Database& db, const QString& requestFolder);
    ~ClaimFolder();
    ClaimFolder(const ClaimFolder&) = delete;
    ClaimFolder& operator=(const ClaimFolder&) = delete;

    const QString& name() const { return name_; }
    const QString& path() const { return path_; }
    bool servesFor(const Database& db, const QString& requestFolder) const;
    // Still the folder it made and holds: not removed, nor replaced by a link or another folder.
    bool Intatta() const;

    // Moves `file` here and runs `store` in one transaction. Throws AppError when the rows cannot be
    // stored (nothing stored, the file back in place) or the file cannot be moved.
    Presa Importa(const QString& file, const FileIdentity& letto, const std::function<void()>& store);

private:
    Database& db_;
    QString requestFolder_;
    QString name_;
    QString path_;
    int lock_ = -1;
    qint64 next_ = 1;
    std::vector<qint64> removed_; // files gone after their commit, whose rows go at the next import
};

// The folders of `db` under ".inCorso" of `folder` that no program holds, and any file `own` still
// keeps: each file whose import committed is deleted, every other one put back into the request
// folder. Returns the names put back, as they lie there now.
QStringList RecuperaInCorso(Database& db, const QString& folder, const ClaimFolder* own);

// A name not yet taken in `dir`, neither by a file nor by its reason ("<name>.txt"), short enough
// for both: a long name is cut short before its extension. Names are bytes, which need not be text.
QByteArray NomeLibero(const QDir& dir, const QByteArray& name);
QString NomeLibero(const QDir& dir, const QString& name);
