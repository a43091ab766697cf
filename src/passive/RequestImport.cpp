#include "passive/RequestImport.h"

#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "passive/RequestStore.h"
#include "reports/CaptionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RequestDefaults RequestDefaultsFromSetup(const Recordset& setup, const QDateTime& now)
{
    RequestDefaults d;
    d.qtCartone = setup.Value(QStringLiteral("QtDefault")).toLongLong();
    d.unitaDurata = setup.Value(QStringLiteral("UnitaDurata")).toLongLong();
    d.durataProdotto = setup.Value(QStringLiteral("DurataDefault")).toLongLong();
    d.tipoPallet = NzStr(setup.Value(QStringLiteral("PalletDefault")));
    d.dataOra = now;
    return d;
}

bool LeggiFileRichiesta(Database& db, const QString& path, const RequestDefaults& defaults)
{
    // A file that could not be deleted after its import would be imported again at every scan.
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const RequestFile requests = ParseRequestFile(DecodeTextFile(file.readAll()), defaults);
    file.close();
    if (!requests.error.isEmpty()) return false;
    try {
        StoreRequests(db, requests);
    } catch (const AppError&) {
        return false;
    }
    return QFile::remove(path);
}

void ImportRequestFolder(Database& db, const QString& folder, const RequestDefaults& defaults)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.req")}, QDir::Files, QDir::Name))
        LeggiFileRichiesta(db, dir.filePath(name), defaults);
}
