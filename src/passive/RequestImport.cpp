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
// not be text, and which it keeps) goes whole beside a text saying why, where no scan reads it
// again. Nothing goes through a "scartati" that is not a folder of its own. Returns where it went;
// "" when it could not be moved.
QByteArray ScartaNome(const QDir& folder, const QByteArray& name, const QString& motivo)
{
    try {
        CartellaVera(folder.filePath(kCartellaScartati), true);
    } catch (const AppError&) {
        return {};
    }
    const QDir scartati(folder.filePath(kCartellaScartati));
    const QByteArray target = QFile::encodeName(scartati.path()) + '/' + NomeLibero(scartati, name);
    const QByteArray from = QFile::encodeName(folder.path()) + '/' + name;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0) return {};
    const int fd = ::open((target + ".txt").constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    QFile reason;
    if (fd >= 0 && reason.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) reason.write((motivo + u'\n').toUtf8());
    else if (fd >= 0) ::close(fd);
    return target;
}

// The listing leaves out names whose bytes are no UTF-8.
std::vector<QByteArray> NomiNonTesto(const QDir& folder)
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
    return names;
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

// The requests of the file, read whole; nothing when they were. `problema` gets why the file is refused.
std::optional<Esito> LeggiFileRichiesta(const QString& path, const FileIdentity& visto, const RequestDefaults& defaults,
                                        RequestFile& requests, std::optional<FileIdentity>& letto, QString& problema)
{
    if (!visto.regular) {
        problema = QStringLiteral("Non è un file ordinario ma un collegamento, una FIFO o un dispositivo: non si legge.");
        return Esito::Scartato;
    }
    if (visto.size > kByteRichiestaMassimi) {
        problema = TroppoGrande(visto.size);
        return Esito::Scartato;
    }
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
    requests = ParseRequestFile(*text, defaults);
    if (!requests.error.isEmpty()) {
        problema = QStringLiteral("Riga ") + QString::number(requests.errorLine) + QStringLiteral(": ") + requests.error;
        return Esito::Scartato;
    }
    return std::nullopt;
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
    if (claims_ && (!claims_->servesFor(db, folder) || !claims_->Intatta())) claims_.reset();
    try {
        const QStringList rimessi = RecuperaInCorso(db, folder, claims_.get());
        if (!rimessi.isEmpty() && rimessi_) rimessi_(rimessi);
        CartellaVera(dir.filePath(kCartellaScartati), false);
    } catch (const AppError& e) {
        return QStringLiteral("I file richiesta attendono: ") + e.description();
    }
    const auto scarta = [&](const QByteArray& name, const QString& motivo) {
        if (const QByteArray dove = ScartaNome(QDir(cartella.absoluteFilePath()), name, motivo); !dove.isEmpty() && scartato_) scartato_(dove, motivo);
    };
    for (const QByteArray& name : NomiNonTesto(dir)) scarta(name, QStringLiteral("Il nome del file non è testo UTF-8: il file non si legge."));
    QString problema;
    // Rows that cannot be stored wait in the folder with why.
    const auto importa = [&](const QString& path, const FileIdentity& letto, const RequestFile& requests) {
        pause_();
        try {
            if (!claims_) claims_ = std::make_unique<ClaimFolder>(db, folder);
            // Written again while it was read: the next scans look at it afresh.
            return claims_->Importa(path, letto, [&] { StoreRequests(db, requests); }) == Presa::Cambiata ? Esito::InAttesa
                                                                                                           : Esito::Importato;
        } catch (const AppError& e) {
            if (problema.isEmpty()) problema = QStringLiteral("I file richiesta attendono: ") + e.description();
            return Esito::InAttesa;
        }
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
        RequestFile requests;
        std::optional<FileIdentity> letto;
        const std::optional<Esito> esito = LeggiFileRichiesta(path, now.identity, defaults, requests, letto, why);
        switch (esito ? *esito : importa(path, *letto, requests)) {
        case Esito::Importato: break;
        case Esito::Scartato: scarta(QFile::encodeName(name), why); break;
        case Esito::InAttesa: seen[name] = now; break;
        case Esito::Illeggibile:
            if (++now.unopenable < kScansioniIlleggibile) seen[name] = now;
            else scarta(QFile::encodeName(name), QStringLiteral("Il file non si è potuto aprire per ") + QString::number(now.unopenable)
                                                     + QStringLiteral(" letture di fila."));
            break;
        }
    }
    seen_ = std::move(seen);
    return problema;
}

QString FileRimessi(const QStringList& files)
{
    return QStringLiteral("Un programma si era fermato mentre importava: questi file richiesta sono stati rimessi nella cartella "
                          "delle richieste, per essere importati di nuovo:\n")
           + files.join(u'\n');
}

QString NomeMostrato(const QByteArray& path) { return QString::fromUtf8(path.mid(path.lastIndexOf('/') + 1)); }

bool RimettiInCartella(const QByteArray& scartato)
{
    const qsizetype slash = scartato.lastIndexOf('/');
    QDir cartella(QFile::decodeName(scartato.left(slash)));
    if (!cartella.cdUp()) return false;
    const QByteArray target = QFile::encodeName(cartella.path()) + '/' + NomeLibero(cartella, scartato.mid(slash + 1));
    if (::renameat2(AT_FDCWD, scartato.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0) return false;
    ::unlink((scartato + ".txt").constData());
    return true;
}
