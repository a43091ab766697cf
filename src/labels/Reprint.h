#pragma once
// An archived pallet read back for its reprint: the header and its lines as they were recorded,
// and the label row rebuilt from them. Nothing is drawn, counted, exported or archived again.

#include "labels/ArticleListLabels.h"
#include "labels/PalletArchive.h"

#include <optional>
#include <vector>

enum class PalletMix {
    Homogeneous,     // one GTIN and one lot: a single pallet label
    OneArticle,      // one GTIN, several lots: summary and article lists
    SeveralArticles, // several GTINs: summary without the article
};

struct ArchivedPallet {
    qint64 idAppTestate = -1;
    PalletRecord record; // lines in NumRiga order
};

// The lines of an archived pallet in NumRiga order.
std::vector<PalletLine> ReadArchivedLines(Database& db, qint64 idAppTestate);

// The pallet whose header has this key, or nothing when it is no longer archived. The header
// recordset is left on it.
std::optional<ArchivedPallet> ReadArchivedPallet(Database& db, Recordset& appTestate, qint64 idAppTestate);

// Every line compared with the first; no lines count as homogeneous.
PalletMix MixOf(const std::vector<PalletLine>& lines);

// Why the pallet's label or article lists could not carry their symbols now; "" when they can.
// The pallet has a line.
QString ReprintRefusal(const Recordset& setup, const PalletRecord& pallet, PalletMix mix);

// Replaces the rows of ReportPallet with the pallet's single label row. The pallet has a line.
void WriteReprintRow(Database& db, const Recordset& setup, const PalletRecord& pallet, PalletMix mix);

// The pallet's lines as its article-list labels state them.
std::vector<ArticleLine> ArticleLinesOf(const PalletRecord& pallet);
