#pragma once
// An article as the panel shows it: the texts of its fields and the shelf-life unit, read from and
// written to the Articoli columns.

#include <QString>
#include <QVariant>

class Recordset;

struct ArticoloCampi {
    QString sigla;
    QString codInterno;
    QString descrizione;
    QString descrizione2;
    QString ean;
    QString qtCassa;
    QString gtin;
    QString pesoCassa;
    QString tipoPallet;
    QString qtPallet;
    QString durataProdotto;
    QString prefGTIN;
    QVariant unitaDurata; // as stored, null when none: one outside 0 to 4 is kept until a unit is chosen
};

// Descrizione holds two lines of 40 characters each; a shown line is trimmed.
constexpr int kLarghezzaRigaDescrizione = 40;
QString RigaDescrizione(const QString& descrizione, int riga);
QString UnisciDescrizione(const QString& riga1, const QString& riga2);

// The current row of an Articoli recordset.
ArticoloCampi LeggiArticolo(const Recordset& articoli);
// Writes every column into the pending addition or edit; texts as they stand.
void ScriviArticolo(Recordset& articoli, const ArticoloCampi& campi);
// A new article with the defaults of the Setup row.
ArticoloCampi NuovoArticolo(const Recordset& setup);
