#include "ddt/TraceSearch.h"

#include "core/Utility.h"
#include "core/db/Database.h"

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

int AzzeraTestate(Database& db, const QString& tabella, Recordset& rs)
{
    const int cancellate = db.Execute(QStringLiteral("DELETE FROM ") + tabella);
    CommitAndRefresh(rs);
    return cancellate;
}
