#pragma once
// Changes to the Setup row that must not be lost to another program on the same data folder: the
// row is read from the file and written back inside one write transaction.

#include <QtGlobal>

#include <functional>

class Database;
class Recordset;

// Runs inside the caller's write transaction when one is open, else in one of its own. A failure
// leaves the row as it was and reaches the caller.
void EditSetupRow(Database& db, Recordset& setup, const std::function<void(Recordset&)>& change);

// contatore = next(contatore as it is in the file); returns the value written.
qint64 AdvanceCounter(Database& db, Recordset& setup, const std::function<qint64(qint64)>& next);

// The counter as it is in the file now; inside a write transaction no other program can change it.
qint64 CounterInFile(Recordset& setup);
