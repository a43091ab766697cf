#include "core/AppEx.h"

#include "core/db/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

namespace {

long errorCode(std::uint32_t hex) { return long(std::int32_t(hex)); }

// Windows special-folder ids and where their counterparts live here.
bool folderFor(long id, QString& out)
{
    auto loc = [](QStandardPaths::StandardLocation l) { return QStandardPaths::writableLocation(l); };
    switch (id & 0xff) {
    case 0x00:
    case 0x10: out = loc(QStandardPaths::DesktopLocation); return true;
    case 0x05: out = loc(QStandardPaths::DocumentsLocation); return true;
    case 0x0d: out = loc(QStandardPaths::MusicLocation); return true;
    case 0x0e: out = loc(QStandardPaths::MoviesLocation); return true;
    case 0x14: out = loc(QStandardPaths::FontsLocation); return true;
    case 0x1a: out = loc(QStandardPaths::GenericConfigLocation); return true;
    case 0x1c:
    case 0x23: out = loc(QStandardPaths::GenericDataLocation); return true;
    case 0x20: out = loc(QStandardPaths::GenericCacheLocation); return true;
    case 0x27: out = loc(QStandardPaths::PicturesLocation); return true;
    case 0x28: out = QDir::homePath(); return true;
    default: return false;
    }
}

QString resolve(long pathId, const QString& subDir, bool force, const QString& source, std::uint32_t base)
{
    QString folder;
    if (!folderFor(pathId, folder) || folder.isEmpty())
        throw AppError(errorCode(base + 2), source, QStringLiteral("Invalid PathId for requested function"));
    if (!subDir.isEmpty()) folder = QDir(folder).filePath(subDir);
    if (!QFileInfo(folder).isDir()) {
        if (!force) throw AppError(errorCode(base), source, QStringLiteral("Valid PathId but folder doesn't exist"));
        MakeFolder(folder, errorCode(base + 4), source);
    }
    return folder;
}

} // namespace

void MakeFolder(const QString& folder, long number, const QString& source)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdString()), error);
    if (error)
        throw AppError(number, source,
                       QStringLiteral("Impossibile creare la cartella %1: %2").arg(folder, QString::fromStdString(error.message())));
}

QString AppExClass::ComputerName() const { return QSysInfo::machineHostName(); }

QString AppExClass::UserName() const
{
    if (const passwd* pw = getpwuid(geteuid())) return QString::fromLocal8Bit(pw->pw_name);
    return {};
}

bool AppExClass::FSPresent(const QString& fsName) const { return !fsName.isEmpty() && QFileInfo::exists(fsName); }

QVariant AppExClass::OSVersion(int versionData) const
{
    const QStringList kernel = QSysInfo::kernelVersion().split(u'.');
    auto part = [&](int i) { return kernel.size() > i ? kernel[i].section(u'-', 0, 0).toInt() : 0; };
    switch (versionData) {
    case 0: return qint64(part(2));
    case 1:
    case 2: return false;
    case 3: return qint64(2);
    case 4: return 1;
    case 5: return QString();
    case 6: return 0.0f;
    case 7: return QStringLiteral("%1.%2").arg(part(0)).arg(part(1)).toFloat();
    case 8: return true;
    default: return QVariant();
    }
}

QString AppExClass::Path(long pathId, bool forceCreation, long) const
{
    return resolve(pathId, QString(), forceCreation, QStringLiteral("AppEx.Path"), 0x8004B112);
}

QString AppExClass::PathAndSubDir(long pathId, const QString& subDir, bool forceCreation, long) const
{
    return resolve(pathId, subDir, forceCreation, QStringLiteral("AppEx.PathAndSubDir"), 0x8004B122);
}
