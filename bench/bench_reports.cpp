// Rendering one pallet label page, as the printer gets it, at a label printer's and an office
// printer's resolution.
#include "barcodes/Barcodes.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "reports/PagePainter.h"
#include "reports/PalletLayout.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

ReportRow SampleRow()
{
    const auto latin1 = [](const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); };
    const std::string e128 = std::string("0218012345000019152506303740") + char(129) + "10L2406A";
    return {{QStringLiteral("codinterno"), QStringLiteral("ART-0042")},
            {QStringLiteral("descrizione"), QStringLiteral("Mozzarella di bufala 250 g").leftJustified(40) + QStringLiteral("Cartone da 12 pezzi")},
            {QStringLiteral("dataoraproduzione"), QStringLiteral("14.06.2024 08:30")},
            {QStringLiteral("sscc_form"), QStringLiteral("3 80 12345 000000001 3")},
            {QStringLiteral("gtin_form"), QStringLiteral("180 12345 00001 9")},
            {QStringLiteral("numimballi"), QStringLiteral("40")},
            {QStringLiteral("eanuc_form"), QStringLiteral("80 12345 00001 2")},
            {QStringLiteral("numpezzi"), QStringLiteral("480")},
            {QStringLiteral("datascadenza"), QStringLiteral("30.06.2024")},
            {QStringLiteral("lotto"), QStringLiteral("L2406A")},
            {QStringLiteral("pesolordo"), QStringLiteral("275.5")},
            {QStringLiteral("e128_text"), QStringLiteral("(02)18012345000019(15)250630(37)40(10)L2406A")},
            {QStringLiteral("sscc_text"), QStringLiteral("(00)380123450000000013")},
            {QStringLiteral("e128_barcode"), latin1(EncodeBarcode(e128, "E128", true))},
            {QStringLiteral("sscc_barcode"), latin1(EncodeBarcode("00380123450000000013", "E128", true))}};
}

// The bands are formatted once per job; what is measured is drawing the page on the printer's raster.
void BM_RenderPalletPage(benchmark::State& state)
{
    const double dpi = static_cast<double>(state.range(0));
    auto layout = ReportLayout::Create<CrystalReport1>();
    layout->mainSection().setRows({SampleRow()});
    const FormattedPage& page = layout->pages().front();
    for (auto _ : state) {
        QImage image = RenderPage(page, dpi);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RenderPalletPage)->Arg(203)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // The band rules read the Setup row: a copy of the supplied database.
    QTemporaryDir folder;
    QFile::copy(QStringLiteral(STIVORA_MDB_PATH), folder.filePath(QStringLiteral("stivora.mdb")));
    CartellaDati = folder.path();
    if (!ApriDatabase()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CloseDatabase();
    return 0;
}
