#pragma once
// The environment of the program: computer and user names, file-system tests, the system version
// and the special folders, which Windows identified by number (35 is the shared application data).

#include <QString>
#include <QVariant>

class AppExClass {
public:
    QString ComputerName() const;
    QString UserName() const;
    bool FSPresent(const QString& fsName) const;
    bool IDEMode() const { return false; }
    // 0 build, 3 platform, 4 product type, 5 service-pack text, 6 its version, 7 system version
    // (major.minor), 8 workstation; 1 and 2 flags of the platform; any other an empty value.
    QVariant OSVersion(int versionData) const;
    // The folder's path; raises AppError when the id is unknown or the folder is missing and not to be created.
    QString Path(long pathId, bool forceCreation = false, long pathType = 0) const;
    QString PathAndSubDir(long pathId, const QString& subDir, bool forceCreation = false, long pathType = 0) const;
};

// Makes a folder with its parents; the error, with this number and source, names the folder and
// the system's reason.
void MakeFolder(const QString& folder, long number, const QString& source);

// The one instance the program uses.
inline AppExClass AppEx;
