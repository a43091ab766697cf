#pragma once
// The request folder: each *.req file is read, stored whole and deleted, one file at a time.

#include "passive/RequestFile.h"

class Database;
class Recordset;

// The Setup values a request file falls back on, with `now` as the time of the import.
RequestDefaults RequestDefaultsFromSetup(const Recordset& setup, const QDateTime& now);

// Imports one file and deletes it once its rows are committed. False, leaving the file in place
// and the tables untouched, when it cannot be read, parsed, stored or deleted.
bool LeggiFileRichiesta(Database& db, const QString& path, const RequestDefaults& defaults);

// Every ordinary *.req file of the folder (any letter case), in name order; a file that fails
// waits in the folder for the next scan while the others go on.
void ImportRequestFolder(Database& db, const QString& folder, const RequestDefaults& defaults);
