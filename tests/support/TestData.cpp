#include "support/TestData.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace {

QString BelowAHiddenFolder()
{
    const QString hidden = QDir::tempPath() + QStringLiteral("/.stivora-tests");
    QDir().mkpath(hidden);
    return hidden + QStringLiteral("/data-XXXXXX");
}

} // namespace

TestDataFolder::TestDataFolder(bool withDatabase) : dir_(BelowAHiddenFolder())
{
    if (!dir_.isValid()) throw std::runtime_error("cannot make a temporary folder");
    if (!withDatabase) return;
    if (!QFile::copy(QStringLiteral(STIVORA_MDB_PATH), mdbPath()))
        throw std::runtime_error("cannot copy stivora.mdb");
    QFile::setPermissions(mdbPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}
