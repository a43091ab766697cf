#pragma once
// The serial shipping container code: extension digit (pallet type), country, producer, workstation,
// serial from the counter, GS1 check digit.

#include <QString>

class Recordset;

// Digits of the serial: 8 with a 5-character producer code, else 6.
int SerialWidth(const QString& codProduttore);

// The serial is filled with zeros to its width.
QString ComposeSscc(const QString& extension, const QString& paese, const QString& codProduttore, const QString& postazione,
                    qint64 serial);

// The SSCC of the given serial with the prefix pieces of the Setup row.
QString ComposeSscc(const QString& extension, const Recordset& setup, qint64 serial);

// What the operator reads when the next SSCC is archived already.
QString SsccEsistente();

// Whether the archive already holds this SSCC. Asks the table itself: a recordset's empty state
// dates from its last move.
bool SsccArchiviato(Recordset& appTestate, const QString& sscc);
