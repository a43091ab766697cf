#include "support/TestData.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

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

OtherProgramsLock::OtherProgramsLock(const QString& mdbPath)
{
    if (sqlite3_open_v2(mdbPath.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK
        || sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot lock stivora.mdb");
    held_ = true;
}

OtherProgramsLock::~OtherProgramsLock()
{
    release();
    sqlite3_close_v2(db_);
}

void OtherProgramsLock::release()
{
    if (held_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    held_ = false;
}

void PermissionsBindRoot(bool bind)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    ASSERT_EQ(::syscall(SYS_capget, &header, data), 0);
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        __u32& effective = data[cap / 32].effective;
        const __u32 bit = 1u << (cap % 32);
        effective = bind ? effective & ~bit : effective | (data[cap / 32].permitted & bit);
    }
    ASSERT_EQ(::syscall(SYS_capset, &header, data), 0);
}
