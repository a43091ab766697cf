#include "support/TestData.h"

#include <QFile>

#include <stdexcept>

TestDataFolder::TestDataFolder(bool withDatabase)
{
    if (!dir_.isValid()) throw std::runtime_error("cannot make a temporary folder");
    if (!withDatabase) return;
    if (!QFile::copy(QStringLiteral(STIVORA_MDB_PATH), mdbPath()))
        throw std::runtime_error("cannot copy stivora.mdb");
    QFile::setPermissions(mdbPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}
