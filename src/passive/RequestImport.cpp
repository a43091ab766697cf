#include "passive/RequestImport.h"

#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "passive/RequestClaim.h"
#include "passive/RequestStore.h"
#include "reports/CaptionFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <vector>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Five seconds of ticks: a writer that creates the file before setting its permissions has the time to.
constexpr int kScansioniIlleggibile = 10;

enum class Esito { Importato, Scartato, Illeggibile, InAttesa };

// A writer's lock of either kind (flock, or a record lock of any process); the probe itself takes
// nothing a writer would wait for. Asked of ordinary files only.
bool BloccatoDaChiScrive(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return false;
    bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (!locked) {
        struct flock probe {};
        probe.l_type = F_RDLCK;
        probe.l_whence = SEEK_SET;
        locked = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    }
    ::close(fd);
    return locked;
}

// The file `name` of `folder` (a link itself, not what it points to; its name as bytes, which need
// not be text) goes whole beside a text saying why, where no scan reads it again. Nothing goes
// through a "scartati" that is not a folder of its own. Returns where it went; "" when it could not be moved.
QString ScartaNome(const QDir& folder, const QByteArray& name, const QString& motivo)
{
    try {
        CartellaVera(folder.filePath(kCartellaScartati), true);
    } catch (const AppError&) {
        return {};
    }
    const QDir scartati(folder.filePath(kCartellaScartati));
    const QString target = scartati.filePath(NomeLibero(scartati, QFile::decodeName(name)));
    const QByteArray from = QFile::encodeName(folder.path()) + '/' + name;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(target).constData(), RENAME_NOREPLACE) != 0) return {};
    QFile reason(target + QStringLiteral(".txt"));
    if (reason.open(QIODevice::WriteOnly | QIODevice::Text)) reason.write((motivo + u'\n').toUtf8());
    return target;
}

QString Scarta(const QString& path, const QString& motivo)
{
    const QFileInfo info(path);
    return ScartaNome(QDir(info.absolutePath()), QFile::encodeName(info.fileName()), motivo);
}

// The listing leaves out names whose bytes are no UTF-8: such a file is set aside by its bytes.
void ScartaNomiNonTesto(const QDir& folder)
{
    std::vector<QByteArray> names;
    if (DIR* dir = ::opendir(QFile::encodeName(folder.path()).constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            struct stat st {};
            if (!name.startsWith('.') && name.toLower().endsWith(".req") && QFile::encodeName(QFile::decodeName(name)) != name
                && ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(st.st_mode))
                names.push_back(name);
        }
        ::closedir(dir);
    }
    for (const QByteArray& name : names) ScartaNome(folder, name, QStringLiteral("Il nome del file non è testo UTF-8: il file non si legge."));
}

QString TroppoGrande(qint64 size)
{
    return QStringLiteral("Il file è di %1 byte: nessuna richiesta supera i %2.").arg(size).arg(kByteRichiestaMassimi);
}

// Read without waiting: a file swapped meanwhile for a FIFO or a device is not opened as one.
// Nothing when the bytes were read.
std::optional<Esito> Leggi(const QString& path, std::optional<FileIdentity>& letto, QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return errno == ELOOP ? Esito::InAttesa : Esito::Illeggibile;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Esito::Illeggibile;
    }
    letto = IdentityOf(fd);
    if (!letto || !letto->regular) return Esito::InAttesa;
    bytes = file.read(kByteRichiestaMassimi + 1);
    if (file.error() != QFileDevice::NoError) return Esito::Illeggibile;
    return std::nullopt;
}

// `problema` gets why rows that could not be stored wait, or why the file is refused.
Esito LeggiFileRichiesta(Database& db, const QString& path, const FileIdentity& visto, const RequestDefaults& defaults,
                         const std::function<void()>& pause, QString& problema)
{
    if (!visto.regular) {
        problema = QStringLiteral("Non è un file ordinario ma un collegamento, una FIFO o un dispositivo: non si legge.");
        return Esito::Scartato;
    }
    if (visto.size > kByteRichiestaMassimi) {
        problema = TroppoGrande(visto.size);
        return Esito::Scartato;
    }
    std::optional<FileIdentity> letto;
    QByteArray bytes;
    if (const std::optional<Esito> esito = Leggi(path, letto, bytes)) return *esito;
    if (bytes.size() > kByteRichiestaMassimi) {
        problema = TroppoGrande(letto->size);
        return Esito::Scartato;
    }
    const std::optional<QString> text = DecodeText(bytes);
    if (!text) {
        problema = QStringLiteral("Il file non è testo UTF-8, Windows-1252 o UTF-16 con BOM.");
        return Esito::Scartato;
    }
    const RequestFile requests = ParseRequestFile(*text, defaults);
    if (!requests.error.isEmpty()) {
        problema = QStringLiteral("Riga ") + QString::number(requests.errorLine) + QStringLiteral(": ") + requests.error;
        return Esito::Scartato;
    }
    pause();
    try {
        // Written again while it was read: the next scans look at it afresh.
        if (ImportaUnaVolta(db, path, *letto, [&] { StoreRequests(db, requests); }) == Presa::Cambiata) return Esito::InAttesa;
    } catch (const AppError& e) {
        problema = QStringLiteral("I file richiesta attendono: ") + e.description();
        return Esito::InAttesa;
    }
    return Esito::Importato;
}

} // namespace

