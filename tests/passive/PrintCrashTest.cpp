// The print road killed at random points, restarted, killed again: no SSCC ever ends up on labels of
// two pallets, every SSCC on a label sent is archived with what the label says, and no passive
// request is lost. The road runs in a child process; its printer writes each job to disk.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "labels/PrintOutcome.h"
#include "passive/TrayIcon.h"
#include "reports/ReportViewer.h"
#include "support/ChildProcess.h"
#include "support/RecordingPrinter.h"
#include "support/SampleRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"
#include "support/Zbar.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <thread>
#include <utility>

namespace {

const QString kPrinter = QStringLiteral("Zebra");

// Dies as the job it is handed is about to be printed: nothing of it reaches the printer.
class DyingPrinter : public RecordingPrinterSystem {
public:
    using RecordingPrinterSystem::RecordingPrinterSystem;
    int killBefore = 0;
    void print(const PrintJob& job) override
    {
        if (++started_ == killBefore) std::raise(SIGKILL);
        RecordingPrinterSystem::print(job);
    }

private:
    int started_ = 0;
};

// args: data folder, jobs folder, "passive", "single" or "preview". KILL_AFTER_JOB=n and
// KILL_DELAY_US=d: the child kills itself d microseconds after handing over its n-th job (n = 0:
// after its start). Each job handed over is reported on standard output with the microseconds since
// the start, so that the test can place later kills within the work a run still has to do.
// KILL_BEFORE_JOB=n: it dies instead as its n-th job is about to be handed over. "preview" prints one
// pallet with its preview, during which it dies, after printing from it when PREVIEW_PRINTS is set.
const ChildRegistration printRoad("print-road", [](const QStringList& args) {
    QElapsedTimer clock;
    clock.start();
    const QByteArray killAfter = qgetenv("KILL_AFTER_JOB");
    const int killAt = killAfter.isEmpty() ? -1 : killAfter.toInt();
    const auto delay = std::chrono::microseconds(qgetenv("KILL_DELAY_US").toLongLong());
    auto killLater = [delay] {
        std::thread([delay] {
            std::this_thread::sleep_for(delay);
            std::raise(SIGKILL);
        }).detach();
    };
    if (killAt == 0) killLater();
    CartellaDati = args.at(0);
    FillMonthNames();
    if (!ApriDatabase()) return 3;
    DyingPrinter printer({{kPrinter, QString(), QString()}}, kPrinter, 200);
    printer.killBefore = qEnvironmentVariableIntValue("KILL_BEFORE_JOB");
    int sent = 0;
    printer.recordTo(args.at(1), [&] {
        std::printf("job %d %lld\n", ++sent, clock.nsecsElapsed() / 1000);
        std::fflush(stdout);
        if (sent != killAt) return;
        if (delay.count() == 0) std::raise(SIGKILL);
        killLater();
    });
    SetPrinterSystem(&printer);
    const bool passive = args.at(2) == QLatin1String("passive");
    ModoInterattivo = !passive;
    auto window = std::make_unique<frmArticoli>();
    window->Form_Load();
    auto& ui = window->ui;
    if (passive) {
        for (int tick = 0; tick < 5 && !(rsRichiesteTestate->IsEmpty() && rsRichiesteImballi->IsEmpty()); ++tick)
            window->timPassive_Timer();
    } else if (args.at(2) == QLatin1String("preview")) {
        TypeLabelJob(*window);
        ui.chkAnteprima->setChecked(true);
        const bool prints = qEnvironmentVariableIsSet("PREVIEW_PRINTS");
        Dialogs().onModal([prints](QDialog& preview) {
            if (prints) preview.findChild<ReportViewer*>(QStringLiteral("CRViewer1"))->printReport();
            std::raise(SIGKILL);
            return 0;
        });
        ui.cmdStampa->click();
    } else {
        ui.chkMultiLotto->setChecked(false);
        window->chkMultiLotto_Click();
        TypeLabelJob(*window);
        for (int p = 0; p < 6; ++p) {
            ui.txtLotto->setText(QStringLiteral("S%1").arg(QRandomGenerator::global()->bounded(100000000)));
            ui.mskQtCartoni->setText(QString::number(10 + p));
            ui.mskQtPallet->setText(QStringLiteral("1"));
            ui.cmdStampa->click();
        }
    }
    // After a kill the start tells which labels it sent again; anything else told is a fault.
    const auto resent = [](const QString& text) { return text.startsWith(EtichetteRiprese({})); };
    bool clean = !passive || rsRichiesteTestate->IsEmpty();
    for (const ShownMessage& m : Dialogs().messages()) {
        qWarning("message: %s", qPrintable(m.prompt));
        clean = clean && resent(m.prompt);
    }
    // In passive mode a refusal is no message box: it is told beside the tray icon.
    for (const TrayIcon::Told& m : window->TrayIconData->told()) {
        qWarning("told: %s", qPrintable(m.text));
        clean = clean && resent(m.text);
    }
    window.reset();
    CloseDatabase();
    return clean ? 0 : 4;
});

// GS1 element strings split into their elements: the AIs the labels use, fixed or up to a separator.
std::multimap<std::string, std::string> elements(const std::string& data)
{
    std::multimap<std::string, std::string> out;
    size_t at = 0;
    auto fixed = [](const std::string& ai) -> size_t {
        if (ai == "00") return 18;
        if (ai == "01" || ai == "02") return 14;
        if (ai == "11" || ai == "13" || ai == "15" || ai == "17") return 6;
        return 0;
    };
    while (at + 2 <= data.size()) {
        std::string ai = data.substr(at, 2);
        if (ai == "31" || ai == "32" || ai == "33" || ai == "34" || ai == "35" || ai == "36") {
            ai = data.substr(at, 4);
            out.emplace(ai.substr(0, 3), data.substr(at + 4, 6));
            at += 10;
            continue;
        }
        at += 2;
        const size_t len = fixed(ai);
        size_t end = len ? at + len : data.find('\x1d', at);
        if (end == std::string::npos) end = data.size();
        out.emplace(ai, data.substr(at, end - at));
        at = end + (len ? 0 : 1);
    }
    return out;
}

struct SentLabel {
    std::string sscc;
    std::set<std::string> lots;
    int copies = 0;
};

class PrintCrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        SetSetup({{"ReportPrinter", kPrinter}, {"contatore", 41}, {"PesoPallet3", 25}, {"AutoUpdateSSCC", true}, {"multilotto", false}});
        AddArticle();
        CloseDatabase();
        QDir().mkpath(jobs.path());
    }

    // Every request: one or two lines, each with a lot of its own.
    void addRequests(int count)
    {
        auto db = Database::Open(data.mdbPath());
        const int first = int(requestLots.size()) + 1;
        for (int r = first; r < first + count; ++r) {
            db->ExecuteNative(QStringLiteral("INSERT INTO RichiesteTestate (IDRichiesteTestate, Copie, TipoPallet) VALUES (?, 1, '3')"), {r});
            for (int l = 1; l <= 1 + r % 2; ++l) {
                const QString lot = QStringLiteral("R%1%2").arg(r, 3, 10, QLatin1Char('0')).arg(QChar(u'A' + l - 1));
                db->ExecuteNative(QStringLiteral("INSERT INTO RichiesteRighe (IDRichiesteTestate, NumRiga, AutoLotto, Lotto, AutoData, "
                                                 "DataOra, PrefGTIN, EANCartone, NumCartoni) VALUES (?, ?, 0, ?, 0, '2026-12-08 10:30:00', "
                                                 "'1', '8001234567897', ?)"),
                                  {r, l, lot, 10 + l});
                requestLots[r].insert(lot.toStdString());
            }
        }
    }

    qint64 number(const QString& sql)
    {
        auto db = Database::Open(data.mdbPath());
        Statement st = db->prepare(sql);
        return st.step() ? st.int64(0) : -1;
    }

    // The program started again on the data folder by an operator, then closed: what the start told.
    std::vector<QString> startAgain(RecordingPrinterSystem& printer)
    {
        EXPECT_TRUE(ApriDatabase());
        SetPrinterSystem(&printer);
        Dialogs().reset();
        ModoInterattivo = true;
        auto window = std::make_unique<frmArticoli>();
        window->Form_Load();
        window.reset();
        CloseDatabase();
        return Dialogs().prompts();
    }

    int pendingRequests()
    {
        auto db = Database::Open(data.mdbPath());
        return db->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM RichiesteTestate"))->Value(QStringLiteral("n")).toInt();
    }

    // What the runs so far took: from a child's start to its first job, and from one job to the next.
    struct Pace {
        qint64 firstJobUs = 0;
        qint64 betweenJobsUs = 0;
    };

    struct Kill {
        int afterJob = 0;
        qint64 delayUs = 0;
    };

    // A kill inside the work the next run has to do: right after one of its first jobs is handed over,
    // or at a random moment before its first job or between two of them.
    Kill nextKill(int attempt, int jobsAhead, const Pace& pace)
    {
        auto* random = QRandomGenerator::global();
        const int reach = std::max(1, std::min(jobsAhead, 3));
        const int after = int(random->bounded(reach));
        const qint64 span = after == 0 ? pace.firstJobUs : pace.betweenJobsUs;
        if (attempt % 3 == 2 || span <= 0) return {1 + int(random->bounded(reach)), 0};
        return {after, 1 + qint64(random->bounded(double(span)))};
    }

    // -1 when the child was killed, else its exit code.
    int run(const QString& mode, std::optional<Kill> kill, Pace* pace = nullptr, const std::map<QString, QString>& more = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : more) env.insert(name, value);
        if (kill) {
            env.insert(QStringLiteral("KILL_AFTER_JOB"), QString::number(kill->afterJob));
            env.insert(QStringLiteral("KILL_DELAY_US"), QString::number(kill->delayUs));
        }
        auto child = StartChild(QStringLiteral("print-road"), {data.path(), jobs.path(), mode}, env);
        child->waitForFinished(-1);
        std::vector<qint64> handedOver;
        for (const QByteArray& line : child->readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words[0] == "job") handedOver.push_back(words[2].toLongLong());
        }
        if (pace && !handedOver.empty()) {
            pace->firstJobUs = handedOver.front();
            if (handedOver.size() > 1) pace->betweenJobsUs = (handedOver.back() - handedOver.front()) / qint64(handedOver.size() - 1);
        }
        return child->exitStatus() == QProcess::CrashExit ? -1 : child->exitCode();
    }

    // The labels sent since the last look, read back as a scanner would; carton labels by their names.
    void scanNewJobs()
    {
        const auto all = RecordedJobsIn(jobs.path());
        for (size_t j = std::exchange(scanned, all.size()); j < all.size(); ++j) {
            if (all[j].documentName.startsWith(QLatin1String("Etichetta cartone"))) {
                cartons.push_back(all[j].documentName + QStringLiteral(" x") + QString::number(all[j].copies));
                continue;
            }
            SentLabel label;
            label.copies = all[j].copies;
            std::set<std::string> ssccs;
            for (const QImage& page : all[j].pages) {
                for (const std::string& symbol : Gs1Symbols(page)) {
                    for (const auto& [ai, value] : elements(symbol)) {
                        if (ai == "00") ssccs.insert(value);
                        if (ai == "10") label.lots.insert(value);
                    }
                }
            }
            ASSERT_EQ(ssccs.size(), 1u) << "job " << j;
            label.sscc = *ssccs.begin();
            sent.push_back(label);
        }
    }

    std::map<std::string, std::set<std::string>> archivedLots()
    {
        std::map<std::string, std::set<std::string>> pallets;
        // Read-write: a run killed mid-transaction leaves a journal only a writer can roll back.
        auto db = Database::Open(data.mdbPath());
        auto rs = db->OpenRecordset(QStringLiteral("SELECT AppTestate.SSCC, AppRighe.Lotto FROM AppTestate LEFT JOIN AppRighe ON "
                                                   "AppRighe.IDAppTestate = AppTestate.IDAppTestate"));
        for (; !rs->Eof(); rs->MoveNext()) {
            auto& lots = pallets[rs->Value(QStringLiteral("SSCC")).toString().toStdString()];
            if (!rs->Value(QStringLiteral("Lotto")).isNull()) lots.insert(rs->Value(QStringLiteral("Lotto")).toString().toStdString());
        }
        return pallets;
    }

    // Every label sent carries an archived SSCC and only lots of that pallet: an SSCC put on two
    // pallets would show a lot of the other one.
    void checkSentLabels()
    {
        scanNewJobs();
        const auto pallets = archivedLots();
        for (const SentLabel& label : sent) {
            const auto it = pallets.find(label.sscc);
            ASSERT_NE(it, pallets.end()) << "sent but not archived: " << label.sscc;
            for (const std::string& lot : label.lots) EXPECT_TRUE(it->second.count(lot)) << label.sscc << " carries lot " << lot;
        }
    }

    TestDataFolder data;
    QTemporaryDir jobs;
    std::map<int, std::set<std::string>> requestLots;
    std::vector<SentLabel> sent;
    QStringList cartons; // "<job name> x<copies>"
    size_t scanned = 0;
};

