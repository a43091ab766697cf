#include "labels/PalletLabel.h"

#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/ui/Dialogs.h"
#include "labels/ElementStrings.h"
#include "labels/PalletReservation.h"
#include "labels/Sscc.h"
#include "labels/SymbolRefusal.h"

#include <utility>

namespace {

QString generalNumber(double v) { return ReplaceAll(GeneralNumber(v), QStringLiteral("."), QStringLiteral(",")); }

} // namespace

QString CartonGtin(const QString& prefGTIN, const QString& eanCartone)
{
    const QString data = prefGTIN + eanCartone.left(12);
    return data + CheckDigitMod10(data);
}

double PalletGrossWeight(const PalletLabelArgs& a)
{
    // The tare of the pallet type; a type without its column is the engine's error.
    const double tare = rsSetup->Value(QStringLiteral("PesoPallet") + a.tipoPallet).toDouble();
    return DecimalValue(a.pesoCassa) * NumericValue(a.qtCartoni) + tare;
}

ElementData PalletElements(const PalletLabelArgs& a, bool summary)
{
    return ElementData{CartonGtin(a.prefGTIN, a.eanCartone), a.qtCartoni, summary ? a.totalWeight : PalletGrossWeight(a),
                       a.scadenza.date(), a.lotto, QStringLiteral("0") + a.eanArticolo, a.qtCassa, a.produzione.date()};
}

QString Grouped(const QString& digits, std::initializer_list<int> groups)
{
    QStringList parts;
    int at = 0;
    for (int g : groups) {
        parts << digits.mid(at, g);
        at += g;
    }
    return parts.join(u' ');
}

void AddPalletLabelRow(Recordset& rs, const PalletLabelRow& row, const QString& codProduttore, const ElementSettings& settings)
{
    auto groupedOrEmpty = [](const QString& digits, std::initializer_list<int> groups) {
        return digits.isEmpty() ? QString() : Grouped(digits, groups);
    };
    const bool fiveDigitProducer = codProduttore.size() == 5;
    rs.AddNew();
    rs.SetValue(QStringLiteral("CodInterno"), row.codInterno);
    rs.SetValue(QStringLiteral("Descrizione"), row.descrizione);
    rs.SetValue(QStringLiteral("DataOraProduzione"), row.produzioneText);
    rs.SetValue(QStringLiteral("SSCC_Form"), fiveDigitProducer ? Grouped(row.sscc, {1, 2, 5, 9, 1}) : Grouped(row.sscc, {1, 2, 7, 7, 1}));
    rs.SetValue(QStringLiteral("GTIN_Form"), groupedOrEmpty(row.gtin, {3, 5, 5, 1}));
    rs.SetValue(QStringLiteral("NumImballi"), GeneralNumber(double(row.cartoni)));
    rs.SetValue(QStringLiteral("EANUC_Form"), groupedOrEmpty(row.eanArticolo, {2, 5, 5, 1}));
    rs.SetValue(QStringLiteral("NumPezzi"), GeneralNumber(double(row.pezzi)));
    rs.SetValue(QStringLiteral("DataScadenza"), row.scadenzaText);
    rs.SetValue(QStringLiteral("Lotto"), row.lotto);
    rs.SetValue(QStringLiteral("PesoLordo"), generalNumber(row.pesoLordo));
    rs.SetValue(QStringLiteral("E128_Text"), CalcolaEAN128Text(row.elements, settings, row.content));
    rs.SetValue(QStringLiteral("SSCC_Text"), QStringLiteral("(00)") + row.sscc);
    rs.SetValue(QStringLiteral("E128_Barcode"), EncodeE128(CalcolaEAN128Barcode(row.elements, settings, row.content)));
    rs.SetValue(QStringLiteral("SSCC_Barcode"), EncodeE128(QStringLiteral("00") + row.sscc));
    rs.Update();
}

namespace {

struct PalletValues {
    QString descrizione;
    QString gtin;
    qint64 cartoni = 0;
    qint64 pezzi = 0;
    double archiveWeight = 0;
};

PalletValues valuesOf(const PalletLabelArgs& a)
{
    PalletValues v;
    v.gtin = CartonGtin(a.prefGTIN, a.eanCartone);
    v.descrizione = PadRight(a.descrizione1, 40, QStringLiteral(" ")) + PadRight(a.descrizione2, 40, QStringLiteral(" "));
    v.cartoni = qRound64(NumericValue(a.qtCartoni));
    v.pezzi = qRound64(NumericValue(a.qtCartoni) * NumericValue(a.qtCassa));
    v.archiveWeight = PalletGrossWeight(a);
    return v;
}

} // namespace

void FillPalletLabel(const PalletLabelArgs& a)
{
    const QString codProduttore = NzStr(rsSetup->Value(QStringLiteral("CodProduttore")));
    const QString sscc = ComposeSscc(a.tipoPallet, *rsSetup, a.serial);
    const PalletValues v = valuesOf(a);
    const double labelWeight = EtichettaMulti ? a.totalWeight : v.archiveWeight;

    const ElementData elements = PalletElements(a, EtichettaMulti);
    const ElementSettings settings = ElementSettings::FromSetup(*rsSetup);
    const LabelContent content{EtichettaMulti, ArticoloUnico};

    const PalletLabelRow row{a.codInterno, v.descrizione, a.produzioneText, sscc, v.gtin, v.cartoni, a.eanArticolo,
                             EtichettaMulti ? a.totalPieces : v.pezzi, a.scadenzaText, a.lotto, labelWeight, elements, content};
    DB->Execute(QStringLiteral("DELETE FROM ReportPallet"));
    auto rs = DB->OpenRecordset(QStringLiteral("ReportPallet"));
    const qint64 copies = std::max<qint64>(1, qRound64(NumericValue(a.copie)));
    for (qint64 c = 0; c < copies; ++c) AddPalletLabelRow(*rs, row, codProduttore, settings);
}

std::optional<PrintedPallet> StampaEtichettaPallet(const PalletLabelArgs& a, const BindLabelJob& bindJob,
                                                   std::optional<qint64> request, std::optional<qint64> serial)
{
    WaitCursor hourglass;
    const PalletValues v = valuesOf(a);
    PalletRecord record{{}, v.cartoni, v.pezzi, v.archiveWeight, a.tipoPallet, {}};
    record.lines.push_back({a.codInterno, a.produzione, v.cartoni, a.lotto, a.scadenza, a.eanArticolo, v.gtin, v.pezzi, v.descrizione});
    const ReservationOptions options{a.tipoPallet, a.advanceCounter, request, a.preview,
                                     int(std::max<qint64>(1, qRound64(NumericValue(a.copie)))), serial};
    const PalletTables tables{*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe};
    const auto reserved = PrintReservedPallet(tables, options, record, [&](const Reservation& r, const std::function<void()>& printing) {
        PalletLabelArgs label = a;
        label.serial = r.serial;
        FillPalletLabel(label);
        return bindJob(printing);
    });
    if (!reserved) return std::nullopt;
    return PrintedPallet{reserved->sscc, *reserved};
}
