#pragma once
// What a printed pallet leaves in the records: the export rows for other software and the archive
// rows for reprints and traceability, written together or not at all.

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
    qint64 idExportTestate = -1;
    qint64 idAppTestate = -1;
};

// Writes the export and then the archive rows, inside the caller's transaction when one is open,
// else in one of its own. Throws AppError; its own transaction is then rolled back.
RecordedPallet RecordPrintedPallet(const PalletTables& tables, const PalletRecord& pallet);
