#include "labels/PalletArchive.h"

#include "core/db/Database.h"
#include "core/db/Recordset.h"

namespace {

qint64 addHeader(Recordset& rs, const PalletRecord& p, const QString& key)
{
    rs.AddNew();
    rs.SetValue(QStringLiteral("SSCC"), p.sscc);
    rs.SetValue(QStringLiteral("QtCartoni"), p.qtCartoni);
    rs.SetValue(QStringLiteral("numpezzi"), p.numPezzi);
    rs.SetValue(QStringLiteral("pesolordo"), p.pesoLordo);
    rs.SetValue(QStringLiteral("TipoPallet"), p.tipoPallet);
    rs.Update();
    rs.SetBookmark(rs.LastModified());
    return rs.Value(key).toLongLong();
}

void addLines(Recordset& rs, const PalletRecord& p, const QString& key, qint64 header)
{
    int n = 0;
    for (const PalletLine& l : p.lines) {
        rs.AddNew();
        rs.SetValue(key, header);
        rs.SetValue(QStringLiteral("numriga"), ++n);
        rs.SetValue(QStringLiteral("CodInterno"), l.codInterno);
        rs.SetValue(QStringLiteral("DataOra"), l.dataOra);
        rs.SetValue(QStringLiteral("QtCartoni"), l.qtCartoni);
        rs.SetValue(QStringLiteral("lotto"), l.lotto);
        rs.SetValue(QStringLiteral("datascadenza"), l.dataScadenza);
        rs.SetValue(QStringLiteral("CodEAN"), l.codEAN);
        rs.SetValue(QStringLiteral("GTIN"), l.gtin);
        rs.SetValue(QStringLiteral("numpezzi"), l.numPezzi);
        rs.SetValue(QStringLiteral("Descrizione"), l.descrizione);
        rs.Update();
    }
}

} // namespace

RecordedPallet RecordPrintedPallet(const PalletTables& t, const PalletRecord& pallet)
{
    RecordedPallet out;
    const bool ownTransaction = !t.db.InTransaction();
    if (ownTransaction) t.db.BeginTrans();
    try {
        out.idExportTestate = addHeader(t.exportTestate, pallet, QStringLiteral("IDExportTestate"));
        addLines(t.exportRighe, pallet, QStringLiteral("IDExportTestate"), out.idExportTestate);
        out.idAppTestate = addHeader(t.appTestate, pallet, QStringLiteral("IDAppTestate"));
        addLines(t.appRighe, pallet, QStringLiteral("IDAppTestate"), out.idAppTestate);
        if (ownTransaction) t.db.CommitTrans();
    } catch (...) {
        for (Recordset* rs : {&t.exportTestate, &t.exportRighe, &t.appTestate, &t.appRighe}) rs->CancelUpdate();
        if (ownTransaction) t.db.Rollback();
        throw;
    }
    return out;
}