TEST_F(PrintCrashTest, KilledAnywhereNoSsccIsSharedOrLost)
{
    addRequests(36);
    for (const char* name : {"passive", "single"}) {
        const QString mode = QString::fromLatin1(name);
        const bool passive = mode == QLatin1String("passive");
        Pace pace;
        int killed = 0;
        // A run that ends before its kill is run again; the bound only stops a road that cannot be killed.
        for (int attempt = 0; killed < 11 && attempt < 40; ++attempt) {
            if (passive && pendingRequests() < 4) addRequests(6);
            const int jobsAhead = passive ? pendingRequests() : 6;
            const int code = run(mode, nextKill(attempt, jobsAhead, pace), &pace);
            if (code == -1) ++killed;
            else EXPECT_EQ(code, 0) << qPrintable(mode) << " run " << attempt;
            checkSentLabels();
        }
        EXPECT_GE(killed, 11) << qPrintable(mode);
        // A last run without a kill finishes what is left, sending again what the kills may have stopped.
        ASSERT_EQ(run(mode, std::nullopt), 0) << qPrintable(mode);
        checkSentLabels();
    }

    // Each request is a pallet archived once, with its lots, and its label sent.
    const auto pallets = archivedLots();
    std::set<std::string> labelled;
    for (const SentLabel& label : sent) labelled.insert(label.sscc);
    for (const auto& [request, lots] : requestLots) {
        int found = 0;
        for (const auto& [sscc, palletLots] : pallets) {
            if (palletLots != lots) continue;
            ++found;
            EXPECT_TRUE(labelled.count(sscc)) << "request " << request << " archived as " << sscc << " without a label";
        }
        EXPECT_EQ(found, 1) << "request " << request;
    }
    for (const auto& [sscc, lots] : pallets) EXPECT_TRUE(labelled.count(sscc)) << "archived without a label: " << sscc;
    EXPECT_TRUE(QDir(data.file(QStringLiteral("StampeInCorso"))).isEmpty());
}

