#include "labels/PrintJournal.h"

#include "core/Globals.h"
#include "core/Utility.h"
#include "core/db/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

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

const char* kindName(JournalEntry::Kind kind)
{
    switch (kind) {
    case JournalEntry::Kind::Preview: return "anteprima";
    case JournalEntry::Kind::Cartons: return "imballi";
    case JournalEntry::Kind::Pallet: break;
    }
    return "pallet";
}

// The carton label's columns by their keys in an entry.
const std::vector<std::pair<const char*, QString CartonRow::*>> kCartonKeys = {
    {"codinterno", &CartonRow::codInterno}, {"produzione", &CartonRow::dataOraProduzione}, {"descrizione", &CartonRow::descrizione},
    {"eanform", &CartonRow::eanForm},       {"eanbarcode", &CartonRow::eanBarcode},         {"pezzi", &CartonRow::numPezzi},
    {"scadenza", &CartonRow::dataScadenza}, {"lotto", &CartonRow::lotto}};

// One "key=value" line a value; values percent-encoded, so that any text stays on its line.
QByteArray text(const JournalEntry& e)
{
    QByteArray out;
    const auto line = [&out](const char* key, const QString& value) { out += key + ('=' + value.toUtf8().toPercentEncoding()) + '\n'; };
    line("tipo", QString::fromLatin1(kindName(e.kind)));
    line("copie", QString::number(e.copies));
    if (e.kind == JournalEntry::Kind::Cartons) {
        for (const auto& [key, field] : kCartonKeys) line(key, e.carton.*field);
        return out;
    }
    line("sscc", e.sscc);
    line("id", QString::number(e.idAppTestate));
    if (e.kind == JournalEntry::Kind::Preview) {
        line("idexport", QString::number(e.idExportTestate));
        if (e.counterWritten) line("contatore", QStringLiteral("%1,%2").arg(e.counterBefore).arg(e.counterAfter));
    }
    return out;
}

// An entry without "tipo" was written for a pallet.
bool parse(const QByteArray& data, JournalEntry& e)
{
    std::map<QByteArray, QString> values;
    for (const QByteArray& line : data.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) values[line.left(eq)] = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(eq + 1)));
    }
    const auto number = [&values](const char* key, auto& into) {
        const auto it = values.find(key);
        bool ok = false;
        if (it != values.end()) into = it->second.toLongLong(&ok);
        return ok;
    };
    const QString kind = values.count("tipo") ? values["tipo"] : QStringLiteral("pallet");
    if (!number("copie", e.copies) || e.copies < 1) return false;
    if (kind == QLatin1String("imballi")) {
        e.kind = JournalEntry::Kind::Cartons;
        for (const auto& [key, field] : kCartonKeys) {
            if (!values.count(key)) return false;
            e.carton.*field = values[key];
        }
        return true;
    }
    e.sscc = values["sscc"];
    if (e.sscc.isEmpty() || !number("id", e.idAppTestate)) return false;
    if (kind == QLatin1String("pallet")) return true;
    if (kind != QLatin1String("anteprima") || !number("idexport", e.idExportTestate)) return false;
    e.kind = JournalEntry::Kind::Preview;
    if (const auto counter = values.find("contatore"); counter != values.end()) {
        const QStringList both = counter->second.split(u',');
        bool before = false;
        bool after = false;
        if (both.size() == 2) {
            e.counterBefore = both[0].toLongLong(&before);
            e.counterAfter = both[1].toLongLong(&after);
        }
        e.counterWritten = before && after;
        return e.counterWritten;
    }
    return true;
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

// Written under a temporary name and locked before it takes `path`, so that no start-up can take an
// entry its printer still holds. Returns the locked file.
int writeLocked(const QString& path, const JournalEntry& entry)
{
    static std::atomic<int> sequence{0};
    const QString temp = QStringLiteral("%1.%2-%3.tmp").arg(path).arg(::getpid()).arg(++sequence);
    const int fd = ::open(QFile::encodeName(temp).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) failed(QStringLiteral("Impossibile scrivere"), temp);
    const QByteArray data = text(entry);
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
    return fd;
}

} // namespace

PrintJournal::Pending::~Pending()
{
    if (fd_ >= 0) ::close(fd_);
}

void PrintJournal::Pending::Replace(const JournalEntry& entry)
{
    const int fd = writeLocked(path_, entry);
    ::close(fd_);
    fd_ = fd;
    entry_ = entry;
    syncFolder(QFileInfo(path_).path());
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
    const QString path = QStringLiteral("%1/%2-%3-%4.job").arg(folder_, entry.sscc.isEmpty() ? QStringLiteral("imballi") : entry.sscc)
                             .arg(::getpid())
                             .arg(++sequence);
    auto pending = std::make_unique<Pending>(path, writeLocked(path, entry), entry);
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

PrintJournal StampeInCorso() { return PrintJournal(PathJoin(CartellaDati, QStringLiteral("StampeInCorso"))); }
