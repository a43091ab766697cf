// The whole print of one pallet from the print button: checks, SSCC and its duplicate lookup,
// report rows, rendering on a recording printer, counter, archive and export; with 1 thousand and
// with 1 million pallets already archived.
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/frmArticoli.h"
#include "support/RecordingPrinter.h"

#include "ArchiveData.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void addArticle()
{
    rsArticoli->AddNew();
    rsArticoli->SetValue(QStringLiteral("Sigla"), QStringLiteral("PASSATA"));
    rsArticoli->SetValue(QStringLiteral("CodInterno"), QStringLiteral("ART1"));
    rsArticoli->SetValue(QStringLiteral("Descrizione"), QStringLiteral("Passata di pomodoro"));
    rsArticoli->SetValue(QStringLiteral("EANArticolo"), QStringLiteral("8001234567895"));
    rsArticoli->SetValue(QStringLiteral("QtCartone"), 6);
    rsArticoli->SetValue(QStringLiteral("EANCartone"), QStringLiteral("8001234567895"));
    rsArticoli->SetValue(QStringLiteral("PesoCartone"), 12.5);
    rsArticoli->SetValue(QStringLiteral("TipoPallet"), QStringLiteral("1"));
    rsArticoli->SetValue(QStringLiteral("NumCartoni"), 40);
    rsArticoli->SetValue(QStringLiteral("DurataProdotto"), 180);
    rsArticoli->SetValue(QStringLiteral("PrefGTIN"), QStringLiteral("1"));
    rsArticoli->SetValue(QStringLiteral("UnitaDurata"), 1);
    rsArticoli->Update();
    rsArticoli->SetBookmark(rsArticoli->LastModified());
}

void BM_PrintOnePallet(benchmark::State& state)
{
    CartellaDati = FolderWithArchive(state.range(0));
    if (!ApriDatabase()) {
        state.SkipWithError("cannot open the database");
        return;
    }
    RecordingPrinterSystem printer({{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 203);
    SetPrinterSystem(&printer);
    rsSetup->Edit();
    rsSetup->SetValue(QStringLiteral("ReportPrinter"), QStringLiteral("Zebra"));
    rsSetup->SetValue(QStringLiteral("contatore"), 50'000'000);
    rsSetup->Update();
    if (rsArticoli->IsEmpty()) addArticle();
    {
        frmArticoli window;
        auto& ui = window.ui;
        ui.chkAutoUpdate->setChecked(true);
        ui.chkAutoLotto->setChecked(false);
        ui.chkAnteprima->setChecked(false);
        ui.chkUpdateSSCC->setChecked(true);
        ui.txtLotto->setText(QStringLiteral("L0342"));
        ui.mskQtCartoni->setText(QStringLiteral("40"));
        ui.mskQtBatch->setText(QStringLiteral("1"));
        ui.mskOraProd->setText(QStringLiteral("10:30"));
        ui.mskDataProduzione->setText(QStringLiteral("08/12/26"));
        ui.cmdStampa->setText(QStringLiteral("&Stampa"));
        for (auto _ : state) window.cmdStampa_Click();
        if (printer.jobs().size() != size_t(state.iterations())) state.SkipWithError("a pallet did not print");
    }
    SetPrinterSystem(nullptr);
    CloseDatabase();
}

} // namespace

// The recording printer keeps every page in memory: a fixed number of pallets keeps it small.
BENCHMARK(BM_PrintOnePallet)->Arg(1'000)->Arg(1'000'000)->Iterations(40)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BuildDateTimeFormats();
    FillMonthNames();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
