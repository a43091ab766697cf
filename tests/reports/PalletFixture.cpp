#include "PalletFixture.h"

#include "barcodes/Barcodes.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"

namespace {

QString Groups(const QString& s, std::initializer_list<int> sizes)
{
    QStringList parts;
    int at = 0;
    for (int n : sizes) {
        parts << s.mid(at, n);
        at += n;
    }
    return parts.join(u' ');
}

} // namespace

PalletRow::PalletRow()
{
    // In the order of the supplied settings (OrdineAI "123456"), gross weight included.
    e128Data = "02" + gtin.toStdString() + "37" + numImballi.toStdString() + char(129) + "15240630" + "3301002755" + "10" + lotto.toStdString();
}

PalletRow PalletRow::withLot(const QString& lot) const
{
    PalletRow other = *this;
    other.e128Data.resize(e128Data.size() - lotto.toStdString().size());
    other.e128Data += lot.toStdString();
    other.lotto = lot;
    return other;
}

QString PalletRow::sscFormatted() const { return Groups(sscc, {1, 2, 5, 9, 1}); }

QString PalletRow::e128Text() const
{
    return QStringLiteral("(02)%1(37)%2(15)240630(3301)002755(10)%3").arg(gtin, numImballi, lotto);
}

std::string PalletRow::e128Scanned() const
{
    std::string s = e128Data;
    for (char& c : s)
        if (c == char(129)) c = '\x1d';
    return s;
}

ReportRow PalletRow::row() const
{
    const auto latin1 = [](const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); };
    return {{QStringLiteral("codinterno"), codInterno},
            {QStringLiteral("descrizione"), PadRight(descrizione1, 40, QStringLiteral(" ")) + PadRight(descrizione2, 40, QStringLiteral(" "))},
            {QStringLiteral("dataoraproduzione"), dataOra},
            {QStringLiteral("sscc_form"), sscFormatted()},
            {QStringLiteral("gtin_form"), Groups(gtin, {3, 5, 5, 1})},
            {QStringLiteral("numimballi"), numImballi},
            {QStringLiteral("eanuc_form"), Groups(eanUc, {2, 5, 5, 1})},
            {QStringLiteral("numpezzi"), numPezzi},
            {QStringLiteral("datascadenza"), scadenza},
            {QStringLiteral("lotto"), lotto},
            {QStringLiteral("pesolordo"), pesoLordo},
            {QStringLiteral("e128_text"), e128Text()},
            {QStringLiteral("sscc_text"), QStringLiteral("(00)") + sscc},
            {QStringLiteral("e128_barcode"), latin1(EncodeBarcode(e128Data, "E128", true))},
            {QStringLiteral("sscc_barcode"), latin1(EncodeBarcode("00" + sscc.toStdString(), "E128", true))}};
}

void WritePalletRow(const PalletRow& row)
{
    auto rs = DB->OpenRecordset(QStringLiteral("ReportPallet"));
    rs->AddNew();
    const ReportRow values = row.row();
    for (auto it = values.begin(); it != values.end(); ++it)
        rs->SetValue(it.key(), it.value());
    rs->Update();
    rs->Close();
}

void PalletTest::SetUp()
{
    CartellaDati = folder.path();
    PercorsoDB = folder.mdbPath();
    ASSERT_TRUE(ApriDatabase());
    SetPrinterSystem(&printers);
    EtichettaMulti = false;
    ArticoloUnico = false;
    DB->Execute(QStringLiteral("DELETE FROM ReportPallet"));
    setOptions({{"StampaCodInterno", true}, {"StampaDataProd", true}, {"StampaOraProd", true}, {"StampaEANProd", true},
                {"StampaEANCartone", true}, {"StampaPezzi", true}, {"StampaScadenza", true}, {"StampaPesoLordo", true},
                {"DoubleLayout", false}, {"MargineSinistro", 0.0}, {"MargineSuperiore", 0.0}, {"Lingua", QVariant()}});
}

void PalletTest::TearDown()
{
    SetPrinterSystem(nullptr);
    EtichettaMulti = false;
    ArticoloUnico = false;
    CloseDatabase();
}

void PalletTest::setOptions(std::initializer_list<std::pair<const char*, QVariant>> values)
{
    rsSetup->Edit();
    for (const auto& [column, value] : values)
        rsSetup->SetValue(QString::fromLatin1(column), value);
    rsSetup->Update();
}
