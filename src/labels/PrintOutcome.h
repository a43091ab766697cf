#pragma once
// What the operator reads about a print that went only part of the way, so that a pallet already
// out is not printed again under a new SSCC.

#include <QString>
#include <QStringList>

// The summary label of mixed pallet `sscc` is out and the pallet archived, but its article lists
// failed at the printer.
QString StampatoConErrore(const QString& sscc, const QString& failure);

// Added to the reason a run of pallets stopped: how many were printed and how many are left.
QString SerieInterrotta(qint64 printed, qint64 asked);

// What the start tells of the pallets whose labels it sent again, one SSCC a line.
QString EtichetteRiprese(const QStringList& ssccs);
