#include "passive/RequestCheck.h"

#include "core/Utility.h"
#include "core/db/Recordset.h"
#include "labels/LabelJob.h"
#include "labels/Sscc.h"
#include "labels/SymbolRefusal.h"

namespace {

QString notADate(const QString& column, const QString& value) { return QStringLiteral("%1 '%2' non è una data e ora.").arg(column, value); }

// A whole number of its column, or why the value is none; nothing for a null.
class Reader {
public:
    explicit Reader(const Recordset& rs) : rs_(rs) {}

    std::optional<qint64> whole(const char* column)
    {
        const QVariant value = rs_.Value(QLatin1String(column));
        if (value.isNull()) return std::nullopt;
        if (value.typeId() == QMetaType::LongLong) return value.toLongLong();
        refuse(QStringLiteral("%1 '%2' non è un numero intero.").arg(QLatin1String(column), value.toString()));
        return std::nullopt;
    }

    qint64 required(const char* column)
    {
        const std::optional<qint64> value = whole(column);
        if (!value && refusal.isEmpty()) refuse(QStringLiteral("%1 senza valore.").arg(QLatin1String(column)));
        return value.value_or(0);
    }

    bool yes(const char* column) const { return rs_.Value(QLatin1String(column)).toBool(); }
    QString text(const char* column) const { return NzStr(rs_.Value(QLatin1String(column))); }

    QDateTime dateTime(const char* column)
    {
        const QVariant value = rs_.Value(QLatin1String(column));
        if (value.typeId() == QMetaType::QDateTime) return value.toDateTime();
        if (!value.isNull()) refuse(notADate(QLatin1String(column), value.toString()));
        return {};
    }

    QString refusal;

private:
    void refuse(const QString& why)
    {
        if (refusal.isEmpty()) refusal = why;
    }
    const Recordset& rs_;
};

QString lineRefusal(const RequestLine& l, qint64 maxCartoni)
{
    if (l.numCartoni < 1 || l.numCartoni > maxCartoni) return QStringLiteral("NumCartoni %1: da 1 a %2.").arg(l.numCartoni).arg(maxCartoni);
    if (!l.autoLotto && l.lotto.size() > kMaxLotto)
        return QStringLiteral("Lotto di %1 caratteri: al massimo %2.").arg(l.lotto.size()).arg(kMaxLotto);
    if (!l.autoData && l.dataOraIllegibile) return notADate(QStringLiteral("DataOra"), *l.dataOraIllegibile);
    if (!l.autoData && !l.dataOra.isValid())
        return QStringLiteral("DataOra senza valore: con AutoData a no la richiesta dà la data e ora di produzione.");
    return {};
}

} // namespace

QString HeaderRefusal(const RequestHeader& h, const QString& codProduttore)
{
    if (h.copie > kMaxQuantita) return QStringLiteral("Copie %1: al massimo %2.").arg(h.copie).arg(kMaxQuantita);
    // A reprint reads no counter: its counter fields are not looked at.
    if (h.specificaContatore && !h.ristampa) {
        // The counter keeps the last serial used, from 0 as the settings dialog takes it: the first serial is one more.
        if (h.contatoreSSCC < 1)
            return QStringLiteral("ContatoreSSCC %1: il primo seriale va da 1 a %2.").arg(h.contatoreSSCC).arg(HighestSerial(codProduttore));
        if (QString why = SerialRefusal(codProduttore, h.contatoreSSCC); !why.isEmpty()) return why;
    }
    if (!h.ristampa && !IsPalletType(h.tipoPallet))
        return QStringLiteral("TipoPallet '%1': il tipo pallet è una cifra da 0 a 9.").arg(h.tipoPallet);
    return {};
}

QString LineRefusal(const RequestLine& l) { return lineRefusal(l, kMaxCartoni); }

QString CartonRequestRefusal(const RequestLine& l) { return lineRefusal(l, kMaxQuantita); }

// The article is named by its internal code, or by its carton EAN when it has none.
QString ArticleRefusal(const RequestArticle& a)
{
    return ProductLifeRefusal(a.codInterno.isEmpty() ? a.eanCartone : a.codInterno, QString::number(a.durataProdotto),
                              QString::number(a.unitaDurata));
}

RequestRow<RequestHeader> ReadHeaderRow(const Recordset& testata)
{
    Reader r(testata);
    RequestHeader h;
    h.ristampa = r.yes("Ristampa");
    h.specificaContatore = r.yes("SpecificaContatore");
    h.aggiornaContatore = r.yes("AggiornaContatore");
    h.copie = r.required("Copie");
    if (h.ristampa) h.idAppTestate = r.required("IDAppTestate");
    if (h.specificaContatore && !h.ristampa) h.contatoreSSCC = r.required("ContatoreSSCC");
    h.tipoPallet = r.text("TipoPallet");
    return {h, r.refusal};
}

RequestRow<RequestLine> ReadLineRow(const Recordset& riga)
{
    Reader r(riga);
    RequestLine l;
    l.autoLotto = r.yes("AutoLotto");
    l.lotto = r.text("Lotto");
    l.autoData = r.yes("AutoData");
    if (!l.autoData) l.dataOra = r.dateTime("DataOra");
    l.prefGTIN = r.text("PrefGTIN");
    l.eanCartone = r.text("EANCartone");
    l.numCartoni = r.required("NumCartoni");
    return {l, r.refusal};
}
