// Start-up and per-pallet database work against archives of 10 thousand and 1 million pallets:
// opening the eleven table recordsets, finding a pallet by SSCC, archiving one pallet.
#include "core/Globals.h"
#include "core/Startup.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace {

QString sscc(qint64 n) { return QStringLiteral("38012345%1").arg(n, 10, 10, QLatin1Char('0')); }

// One data folder per archive size, filled once and kept for the whole run.
const QString& folderWith(qint64 pallets)
{
    static std::map<qint64, std::unique_ptr<QTemporaryDir>> folders;
    static std::map<qint64, QString> paths;
    auto it = paths.find(pallets);
    if (it != paths.end()) return it->second;
    auto dir = std::make_unique<QTemporaryDir>();
    const QString mdb = dir->filePath(QStringLiteral("stivora.mdb"));
    QFile::copy(QStringLiteral(STIVORA_MDB_PATH), mdb);
    QFile::setPermissions(mdb, QFile::ReadOwner | QFile::WriteOwner);
    {
        auto db = Database::Open(mdb);
        db->BeginTrans();
        for (qint64 i = 1; i <= pallets; ++i) {
            db->ExecuteNative(QStringLiteral("INSERT INTO AppTestate (SSCC, QtCartoni, numpezzi, pesolordo, TipoPallet) VALUES (?, 40, 480, 512.5, '1')"),
                              {sscc(i)});
            db->ExecuteNative(QStringLiteral("INSERT INTO AppRighe (IDAppTestate, NumRiga, CodInterno, DataOra, QtCartoni, Lotto, DataScadenza, CodEAN, GTIN, numpezzi, Descrizione) "
                                             "VALUES (?, 1, 'ART1', '2026-12-08 10:00:00', 40, ?, '2027-06-08 00:00:00', '8001234567895', '18001234567892', 480, 'Articolo')"),
                              {i, QStringLiteral("L%1").arg(i % 1000)});
        }
        db->CommitTrans();
    }
    paths[pallets] = dir->path();
    folders[pallets] = std::move(dir);
    return paths[pallets];
}

void BM_OpenTableRecordsets(benchmark::State& state)
{
    CartellaDati = folderWith(state.range(0));
    for (auto _ : state) {
        if (!ApriDatabase()) state.SkipWithError("cannot open");
        CloseDatabase();
    }
}

void BM_FindFirstBySscc(benchmark::State& state)
{
    const qint64 pallets = state.range(0);
    CartellaDati = folderWith(pallets);
    ApriDatabase();
    qint64 i = 0;
    for (auto _ : state) {
        i = (i * 7919 + 13) % pallets + 1;
        rsAppTestate->FindFirst(QStringLiteral("SSCC = '") + sscc(i) + QStringLiteral("'"));
        if (rsAppTestate->NoMatch()) state.SkipWithError("not found");
        benchmark::DoNotOptimize(rsAppTestate->Value(QStringLiteral("IDAppTestate")));
    }
    CloseDatabase();
}

void BM_ArchiveOnePallet(benchmark::State& state)
{
    CartellaDati = folderWith(state.range(0));
    ApriDatabase();
    qint64 n = 10'000'000;
    for (auto _ : state) {
        DB->BeginTrans();
        rsAppTestate->AddNew();
        rsAppTestate->SetValue(QStringLiteral("SSCC"), sscc(++n));
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
