#include "passive/RequestClaim.h"

#include "core/db/AppError.h"
#include "core/db/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSource = QStringLiteral("Richieste");

// Held by the program whose folder it is; it also says which database the folder belongs to.
const QString kProgramma = QStringLiteral(".programma");

// The longest file name the file system takes, in bytes.
constexpr int kNomeMassimo = 255;

FileIdentity identityOf(const struct stat& st)
{
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            S_ISREG(st.st_mode)};
}

// Whole characters off the end until the bytes fit.
QByteArray cut(QByteArray text, qint64 room)
{
    while (text.size() > room) {
        qsizetype lead = text.size() - 1;
        while (lead > 0 && (uchar(text[lead]) & 0xC0) == 0x80) --lead;
        text.truncate(lead);
    }
    return text;
}

// Where a name's extension starts; its size when it has none.
qsizetype extensionAt(const QByteArray& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? dot : name.size();
}

// `name` cut short in its base, its extension kept, to fit in `limit` bytes.
QByteArray shortened(const QByteArray& name, qint64 limit)
{
    if (name.size() <= limit) return name;
    QByteArray tail = name.mid(extensionAt(name));
    if (tail.size() >= limit) tail.clear();
    return cut(name.left(name.size() - tail.size()), limit - tail.size()) + tail;
}

QByteArray pathIn(const QDir& dir, const QByteArray& name) { return QFile::encodeName(dir.path()) + '/' + name; }

