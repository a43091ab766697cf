#include "labels/Headings.h"

#include "core/Utility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Replaces the target (or the file of the same name in another letter case) only once the copy is
// complete, so a failed copy leaves the old logo whole.
void copyOver(const QString& source, const QString& target)
{
    const QString from = FindFile(source);
    if (from.isEmpty()) return;
    const QString existing = FindFile(target);
    const QString to = existing.isEmpty() ? target : existing;
    const QString partial = to + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(from, partial)) return;
    if (QFile::exists(to) && !QFile::remove(to)) {
        QFile::remove(partial);
        return;
    }
    if (!QFile::rename(partial, to)) QFile::remove(partial);
}

} // namespace

void PrepareHeadingFolder(const QString& folder, const QString& dataFolder)
{
    if (FolderHasFiles(folder)) return;
    QDir().mkpath(folder);
    copyOver(PathJoin(dataFolder, QStringLiteral("LOGO.BMP")), PathJoin(folder, QStringLiteral("Default.BMP")));
    copyOver(PathJoin(dataFolder, QStringLiteral("LOGO2.BMP")), PathJoin(folder, QStringLiteral("Default2.BMP")));
}

QStringList HeadingNames(const QString& folder)
{
    const QString any = FindFile(PathJoin(folder, QStringLiteral("*")));
    if (any.isEmpty()) return {};
    QDir dir = QFileInfo(any).dir();
    const QStringList files =
        dir.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QString& f : files)
        if (!f.endsWith(QLatin1String("2.bmp"), Qt::CaseInsensitive)) names << f.left(f.size() - 4);
    return names;
}

void ApplyHeading(const QString& folder, const QString& name, const QString& dataFolder)
{
    copyOver(PathJoin(folder, name + QStringLiteral(".bmp")), PathJoin(dataFolder, QStringLiteral("LOGO.BMP")));
    copyOver(PathJoin(folder, name + QStringLiteral("2.bmp")), PathJoin(dataFolder, QStringLiteral("LOGO2.BMP")));
}
