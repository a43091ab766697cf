#include "passive/RequestClaim.h"

#include "core/db/AppError.h"
#include "core/db/Database.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSource = QStringLiteral("Richieste");

FileIdentity identityOf(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

qint64 importNumber(Database& db)
{
    Statement st = db.prepare(QStringLiteral("PRAGMA user_version"));
    st.step();
    return st.int64(0);
}

// A pragma takes no bound values; the number is the program's own.
void setImportNumber(Database& db, qint64 n) { db.ExecuteNative(QStringLiteral("PRAGMA user_version = %1").arg(n)); }

// Fails, leaving both names as they were, when `to` exists.
bool moveNoReplace(const QString& from, const QString& to)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD, QFile::encodeName(to).constData(), RENAME_NOREPLACE) == 0;
}

// A move is on the disk before the commit that counts it.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

[[noreturn]] void moveFailed(const QString& path)
{
    throw AppError(75, kSource, QStringLiteral("Il file richiesta %1 non si può spostare (%2).").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
}

// "<number>-<name>": the number of the import that took the file, and the file's own name.
QString claimedName(qint64 n, const QString& name) { return QString::number(n) + u'-' + name; }

// Inside the caller's write transaction: no other program is between a move and its commit.
void recover(Database& db, const QDir& folder)
{
    QDir inCorso(folder.filePath(kCartellaInCorso));
    const QStringList names = inCorso.entryList(QDir::Files | QDir::Hidden);
    if (names.isEmpty()) return;
    const qint64 committed = importNumber(db);
    for (const QString& claimed : names) {
        const qsizetype dash = claimed.indexOf(u'-');
        bool ok = false;
        const qint64 n = claimed.left(dash).toLongLong(&ok);
        if (dash < 0 || !ok) continue;
        const QString path = inCorso.filePath(claimed);
        if (n <= committed) QFile::remove(path);
        else if (!moveNoReplace(path, folder.filePath(NomeLibero(folder, claimed.mid(dash + 1))))) moveFailed(path);
    }
}

} // namespace

std::optional<FileIdentity> IdentityOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
    return identityOf(st);
}

std::optional<FileIdentity> IdentityOf(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return identityOf(st);
}

Presa ImportaUnaVolta(Database& db, const QString& path, const FileIdentity& letto, const std::function<void()>& store)
{
    const QFileInfo info(path);
    const QDir folder = info.dir();
    if (!folder.mkpath(kCartellaInCorso)) moveFailed(path);
    const QString inCorso = folder.filePath(kCartellaInCorso);
    QString claimed;
    db.BeginTrans();
    try {
        recover(db, folder);
        const qint64 n = importNumber(db) + 1;
        claimed = QDir(inCorso).filePath(claimedName(n, info.fileName()));
        if (!moveNoReplace(path, claimed)) {
            if (errno != ENOENT) moveFailed(path);
            db.Rollback();
            return Presa::GiaPresa;
        }
        // Written again, or another file under its name, since it was read.
        if (IdentityOf(claimed) != letto) {
            if (moveNoReplace(claimed, path)) claimed.clear();
            db.Rollback();
            return Presa::Cambiata;
        }
        syncFolder(folder.absolutePath());
        syncFolder(inCorso);
        store();
        setImportNumber(db, n);
        db.CommitTrans();
    } catch (...) {
        db.Rollback();
        // Not put back, it goes back at the next recovery.
        if (!claimed.isEmpty()) moveNoReplace(claimed, path);
        throw;
    }
    QFile::remove(claimed);
    return Presa::Importata;
}

void RecuperaInCorso(Database& db, const QString& folder)
{
    const QDir dir(folder);
    if (QDir(dir.filePath(kCartellaInCorso)).isEmpty(QDir::Files | QDir::Hidden)) return;
    db.BeginTrans();
    try {
        recover(db, dir);
        db.CommitTrans();
    } catch (...) {
        db.Rollback();
        throw;
    }
}

QString NomeLibero(const QDir& dir, const QString& name)
{
    const QFileInfo info(name);
    QString candidate = name;
    for (int n = 2; dir.exists(candidate) || dir.exists(candidate + QStringLiteral(".txt")); ++n)
        candidate = info.completeBaseName() + u'-' + QString::number(n) + u'.' + info.suffix();
    return candidate;
}
