#include "labels/Sscc.h"

#include "core/Utility.h"
#include "core/db/Recordset.h"

int SerialWidth(const QString& codProduttore) { return codProduttore.size() == 5 ? 8 : 6; }

QString ComposeSscc(const QString& extension, const QString& paese, const QString& codProduttore, const QString& postazione,
                    qint64 serial)
{
    return AppendCheckDigit(extension + paese + codProduttore + postazione
                            + PadLeft(QString::number(serial), SerialWidth(codProduttore), QStringLiteral("0")));
}

QString ComposeSscc(const QString& extension, const Recordset& setup, qint64 serial)
{
    return ComposeSscc(extension, NzStr(setup.Value(QStringLiteral("Paese"))), NzStr(setup.Value(QStringLiteral("CodProduttore"))),
                       NzStr(setup.Value(QStringLiteral("Postazione"))), serial);
}

QString SsccEsistente()
{
    return QStringLiteral("SSCC esistente: aggiornare il contatore o utilizzare la funzione Ristampa per stampare nuovamente "
                          "un'etichetta in archivio.");
}

bool SsccArchiviato(Recordset& appTestate, const QString& sscc)
{
    appTestate.FindFirst(QStringLiteral("SSCC = '") + SqlQuote(sscc) + QStringLiteral("'"));
    return !appTestate.NoMatch();
}
