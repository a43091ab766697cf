#pragma once
// A pallet of several lots, possibly of several articles, under one SSCC: the rows gathered in the
// lot grid become either one ordinary pallet label (a single row) or a summary label with the
// pallet's totals, the article-list lines and the archive lines.

#include "labels/ArticleListLabels.h"
#include "labels/PalletArchive.h"
#include "labels/PalletLabel.h"

#include <QDateTime>
#include <QString>

#include <vector>

class Recordset;

// One row of the lot grid.
struct LotRow {
    qint64 articleId = 0;
    QString lotto;
    QString dataOra; // production date, one blank, production time, as typed
    QString qt;      // cartons
};

struct MixedPalletJob {
    QString refusal;               // why the pallet cannot be printed; nothing else is set then
    bool severalArticles = false;
    PalletLabelArgs label;         // the ordinary label of a single row, or the summary label
    PalletRecord record;           // header and every line, for the archive and the export
    std::vector<ArticleLine> articleLines;
};

// The earliest expiry of the lines: what a summary label states for the whole pallet.
QDateTime EarliestExpiry(const std::vector<PalletLine>& lines);

// Reads each row's article from `articoli` by its key (moving the recordset) and the tare, the
// expiry rule and the production-text switches from `setup`. The summary label takes its article
// fields from the last row's article, its production date from `now` and the earliest expiry. A row
// or label whose symbol could not be printed refuses the pallet.
MixedPalletJob PrepareMixedPallet(const std::vector<LotRow>& rows, Recordset& articoli, const Recordset& setup,
                                  const QString& tipoPallet, const QString& copie, qint64 serial, const QDateTime& now);
