// Database work against archives of 1 thousand and 1 million pallets, side by side: start-up's
// table recordsets, the lookups every print makes, query and join recordsets (opening, finding,
// moving, bookmarks), a lot's trace listing walked row by row, the reprint picker, and clearing the
// archive and the export tables.
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/db/Recordset.h"
#include "ddt/TraceSearch.h"
#include "labels/ReprintArchiveList.h"
#include "labels/Sscc.h"
#include "labels/frmScegliPNC.h"

#include "ArchiveData.h"
#include "BenchDialogs.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>

#include <unistd.h>

namespace {

const QString kByDescendingSscc = QStringLiteral("SELECT * FROM AppTestate ORDER BY SSCC DESC");
// Archived lines by the start of their pallet's SSCC (here: all), highest first.
const QString kJoin = QStringLiteral("SELECT AppTestate.SSCC, AppRighe.Lotto, AppRighe.QtCartoni FROM AppTestate INNER JOIN AppRighe "
                                     "ON AppTestate.IDAppTestate = AppRighe.IDAppTestate WHERE AppTestate.SSCC LIKE '38*' "
                                     "ORDER BY AppTestate.SSCC DESC");

// Resident memory in MB.
double ResidentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

bool Open(benchmark::State& state)
{
    CartellaDati = FolderWithArchive(state.range(0));
    if (ApriDatabase()) return true;
    state.SkipWithError("cannot open the database");
    return false;
}

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
    if (!Open(state)) return;
    qint64 i = 0;
    for (auto _ : state) {
        i = (i * 7919 + 13) % pallets + 1;
        rsAppTestate->FindFirst(QStringLiteral("SSCC = '") + ArchivedSscc(i) + QStringLiteral("'"));
        if (rsAppTestate->NoMatch()) state.SkipWithError("not found");
        benchmark::DoNotOptimize(rsAppTestate->Value(QStringLiteral("IDAppTestate")));
    }
    CloseDatabase();
}

// The duplicate check every print makes: its SSCC is not archived.
void BM_DuplicateLookupNotArchived(benchmark::State& state)
{
    if (!Open(state)) return;
    qint64 n = 20'000'000;
    for (auto _ : state)
        if (SsccArchiviato(*rsAppTestate, ArchivedSscc(++n))) state.SkipWithError("found");
    CloseDatabase();
}

void BM_ArchiveOnePallet(benchmark::State& state)
{
    if (!Open(state)) return;
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

void BM_QueryOpen(benchmark::State& state)
{
    if (!Open(state)) return;
    for (auto _ : state) benchmark::DoNotOptimize(DB->OpenRecordset(kByDescendingSscc)->Value(QStringLiteral("SSCC")));
    CloseDatabase();
}

void BM_JoinOpen(benchmark::State& state)
{
    if (!Open(state)) return;
    for (auto _ : state) benchmark::DoNotOptimize(DB->OpenRecordset(kJoin)->Value(QStringLiteral("Lotto")));
    CloseDatabase();
}

// Every archived line with its pallet, without a condition: opened, then its last row.
void BM_WholeJoinOpenAndLast(benchmark::State& state)
{
    if (!Open(state)) return;
    for (auto _ : state) {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT AppTestate.SSCC, AppRighe.Lotto FROM AppTestate INNER JOIN AppRighe "
                                                   "ON AppTestate.IDAppTestate = AppRighe.IDAppTestate ORDER BY AppTestate.SSCC DESC"));
        rs->MoveLast();
        benchmark::DoNotOptimize(rs->Value(QStringLiteral("Lotto")));
    }
    CloseDatabase();
}

// The last row of the query's order: a keyset would test every key before it.
void BM_QueryFindFirstLast(benchmark::State& state)
{
    if (!Open(state)) return;
    auto rs = DB->OpenRecordset(kByDescendingSscc);
    for (auto _ : state) {
        rs->FindFirst(QStringLiteral("SSCC = '") + ArchivedSscc(1) + QStringLiteral("'"));
        if (rs->NoMatch()) state.SkipWithError("not found");
    }
    rs.reset();
    CloseDatabase();
}

