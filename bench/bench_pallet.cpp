// The whole print of one pallet from the print button: checks, SSCC and its duplicate lookup,
// report rows, rendering on a recording printer (pages dropped), counter, archive and export; and
// the archive step alone; with 1 thousand and with 1 million pallets already archived.
#include "core/Globals.h"
#include "core/SetupRow.h"
#include "core/Startup.h"
#include "core/frmArticoli.h"
#include "labels/PalletArchive.h"
#include "support/RecordingPrinter.h"

#include "ArchiveData.h"
#include "BenchDialogs.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>

namespace {

void addArticle()
{
    rsArticoli->AddNew();
    rsArticoli->SetValue(QStringLiteral("Sigla"), QStringLiteral("PASSATA"));
    rsArticoli->SetValue(QStringLiteral("CodInterno"), QStringLiteral("ART1"));
    rsArticoli->SetValue(QStringLiteral("Descrizione"), QStringLiteral("Passata di pomodoro"));
    rsArticoli->SetValue(QStringLiteral("EANArticolo"), QStringLiteral("8001234567897"));
    rsArticoli->SetValue(QStringLiteral("QtCartone"), 6);
    rsArticoli->SetValue(QStringLiteral("EANCartone"), QStringLiteral("8001234567897"));
    rsArticoli->SetValue(QStringLiteral("PesoCartone"), 12.5);
    rsArticoli->SetValue(QStringLiteral("TipoPallet"), QStringLiteral("1"));
    rsArticoli->SetValue(QStringLiteral("NumCartoni"), 40);
    rsArticoli->SetValue(QStringLiteral("DurataProdotto"), 180);
    rsArticoli->SetValue(QStringLiteral("PrefGTIN"), QStringLiteral("1"));
    rsArticoli->SetValue(QStringLiteral("UnitaDurata"), 1);
    rsArticoli->Update();
    rsArticoli->SetBookmark(rsArticoli->LastModified());
}

// Each run (and each repetition) starts its counter above every SSCC printed before it, so the
// duplicate check finds nothing, as in real use.
void BM_PrintOnePallet(benchmark::State& state)
{
    CartellaDati = FolderWithArchive(state.range(0));
    if (!ApriDatabase()) {
        state.SkipWithError("cannot open the database");
        return;
    }
    RecordingPrinterSystem printer({{QStringLiteral("Zebra"), QString(), QString()}}, QStringLiteral("Zebra"), 203);
    printer.setKeepPages(false);
    SetPrinterSystem(&printer);
    rsSetup->Edit();
    rsSetup->SetValue(QStringLiteral("ReportPrinter"), QStringLiteral("Zebra"));
    rsSetup->SetValue(QStringLiteral("contatore"), std::max<qint64>(50'000'000, rsSetup->Value(QStringLiteral("contatore")).toLongLong()));
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
        for (auto _ : state) {
            window.cmdStampa_Click();
            if (BenchDialogs().failed(state)) break;
        }
        if (printer.jobs().size() != size_t(state.iterations())) state.SkipWithError("a pallet did not print");
    }
    SetPrinterSystem(nullptr);
    CloseDatabase();
}

// The archive step alone: counter, archive and export of one pallet.
void BM_ArchiveStep(benchmark::State& state)
{
    CartellaDati = FolderWithArchive(state.range(0));
    if (!ApriDatabase()) {
        state.SkipWithError("cannot open the database");
        return;
    }
    PalletLine line{QStringLiteral("ART1"), QDateTime(QDate(2026, 12, 8), QTime(10, 30)), 40, QStringLiteral("L0342"),
                    QDateTime(QDate(2027, 6, 8), QTime(0, 0)), QStringLiteral("8001234567897"), QStringLiteral("18001234567892"), 240,
                    QStringLiteral("Passata di pomodoro")};
    const PalletTables tables{*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe};
    qint64 n = 30'000'000;
    for (auto _ : state) {
        const PalletRecord pallet{ArchivedSscc(++n), 40, 240, 525.0, QStringLiteral("1"), {line}};
        DB->BeginTrans();
        AdvanceCounter(*DB, *rsSetup, [](qint64 contatore) { return contatore + 1; });
        RecordPrintedPallet(tables, pallet);
        DB->CommitTrans();
        if (BenchDialogs().failed(state)) break;
    }
    CloseDatabase();
}

} // namespace

// Wall time next to the process's CPU time (all its threads).
BENCHMARK(BM_PrintOnePallet)->Arg(1'000)->Arg(1'000'000)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveStep)->Arg(1'000)->Arg(1'000'000)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BuildDateTimeFormats();
    FillMonthNames();
    BenchDialogs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
