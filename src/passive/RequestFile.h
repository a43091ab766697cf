#pragma once
// Request files (*.req): the print requests other programs drop into the request folder, as
// [ARTICOLO], [TESTATA], [RIGA] and [IMBALLO] sections of KEY=VALUE lines. Reading one is a plain
// function over its text; storing the result is RequestStore's job.

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// What a request takes when the file leaves a key out and the value is not a constant.
struct RequestDefaults {
    qint64 qtCartone = 0;      // Setup QtDefault
    qint64 unitaDurata = 0;    // Setup UnitaDurata
    qint64 durataProdotto = 0; // Setup DurataDefault
    QString tipoPallet;        // Setup PalletDefault
    QDateTime dataOra;         // the time of the import
    QString codProduttore;     // Setup CodProduttore, whose length makes the SSCC serial's
};

// One [ARTICOLO]: every column of the article master it names, or its default.
struct RequestArticle {
    QString codInterno;
    QString descrizione;
    QString eanArticolo = QStringLiteral("000000000000");
    qint64 qtCartone = 1;
    QString prefGTIN = QStringLiteral("0");
    QString eanCartone = QStringLiteral("000000000000");
    double pesoCartone = 0;
    qint64 numCartoni = 1;
    qint64 unitaDurata = 0;
    qint64 durataProdotto = 0;
};

// One [RIGA] (a lot of a mixed pallet) or one [IMBALLO] (a run of carton labels).
struct RequestLine {
    int numRiga = 0; // [RIGA] only: its place among the file's [RIGA] sections, from 1
    bool autoLotto = true;
    QString lotto = QStringLiteral(" ");
    bool autoData = true;
    QDateTime dataOra;
    std::optional<QString> dataOraIllegibile; // a file's DATAORA that no form reads, as written
    QString prefGTIN = QStringLiteral("0");
    QString eanCartone = QStringLiteral("000000000000");
    qint64 numCartoni = 1;
};

// One [TESTATA] with the [RIGA] sections that follow it.
struct RequestHeader {
    qint64 copie = 1;
    bool ristampa = false;
    qint64 idAppTestate = -1;
    bool specificaContatore = false;
    qint64 contatoreSSCC = 0;
    bool aggiornaContatore = true;
    QString tipoPallet;
    std::vector<RequestLine> righe;
};

struct RequestFile {
    std::vector<RequestArticle> articoli;
    std::vector<RequestHeader> testate;
    std::vector<RequestLine> imballi;
    // Why the file cannot be imported, and on which line (from 1); the lists are then empty, since a
    // file goes in whole or not at all.
    QString error;
    int errorLine = 0;
};

// A section that asks what no request may ask refuses the file, on the section's first line.
RequestFile ParseRequestFile(const QString& text, const RequestDefaults& defaults);

// Yes for SI, S, SÌ, Y, YES, 1 and -1 in any case; anything else is no.
bool LeggiSiNo(const QString& value);