void BM_JoinFindFirstLast(benchmark::State& state)
{
    if (!Open(state)) return;
    auto rs = DB->OpenRecordset(kJoin);
    for (auto _ : state) {
        rs->FindFirst(QStringLiteral("AppTestate.SSCC = '") + ArchivedSscc(1) + QStringLiteral("'"));
        if (rs->NoMatch()) state.SkipWithError("not found");
    }
    rs.reset();
    CloseDatabase();
}

// A bookmark taken, ten moves, back to the bookmark.
void BM_QueryMovesAndBookmark(benchmark::State& state)
{
    if (!Open(state)) return;
    auto rs = DB->OpenRecordset(kByDescendingSscc);
    rs->FindFirst(QStringLiteral("SSCC = '") + ArchivedSscc(state.range(0) / 2) + QStringLiteral("'"));
    for (auto _ : state) {
        const Bookmark mark = rs->GetBookmark();
        for (int i = 0; i < 5; ++i) rs->MoveNext();
        for (int i = 0; i < 5; ++i) rs->MovePrevious();
        rs->SetBookmark(mark);
    }
    rs.reset();
    CloseDatabase();
}

void BM_JoinMovesAndBookmark(benchmark::State& state)
{
    if (!Open(state)) return;
    auto rs = DB->OpenRecordset(kJoin);
    for (auto _ : state) {
        const Bookmark mark = rs->GetBookmark();
        for (int i = 0; i < 5; ++i) rs->MoveNext();
        rs->MoveLast();
        rs->SetBookmark(mark);
    }
    rs.reset();
    CloseDatabase();
}

// The picker's list: counted, then the last row shown (the first, the middle and the last block
// as a fresh list would read them). The memory counter is what reading rows from every part of
// the archive added.
void BM_PickerOpenAndReachAnyRow(benchmark::State& state)
{
    if (!Open(state)) return;
    const double before = ResidentMb();
    for (auto _ : state) {
        ArchiveListModel list(*DB);
        for (int row : {0, list.rowCount() / 2, list.rowCount() - 1})
            if (list.Row(row).idAppTestate < 0) state.SkipWithError("row missing");
    }
    {
        ArchiveListModel list(*DB);
        for (int row = 0; row < list.rowCount(); row += std::max(1, list.rowCount() / 200)) benchmark::DoNotOptimize(list.Row(row));
    }
    state.counters["rss_growth_MB"] = ResidentMb() - before;
    CloseDatabase();
}

// The picker window opened, shown, and scrolled to its last row (drawn).
void BM_PickerWindowToTheLastRow(benchmark::State& state)
{
    if (!Open(state)) return;
    const double before = ResidentMb();
    QLineEdit field;
    for (auto _ : state) {
        frmScegliPNC picker(field);
        picker.show();
        picker.ui.flxArticoli->scrollToBottom();
        QCoreApplication::processEvents();
        picker.ui.flxArticoli->viewport()->grab();
        if (picker.ui.flxArticoli->rowAt(picker.ui.flxArticoli->viewport()->height() - 2) < picker.Lista().rowCount() - 2)
            state.SkipWithError("the last row is not shown");
    }
    state.counters["rss_growth_MB"] = ResidentMb() - before;
    CloseDatabase();
}

// A lot of `pallets` pallets spread evenly over the archive of `archive`, on the article its lines
// name; lots of other sizes start at other pallets, so that each keeps its own.
QString TracedLot(qint64 archive, qint64 pallets)
{
    const QString lot = QStringLiteral("T%1").arg(pallets);
    auto db = Database::Open(FolderWithArchive(archive) + QStringLiteral("/stivora.mdb"));
    bool known = false;
    {
        Statement article = db->prepare(QStringLiteral("SELECT 1 FROM Articoli WHERE EANArticolo = '8001234567897'"));
        known = article.step();
    }
    if (!known)
        db->ExecuteNative(QStringLiteral("INSERT INTO Articoli (Sigla, CodInterno, Descrizione, EANArticolo) "
                                         "VALUES ('ART1', 'ART1', 'Articolo', '8001234567897')"));
    db->BeginTrans();
    const qint64 stride = archive / pallets;
    const qint64 first = QString::number(pallets).size();
    for (qint64 j = 0; j < pallets; ++j)
        db->ExecuteNative(QStringLiteral("UPDATE AppRighe SET Lotto = ? WHERE IDAppTestate = ?"), {lot, j * stride + first});
    db->CommitTrans();
    return lot;
}