// Two programs in passive mode on one data folder, pallets of two lines among pallets of one: every
// pallet is printed once, by one of them, its labels whole: a pallet of one line its label, a pallet
// of two its summary and its article list.
TEST_F(PrintCrashTest, TwoProgramsOnOneFolderPrintEachPalletsLabelsOnce)
{
    addRequests(40);
    auto first = StartChild(QStringLiteral("print-road"), {data.path(), jobs.path(), QStringLiteral("passive")});
    auto second = StartChild(QStringLiteral("print-road"), {data.path(), jobs.path(), QStringLiteral("passive")});
    for (auto* child : {first.get(), second.get()}) {
        ASSERT_TRUE(child->waitForFinished(-1));
        EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child->exitCode(), 0);
    }
    scanNewJobs();

    std::map<std::string, std::vector<std::set<std::string>>> jobsOf; // SSCC: the lots of each of its jobs
    for (const SentLabel& label : sent) jobsOf[label.sscc].push_back(label.lots);
    const auto pallets = archivedLots();
    EXPECT_EQ(pallets.size(), requestLots.size());
    for (const auto& [request, lots] : requestLots) {
        int found = 0;
        for (const auto& [sscc, palletLots] : pallets) {
            if (palletLots != lots) continue;
            ++found;
            // A summary states no lot; the article list states them all.
            const std::vector<std::set<std::string>> expected =
                lots.size() == 1 ? std::vector{lots} : std::vector{std::set<std::string>{}, lots};
            EXPECT_EQ(jobsOf[sscc], expected) << "request " << request << " printed as " << sscc;
        }
        EXPECT_EQ(found, 1) << "request " << request;
    }
    EXPECT_EQ(jobsOf.size(), pallets.size()) << "labels of pallets not archived";
    EXPECT_EQ(pendingRequests(), 0);
    EXPECT_TRUE(QDir(data.file(QStringLiteral("StampeInCorso"))).isEmpty());
}

