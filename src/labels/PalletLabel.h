#pragma once
// Printing one pallet label: its SSCC reserved, one ReportPallet row per copy, then the print job.

#include "labels/ElementStrings.h"
#include "labels/PalletReservation.h"
#include "reports/StampaReport.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

struct PalletLabelArgs {
    QString codInterno;
    QString descrizione1;
    QString descrizione2;
    QString tipoPallet;   // one digit: the SSCC extension digit
    QString prefGTIN;     // GTIN indicator digit
    QString eanCartone;   // carton EAN; its first 12 characters make the GTIN
    QString qtCartoni;    // cartons on the pallet
    QString qtCassa;      // pieces per carton
    QString eanArticolo;
    QString lotto;
    QString pesoCassa;    // kg, "," or "." as decimal separator
    QString copie;
    QString produzioneText;
    QDateTime produzione;
    QDateTime scadenza;
    qint64 serial = 0;    // the serial on the label; the reservation sets it
    QString scadenzaText;
    bool archive = true;
    bool advanceCounter = true;
    bool preview = false;
    qint64 totalPieces = 0;   // summary labels only
    double totalWeight = 0;   // summary labels only
};

struct PrintedPallet {
    QString sscc;
    Reservation reserved;
};

// The GTIN-14 of the cartons: indicator digit, the first 12 digits of the carton EAN, check digit.
QString CartonGtin(const QString& prefGTIN, const QString& eanCartone);
// The gross weight of a pallet of one lot: its cartons and the tare of its pallet type.
double PalletGrossWeight(const PalletLabelArgs& a);
// What the label's element strings state; a summary label states the whole pallet's weight.
ElementData PalletElements(const PalletLabelArgs& a, bool summary);

// Digits in groups joined by one blank, e.g. SSCC 1, 2, 5, 9, 1.
QString Grouped(const QString& digits, std::initializer_list<int> groups);

// The values of one ReportPallet row; a GTIN or EAN left empty prints no digit groups.
struct PalletLabelRow {
    QString codInterno;
    QString descrizione;
    QString produzioneText;
    QString sscc;
    QString gtin;
    qint64 cartoni = 0;
    QString eanArticolo;
    qint64 pezzi = 0;
    QString scadenzaText;
    QString lotto;
    double pesoLordo = 0;
    ElementData elements;
    LabelContent content;
};

// Adds one row to the open ReportPallet recordset; the SSCC is grouped by the producer code's length.
void AddPalletLabelRow(Recordset& reportPallet, const PalletLabelRow& row, const QString& codProduttore,
                       const ElementSettings& settings);

// Fills ReportPallet with one row per copy of the label of serial `args.serial`.
void FillPalletLabel(const PalletLabelArgs& args);

// Binds the print job of the rows just written; a preview's job calls `previewPrinting` right before
// its document goes to the printer. Returns its steps.
using BindLabelJob = std::function<SendSteps(const std::function<void()>& previewPrinting)>;

// The pallet takes its SSCC through a reservation (and consumes `request`, a passive request, with
// it, under the `serial` it may ask for); nothing when that SSCC is archived already. Failures reach
// the caller.
std::optional<PrintedPallet> StampaEtichettaPallet(const PalletLabelArgs& args, const BindLabelJob& bindJob,
                                                   std::optional<qint64> request = std::nullopt,
                                                   std::optional<qint64> serial = std::nullopt);