// Whatever it is, a link included.
bool present(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

// Fails, leaving both names as they were, when `to` exists.
bool moveNoReplace(const QByteArray& from, const QByteArray& to)
{
    return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0;
}

bool moveNoReplace(const QString& from, const QString& to) { return moveNoReplace(QFile::encodeName(from), QFile::encodeName(to)); }

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

// "<number>-<name>": the number the file was taken under, and the file's own name.
QString claimedName(qint64 n, const QString& name)
{
    return QFile::decodeName(shortened(QFile::encodeName(QString::number(n) + u'-' + name), kNomeMassimo));
}

bool imported(Database& db, const QString& folder, qint64 n)
{
    Statement st = db.prepare(QStringLiteral("SELECT 1 FROM RichiestePrese WHERE Cartella = ? AND Numero = ?"));
    st.bind(1, folder);
    st.bind(2, n);
    return st.step();
}

// The lock of a folder no living program holds, now held by the caller; -1 when it is held, or is
// no folder of a program. The lock is taken on the file its name still points to.
int lockIfOrphan(const QString& folder)
{
    const QByteArray name = QFile::encodeName(QDir(folder).filePath(kProgramma));
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat held {}, named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 || ::lstat(name.constData(), &named) != 0
        || !S_ISREG(held.st_mode) || held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Each file a stopped import left in `claims`, the folder `name`, deleted or put back. Only what an
// import moved there: an ordinary request file under its number.
void recover(Database& db, const QDir& folder, const QDir& claims, const QString& name, QStringList& back)
{
    for (const QString& claimed : claims.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const qsizetype dash = claimed.indexOf(u'-');
        bool ok = false;
        const qint64 n = claimed.left(dash).toLongLong(&ok);
        const QString path = claims.filePath(claimed);
        const std::optional<FileIdentity> file = IdentityOf(path);
        if (dash < 0 || !ok || n < 1 || !claimed.endsWith(QLatin1String(".req"), Qt::CaseInsensitive) || !file || !file->regular) continue;
        if (imported(db, name, n)) {
            QFile::remove(path);
            continue;
        }
        const QString free = NomeLibero(folder, claimed.mid(dash + 1));
        if (!moveNoReplace(path, folder.filePath(free))) moveFailed(path);
        back << free;
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

ClaimFolder::ClaimFolder(Database& db, const QString& requestFolder) : db_(db), requestFolder_(requestFolder)
{
    const QDir inCorso(QDir(requestFolder).filePath(kCartellaInCorso));
    CartellaVera(inCorso.path(), true);
    int made = -1;
    do {
        name_ = QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
        path_ = inCorso.filePath(name_);
        made = ::mkdir(QFile::encodeName(path_).constData(), 0777);
    } while (made != 0 && errno == EEXIST);
    if (made != 0)
        throw AppError(75, kSource, QStringLiteral("La cartella %1 non si può creare (%2).").arg(path_, QString::fromLocal8Bit(std::strerror(errno))));
    const QString programma = QDir(path_).filePath(kProgramma);
    lock_ = ::open(QFile::encodeName(programma).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    // Another program may be looking whether the folder is held: it lets go at once.
    const QByteArray says = "database=" + QFile::encodeName(db.path()) + "\nmacchina=" + QSysInfo::machineHostName().toUtf8()
                            + "\npid=" + QByteArray::number(::getpid()) + '\n';
    if (lock_ < 0 || ::flock(lock_, LOCK_EX) != 0 || ::write(lock_, says.constData(), size_t(says.size())) != says.size()) {
        const int saved = errno;
        if (lock_ >= 0) ::close(lock_);
        ::unlink(QFile::encodeName(programma).constData());
        ::rmdir(QFile::encodeName(path_).constData());
        errno = saved;
        moveFailed(path_);
    }
    try {
        db_.ExecuteNative(QStringLiteral("INSERT INTO RichiestePrese (Cartella, Numero) VALUES (?, 0)"), {name_});
    } catch (...) {
        ::unlink(QFile::encodeName(programma).constData());
        ::rmdir(QFile::encodeName(path_).constData());
        ::close(lock_);
        throw;
    }
}

// The folder stays named and held until the program ends: the next program of the database takes it.
ClaimFolder::~ClaimFolder() { ::close(lock_); }

bool ClaimFolder::servesFor(const Database& db, const QString& requestFolder) const
{
    return &db == &db_ && requestFolder == requestFolder_;
}

bool ClaimFolder::Intatta() const
{
    struct stat folder {}, named {}, held {};
    return ::lstat(QFile::encodeName(path_).constData(), &folder) == 0 && S_ISDIR(folder.st_mode)
           && ::lstat(QFile::encodeName(QDir(path_).filePath(kProgramma)).constData(), &named) == 0 && ::fstat(lock_, &held) == 0
           && named.st_ino == held.st_ino && named.st_dev == held.st_dev;
}

Presa ClaimFolder::Importa(const QString& file, const FileIdentity& letto, const std::function<void()>& store)
{
    const QFileInfo info(file);
    const qint64 n = next_++;
    const QString claimed = QDir(path_).filePath(claimedName(n, info.fileName()));
    bool moved = false;
    db_.BeginTrans();
    try {
        if (!moveNoReplace(file, claimed)) {
            if (errno != ENOENT) moveFailed(file);
            db_.Rollback();
            return Presa::GiaPresa;
        }
        moved = true;
        // Written again, or another file under its name, since it was read.
        if (IdentityOf(claimed) != letto) {
            if (moveNoReplace(claimed, file)) moved = false;
            db_.Rollback();
            return Presa::Cambiata;
        }
        syncFolder(info.absolutePath());
        syncFolder(path_);
        store();
        db_.ExecuteNative(QStringLiteral("INSERT INTO RichiestePrese (Cartella, Numero) VALUES (?, ?)"), {name_, n});
        for (const qint64 gone : removed_)
            db_.ExecuteNative(QStringLiteral("DELETE FROM RichiestePrese WHERE Cartella = ? AND Numero = ?"), {name_, gone});
        db_.CommitTrans();
    } catch (...) {
        db_.Rollback();
        // Not put back, it goes back at the next recovery.
        if (moved) moveNoReplace(claimed, file);
        throw;
    }
    removed_.clear();
    if (QFile::remove(claimed)) removed_.push_back(n);
    return Presa::Importata;
}

QStringList RecuperaInCorso(Database& db, const QString& folder, const ClaimFolder* own)
{
    const QDir dir(folder);
    QStringList back;
    if (!CartellaVera(dir.filePath(kCartellaInCorso), false)) return back;
    const QDir inCorso(dir.filePath(kCartellaInCorso));
    if (own && !QDir(own->path()).isEmpty(QDir::Files | QDir::System)) recover(db, dir, QDir(own->path()), own->name(), back);
    for (const QString& name : inCorso.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        if (own && name == own->name()) continue;
        const QString claims = inCorso.filePath(name);
        const int lock = lockIfOrphan(claims);
        if (lock < 0) continue;
        try {
            Statement named = db.prepare(QStringLiteral("SELECT 1 FROM RichiestePrese WHERE Cartella = ? AND Numero = 0"));
            named.bind(1, name);
            // Named in another database: not this program's to touch.
            if (named.step()) {
                recover(db, dir, QDir(claims), name, back);
                // Emptied of all but its lock, it goes; anything else put there keeps it for the next look.
                if (QDir(claims).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot) == QStringList{kProgramma}
                    && ::unlink(QFile::encodeName(QDir(claims).filePath(kProgramma)).constData()) == 0
                    && ::rmdir(QFile::encodeName(claims).constData()) == 0)
                    db.ExecuteNative(QStringLiteral("DELETE FROM RichiestePrese WHERE Cartella = ?"), {name});
            }
        } catch (...) {
            ::close(lock);
            throw;
        }
        ::close(lock);
    }
    return back;
}

QByteArray NomeLibero(const QDir& dir, const QByteArray& name)
{
    // Room for the reason's ".txt".
    constexpr int room = kNomeMassimo - 4;
    const qsizetype dot = extensionAt(name);
    const QByteArray base = name.left(dot);
    const QByteArray suffix = name.mid(dot);
    QByteArray candidate = shortened(name, room);
    for (int n = 2; present(pathIn(dir, candidate)) || present(pathIn(dir, candidate + ".txt")); ++n) {
        const QByteArray numbered = '-' + QByteArray::number(n) + suffix;
        candidate = cut(base, room - numbered.size()) + numbered;
    }
    return candidate;
}

QString NomeLibero(const QDir& dir, const QString& name) { return QFile::decodeName(NomeLibero(dir, QFile::encodeName(name))); }
