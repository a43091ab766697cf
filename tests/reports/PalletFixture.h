#pragma once
// A data folder with the program's database open, a recording printer system and pallet rows built
// the way the label procedures build them.

#include "support/RecordingPrinter.h"
#include "reports/ReportSection.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QString>
#include <QVariant>

#include <initializer_list>
#include <string>
#include <utility>

// The values of one ReportPallet row; the barcodes are barcode-font strings from EncodeBarcode.
struct PalletRow {
    QString codInterno = QStringLiteral("ART-0042");
    QString descrizione1 = QStringLiteral("Mozzarella di bufala 250 g");
    QString descrizione2 = QStringLiteral("Cartone da 12 pezzi");
    QString dataOra = QStringLiteral("14.06.2024 08:30");
    QString sscc = QStringLiteral("380123450000000013");
    QString gtin = QStringLiteral("18012345000019");
    QString numImballi = QStringLiteral("40");
    QString eanUc = QStringLiteral("8012345000012");
    QString numPezzi = QStringLiteral("480");
    QString scadenza = QStringLiteral("30.06.2024");
    QString lotto = QStringLiteral("L2406A");
    QString pesoLordo = QStringLiteral("275,5");
    // GS1-128 data as the encoder takes it: char 129 is FNC1.
    std::string e128Data;

    PalletRow();
    // The same row with another lot, in its text and its symbol.
    PalletRow withLot(const QString& lot) const;
    QString sscFormatted() const;
    QString e128Text() const;
    // What zbar reads from the element-string symbol (FNC1 as 0x1D).
    std::string e128Scanned() const;
    ReportRow row() const;
};

// Appends the row to ReportPallet through DB.
void WritePalletRow(const PalletRow& row);

class PalletTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Turns Setup print options on or off.
    void setOptions(std::initializer_list<std::pair<const char*, QVariant>> values);

    TestDataFolder folder;
    RecordingPrinterSystem printers{{{QStringLiteral("Zebra_GK420"), QStringLiteral("Zebra"), QStringLiteral("usb://1")},
                                     {QStringLiteral("Office"), QStringLiteral("HP"), QStringLiteral("ipp://2")}},
                                    QStringLiteral("Office")};
};
