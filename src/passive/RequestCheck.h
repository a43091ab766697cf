#pragma once
// What a print request may ask, whoever wrote it: one check for the sections of a request file and
// for the rows other programs write into the request tables. A value that does not fit what it asks
// for refuses the request; it is never cut or rounded into another value.

#include "passive/RequestFile.h"

class Recordset;

// The most copies or carton labels a request asks for: what the window's quantity fields hold. The
// cartons of a pallet line go up to kMaxCartoni, as many as the print tab and a label take.
inline constexpr qint64 kMaxQuantita = 9999;
// The longest lot a label carries.
inline constexpr int kMaxLotto = 20;

// Why the request cannot be printed as it asks; "" when it can. The SSCC serials it may ask for
// hang on the Setup row's producer code.
QString HeaderRefusal(const RequestHeader& header, const QString& codProduttore);
// A [RIGA]: a lot of a pallet.
QString LineRefusal(const RequestLine& line);
// An [IMBALLO]: a run of carton labels.
QString CartonRequestRefusal(const RequestLine& line);
QString ArticleRefusal(const RequestArticle& article);

// A request row read as the types its columns stand for; `refusal` names the first value that is
// not of its column's type (a text in a number, a number with decimals, a date that is no date).
template <class Request>
struct RequestRow {
    Request request;
    QString refusal;
};

RequestRow<RequestHeader> ReadHeaderRow(const Recordset& testata);
// A row of RichiesteRighe or RichiesteImballi.
RequestRow<RequestLine> ReadLineRow(const Recordset& riga);
