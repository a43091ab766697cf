#include "articles/ArticleRecord.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Recordset.h"

namespace {

QString testo(const Recordset& rs, const char* column) { return NzStr(rs.Value(QString::fromLatin1(column))); }

} // namespace

QString RigaDescrizione(const QString& descrizione, int riga)
{
    return descrizione.mid((riga - 1) * kLarghezzaRigaDescrizione, kLarghezzaRigaDescrizione).trimmed();
}

QString UnisciDescrizione(const QString& riga1, const QString& riga2)
{
    const QString blank = QStringLiteral(" ");
    return PadRight(riga1, kLarghezzaRigaDescrizione, blank) + PadRight(riga2, kLarghezzaRigaDescrizione, blank);
}

ArticoloCampi LeggiArticolo(const Recordset& articoli)
{
    ArticoloCampi a;
    a.sigla = testo(articoli, "Sigla");
    a.codInterno = testo(articoli, "CodInterno");
    const QString descrizione = testo(articoli, "Descrizione");
    a.descrizione = RigaDescrizione(descrizione, 1);
    a.descrizione2 = RigaDescrizione(descrizione, 2);
    a.ean = testo(articoli, "EANArticolo");
    a.qtCassa = testo(articoli, "QtCartone");
    a.gtin = testo(articoli, "EANCartone");
    a.pesoCassa = testo(articoli, "PesoCartone").replace(u',', u'.');
    a.tipoPallet = testo(articoli, "TipoPallet");
    a.qtPallet = testo(articoli, "NumCartoni");
    a.durataProdotto = testo(articoli, "DurataProdotto");
    a.prefGTIN = testo(articoli, "PrefGTIN");
    a.unitaDurata = articoli.Value(QStringLiteral("UnitaDurata"));
    return a;
}

void ScriviArticolo(Recordset& articoli, const ArticoloCampi& a)
{
    articoli.SetValue(QStringLiteral("Sigla"), a.sigla);
    articoli.SetValue(QStringLiteral("CodInterno"), a.codInterno);
    articoli.SetValue(QStringLiteral("Descrizione"), UnisciDescrizione(a.descrizione, a.descrizione2));
    articoli.SetValue(QStringLiteral("EANArticolo"), a.ean);
    articoli.SetValue(QStringLiteral("QtCartone"), NumericValue(a.qtCassa));
    articoli.SetValue(QStringLiteral("EANCartone"), a.gtin);
    articoli.SetValue(QStringLiteral("PesoCartone"), DecimalValue(a.pesoCassa));
    articoli.SetValue(QStringLiteral("TipoPallet"), a.tipoPallet);
    articoli.SetValue(QStringLiteral("NumCartoni"), NumericValue(a.qtPallet));
    articoli.SetValue(QStringLiteral("DurataProdotto"), NumericValue(a.durataProdotto));
    articoli.SetValue(QStringLiteral("PrefGTIN"), a.prefGTIN);
    articoli.SetValue(QStringLiteral("UnitaDurata"), a.unitaDurata);
}

ArticoloCampi NuovoArticolo(const Recordset& setup)
{
    ArticoloCampi a;
    if (!setup.Value(QStringLiteral("StampaEANProd")).toBool()) a.ean = QStringLiteral("0000000000000");
    a.qtCassa = testo(setup, "QtDefault");
    a.tipoPallet = testo(setup, "PalletDefault");
    a.durataProdotto = testo(setup, "DurataDefault");
    a.prefGTIN = QStringLiteral("0");
    a.unitaDurata = setup.Value(QStringLiteral("UnitaDurata"));
    return a;
}
