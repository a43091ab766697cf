#pragma once
// Data folders holding an archive (and export tables) of a given number of pallets, made once per
// size and kept for the whole benchmark run.

#include "core/db/Database.h"

#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <memory>

inline QString ArchivedSscc(qint64 n) { return QStringLiteral("38012345%1").arg(n, 10, 10, QLatin1Char('0')); }

inline const QString& FolderWithArchive(qint64 pallets)
{
    struct Folder {
        std::unique_ptr<QTemporaryDir> dir;
        QString path;
    };
    static std::map<qint64, Folder> folders;
    if (auto it = folders.find(pallets); it != folders.end()) return it->second.path;
    auto dir = std::make_unique<QTemporaryDir>();
    const QString mdb = dir->filePath(QStringLiteral("stivora.mdb"));
    QFile::copy(QStringLiteral(STIVORA_MDB_PATH), mdb);
    QFile::setPermissions(mdb, QFile::ReadOwner | QFile::WriteOwner);
    {
        auto db = Database::Open(mdb);
        db->BeginTrans();
        for (qint64 i = 1; i <= pallets; ++i) {
            db->ExecuteNative(QStringLiteral("INSERT INTO AppTestate (SSCC, QtCartoni, numpezzi, pesolordo, TipoPallet) "
                                             "VALUES (?, 40, 480, 512.5, '1')"),
                              {ArchivedSscc(i)});
            db->ExecuteNative(QStringLiteral("INSERT INTO AppRighe (IDAppTestate, NumRiga, CodInterno, DataOra, QtCartoni, Lotto, "
                                             "DataScadenza, CodEAN, GTIN, numpezzi, Descrizione) VALUES (?, 1, 'ART1', "
                                             "'2026-12-08 10:00:00', 40, ?, '2027-06-08 00:00:00', '8001234567897', "
                                             "'18001234567892', 480, 'Articolo')"),
                              {i, QStringLiteral("L%1").arg(i % 1000)});
        }
        // What the export tables hold until other software collects them: the same pallets.
        db->ExecuteNative(QStringLiteral("INSERT INTO ExportTestate SELECT * FROM AppTestate"));
        db->ExecuteNative(QStringLiteral("INSERT INTO ExportRighe SELECT * FROM AppRighe"));
        db->CommitTrans();
    }
    Folder& kept = folders[pallets];
    kept.path = dir->path();
    kept.dir = std::move(dir);
    return kept.path;
}
