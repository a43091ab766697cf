#pragma once
// Carton labels: the checks of a run, the row of ReportImballi that the carton layout prints, and
// writing it over the table's single row.

#include "labels/LabelJob.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The article's data a carton label cannot do without: a product life (empty when the article has
// none that is a number; a unit from 0 to 4) and a carton EAN of 13 digits whose last is its check
// digit. Nothing when both are usable.
std::optional<JobRefusal> CheckCartonArticle(const QString& name, const QString& durata, const QString& unita,
                                             const QString& eanCartone);

struct CartonLabelArgs {
    QString codInterno;
    QString descrizione1;
    QString descrizione2;
    QString eanCartone;  // 13 digits; the barcode recomputes the last one
    QString qtCassa;     // pieces per carton
    QString lotto;
    QDateTime produzione;
    QDateTime scadenza;
    int expiryRule = 0;  // Setup.CalcScadenza
};

// The columns of ReportImballi as the carton layout reads them.
struct CartonRow {
    QString codInterno;
    QString dataOraProduzione;
    QString descrizione;
    QString eanForm;
    QString eanBarcode;
    QString numPezzi;
    QString dataScadenza;
    QString lotto;
};

CartonRow MakeCartonRow(const CartonLabelArgs& a);

// Overwrites the table's single row (restoring it when someone deleted it). A failed write leaves
// the row as it was and reaches the caller.
void WriteCartonRow(const CartonRow& row);
