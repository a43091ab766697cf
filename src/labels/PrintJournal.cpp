#include "labels/PrintJournal.h"

#include "core/db/AppError.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSource = QStringLiteral("Diario di stampa");

[[noreturn]] void failed(const QString& what, const QString& path)
{
    throw AppError(75, kSource, QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno))));
}

QString text(const JournalEntry& e)
{
    return QStringLiteral("sscc=%1\nid=%2\ncopie=%3\n").arg(e.sscc).arg(e.idAppTestate).arg(e.copies);
}

bool parse(const QByteArray& data, JournalEntry& e)
{
    bool idOk = false;
    bool copiesOk = false;
    for (const QByteArray& line : data.split('\n')) {
        const QString l = QString::fromUtf8(line);
        if (l.startsWith(QLatin1String("sscc="))) e.sscc = l.mid(5);
        else if (l.startsWith(QLatin1String("id="))) e.idAppTestate = l.mid(3).toLongLong(&idOk);
        else if (l.startsWith(QLatin1String("copie="))) e.copies = l.mid(6).toInt(&copiesOk);
    }
    return !e.sscc.isEmpty() && idOk && copiesOk;
}

void syncFolder(const QString& folder)
{
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) failed(QStringLiteral("Impossibile aprire la cartella"), folder);
    const int rc = ::fsync(dir);
    ::close(dir);
    if (rc != 0) failed(QStringLiteral("Impossibile salvare la cartella"), folder);
}

// An entry is a few lines; anything longer is no entry.
constexpr qint64 kEntryBytes = 4096;

// Locks the file at `path` unless a living process holds it. The lock is taken on the file the name
// still points to, not on one its owner has just removed. Only an ordinary file is opened: a link, a
// FIFO or a device in the folder is no entry, and opening or reading one could wait forever.
int lockIfOrphan(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat held {}, named {};
    if (::lstat(name.constData(), &named) != 0 || !S_ISREG(named.st_mode)) return -1;
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 || ::lstat(name.constData(), &named) != 0
        || !S_ISREG(held.st_mode) || held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

PrintJournal::Pending::~Pending()
{
    if (fd_ >= 0) ::close(fd_);
}

void PrintJournal::Pending::Done()
{
    if (fd_ < 0) return;
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    fd_ = -1;
}

std::unique_ptr<PrintJournal::Pending> PrintJournal::Begin(const JournalEntry& entry)
{
    static std::atomic<int> sequence{0};
    if (!QDir().mkpath(folder_)) {
        errno = EACCES;
        failed(QStringLiteral("Impossibile creare la cartella"), folder_);
    }
    const QString base = QStringLiteral("%1/%2-%3-%4").arg(folder_, entry.sscc).arg(::getpid()).arg(++sequence);
    const QString temp = base + QStringLiteral(".tmp");
    const QString path = base + QStringLiteral(".job");
    // Written under a temporary name and locked before it is renamed, so that no start-up can take
    // an entry its printer still holds.
    const int fd = ::open(QFile::encodeName(temp).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) failed(QStringLiteral("Impossibile scrivere"), temp);
    const QByteArray data = text(entry).toUtf8();
    const bool written = ::flock(fd, LOCK_EX) == 0 && ::write(fd, data.constData(), size_t(data.size())) == data.size()
                         && ::fsync(fd) == 0
                         && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) == 0;
    if (!written) {
        const int saved = errno;
        ::unlink(QFile::encodeName(temp).constData());
        ::close(fd);
        errno = saved;
        failed(QStringLiteral("Impossibile scrivere"), path);
    }
    auto pending = std::make_unique<Pending>(path, fd, entry);
    syncFolder(folder_);
    return pending;
}

std::vector<std::unique_ptr<PrintJournal::Pending>> PrintJournal::Orphans()
{
    std::vector<std::unique_ptr<Pending>> found;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({QStringLiteral("*.job"), QStringLiteral("*.tmp")}, QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(name);
        const int fd = lockIfOrphan(path);
        if (fd < 0) continue;
        QFile file;
        JournalEntry entry;
        bool readable = file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
        const QByteArray data = readable ? file.read(kEntryBytes + 1) : QByteArray();
        readable = readable && data.size() <= kEntryBytes && parse(data, entry);
        auto pending = std::make_unique<Pending>(path, fd, entry);
        if (name.endsWith(QLatin1String(".job")) && readable) found.push_back(std::move(pending));
        else pending->Done();
    }
    return found;
}