// A reprint and a carton request taken from their tables are printed by the next start when the
// program died as their jobs were about to be handed over.
TEST_F(PrintCrashTest, ARequestTakenIsPrintedWhereverItsProgramStopped)
{
    ASSERT_EQ(run(QStringLiteral("single"), std::nullopt), 0);
    scanNewJobs();
    const size_t before = sent.size();
    auto db = Database::Open(data.mdbPath());
    const qint64 archived = number(QStringLiteral("SELECT min(IDAppTestate) FROM AppTestate"));
    db->ExecuteNative(QStringLiteral("INSERT INTO RichiesteTestate (Copie, Ristampa, IDAppTestate) VALUES (2, 1, ?)"), {archived});
    db->ExecuteNative(QStringLiteral("INSERT INTO RichiesteImballi (AutoLotto, Lotto, AutoData, DataOra, PrefGTIN, EANCartone, NumCartoni) "
                                     "VALUES (0, 'C00011', 0, '2026-12-08 10:30:00', '1', '8001234567897', 3)"));
    db.reset();

    // Dead as the reprint went out, then as the cartons went out, the start having sent the reprint again.
    for (const char* job : {"1", "2"})
        EXPECT_EQ(run(QStringLiteral("passive"), std::nullopt, nullptr, {{QStringLiteral("KILL_BEFORE_JOB"), QString::fromLatin1(job)}}), -1);
    EXPECT_EQ(run(QStringLiteral("passive"), std::nullopt), 0);

    scanNewJobs();
    ASSERT_EQ(sent.size(), before + 1);
    EXPECT_EQ(sent.back().sscc, sent.front().sscc) << "the reprint of the pallet asked for";
    EXPECT_EQ(sent.back().copies, 2);
    EXPECT_EQ(cartons, QStringList{QStringLiteral("Etichetta cartone ART1 lotto C00011 x3")});
    EXPECT_EQ(pendingRequests() + number(QStringLiteral("SELECT count(*) FROM RichiesteImballi")), 0);
    EXPECT_TRUE(QDir(data.file(QStringLiteral("StampeInCorso"))).isEmpty());
}

