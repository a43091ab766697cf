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
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Five seconds of ticks: a writer that creates the file before setting its permissions has the time to.
constexpr int kScansioniIlleggibile = 10;

enum class Esito { Importato, Scartato, Illeggibile, InAttesa };

// A writer's lock of either kind (flock, or a record lock of any process); the probe itself takes
// nothing a writer would wait for.
bool BloccatoDaChiScrive(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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

// The file goes whole beside a text saying why, where no scan reads it again. Returns where it went;
// "" when it could not be moved.
QString Scarta(const QString& path, const QString& motivo)
{
    const QFileInfo info(path);
    QDir scartati(info.absolutePath());
    if (!scartati.mkpath(kCartellaScartati) || !scartati.cd(kCartellaScartati)) return {};
    const QString target = scartati.filePath(NomeLibero(scartati, info.fileName()));
    if (!QFile::rename(path, target)) return {};
    QFile reason(target + QStringLiteral(".txt"));
    if (reason.open(QIODevice::WriteOnly | QIODevice::Text)) reason.write((motivo + u'\n').toUtf8());
    return target;
}

bool Uguale(const QFileInfo& info, qint64 size, const QDateTime& modified)
{
    return info.exists() && info.size() == size && info.lastModified() == modified;
}

// `problema` gets why rows that could not be stored wait, or why the file is refused.
Esito LeggiFileRichiesta(Database& db, const QString& path, const RequestDefaults& defaults, const std::function<void()>& pause,
                         QString& problema)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Esito::Illeggibile;
    const std::optional<FileIdentity> letto = IdentityOf(file.handle());
    const std::optional<QString> text = DecodeText(file.readAll());
    file.close();
    if (!letto) return Esito::Illeggibile;
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

void PausaPrimaDiCancellare()
{
    QCoreApplication::processEvents();
    QThread::msleep(500);
    QCoreApplication::processEvents();
}

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
    } catch (const AppError& e) {
        return QStringLiteral("I file richiesta attendono: ") + e.description();
    }
    QString problema;
    const auto scarta = [this](const QString& path, const QString& motivo) {
        if (const QString dove = Scarta(path, motivo); !dove.isEmpty() && scartato_) scartato_(dove, motivo);
    };
    std::map<QString, Seen> seen;
    for (const QString& name : dir.entryList({QStringLiteral("*.req")}, QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(name);
        const QFileInfo info(path);
        Seen now{info.size(), info.lastModified(), 0};
        const auto before = seen_.find(name);
        if (before == seen_.end() || !Uguale(info, before->second.size, before->second.modified) || BloccatoDaChiScrive(path)) {
            seen[name] = now;
            continue;
        }
        now.unopenable = before->second.unopenable;
        QString why;
        switch (LeggiFileRichiesta(db, path, defaults, pause_, why)) {
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
