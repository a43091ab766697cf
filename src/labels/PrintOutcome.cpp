#include "labels/PrintOutcome.h"

QString StampatoConErrore(const QString& sscc, const QString& failure, bool articleListsOut)
{
    const QString printed = articleListsOut
                                ? QStringLiteral("Il pallet %1 è stato stampato e archiviato: non stamparlo di nuovo.").arg(sscc)
                                : QStringLiteral("Il pallet %1 è stato archiviato e la sua etichetta di riepilogo stampata, ma "
                                                 "le etichette con l'elenco degli articoli no: ristamparlo con Ristampa.")
                                      .arg(sscc);
    return printed + QStringLiteral("\nErrore dopo la stampa: ") + failure;
}

QString SerieInterrotta(qint64 printed, qint64 asked)
{
    return QStringLiteral("\n\nStampati %1 pallet su %2: restano da stampare %3 pallet.").arg(printed).arg(asked).arg(asked - printed);
}
