#include "labels/SymbolRefusal.h"

#include "barcodes/Barcodes.h"
#include "core/Formats.h"
#include "core/Utility.h"

namespace {

bool carriesLot(const ElementSettings& s) { return s.ordineAI.left(6).contains(u'5'); }

QString unprintable(const QString& text)
{
    return QStringLiteral("Il codice a barre %1 non può essere stampato: contiene caratteri che non può rappresentare.").arg(text);
}

} // namespace

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
    // The weight is on every pallet label and in the archive, whether or not the symbol states it.
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
    if (EncodeE128(CalcolaEAN128BarcodeMulti(data, settings)).isEmpty()) return unprintable(CalcolaEAN128TextMulti(data, settings));
    return {};
}
