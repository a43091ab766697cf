#pragma once
// The archive as the reprint picker lists it, highest SSCC first, one page at a time: a page
// costs the same however many pallets the archive holds.

#include <QString>

#include <optional>
#include <vector>

class Database;

struct ArchiveListRow {
    qint64 idAppTestate = -1;
    QString sscc;
    QString qtCartoni;
    QString numPezzi;
    QString pesoLordo;
    QString descrizione; // the first line's, or "Vari" when the lines hold several EANs
};

// The last row listed: the next page starts below it (pallets of one SSCC go by falling key).
struct ArchiveListCursor {
    QString sscc;
    qint64 idAppTestate = 0;
};

// Up to `count` pallets after `after`, or from the top when there is none.
std::vector<ArchiveListRow> ArchiveListPage(Database& db, const std::optional<ArchiveListCursor>& after, int count);
