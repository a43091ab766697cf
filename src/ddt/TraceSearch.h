#pragma once
// Traceability over the pallet archive: the searches behind the two listings, and clearing the
// archive or the export tables.

#include <QString>

class Database;
class Recordset;

// Archived lines of one lot (equal, not similar) of the article of this EAN, with the article's
// code and description; a pallet whose article is gone from Articoli is not listed.
QString QueryTracciaLotto(const QString& lotto, const QString& eanArticolo);
// The archived lines of the pallets of this SSCC.
QString QueryTracciaSSCC(const QString& sscc);

// Deletes every header of the table named (their lines go with them) and moves `rs`, a recordset
// on it, to its start. Returns the headers deleted.
int AzzeraTestate(Database& db, const QString& tabella, Recordset& rs);
