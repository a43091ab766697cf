#pragma once
// A fresh data folder holding a copy of the supplied stivora.mdb, removed after the test. It lives
// below a hidden folder, as the default data folder ~/.local/share/KVR/stivora does.

#include <QString>
#include <QTemporaryDir>

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
