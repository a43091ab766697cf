#include "ddt/TraceSearch.h"

#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/ui/BackgroundWork.h"

#include <vector>

QString QueryTracciaLotto(const QString& lotto, const QString& eanArticolo)
{
    return QStringLiteral("SELECT Articoli.EANArticolo AS EANArticolo, Articoli.Descrizione AS Descrizione, "
                          "AppRighe.Lotto AS Lotto, AppTestate.SSCC AS SSCC, AppRighe.GTIN AS GTIN, AppRighe.QtCartoni AS QtCartoni ") +
           QStringLiteral("FROM (AppTestate INNER JOIN AppRighe ON AppTestate.IDAppTestate = AppRighe.IDAppTestate) "
                          "INNER JOIN Articoli ON AppRighe.CodEAN = Articoli.EANArticolo ") +
           QStringLiteral("WHERE (((AppRighe.Lotto)='") + SqlQuote(lotto) + QStringLiteral("') AND (Articoli.EANArticolo = '") +
           SqlQuote(eanArticolo) + QStringLiteral("'));");
}

QString QueryTracciaSSCC(const QString& sscc)
{
    return QStringLiteral("SELECT AppTestate.SSCC, AppRighe.CodEAN, AppRighe.GTIN, AppRighe.QtCartoni, AppRighe.Lotto, "
                          "AppRighe.Descrizione, AppRighe.DataScadenza ") +
           QStringLiteral("FROM AppTestate INNER JOIN AppRighe ON AppTestate.IDAppTestate = AppRighe.IDAppTestate WHERE ") +
           QStringLiteral("AppTestate.SSCC = '") + SqlQuote(sscc) + QStringLiteral("';");
}

namespace {

struct LineTable {
    QString table;
    QString headerColumn;
    QString headerKey;
};

// The tables whose rows go with a header of `tabella` (ON DELETE CASCADE).
std::vector<LineTable> lineTables(Database& db, const QString& tabella)
{
    std::vector<LineTable> lines;
    Statement st = db.prepare(QStringLiteral("SELECT m.name, f.\"from\", f.\"to\" FROM sqlite_master AS m, pragma_foreign_key_list(m.name) AS f "
                                             "WHERE m.type = 'table' AND f.\"table\" = ? COLLATE NOCASE AND f.on_delete = 'CASCADE'"));
    st.bind(1, tabella);
    while (st.step()) {
        const QString key = st.value(2).toString();
        lines.push_back({st.value(0).toString(), st.value(1).toString(), key.isEmpty() ? QStringLiteral("rowid") : key});
    }
    return lines;
}

// Deleting row by row, with the cascade looking up each header's lines, takes seconds on a large
// archive; emptied whole, a table only gives its pages back. With the foreign keys off for the
// transaction, the lines and then the headers are emptied whole, which leaves what deleting the
// headers leaves: lines that had no header (written by another program) are kept, by deleting
// only those with a header when there are any.
int svuota(Database& db, const QString& tabella)
{
    const std::vector<LineTable> lines = lineTables(db, tabella);
    db.ExecuteNative(QStringLiteral("PRAGMA foreign_keys = OFF"));
    try {
        db.BeginTrans();
        for (const LineTable& l : lines) {
            const QString withHeader = QStringLiteral("\"%1\" IN (SELECT \"%2\" FROM \"%3\")").arg(l.headerColumn, l.headerKey, tabella);
            bool orphans = false;
            {
                Statement orphan = db.prepare(
                    QStringLiteral("SELECT 1 FROM \"%1\" WHERE \"%2\" IS NULL OR NOT %3 LIMIT 1").arg(l.table, l.headerColumn, withHeader));
                orphans = orphan.step();
            }
            db.ExecuteNative(QStringLiteral("DELETE FROM \"%1\"").arg(l.table) + (orphans ? QStringLiteral(" WHERE ") + withHeader : QString()));
        }
        const int deleted = db.ExecuteNative(QStringLiteral("DELETE FROM \"%1\"").arg(tabella));
        db.CommitTrans();
        db.ExecuteNative(QStringLiteral("PRAGMA foreign_keys = ON"));
        return deleted;
    } catch (const AppError&) {
        db.Rollback();
        db.ExecuteNative(QStringLiteral("PRAGMA foreign_keys = ON"));
        throw;
    }
}

} // namespace

int AzzeraTestate(Database& db, const QString& tabella, Recordset& rs)
{
    int cancellate = 0;
    // On a connection of its own, so that the window keeps painting meanwhile.
    RunWhileWindowsPaint([&] {
        auto propria = Database::Open(db.path());
        cancellate = svuota(*propria, tabella);
    });
    CommitAndRefresh(rs);
    return cancellate;
}
