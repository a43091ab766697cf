#pragma once
// A request file imported by one program only, and once whatever moment the program stops. Inside
// the write transaction that stores its rows, the file is moved into the database's own folder under
// ".inCorso" of the request folder, named by the number of that import, and the database keeps the
// number of the last import committed (its user version, a field of the file's header that the
// transaction writes with the rows). A file left there whose number is counted was imported: it goes.
// One whose number is not was stopped before its commit: it goes back, to be imported again.
// Programs on other databases sharing the folder have folders of their own, and never touch these.

#include <QDir>
#include <QString>

#include <functional>
#include <optional>

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

// Where the imports of `db` lie while they are under way: a folder of ".inCorso" of its own.
QString CartellaInCorso(const Database& db, const QString& folder);

// False when `path` is missing (made first when `crea`), true when it is a folder. Throws AppError
// when it is anything else, a link to a folder included: nothing is moved through it.
bool CartellaVera(const QString& path, bool crea);

enum class Presa {
    Importata, // rows committed, file gone
    GiaPresa,  // another program took it
    Cambiata,  // not the file read: nothing stored, it stays in the folder
};

// Moves `path` aside and runs `store` in one transaction. Throws AppError when the rows cannot be
// stored (nothing stored, the file back in place) or the file cannot be moved.
Presa ImportaUnaVolta(Database& db, const QString& path, const FileIdentity& letto, const std::function<void()>& store);

// The files a stopped program of this database left aside, each deleted or put back.
void RecuperaInCorso(Database& db, const QString& folder);

// A name not yet taken in `dir`, neither by a file nor by its reason ("<name>.txt"), short enough
// for both: a long name is cut short before its extension.
QString NomeLibero(const QDir& dir, const QString& name);
