#pragma once
// What the operator reads about a print that went only part of the way, so that a pallet already
// out is not printed again under a new SSCC.

#include <QString>

// The label of pallet `sscc` is out and the pallet archived, but what came after failed;
// `articleListsOut` false: the article lists of a mixed pallet were not printed.
QString StampatoConErrore(const QString& sscc, const QString& failure, bool articleListsOut = true);

// Added to the reason a run of pallets stopped: how many were printed and how many are left.
QString SerieInterrotta(qint64 printed, qint64 asked);
