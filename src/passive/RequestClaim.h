#pragma once
// A request file imported by one program only, and once whatever moment the program stops. Inside
// the write transaction that stores its rows, the file is moved into the hidden subfolder ".inCorso"
// of the request folder under the number of that import, and the database keeps the number of the
// last import committed (its user version, a field of the file's header that the transaction
// writes with the rows). A file left in ".inCorso" whose number is counted was imported: it goes.
// One whose number is not was stopped before its commit: it goes back, to be imported again.

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
    bool operator==(const FileIdentity&) const = default;
};

// Nothing when the file cannot be looked at.
std::optional<FileIdentity> IdentityOf(const QString& path);
std::optional<FileIdentity> IdentityOf(int fd);

enum class Presa {
    Importata, // rows committed, file gone
    GiaPresa,  // another program took it
    Cambiata,  // not the file read: nothing stored, it stays in the folder
};

// Moves `path` aside and runs `store` in one transaction. Throws AppError when the rows cannot be
// stored (nothing stored, the file back in place) or the file cannot be moved.
Presa ImportaUnaVolta(Database& db, const QString& path, const FileIdentity& letto, const std::function<void()>& store);

// The files a stopped program left in the request folder's ".inCorso", each deleted or put back.
void RecuperaInCorso(Database& db, const QString& folder);

// A name not yet taken in `dir`, neither by a file nor by its reason ("<name>.txt").
QString NomeLibero(const QDir& dir, const QString& name);
