#pragma once
// Checks made before anything of a label is written or printed: every value a label states must be
// one a scanner and GS1 accept, and every GS1-128 symbol must carry exactly what the label's text
// and the archive state, or the label is refused. Every print road asks here before its transaction.

#include "labels/ElementStrings.h"

#include <QString>

// What an article gives its pallet label (or one line of a mixed pallet), as the print reads it.
struct LabelArticle {
    QString name;       // names the article in the messages (ArticleName)
    QString tipoPallet; // the SSCC's extension digit; its tare is a setting
    QString prefGTIN;   // the GTIN-14's indicator digit
    QString eanCartone; // its first 12 digits go into the GTIN-14
    QString cartoni;    // cartons on the pallet or on the line
    QString durata;     // product life: count and unit as text, "" when missing
    QString unita;
    bool cartonGtin = true; // the carton GTIN reaches the label (CartonGtinOnLabel)
};

// How a message names an article: by its abbreviation or its internal code, the codes it is looked
// up by, or by its EAN when it has neither.
QString ArticleName(const QString& sigla, const QString& codInterno, const QString& ean);

// Whether an article's carton GTIN reaches a label: as (02) in the symbol of a label or mixed-pallet
// line of `cartoni` cartons, or on a label's GTIN line. Only with the carton EAN setting on; a single
// carton states (01), but a summary of lots of one article states its carton GTIN whatever they hold.
bool CartonGtinOnLabel(const ElementSettings& settings, const QString& cartoni, bool summaryOfOneArticle);

// One digit from 0 to 9: an SSCC extension digit with a tare column of its own.
bool IsPalletType(const QString& text);

// Why the article's values cannot go onto a pallet label, naming the article, the field and the
// value; "" when they can. The carton EAN and the GTIN indicator count only where the carton GTIN
// reaches the label.
QString LabelArticleRefusal(const LabelArticle& article);

// Why the carton EAN cannot make a carton's symbol or GTIN: 13 digits, the last its check digit.
QString CartonEanRefusal(const QString& name, const QString& eanCartone);

// The E128 font string of `data`; "" when a character cannot be carried (none outside Latin-1 is
// turned into another one on the way).
QString EncodeE128(const QString& data);

// Why the element symbol of a pallet or summary label cannot be printed, naming the lot or the
// article; "" when it can.
QString PalletSymbolRefusal(const ElementData& data, const ElementSettings& settings, LabelContent content,
                            const QString& article);

// The same for one line of the article-list labels, which state no weight.
QString ArticleLineSymbolRefusal(const ElementData& data, const ElementSettings& settings);

// The dates a label states, on a text line or in its symbol, by the print options.
struct StatedDates {
    bool production = false;
    bool expiry = false;
};

// A pallet or summary label: the production line (date, time or both) and the expiry line of a
// single label, (11) and (15) of its symbol.
StatedDates PalletLabelDates(const ElementSettings& settings, bool stampaOraProd, LabelContent content);

// A line of the article-list labels: (11) and (15) of its symbol.
StatedDates ArticleLineDates(const ElementSettings& settings);
