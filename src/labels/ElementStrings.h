#pragma once
// The GS1-128 element strings of a pallet label: a text form with each application identifier in
// parentheses, and a barcode form with bare identifiers where the character 129 (FNC1) ends every
// variable-length element that another follows.

#include <QDate>
#include <QString>

class Recordset;

inline constexpr char16_t kFnc1 = 129;

// The settings that choose and order the elements.
struct ElementSettings {
    QString ordineAI;
    bool stampaEANCartone = true;
    bool stampaScadenza = true;
    bool stampaPesoLordo = true;
    bool stampaDataProd = true;
    int calcScadenza = 0;

    static ElementSettings FromSetup(const Recordset& setup);
};

// The most cartons a pallet label states: (37) takes eight digits.
inline constexpr qint64 kMaxCartoni = 99999999;

// What a label states: GTIN with (02) and Qt with (37) for a pallet of cartons, GTIN2 with (01)
// and pezzi with (30) for one trade item.
struct ElementData {
    QString gtin;
    QString qt;
    double pesolordo = 0;
    QDate scadenza;
    QString lotto;
    QString gtin2;
    QString pezzi;
    QDate produzione;
};

// Label-content flags of the label being composed.
struct LabelContent {
    bool etichettaMulti = false;
    bool articoloUnico = true;
};

// True when the trade item is stated as (01) with GTIN2 and its count as (30), else as (02) and (37).
bool SingleTradeItem(const ElementData& data, const ElementSettings& settings);

QString CalcolaEAN128Text(const ElementData& data, const ElementSettings& settings, LabelContent content);
QString CalcolaEAN128Barcode(const ElementData& data, const ElementSettings& settings, LabelContent content);
QString CalcolaEAN128TextMulti(const ElementData& data, const ElementSettings& settings);
QString CalcolaEAN128BarcodeMulti(const ElementData& data, const ElementSettings& settings);

// GS1's 82 characters for alphanumeric elements such as the lot (10): digits, Latin letters and
// !"%&'()*+,-./:;<=>?_ (no blank, no "#", no accented letter).
bool IsGs1Character(QChar c);

// Why `lot` cannot go into a (10) element, naming it and its first character outside that set; "" when it can.
QString LotRefusal(const QString& lot);

// A gross weight the six digits of (330n) can state: 0 to 999999 kg once rounded.
bool WeightFitsElement(double kg);

// The gross weight in kilograms as (330n): n decimals within six digits. A weight with more
// digits than fit is rounded to the decimals that do, so the element never states another weight.
QString CalcolaPesoLordoText(double pesolordo);
QString CalcolaPesoLordoBarcode(double pesolordo);
