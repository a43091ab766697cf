#include "labels/PalletLabel.h"

#include "barcodes/Barcodes.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/ui/Dialogs.h"
#include "labels/ElementStrings.h"
#include "labels/Sscc.h"

namespace {

QString encodeE128(const QString& data)
{
    const std::string font = EncodeBarcode(data.toLatin1().toStdString(), "E128", true);
    return QString::fromLatin1(font.data(), qsizetype(font.size()));
}

QString generalNumber(double v) { return ReplaceAll(GeneralNumber(v), QStringLiteral("."), QStringLiteral(",")); }

} // namespace

QString CartonGtin(const QString& prefGTIN, const QString& eanCartone)
{
    const QString data = prefGTIN + eanCartone.left(12);
    return data + CheckDigitMod10(data);
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

PrintedPallet StampaEtichettaPallet(const PalletLabelArgs& a, const std::function<void(bool preview)>& printJob)
{
    WaitCursor hourglass;
    const QString codProduttore = NzStr(rsSetup->Value(QStringLiteral("CodProduttore")));
    const QString sscc = ComposeSscc(a.tipoPallet, *rsSetup, a.serial);
    const QString gtin = CartonGtin(a.prefGTIN, a.eanCartone);
    const QString descrizione = PadRight(a.descrizione1, 40, QStringLiteral(" ")) + PadRight(a.descrizione2, 40, QStringLiteral(" "));
    const qint64 cartoni = qRound64(NumericValue(a.qtCartoni));
    const qint64 pezzi = qRound64(NumericValue(a.qtCartoni) * NumericValue(a.qtCassa));
    // The tare of the pallet type; a type without its column is the engine's error.
    const double tare = rsSetup->Value(QStringLiteral("PesoPallet") + a.tipoPallet).toDouble();
    const double archiveWeight = DecimalValue(a.pesoCassa) * NumericValue(a.qtCartoni) + tare;
    const double labelWeight = EtichettaMulti ? a.totalWeight : archiveWeight;

    const ElementData elements{gtin, a.qtCartoni, labelWeight, a.scadenza.date(), a.lotto, QStringLiteral("0") + a.eanArticolo,
                               a.qtCassa, a.produzione.date()};
    const ElementSettings settings = ElementSettings::FromSetup(*rsSetup);
    const LabelContent content{EtichettaMulti, ArticoloUnico};

    DB->Execute(QStringLiteral("DELETE FROM ReportPallet"));
    {
        auto rs = DB->OpenRecordset(QStringLiteral("ReportPallet"));
        const qint64 copies = std::max<qint64>(1, qRound64(NumericValue(a.copie)));
        const bool fiveDigitProducer = codProduttore.size() == 5;
        for (qint64 c = 0; c < copies; ++c) {
            rs->AddNew();
            rs->SetValue(QStringLiteral("CodInterno"), a.codInterno);
            rs->SetValue(QStringLiteral("Descrizione"), descrizione);
            rs->SetValue(QStringLiteral("DataOraProduzione"), a.produzioneText);
            rs->SetValue(QStringLiteral("SSCC_Form"), fiveDigitProducer ? Grouped(sscc, {1, 2, 5, 9, 1}) : Grouped(sscc, {1, 2, 7, 7, 1}));
            rs->SetValue(QStringLiteral("GTIN_Form"), Grouped(gtin, {3, 5, 5, 1}));
            rs->SetValue(QStringLiteral("NumImballi"), GeneralNumber(double(cartoni)));
            rs->SetValue(QStringLiteral("EANUC_Form"), Grouped(a.eanArticolo, {2, 5, 5, 1}));
            rs->SetValue(QStringLiteral("NumPezzi"), GeneralNumber(double(EtichettaMulti ? a.totalPieces : pezzi)));
            rs->SetValue(QStringLiteral("DataScadenza"), a.scadenzaText);
            rs->SetValue(QStringLiteral("Lotto"), a.lotto);
            rs->SetValue(QStringLiteral("PesoLordo"), generalNumber(labelWeight));
            rs->SetValue(QStringLiteral("E128_Text"), CalcolaEAN128Text(elements, settings, content));
            rs->SetValue(QStringLiteral("SSCC_Text"), QStringLiteral("(00)") + sscc);
            rs->SetValue(QStringLiteral("E128_Barcode"), encodeE128(CalcolaEAN128Barcode(elements, settings, content)));
            rs->SetValue(QStringLiteral("SSCC_Barcode"), encodeE128(QStringLiteral("00") + sscc));
            rs->Update();
        }
    }
    printJob(a.preview);

    PalletRecord record{sscc, cartoni, pezzi, archiveWeight, a.tipoPallet, {}};
    record.lines.push_back({a.codInterno, a.produzione, cartoni, a.lotto, a.scadenza, a.eanArticolo, gtin, pezzi, descrizione});
    const PalletTables tables{*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe};
    return {sscc, RecordPrintedPallet(tables, record, a.advanceCounter, a.archive)};
}
