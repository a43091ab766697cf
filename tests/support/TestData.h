#pragma once
// A fresh data folder holding a copy of the supplied stivora.mdb, removed after the test. It lives
// below a hidden folder, as the default data folder ~/.local/share/KVR/stivora does.

#include <QString>
#include <QTemporaryDir>

struct sqlite3;

class TestDataFolder {
public:
    // withDatabase false gives an empty folder.
    explicit TestDataFolder(bool withDatabase = true);
    QString path() const { return dir_.path(); }
    QString mdbPath() const { return dir_.filePath(QStringLiteral("stivora.mdb")); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Another program on the same file, holding its lock (BEGIN EXCLUSIVE: nobody else reads or writes)
// until released. Straight on SQLite, so that it answers whatever the program's own connections do.
class OtherProgramsLock {
public:
    explicit OtherProgramsLock(const QString& mdbPath);
    ~OtherProgramsLock();
    OtherProgramsLock(const OtherProgramsLock&) = delete;
    OtherProgramsLock& operator=(const OtherProgramsLock&) = delete;
    bool held() const { return held_; }
    void release();

private:
    sqlite3* db_ = nullptr;
    bool held_ = false;
};

// Takes from (or gives back to) this thread the capabilities that let root read and write any file,
// so that a file's permissions stop root too; for any other user they already do.
void PermissionsBindRoot(bool bind);
