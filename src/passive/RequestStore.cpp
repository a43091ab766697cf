#include "passive/RequestStore.h"

#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"

namespace {

// An existing article of the same GTIN is rewritten whole; any other is added.
void StoreArticle(Recordset& rs, const RequestArticle& a)
{
    rs.FindFirst(QStringLiteral("PrefGTIN = '") + SqlQuote(a.prefGTIN) + QStringLiteral("' AND EANCartone = '") + SqlQuote(a.eanCartone)
                 + QStringLiteral("'"));
    if (rs.NoMatch()) rs.AddNew();
    else rs.Edit();
    rs.SetValue(QStringLiteral("CodInterno"), a.codInterno);
    rs.SetValue(QStringLiteral("Descrizione"), a.descrizione);
    rs.SetValue(QStringLiteral("EANArticolo"), a.eanArticolo);
    rs.SetValue(QStringLiteral("QtCartone"), a.qtCartone);
    rs.SetValue(QStringLiteral("PrefGTIN"), a.prefGTIN);
    rs.SetValue(QStringLiteral("EANCartone"), a.eanCartone);
    rs.SetValue(QStringLiteral("PesoCartone"), a.pesoCartone);
    rs.SetValue(QStringLiteral("NumCartoni"), a.numCartoni);
    rs.SetValue(QStringLiteral("UnitaDurata"), a.unitaDurata);
    rs.SetValue(QStringLiteral("DurataProdotto"), a.durataProdotto);
    rs.Update();
}

qint64 StoreHeader(Recordset& rs, const RequestHeader& h)
{
    rs.AddNew();
    rs.SetValue(QStringLiteral("Copie"), h.copie);
    rs.SetValue(QStringLiteral("Ristampa"), h.ristampa);
    rs.SetValue(QStringLiteral("IDAppTestate"), h.idAppTestate);
    rs.SetValue(QStringLiteral("SpecificaContatore"), h.specificaContatore);
    rs.SetValue(QStringLiteral("ContatoreSSCC"), h.contatoreSSCC);
    rs.SetValue(QStringLiteral("AggiornaContatore"), h.aggiornaContatore);
    rs.SetValue(QStringLiteral("TipoPallet"), h.tipoPallet);
    rs.Update();
    rs.SetBookmark(rs.LastModified());
    return rs.Value(QStringLiteral("IDRichiesteTestate")).toLongLong();
}

void StoreLine(Recordset& rs, const RequestLine& l)
{
    rs.SetValue(QStringLiteral("AutoLotto"), l.autoLotto);
    rs.SetValue(QStringLiteral("Lotto"), l.lotto);
    rs.SetValue(QStringLiteral("AutoData"), l.autoData);
    rs.SetValue(QStringLiteral("DataOra"), l.dataOra);
    rs.SetValue(QStringLiteral("PrefGTIN"), l.prefGTIN);
    rs.SetValue(QStringLiteral("EANCartone"), l.eanCartone);
    rs.SetValue(QStringLiteral("NumCartoni"), l.numCartoni);
    rs.Update();
}

} // namespace

void StoreRequests(Database& db, const RequestFile& requests)
{
    const auto articoli = db.OpenRecordset(QStringLiteral("Articoli"));
    for (const RequestArticle& a : requests.articoli) StoreArticle(*articoli, a);
    const auto testate = db.OpenRecordset(QStringLiteral("RichiesteTestate"));
    const auto righe = db.OpenRecordset(QStringLiteral("RichiesteRighe"));
    for (const RequestHeader& h : requests.testate) {
        const qint64 id = StoreHeader(*testate, h);
        for (const RequestLine& l : h.righe) {
            righe->AddNew();
            righe->SetValue(QStringLiteral("IDRichiesteTestate"), id);
            righe->SetValue(QStringLiteral("NumRiga"), l.numRiga);
            StoreLine(*righe, l);
        }
    }
    const auto imballi = db.OpenRecordset(QStringLiteral("RichiesteImballi"));
    for (const RequestLine& l : requests.imballi) {
        imballi->AddNew();
        StoreLine(*imballi, l);
    }
}
