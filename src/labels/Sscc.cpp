#include "labels/Sscc.h"

#include "core/Utility.h"
#include "core/db/Recordset.h"

#include <QRegularExpression>

namespace {

int serialWidth(const QString& codProduttore) { return codProduttore.size() == 5 ? 8 : 6; }

// Empty pieces may pass: the length of the whole SSCC decides.
bool digitsOrEmpty(const QString& s) { return s.isEmpty() || IsDigits(s); }

} // namespace

QString ComposeSscc(const QString& extension, const QString& paese, const QString& codProduttore, const QString& postazione,
                    qint64 serial)
{
    const int width = serialWidth(codProduttore);
    return AppendCheckDigit(extension + paese + codProduttore + postazione
                            + PadLeft(QString::number(serial), width, QStringLiteral("0")));
}

QString ComposeSscc(const QString& extension, const Recordset& setup, qint64 serial)
{
    return ComposeSscc(extension, NzStr(setup.Value(QStringLiteral("Paese"))), NzStr(setup.Value(QStringLiteral("CodProduttore"))),
                       NzStr(setup.Value(QStringLiteral("Postazione"))), serial);
}

qint64 HighestSerial(const QString& codProduttore)
{
    qint64 highest = 1;
    for (int i = 0; i < serialWidth(codProduttore); ++i) highest *= 10;
    return highest - 1;
}

QString SerialRefusal(const QString& codProduttore, qint64 serial)
{
    const qint64 highest = HighestSerial(codProduttore);
    if (serial > highest)
        return QStringLiteral("Il contatore SSCC ha raggiunto la fine del suo intervallo: il seriale %1 non sta nelle %2 cifre "
                              "dell'SSCC.")
            .arg(serial)
            .arg(serialWidth(codProduttore));
    if (serial < 0) return QStringLiteral("Il seriale SSCC %1 non è valido: deve essere tra 0 e %2.").arg(serial).arg(highest);
    return {};
}

QString SsccRefusal(const QString& paese, const QString& codProduttore, const QString& postazione, qint64 serial)
{
    if (!digitsOrEmpty(paese)) return QStringLiteral("Il paese dell'SSCC (\"%1\") deve essere di sole cifre.").arg(paese);
    if (!IsDigits(codProduttore) || (codProduttore.size() != 5 && codProduttore.size() != 7))
        return QStringLiteral("Il codice produttore dell'SSCC (\"%1\") deve essere di 5 o 7 cifre.").arg(codProduttore);
    if (!digitsOrEmpty(postazione)) return QStringLiteral("La postazione dell'SSCC (\"%1\") deve essere di sole cifre.").arg(postazione);
    const qsizetype digits = 1 + paese.size() + codProduttore.size() + postazione.size() + serialWidth(codProduttore) + 1;
    if (digits != 18)
        return QStringLiteral("L'SSCC deve avere 18 cifre: con il paese \"%1\" e la postazione \"%2\" ne avrebbe %3.")
            .arg(paese, postazione)
            .arg(digits);
    return SerialRefusal(codProduttore, serial);
}

QString SsccRefusal(const Recordset& setup, qint64 serial)
{
    return SsccRefusal(NzStr(setup.Value(QStringLiteral("Paese"))), NzStr(setup.Value(QStringLiteral("CodProduttore"))),
                       NzStr(setup.Value(QStringLiteral("Postazione"))), serial);
}

bool IsSscc(const QString& sscc) { return sscc.size() == 18 && IsDigits(sscc) && CheckDigitMod10(sscc.left(17)) == sscc.right(1); }

QString SsccRefusal(const QString& sscc, const QString& article)
{
    if (IsSscc(sscc)) return {};
    return QStringLiteral("L'SSCC del pallet dell'articolo %1 non è valido (\"%2\"): deve avere 18 cifre, l'ultima il check digit "
                          "delle altre.")
        .arg(article, sscc);
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
    static const QRegularExpression form(QStringLiteral("^(?:(?:\\]C1)?00|\\(00\\))?([0-9]{18})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    return m.hasMatch() ? m.captured(1) : QString();
}
