#pragma once
// The summary sheet of a saved delivery note: its lines laid out ten to a ReportDDT record, in line
// order, for the delivery-note layouts.

#include <QString>

class Database;

constexpr int kRigheFoglioDDT = 10;

// Empties ReportDDT and fills it with the note's lines; a note without lines leaves it empty.
// Returns the records written. One transaction: throws AppError after rolling back.
int CompilaReportDDT(Database& db, const QString& numero, const QString& data);

// The copies typed, to the nearest whole number; below 1 means nothing is to be printed.
int CopieDDT(const QString& testo);