// A pallet whose preview was open when the program died put no label out: the next start gives back
// its archive and export rows and its serial. Printed from the preview first, it stays, and its label
// is sent again.
TEST_F(PrintCrashTest, APalletWhosePreviewWasOpenIsGivenBackByTheNextStart)
{
    EXPECT_EQ(run(QStringLiteral("preview"), std::nullopt), -1);
    scanNewJobs();
    EXPECT_TRUE(sent.empty());
    const auto reserved = archivedLots();
    ASSERT_EQ(reserved.size(), 1u);
    const QString sscc = QString::fromStdString(reserved.begin()->first);
    RecordingPrinterSystem printer({{kPrinter, QString(), QString()}}, kPrinter, 200);
    EXPECT_EQ(startAgain(printer), std::vector<QString>{AnteprimeRestituite({sscc})});
    EXPECT_TRUE(printer.jobs().empty());
    EXPECT_TRUE(archivedLots().empty());
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM ExportTestate")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT contatore FROM Setup")), 41);

    EXPECT_EQ(run(QStringLiteral("preview"), std::nullopt, nullptr, {{QStringLiteral("PREVIEW_PRINTS"), QStringLiteral("1")}}), -1);
    scanNewJobs();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(QString::fromStdString(sent[0].sscc), sscc) << "the serial given back, as no label carried it";
    EXPECT_EQ(startAgain(printer), std::vector<QString>{EtichetteRiprese({QStringLiteral("Pallet ") + sscc})});
    EXPECT_EQ(printer.jobs().size(), 1u);
    EXPECT_EQ(archivedLots().size(), 1u);
    EXPECT_EQ(number(QStringLiteral("SELECT contatore FROM Setup")), 42);
    EXPECT_TRUE(QDir(data.file(QStringLiteral("StampeInCorso"))).isEmpty());
}

} // namespace
