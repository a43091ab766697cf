#include "labels/ElementStrings.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Recordset.h"

#include <cmath>

namespace {

enum class Form { Text, Barcode };

struct Weight {
    int decimals;
    QString digits; // six digits
};

// The weight as the general number shows it, with the decimal point as separator.
QString weightText(double kg) { return ReplaceAll(GeneralNumber(kg), QStringLiteral(","), QStringLiteral(".")); }

Weight weightElement(double kg)
{
    QString s = weightText(kg);
    int point = s.indexOf(u'.');
    if (point >= 0 && s.size() - 1 > 6 && point <= 6) {
        // Too many digits: keep the decimals that fit beside the whole kilograms.
        const int fit = 6 - point;
        const double scale = std::pow(10.0, fit);
        s = weightText(std::round(kg * scale) / scale);
        point = s.indexOf(u'.');
    }
    if (point < 0) return {0, PadLeft(s, 6, QStringLiteral("0"))};
    const QString after = s.mid(point + 1);
    return {int(after.size()), PadLeft(s.left(point) + after, 6, QStringLiteral("0"))};
}

QString yymmdd(const QDate& d) { return FormatDate(d, QStringLiteral("yymmdd")); }

QString expiryDate(const QDate& d, int rule)
{
    if (rule == 3 || rule == 4) return FormatDate(d, QStringLiteral("yymm")) + QStringLiteral("00");
    return yymmdd(d);
}

QString ai(const char* id, Form form)
{
    return form == Form::Text ? u'(' + QString::fromLatin1(id) + u')' : QString::fromLatin1(id);
}

QString weight(double kg, Form form)
{
    const Weight w = weightElement(kg);
    const QString id = QStringLiteral("330") + QString::number(w.decimals);
    return (form == Form::Text ? u'(' + id + u')' : id) + w.digits;
}

struct Switches {
    bool item = true, count = true, expiry = true, lot = true, production = true;
};

QString compose(const ElementData& data, const ElementSettings& s, Form form, Switches on, bool withWeight)
{
    // Both trade-item and count groups take the (01)/(30) pair for a single item or without carton GTINs.
    const bool single = SingleTradeItem(data, s);
    const QString fnc1 = form == Form::Barcode ? QString(QChar(kFnc1)) : QString();
    QString out;
    for (QChar c : s.ordineAI.left(6)) {
        switch (c.unicode()) {
        case u'1':
            if (on.item) out += single ? ai("01", form) + data.gtin2 : ai("02", form) + data.gtin;
            break;
        case u'2':
            if (on.count) out += (single ? ai("30", form) + data.pezzi : ai("37", form) + data.qt) + fnc1;
            break;
        case u'3':
            if (on.expiry && s.stampaScadenza) out += ai("15", form) + expiryDate(data.scadenza, s.calcScadenza);
            break;
        case u'4':
            if (withWeight && s.stampaPesoLordo) out += weight(data.pesolordo, form);
            break;
        case u'5':
            if (on.lot) out += ai("10", form) + data.lotto + fnc1;
            break;
        case u'6':
            if (on.production && s.stampaDataProd && !s.stampaScadenza) out += ai("11", form) + yymmdd(data.produzione);
            break;
        default: break;
        }
    }
    return out;
}

QString dropTrailingFnc1(QString s)
{
    if (s.endsWith(QChar(kFnc1))) s.chop(1);
    return s;
}

QString itemAlone(const ElementData& data, const ElementSettings& s, Form form)
{
    return SingleTradeItem(data, s) ? ai("01", form) + data.gtin2 : ai("02", form) + data.gtin;
}

} // namespace

bool SingleTradeItem(const ElementData& data, const ElementSettings& settings)
{
    return !settings.stampaEANCartone || data.qt == QLatin1String("1");
}

ElementSettings ElementSettings::FromSetup(const Recordset& setup)
{
    ElementSettings s;
    s.ordineAI = NzStr(setup.Value(QStringLiteral("OrdineAI")));
    s.stampaEANCartone = setup.Value(QStringLiteral("StampaEANCartone")).toBool();
    s.stampaScadenza = setup.Value(QStringLiteral("StampaScadenza")).toBool();
    s.stampaPesoLordo = setup.Value(QStringLiteral("StampaPesoLordo")).toBool();
    s.stampaDataProd = setup.Value(QStringLiteral("StampaDataProd")).toBool();
    s.calcScadenza = setup.Value(QStringLiteral("CalcScadenza")).toInt();
    return s;
}

QString CalcolaEAN128Text(const ElementData& data, const ElementSettings& settings, LabelContent content)
{
    // The text states what the symbol holds: a summary's expiry is in both.
    Switches on;
    if (content.etichettaMulti) {
        on.lot = on.production = false;
        if (!content.articoloUnico) on.item = on.count = false;
    }
    const QString out = compose(data, settings, Form::Text, on, true);
    return out.isEmpty() ? CalcolaPesoLordoText(data.pesolordo) : out;
}

QString CalcolaEAN128Barcode(const ElementData& data, const ElementSettings& settings, LabelContent content)
{
    Switches on;
    if (content.etichettaMulti) {
        on.lot = on.production = false;
        if (!content.articoloUnico) on.item = on.count = false;
    }
    const QString out = compose(data, settings, Form::Barcode, on, true);
    return dropTrailingFnc1(out.isEmpty() ? CalcolaPesoLordoBarcode(data.pesolordo) : out);
}

QString CalcolaEAN128TextMulti(const ElementData& data, const ElementSettings& settings)
{
    const QString out = compose(data, settings, Form::Text, Switches{}, false);
    return out.isEmpty() ? itemAlone(data, settings, Form::Text) : out;
}

QString CalcolaEAN128BarcodeMulti(const ElementData& data, const ElementSettings& settings)
{
    const QString out = compose(data, settings, Form::Barcode, Switches{}, false);
    return dropTrailingFnc1(out.isEmpty() ? itemAlone(data, settings, Form::Barcode) : out);
}

bool IsGs1Character(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')) return true;
    return u < 128 && QStringLiteral("!\"%&'()*+,-./:;<=>?_").contains(c);
}

QString LotRefusal(const QString& lot)
{
    for (qsizetype i = 0; i < lot.size(); ++i) {
        if (IsGs1Character(lot[i])) continue;
        const qsizetype width = lot[i].isHighSurrogate() && i + 1 < lot.size() ? 2 : 1;
        return QStringLiteral("Il lotto \"%1\" contiene il carattere \"%2\", che il codice a barre GS1-128 non ammette.")
            .arg(lot, lot.mid(i, width));
    }
    return {};
}

bool WeightFitsElement(double kg) { return kg >= 0 && std::round(kg) < 1e6; }

QString CalcolaPesoLordoText(double pesolordo) { return weight(pesolordo, Form::Text); }

QString CalcolaPesoLordoBarcode(double pesolordo) { return weight(pesolordo, Form::Barcode); }
