// Start-up and per-pallet database work against archives of 10 thousand and 1 million pallets:
// opening the eleven table recordsets, finding a pallet by SSCC, archiving one pallet.
#include "core/Globals.h"
#include "core/Startup.h"

#include "ArchiveData.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

namespace {

void BM_OpenTableRecordsets(benchmark::State& state)
{
    CartellaDati = FolderWithArchive(state.range(0));
    for (auto _ : state) {
        if (!ApriDatabase()) state.SkipWithError("cannot open");
        CloseDatabase();
    }
}

void BM_FindFirstBySscc(benchmark::State& state)
{
    const qint64 pallets = state.range(0);
    CartellaDati = FolderWithArchive(pallets);
    ApriDatabase();
    qint64 i = 0;
    for (auto _ : state) {
        i = (i * 7919 + 13) % pallets + 1;
        rsAppTestate->FindFirst(QStringLiteral("SSCC = '") + ArchivedSscc(i) + QStringLiteral("'"));
        if (rsAppTestate->NoMatch()) state.SkipWithError("not found");
        benchmark::DoNotOptimize(rsAppTestate->Value(QStringLiteral("IDAppTestate")));
    }
    CloseDatabase();
}

void BM_ArchiveOnePallet(benchmark::State& state)
{
    CartellaDati = FolderWithArchive(state.range(0));
    ApriDatabase();
    qint64 n = 10'000'000;
    for (auto _ : state) {
        DB->BeginTrans();
        rsAppTestate->AddNew();
        rsAppTestate->SetValue(QStringLiteral("SSCC"), ArchivedSscc(++n));
        rsAppTestate->SetValue(QStringLiteral("QtCartoni"), 40);
        rsAppTestate->Update();
        rsAppTestate->SetBookmark(rsAppTestate->LastModified());
        rsAppRighe->AddNew();
        rsAppRighe->SetValue(QStringLiteral("IDAppTestate"), rsAppTestate->Value(QStringLiteral("IDAppTestate")));
        rsAppRighe->SetValue(QStringLiteral("NumRiga"), 1);
        rsAppRighe->SetValue(QStringLiteral("Lotto"), QStringLiteral("L1"));
        rsAppRighe->Update();
        DB->CommitTrans();
    }
    CloseDatabase();
}

} // namespace

BENCHMARK(BM_OpenTableRecordsets)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindFirstBySscc)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ArchiveOnePallet)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
