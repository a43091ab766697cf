#include "labels/SymbolRefusal.h"

#include "barcodes/Barcodes.h"
#include "core/Formats.h"
#include "core/Utility.h"
#include "labels/LabelJob.h"

namespace {

bool oneDigit(const QString& s) { return s.size() == 1 && IsDigits(s); }

bool carriesLot(const ElementSettings& s) { return s.ordineAI.left(6).contains(u'5'); }

bool carriesTradeItem(const ElementSettings& s) { return s.ordineAI.left(6).contains(u'1'); }

bool carriesExpiry(const ElementSettings& s) { return s.stampaScadenza && s.ordineAI.left(6).contains(u'3'); }

// The production date goes into the symbol only where the expiry does not.
bool carriesProduction(const ElementSettings& s) { return s.stampaDataProd && !s.stampaScadenza && s.ordineAI.left(6).contains(u'6'); }

// The GTIN of (01) or (02) must be one a scanner accepts: 14 digits, the last its check digit. The
// article's own EAN goes into (01) as it is stored, and another program may have stored it wrong.
// `whose` names the article or the line.
QString tradeItemRefusal(const ElementData& data, const ElementSettings& settings, const QString& whose)
{
    const bool single = SingleTradeItem(data, settings);
    const QString gtin = single ? data.gtin2 : data.gtin;
    if (gtin.size() == 14 && IsDigits(gtin) && CheckDigitMod10(gtin.left(13)) == gtin.right(1)) return {};
    return QStringLiteral("Il GTIN %1 %2 non è valido (\"%3\"): correggere il codice EAN %4.")
        .arg(single ? QStringLiteral("(01)") : QStringLiteral("(02)"), whose, gtin,
             single ? QStringLiteral("dell'articolo") : QStringLiteral("cartone"));
}

QString unprintable(const QString& text)
{
    return QStringLiteral("Il codice a barre %1 non può essere stampato: contiene caratteri che non può rappresentare.").arg(text);
}

} // namespace

bool IsPalletType(const QString& text) { return oneDigit(text); }

QString ArticleName(const QString& sigla, const QString& codInterno, const QString& ean)
{
    for (const QString& name : {sigla, codInterno})
        if (!name.trimmed().isEmpty()) return name.trimmed();
    return ean.trimmed();
}

bool CartonGtinOnLabel(const ElementSettings& settings, const QString& cartoni, bool summaryOfOneArticle)
{
    return settings.stampaEANCartone && (summaryOfOneArticle || cartoni != QStringLiteral("1"));
}

QString CartonEanRefusal(const QString& name, const QString& eanCartone)
{
    // The encoder would fill or correct anything else into a valid-looking symbol of other digits.
    if (IsEan13(eanCartone)) return {};
    return QStringLiteral("L'articolo %1 non ha un codice EAN cartone valido (\"%2\"): correggerlo prima di stampare.")
        .arg(name, eanCartone);
}

QString LabelArticleRefusal(const LabelArticle& a)
{
    if (QString why = ProductLifeRefusal(a.name, a.durata, a.unita); !why.isEmpty()) return why;
    if (!IsPalletType(a.tipoPallet))
        return QStringLiteral("L'articolo %1 ha un tipo pallet non valido (\"%2\"): deve essere una cifra da 0 a 9.")
            .arg(a.name, a.tipoPallet);
    const QString cartoni = a.cartoni.trimmed();
    if (!IsDigits(cartoni) || cartoni.toLongLong() < 1)
        return QStringLiteral("Il numero di cartoni del pallet dell'articolo %1 non è valido (\"%2\"): un pallet ha almeno un cartone.")
            .arg(a.name, a.cartoni);
    if (!a.cartonGtin) return {};
    if (QString why = CartonEanRefusal(a.name, a.eanCartone); !why.isEmpty()) return why;
    if (!oneDigit(a.prefGTIN))
        return QStringLiteral("L'articolo %1 ha un prefisso GTIN non valido (\"%2\"): deve essere una cifra da 0 a 9.")
            .arg(a.name, a.prefGTIN);
    return {};
}

QString EncodeE128(const QString& data)
{
    for (QChar c : data)
        if (c.unicode() > 255) return {};
    const std::string font = EncodeBarcode(data.toLatin1().toStdString(), "E128", true);
    return QString::fromLatin1(font.data(), qsizetype(font.size()));
}

QString PalletSymbolRefusal(const ElementData& data, const ElementSettings& settings, LabelContent content, const QString& article)
{
    if (!content.etichettaMulti && carriesLot(settings))
        if (QString why = LotRefusal(data.lotto); !why.isEmpty()) return why;
    const bool statesItem = !content.etichettaMulti || content.articoloUnico;
    if (statesItem && carriesTradeItem(settings))
        if (QString why = tradeItemRefusal(data, settings, QStringLiteral("dell'articolo ") + article); !why.isEmpty()) return why;
    // The count and the weight are on every pallet label and in the archive, whether or not the
    // symbol states them.
    if (NumericValue(data.qt) > double(kMaxCartoni))
        return QStringLiteral("Il pallet dell'articolo %1 ha %2 cartoni: un'etichetta ne riporta al massimo %3.")
            .arg(article, data.qt)
            .arg(kMaxCartoni);
    if (!WeightFitsElement(data.pesolordo))
        return QStringLiteral("Il peso lordo del pallet dell'articolo %1 (%2 kg) deve essere tra 0 e 999999 kg.")
            .arg(article, ReplaceAll(GeneralNumber(data.pesolordo), QStringLiteral("."), QStringLiteral(",")));
    if (EncodeE128(CalcolaEAN128Barcode(data, settings, content)).isEmpty())
        return unprintable(CalcolaEAN128Text(data, settings, content));
    return {};
}

QString ArticleLineSymbolRefusal(const ElementData& data, const ElementSettings& settings)
{
    if (carriesLot(settings))
        if (QString why = LotRefusal(data.lotto); !why.isEmpty()) return why;
    if (carriesTradeItem(settings))
        if (QString why = tradeItemRefusal(data, settings, QStringLiteral("della riga del lotto ") + data.lotto); !why.isEmpty())
            return why;
    if (EncodeE128(CalcolaEAN128BarcodeMulti(data, settings)).isEmpty()) return unprintable(CalcolaEAN128TextMulti(data, settings));
    return {};
}

StatedDates PalletLabelDates(const ElementSettings& settings, bool stampaOraProd, LabelContent content)
{
    // A summary shows neither line, and its symbol states no production date.
    if (content.etichettaMulti) return {false, carriesExpiry(settings)};
    return {settings.stampaDataProd || stampaOraProd, settings.stampaScadenza};
}

StatedDates ArticleLineDates(const ElementSettings& settings) { return {carriesProduction(settings), carriesExpiry(settings)}; }
