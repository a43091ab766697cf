#pragma once
// What a printed pallet leaves in the records: the counter advanced, the export rows for other
// software and the archive rows for reprints and traceability. All of it is written in one
// transaction after the label has printed, so a failure leaves none of it and no SSCC is issued twice.

#include <QDateTime>
#include <QString>

#include <vector>

class Database;
class Recordset;

struct PalletLine {
    QString codInterno;
    QDateTime dataOra;
    qint64 qtCartoni = 0;
    QString lotto;
    QDateTime dataScadenza;
    QString codEAN;
    QString gtin;
    qint64 numPezzi = 0;
    QString descrizione;
};

struct PalletRecord {
    QString sscc;
    qint64 qtCartoni = 0;
    qint64 numPezzi = 0;
    double pesoLordo = 0;
    QString tipoPallet;
    std::vector<PalletLine> lines;
};

struct PalletTables {
    Database& db;
    Recordset& setup;
    Recordset& exportTestate;
    Recordset& exportRighe;
    Recordset& appTestate;
    Recordset& appRighe;
};

struct RecordedPallet {
    qint64 idAppTestate = -1; // -1 when nothing was archived
    qint64 contatore = 0;     // the counter after the pallet
};

// Advances the counter when asked and, when asked, writes the export and then the archive rows.
// Throws AppError after rolling everything back.
RecordedPallet RecordPrintedPallet(const PalletTables& tables, const PalletRecord& pallet, bool advanceCounter, bool archive);
