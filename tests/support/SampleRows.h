#pragma once
// Rows the tests start from: the Setup row changed column by column, and a sample article.

#include <QVariant>

#include <initializer_list>
#include <utility>

class frmArticoli;

using Columns = std::initializer_list<std::pair<const char*, QVariant>>;

// From now on each row written to the report table `table` is also kept in the temporary table
// "Kept" + `table`: a print empties its report table once it has bound the rows.
void KeepReportRows(const char* table);

// Writes the given columns into the Setup row.
void SetSetup(Columns values);

// Adds a carton of passata (40 cartons of 6 pieces, 12.5 kg, pallet type 3, 180 days) with the
// given columns changed; it becomes the current article. Returns its ID.
qint64 AddArticle(Columns changes = {});

// A label job typed by hand: no clock, no automatic lot, no preview, the counter advanced; produced
// 08/12/26 10:30, lot L0342, one copy.
void TypeLabelJob(frmArticoli& window);
