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

RecordedPallet RecordPrintedPallet(const PalletTables& t, const PalletRecord& pallet, bool advanceCounter, bool archive)
{
    RecordedPallet out;
    t.db.BeginTrans();
    try {
        if (advanceCounter) {
            t.setup.Edit();
            t.setup.SetValue(QStringLiteral("contatore"), t.setup.Value(QStringLiteral("contatore")).toLongLong() + 1);
            t.setup.Update();
        }
        if (archive) {
            const qint64 exportId = addHeader(t.exportTestate, pallet, QStringLiteral("IDExportTestate"));
            addLines(t.exportRighe, pallet, QStringLiteral("IDExportTestate"), exportId);
            out.idAppTestate = addHeader(t.appTestate, pallet, QStringLiteral("IDAppTestate"));
            addLines(t.appRighe, pallet, QStringLiteral("IDAppTestate"), out.idAppTestate);
        }
        t.db.CommitTrans();
    } catch (...) {
        for (Recordset* rs : {&t.setup, &t.exportTestate, &t.exportRighe, &t.appTestate, &t.appRighe}) rs->CancelUpdate();
        t.db.Rollback();
        // The Setup row may have been read inside the transaction: read it again.
        t.setup.MoveFirst();
        throw;
    }
    out.contatore = t.setup.Value(QStringLiteral("contatore")).toLongLong();
    return out;
}
