#pragma once
// A delivery note on file: its header (number and date, which together identify it) and one line
// per archived line of each of its pallets. Saving copies the archive lines, so a saved note keeps
// its articles, lots and expiry dates even after the archive is cleared.

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Database;
class Recordset;

struct DDTTables {
    Database& db;
    Recordset& testate;    // DDTTestate
    Recordset& righe;      // DDTRighe
    Recordset& appTestate; // the pallet archive, searched by SSCC
};

// A note's date as it is stored: dd/mm/yy with "/" whatever the system's separator.
QString DataDDT(const QDate& date);
// A typed date (day, month, year in the system's order) rebuilt as DataDDT; nothing when it is no date.
std::optional<QString> LeggiDataDDT(const QString& text);

// The pallets of the saved note, one SSCC each in line order; nothing when there is no such note.
std::optional<QStringList> LeggiDDT(const DDTTables& t, const QString& numero, const QString& data);

// Writes the note with these pallets, replacing any note of the same number and date, in one
// transaction. Pallets no longer in the archive are left out: returns their positions in `sscc`.
// Throws AppError after rolling everything back.
std::vector<int> ScriviDDT(const DDTTables& t, const QString& numero, const QString& data, const QStringList& sscc);
