#include "labels/Sscc.h"

#include "core/Utility.h"
#include "core/db/Recordset.h"

#include <QRegularExpression>

QString ComposeSscc(const QString& extension, const QString& paese, const QString& codProduttore, const QString& postazione,
                    qint64 serial)
{
    const int width = codProduttore.size() == 5 ? 8 : 6;
    return AppendCheckDigit(extension + paese + codProduttore + postazione
                            + PadLeft(QString::number(serial), width, QStringLiteral("0")));
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

QString ScannedSscc(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(?:(?:\\]C1)?00)?([0-9]{18})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    return m.hasMatch() ? m.captured(1) : QString();
}