// The lot's trace listing read as the listing reads it: every field of every row, walked forwards,
// on a read-only connection of its own. per_row is the walk's time over its rows.
void BM_TraceLotWalk(benchmark::State& state)
{
    const qint64 pallets = state.range(1);
    const QString lot = TracedLot(state.range(0), pallets);
    auto db = Database::Open(FolderWithArchive(state.range(0)) + QStringLiteral("/stivora.mdb"), true);
    for (auto _ : state) {
        auto rs = db->OpenRecordset(QueryTracciaLotto(lot, QStringLiteral("8001234567897")));
        qint64 rows = 0;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext(), ++rows)
            for (int i = 0; i < rs->FieldCount(); ++i) benchmark::DoNotOptimize(rs->Value(rs->FieldName(i)));
        if (rows != pallets) state.SkipWithError("rows missing");
    }
    state.counters["per_row"] = benchmark::Counter(double(pallets), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Clearing the archive (or the export tables) of a fresh copy of the archive each time.
void BM_Clear(benchmark::State& state, const QString& table)
{
    const QString source = FolderWithArchive(state.range(0)) + QStringLiteral("/stivora.mdb");
    QTemporaryDir copy;
    CartellaDati = copy.path();
    const QString mdb = copy.filePath(QStringLiteral("stivora.mdb"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(mdb);
        QFile::copy(source, mdb);
        QFile::setPermissions(mdb, QFile::ReadOwner | QFile::WriteOwner);
        {
            // The copy on disk first: the clearing's commit must not wait for it.
            QFile written(mdb);
            if (written.open(QIODevice::ReadWrite)) ::fsync(written.handle());
        }
        if (!ApriDatabase()) state.SkipWithError("cannot open");
        Recordset& rs = table == QLatin1String("APPTESTATE") ? *rsAppTestate : *rsExportTestate;
        state.ResumeTiming();
        AzzeraTestate(*DB, table, rs);
        state.PauseTiming();
        if (!rs.IsEmpty()) state.SkipWithError("not cleared");
        CloseDatabase();
        state.ResumeTiming();
    }
}
void BM_ClearArchive(benchmark::State& state) { BM_Clear(state, QStringLiteral("APPTESTATE")); }
void BM_ClearExport(benchmark::State& state) { BM_Clear(state, QStringLiteral("EXPORTTESTATE")); }

} // namespace

#define SIZES ->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_OpenTableRecordsets) SIZES;
BENCHMARK(BM_FindFirstBySscc) SIZES;
BENCHMARK(BM_DuplicateLookupNotArchived) SIZES;
BENCHMARK(BM_ArchiveOnePallet) SIZES;
BENCHMARK(BM_QueryOpen) SIZES;
BENCHMARK(BM_JoinOpen) SIZES;
BENCHMARK(BM_WholeJoinOpenAndLast) SIZES;
BENCHMARK(BM_QueryFindFirstLast) SIZES;
BENCHMARK(BM_JoinFindFirstLast) SIZES;
BENCHMARK(BM_QueryMovesAndBookmark) SIZES;
BENCHMARK(BM_JoinMovesAndBookmark) SIZES;
BENCHMARK(BM_TraceLotWalk)
    ->Args({1'000, 100})
    ->Args({1'000'000, 100})
    ->Args({1'000'000, 1'000})
    ->Args({1'000'000, 10'000})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickerOpenAndReachAnyRow) SIZES;
BENCHMARK(BM_PickerWindowToTheLastRow)->Arg(1'000)->Arg(1'000'000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearArchive)->Arg(1'000)->Arg(1'000'000)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearExport)->Arg(1'000)->Arg(1'000'000)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDialogs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
