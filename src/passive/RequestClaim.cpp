#include "passive/RequestClaim.h"

#include "core/db/AppError.h"
#include "core/db/Database.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSource = QStringLiteral("Richieste");

// The longest file name the file system takes, in bytes.
constexpr int kNomeMassimo = 255;

FileIdentity identityOf(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            S_ISREG(st.st_mode)};
}

qint64 bytes(const QString& name) { return QFile::encodeName(name).size(); }

// Whole characters off the end until the text fits.
QString cut(QString text, qint64 room)
{
    while (!text.isEmpty() && bytes(text) > room) text.chop(text.size() > 1 && text.back().isLowSurrogate() ? 2 : 1);
    return text;
}

// `name` cut short in its base, its extension kept, to fit in `limit` bytes.
QString shortened(const QString& name, int limit)
{
    if (bytes(name) <= limit) return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    QString tail = dot > 0 ? name.mid(dot) : QString();
    if (bytes(tail) >= limit) tail.clear();
    return cut(name.left(name.size() - tail.size()), limit - bytes(tail)) + tail;
}

// Whatever it is, a link included.
bool present(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

qint64 importNumber(Database& db)
{
    Statement st = db.prepare(QStringLiteral("PRAGMA user_version"));
    st.step();
    return st.int64(0);
}

// A pragma takes no bound values, and each number is a text of its own: run once, not kept prepared.
void setImportNumber(Database& db, qint64 n)
{
    const QByteArray sql = "PRAGMA user_version = " + QByteArray::number(n);
    const int rc = sqlite3_exec(db.handle(), sql.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) db.failFromEngine(rc);
}

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
QString claimedName(qint64 n, const QString& name) { return shortened(QString::number(n) + u'-' + name, kNomeMassimo); }

// Inside the caller's write transaction: no other program of this database is between a move and its commit.
void recover(Database& db, const QDir& folder)
{
    const QString own = CartellaInCorso(db, folder.path());
    if (!CartellaVera(folder.filePath(kCartellaInCorso), false) || !CartellaVera(own, false)) return;
    const QDir inCorso(own);
    const QStringList names = inCorso.entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (names.isEmpty()) return;
    const qint64 committed = importNumber(db);
    for (const QString& claimed : names) {
        const qsizetype dash = claimed.indexOf(u'-');
        bool ok = false;
        const qint64 n = claimed.left(dash).toLongLong(&ok);
        const QString path = inCorso.filePath(claimed);
        // Only what an import moved here: an ordinary request file under its number.
        const std::optional<FileIdentity> file = IdentityOf(path);
        if (dash < 0 || !ok || !claimed.endsWith(QLatin1String(".req"), Qt::CaseInsensitive) || !file || !file->regular) continue;
        if (n <= committed) QFile::remove(path);
        else if (!moveNoReplace(path, folder.filePath(NomeLibero(folder, claimed.mid(dash + 1))))) moveFailed(path);
    }
}

} // namespace

std::optional<FileIdentity> IdentityOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
    return identityOf(st);
}

std::optional<FileIdentity> IdentityOf(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return identityOf(st);
}

QString CartellaInCorso(const Database& db, const QString& folder)
{
    // The machine and the database file as this machine reaches it.
    QString machine = QString::fromLatin1(QSysInfo::machineUniqueId());
    if (machine.isEmpty()) machine = QSysInfo::machineHostName();
    const QFileInfo file(db.path());
    const QString where = file.canonicalFilePath().isEmpty() ? file.absoluteFilePath() : file.canonicalFilePath();
    const QByteArray id = QCryptographicHash::hash((machine + u'\n' + where).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(folder).filePath(kCartellaInCorso + u'/' + QString::fromLatin1(id));
}

bool CartellaVera(const QString& path, bool crea)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno != ENOENT) moveFailed(path);
        if (!crea) return false;
        if ((::mkdir(name.constData(), 0777) != 0 && errno != EEXIST) || ::lstat(name.constData(), &st) != 0) moveFailed(path);
    }
    if (!S_ISDIR(st.st_mode))
        throw AppError(75, kSource, QStringLiteral("%1 non è una cartella ma un collegamento o un file: nessun file richiesta vi si sposta.").arg(path));
    return true;
}

Presa ImportaUnaVolta(Database& db, const QString& path, const FileIdentity& letto, const std::function<void()>& store)
{
    const QFileInfo info(path);
    const QDir folder = info.dir();
    const QString inCorso = CartellaInCorso(db, folder.path());
    CartellaVera(folder.filePath(kCartellaInCorso), true);
    CartellaVera(inCorso, true);
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
    const QString own = CartellaInCorso(db, folder);
    if (!CartellaVera(dir.filePath(kCartellaInCorso), false) || !CartellaVera(own, false)
        || QDir(own).isEmpty(QDir::Files | QDir::Hidden | QDir::System))
        return;
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
    // Room for the reason's ".txt".
    constexpr int room = kNomeMassimo - 4;
    const QFileInfo info(name);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString candidate = shortened(name, room);
    for (int n = 2; present(dir.filePath(candidate)) || present(dir.filePath(candidate + QStringLiteral(".txt"))); ++n) {
        const QString numbered = u'-' + QString::number(n) + suffix;
        candidate = cut(info.completeBaseName(), room - bytes(numbered)) + numbered;
    }
    return candidate;
}
