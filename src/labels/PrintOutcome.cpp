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

QString LavoroRipreso(const JournalEntry& job)
{
    if (job.kind != JournalEntry::Kind::Cartons) return QStringLiteral("Pallet ") + job.sscc;
    return QStringLiteral("Etichette cartone %1 lotto %2: %3").arg(job.carton.codInterno, job.carton.lotto).arg(job.copies);
}

QString EtichetteRiprese(const QStringList& jobs)
{
    return QStringLiteral("Una stampa si era interrotta: queste etichette sono state inviate di nuovo alla stampante:\n") + jobs.join(u'\n');
}

QString AnteprimeRestituite(const QStringList& ssccs)
{
    return QStringLiteral("Il programma si era fermato con l'anteprima aperta: l'etichetta di questi pallet non è stata stampata, "
                          "e il pallet è stato tolto dall'archivio e dall'esportazione:\n")
           + ssccs.join(u'\n');
}

QString StampaNonRipresa(const JournalEntry& job, const QString& failure)
{
    switch (job.kind) {
    case JournalEntry::Kind::Cartons:
        return QStringLiteral("%1 potrebbero non essere state stampate: ristamparle.\n").arg(LavoroRipreso(job)) + failure;
    case JournalEntry::Kind::Preview:
        return QStringLiteral("Il pallet %1 era in anteprima quando il programma si è fermato: la sua etichetta non è stata stampata, "
                              "ma il pallet non si è potuto togliere dall'archivio.\n")
                   .arg(job.sscc)
               + failure;
    case JournalEntry::Kind::Pallet: break;
    }
    return QStringLiteral("L'etichetta del pallet ") + job.sscc
           + QStringLiteral(" potrebbe non essere stata stampata: ristamparla con Ristampa.\n") + failure;
}