RequestDefaults RequestDefaultsFromSetup(const Recordset& setup, const QDateTime& now)
{
    RequestDefaults d;
    d.qtCartone = setup.Value(QStringLiteral("QtDefault")).toLongLong();
    d.unitaDurata = setup.Value(QStringLiteral("UnitaDurata")).toLongLong();
    d.durataProdotto = setup.Value(QStringLiteral("DurataDefault")).toLongLong();
    d.tipoPallet = NzStr(setup.Value(QStringLiteral("PalletDefault")));
    d.dataOra = now;
    d.codProduttore = NzStr(setup.Value(QStringLiteral("CodProduttore")));
    return d;
}

void LasciaRispondere() { QCoreApplication::processEvents(); }

QString RequestFolder::Scan(Database& db, const QString& folder, const RequestDefaults& defaults)
{
    const QDir dir(folder);
    const QFileInfo cartella(dir.absolutePath());
    if (!cartella.isDir()) return QStringLiteral("La cartella delle richieste %1 non c'è: i file richiesta non si possono leggere.").arg(folder);
    // A file that could be neither deleted nor moved away would be imported again at every scan. Asked
    // with the rights the program works with, not those of the user who started it.
    if (::faccessat(AT_FDCWD, QFile::encodeName(cartella.absoluteFilePath()).constData(), W_OK, AT_EACCESS) != 0)
        return QStringLiteral("La cartella delle richieste %1 non è scrivibile: i file richiesta attendono.").arg(folder);
    try {
        RecuperaInCorso(db, folder);
        CartellaVera(dir.filePath(kCartellaScartati), false);
    } catch (const AppError& e) {
        return QStringLiteral("I file richiesta attendono: ") + e.description();
    }
    ScartaNomiNonTesto(dir);
    QString problema;
    const auto scarta = [this](const QString& path, const QString& motivo) {
        if (const QString dove = Scarta(path, motivo); !dove.isEmpty() && scartato_) scartato_(dove, motivo);
    };
    std::map<QString, Seen> seen;
    int letti = 0;
    // Links, FIFOs and devices are listed too, to be refused.
    for (const QString& name : dir.entryList({QStringLiteral("*.req")}, QDir::Files | QDir::System, QDir::Name)) {
        const QString path = dir.filePath(name);
        const std::optional<FileIdentity> identity = IdentityOf(path);
        if (!identity) continue;
        Seen now{*identity, 0};
        const auto before = seen_.find(name);
        const bool fermo = before != seen_.end() && before->second.identity == now.identity;
        if (fermo) now.unopenable = before->second.unopenable;
        if (!fermo || letti == kFilePerScansione || (now.identity.regular && BloccatoDaChiScrive(path))) {
            seen[name] = now;
            continue;
        }
        ++letti;
        QString why;
        switch (LeggiFileRichiesta(db, path, now.identity, defaults, pause_, why)) {
        case Esito::Importato: break;
        case Esito::Scartato: scarta(path, why); break;
        case Esito::InAttesa:
            seen[name] = now;
            if (problema.isEmpty()) problema = why;
            break;
        case Esito::Illeggibile:
            if (++now.unopenable < kScansioniIlleggibile) seen[name] = now;
            else scarta(path, QStringLiteral("Il file non si è potuto aprire per ") + QString::number(now.unopenable)
                                    + QStringLiteral(" letture di fila."));
            break;
        }
    }
    seen_ = std::move(seen);
    return problema;
}

bool RimettiInCartella(const QString& scartato)
{
    const QFileInfo info(scartato);
    QDir cartella = info.dir();
    if (!cartella.cdUp() || !QFile::rename(scartato, cartella.filePath(NomeLibero(cartella, info.fileName())))) return false;
    QFile::remove(scartato + QStringLiteral(".txt"));
    return true;
}
