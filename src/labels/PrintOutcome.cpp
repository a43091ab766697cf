#include "labels/PrintOutcome.h"

QString StampatoConErrore(const QString& sscc, const QString& failure)
{
    return QStringLiteral("Il pallet %1 è stato archiviato e la sua etichetta di riepilogo stampata, ma "
                          "le etichette con l'elenco degli articoli no: ristamparlo con Ristampa.")
               .arg(sscc)
           + QStringLiteral("\nErrore dopo la stampa: ") + failure;
}

QString SerieInterrotta(qint64 printed, qint64 asked)
{
    return QStringLiteral("\n\nStampati %1 pallet su %2: restano da stampare %3 pallet.").arg(printed).arg(asked).arg(asked - printed);
}

QString EtichetteRiprese(const QStringList& ssccs)
{
    return QStringLiteral("Una stampa si era interrotta: le etichette di questi pallet sono state inviate di nuovo alla stampante:\n")
           + ssccs.join(u'\n');
}
