#pragma once
// What the operator reads about a print that went only part of the way, so that a pallet already
// out is not printed again under a new SSCC.

#include "labels/PrintJournal.h"

#include <QString>
#include <QStringList>

// The summary label of mixed pallet `sscc` is out and the pallet archived, but its article lists
// failed at the printer.
QString StampatoConErrore(const QString& sscc, const QString& failure);

// Added to the reason a run of pallets stopped: how many were printed and how many are left.
QString SerieInterrotta(qint64 printed, qint64 asked);

// A job the start sent again, as it is named to the operator: a pallet by its SSCC, a carton run by
// its article and lot.
QString LavoroRipreso(const JournalEntry& job);
// What the start tells of the jobs it sent again, one a line.
QString EtichetteRiprese(const QStringList& jobs);
// What the start tells of the pallets whose preview was open when the program stopped, given back.
QString AnteprimeRestituite(const QStringList& ssccs);
// A job the start could neither send again nor give back.
QString StampaNonRipresa(const JournalEntry& job, const QString& failure);
