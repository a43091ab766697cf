#pragma once
// The article-list labels of a pallet of several lines: each label repeats the pallet's SSCC and
// carries up to five of its lines as GS1-128 element strings, in text and as barcodes.

#include "labels/ElementStrings.h"

#include <QDateTime>
#include <QString>

#include <vector>

struct ArticleLine {
    QString gtin;        // carton GTIN-14
    QDateTime scadenza;
    qint64 qt = 0;       // cartons
    QString lotto;
    QString gtin2;       // "0" and the article's EAN-13
    QString pezzi;
    QDateTime produzione;
};

inline constexpr int kLinesPerLabel = 5;

// What the line's element strings state.
ElementData ArticleLineElements(const ArticleLine& line);

// Empties ReportPalletArticoli and writes one row per five lines; unused slots hold "".
void FillArticleList(const QString& sscc, const std::vector<ArticleLine>& lines);

