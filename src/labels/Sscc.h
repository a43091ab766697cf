#pragma once
// The serial shipping container code: extension digit (pallet type), country, producer, workstation,
// serial from the counter, GS1 check digit.

#include <QString>

class Recordset;

// The serial is filled with zeros to 8 digits for a 5-character producer code, else to 6.
QString ComposeSscc(const QString& extension, const QString& paese, const QString& codProduttore, const QString& postazione,
                    qint64 serial);

// The SSCC of the given serial with the prefix pieces of the Setup row.
QString ComposeSscc(const QString& extension, const Recordset& setup, qint64 serial);

// The highest serial the SSCC's digits hold: 99999999 beside a 5-character producer code, else 999999.
qint64 HighestSerial(const QString& codProduttore);

// Why no SSCC can take `serial`: the counter has reached the end of its range, or the serial is
// below 0. "" when it can.
QString SerialRefusal(const QString& codProduttore, qint64 serial);

// Why the Setup row's prefix pieces and `serial` make no SSCC of 18 digits, naming the setting and
// its value; "" when they do. The extension digit is the pallet type's own check.
QString SsccRefusal(const QString& paese, const QString& codProduttore, const QString& postazione, qint64 serial);
QString SsccRefusal(const Recordset& setup, qint64 serial);

// Eighteen digits, the last the check digit of the other seventeen.
bool IsSscc(const QString& sscc);

// Why an archived pallet's SSCC, which another program may have written, is none a scanner takes,
// naming the pallet's article and the SSCC; "" when it is an SSCC.
QString SsccRefusal(const QString& sscc, const QString& article);

// What the operator reads when the next SSCC is archived already.
QString SsccEsistente();

// Whether the archive already holds this SSCC. Asks the table itself: a recordset's empty state
// dates from its last move.
bool SsccArchiviato(Recordset& appTestate, const QString& sscc);

// The SSCC in what the operator typed or a scanner sent: its 18 digits, alone, after "00" (its
// application identifier), after "]C100" (the mark of a GS1-128 symbol before that) or after
// "(00)" (as the text under the symbol reads); blanks around are dropped. Empty for anything else.
QString ScannedSscc(const QString& text);
