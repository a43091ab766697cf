// A label printed by device name through a real CUPS queue arrives as a PDF whose barcodes scan.
// The test runs its own cupsd on a private configuration and port; it skips where it cannot.
#include "PalletFixture.h"

#include "reports/PalletLayout.h"
#include "support/Zbar.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace {

const QString kQueue = QStringLiteral("StivoraPDF");

// What the tool printed, or nothing when it failed.
std::optional<QByteArray> ToolOutput(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
    return p.readAllStandardOutput();
}

bool RunTool(const QString& program, const QStringList& args) { return ToolOutput(program, args).has_value(); }

bool WriteFile(const QString& path, const QByteArray& text, QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size() && (f.close(), f.setPermissions(perms));
}

// A port the system just handed out, so two test runs do not meet.
int FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    close(fd);
    return port;
}

class CupsQueue : public PalletTest {
protected:
    void SetUp() override
    {
        PalletTest::SetUp();
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
        const QString lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {QStringLiteral("/usr/sbin")});
        if (cupsd.isEmpty() || lpadmin.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            GTEST_SKIP() << "cups or poppler-utils not installed";
        if (geteuid() != 0) GTEST_SKIP() << "a private cupsd runs its backend as root";
        ASSERT_TRUE(root.isValid());
        const QDir dir(root.path());
        for (const char* sub : {"conf", "spool", "cache", "state", "log", "out", "bin/backend", "tmp"})
            ASSERT_TRUE(dir.mkpath(QString::fromLatin1(sub)));
        for (const char* sub : {"filter", "daemon", "cgi-bin", "notifier", "monitor"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub), dir.filePath(QStringLiteral("bin/") + QLatin1String(sub)));
        // The backend keeps each job's file as the program sent it, and its title.
        ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("bin/backend/keep")),
                              "#!/bin/sh\n"
                              "[ $# -eq 0 ] && { echo 'direct keep \"Unknown\" \"Keep job\"'; exit 0; }\n"
                              "out=" + dir.filePath(QStringLiteral("out")).toUtf8() + "\n"
                              "printf '%s' \"$3\" > \"$out/job$1.title\"\n"
                              "if [ -n \"$6\" ]; then cp \"$6\" \"$out/job$1.part\"; else cat > \"$out/job$1.part\"; fi\n"
                              "mv \"$out/job$1.part\" \"$out/job$1.pdf\"\n",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        port = FreePort();
        const QByteArray r = dir.path().toUtf8();
        ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("conf/cups-files.conf")),
                              "ServerRoot " + r + "/conf\nRequestRoot " + r + "/spool\nCacheDir " + r + "/cache\n"
                              "StateDir " + r + "/state\nTempDir " + r + "/tmp\nServerBin " + r + "/bin\n"
                              "ErrorLog " + r + "/log/error_log\nAccessLog " + r + "/log/access_log\nPageLog " + r + "/log/page_log\n"
                              "SystemGroup root\n"));
        ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("conf/cupsd.conf")),
                              "Listen 127.0.0.1:" + QByteArray::number(port) + "\nLogLevel warn\nBrowsing Off\n"
                              "DefaultAuthType None\nWebInterface No\n"
                              "<Location />\n Order allow,deny\n Allow all\n</Location>\n"
                              "<Policy default>\n <Limit All>\n  Order deny,allow\n </Limit>\n</Policy>\n"));
        daemon.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), dir.filePath(QStringLiteral("conf/cupsd.conf")),
                             QStringLiteral("-s"), dir.filePath(QStringLiteral("conf/cups-files.conf"))});
        if (!daemon.waitForStarted(-1)) GTEST_SKIP() << "cupsd does not start";
        server = QStringLiteral("127.0.0.1:%1").arg(port);
        // In the foreground cupsd either answers or exits.
        bool up = false;
        while (!up && daemon.state() == QProcess::Running) {
            QThread::msleep(50);
            up = RunTool(QStringLiteral("lpstat"), {QStringLiteral("-h"), server, QStringLiteral("-r")});
        }
        if (!up) GTEST_SKIP() << "cupsd does not answer";
        if (!RunTool(lpadmin, {QStringLiteral("-h"), server, QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                           QStringLiteral("keep:/"), QStringLiteral("-m"), QStringLiteral("raw")}))
            GTEST_SKIP() << "cannot add a queue";
        qputenv("CUPS_SERVER", server.toUtf8());
        SetPrinterSystem(nullptr);
    }
    void TearDown() override
    {
        if (daemon.state() != QProcess::NotRunning) {
            daemon.terminate();
            daemon.waitForFinished(-1);
        }
        qunsetenv("CUPS_SERVER");
        PalletTest::TearDown();
    }
    // The job's PDF once the backend has written it; nothing when the queue finished without one.
    QString waitForPdf()
    {
        const QDir out(root.filePath(QStringLiteral("out")));
        for (bool queued = true;; QThread::msleep(50)) {
            const QStringList pdfs = out.entryList({QStringLiteral("*.pdf")});
            if (!pdfs.isEmpty()) return out.filePath(pdfs.front());
            if (!queued) return {};
            const auto jobs = ToolOutput(QStringLiteral("lpstat"), {QStringLiteral("-h"), server, QStringLiteral("-o")});
            queued = !jobs || !jobs->trimmed().isEmpty();
        }
    }

    QTemporaryDir root;
    QProcess daemon;
    QString server;
    int port = 0;
};

TEST_F(CupsQueue, LabelArrivesAsAPdfThatScans)
{
    const auto names = Printers().printers();
    ASSERT_TRUE(std::any_of(names.begin(), names.end(), [](const PrinterInfo& p) { return p.deviceName == kQueue; }));
    ASSERT_TRUE(SelectCurrentPrinter(kQueue));

    const PalletRow row;
    auto layout = ReportLayout::Create<CrystalReport1>();
    layout->mainSection().setRows({row.row()});
    layout->PrintOut(1);

    const QString pdf = waitForPdf();
    ASSERT_FALSE(pdf.isEmpty()) << "no job reached the backend";
    const QString png = root.filePath(QStringLiteral("page"));
    ASSERT_TRUE(RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
                                                 QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png}));
    const auto symbols = Gs1Symbols(QImage(png + QStringLiteral(".png")));
    EXPECT_NE(std::find(symbols.begin(), symbols.end(), "00" + row.sscc.toStdString()), symbols.end());
    EXPECT_NE(std::find(symbols.begin(), symbols.end(), row.e128Scanned()), symbols.end());
    QFile title(QString(pdf).replace(QStringLiteral(".pdf"), QStringLiteral(".title")));
    ASSERT_TRUE(title.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(title.readAll()), "Etichetta pallet " + row.sscFormatted()) << "the queue shows what an operator reads";
}

} // namespace
