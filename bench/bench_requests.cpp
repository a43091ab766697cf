// The request folder: how fast request files are imported (listed, read, claimed, stored, deleted),
// in files a second, and what one look over a folder of thousands of waiting files costs, as every
// tick of passive mode makes one.
#include "core/Globals.h"
#include "core/Startup.h"
#include "passive/RequestImport.h"

#include "ArchiveData.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

QString Folder()
{
    const QDir dir(QDir(FolderWithArchive(0)).filePath(QStringLiteral("richieste")));
    dir.mkpath(QStringLiteral("."));
    return dir.path();
}

void Drop(const QString& folder, int files)
{
    for (int i = 0; i < files; ++i) {
        QFile f(QDir(folder).filePath(QStringLiteral("r%1.req").arg(i)));
        if (!f.open(QIODevice::WriteOnly)) return;
        f.write(QStringLiteral("[IMBALLO]\nAUTOLOTTO=NO\nLOTTO=L%1\nPREFGTIN=1\nEANCARTONE=800123456789\nNUMCARTONI=1\n").arg(i % 1000).toUtf8());
    }
}

bool Open(benchmark::State& state)
{
    CartellaDati = FolderWithArchive(0);
    if (ApriDatabase()) return true;
    state.SkipWithError("cannot open the database");
    return false;
}

// A folder of files, seen once, then scanned until it is empty: files_per_s is the import rate.
void BM_ImportFiles(benchmark::State& state)
{
    if (!Open(state)) return;
    const QString folder = Folder();
    const RequestDefaults defaults = RequestDefaultsFromSetup(*rsSetup, QDateTime::currentDateTime());
    const int files = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Drop(folder, files);
        RequestFolder scanner{[] {}};
        scanner.Scan(*DB, folder, defaults);
        state.ResumeTiming();
        while (!QDir(folder).entryList({QStringLiteral("*.req")}, QDir::Files).isEmpty()) {
            const QString problem = scanner.Scan(*DB, folder, defaults);
            if (problem.isEmpty()) continue;
            state.SkipWithError(problem.toStdString().c_str());
            break;
        }
        state.PauseTiming();
        DB->ExecuteNative(QStringLiteral("DELETE FROM RichiesteImballi"));
        state.ResumeTiming();
    }
    state.counters["files_per_s"] = benchmark::Counter(double(files) * double(state.iterations()), benchmark::Counter::kIsRate);
    CloseDatabase();
}

// One scan over a folder of waiting files that have not settled yet: the look every tick takes
// before it reads its few files.
void BM_LookOverWaitingFiles(benchmark::State& state)
{
    if (!Open(state)) return;
    const QString folder = Folder();
    const RequestDefaults defaults = RequestDefaultsFromSetup(*rsSetup, QDateTime::currentDateTime());
    Drop(folder, int(state.range(0)));
    for (auto _ : state) {
        RequestFolder scanner{[] {}};
        scanner.Scan(*DB, folder, defaults);
    }
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.req")}, QDir::Files)) QFile::remove(QDir(folder).filePath(name));
    CloseDatabase();
}

} // namespace

BENCHMARK(BM_ImportFiles)->Arg(1'000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookOverWaitingFiles)->Arg(1'000)->Arg(5'000)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
