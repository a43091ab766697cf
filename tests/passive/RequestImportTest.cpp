// The request folder into the tables: whole files once they stopped changing, taken by one program
// only and imported once whatever moment it stops; refused files moved aside with their reason.
#include "passive/RequestImport.h"

#include "passive/RequestClaim.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class RequestImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral("richieste")));
        folder = data.file(QStringLiteral("richieste"));
        defaults = RequestDefaultsFromSetup(*rsSetup, QDateTime(QDate(2026, 1, 15), QTime(9, 45)));
    }
    void TearDown() override { CloseDatabase(); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(QDir(folder).filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    qint64 count(const QString& table)
    {
        return DB->OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM ") + table)->Value(QStringLiteral("n")).toLongLong();
    }

    QStringList files() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    QString refusal(const QString& name) const
    {
        QFile reason(QDir(folder).filePath(kCartellaScartati + u'/' + name + QStringLiteral(".txt")));
        return reason.open(QIODevice::ReadOnly) ? QString::fromUtf8(reason.readAll()).trimmed() : QString();
    }

    // The first scan only sees the files; the second reads those that stayed as they were.
    void scanTwice()
    {
        scanner.Scan(*DB, folder, defaults);
        scanner.Scan(*DB, folder, defaults);
    }

    TestDataFolder data;
    QString folder;
    RequestDefaults defaults;
    RequestFolder scanner{[] {}};
};

TEST_F(RequestImportTest, AFolderOfRequestsIsImportedAndEmptied)
{
    write(QStringLiteral("a.req"), "[ARTICOLO]\r\nCODINTERNO=ART9\r\nDESCRIZIONE=Caff\xe8\r\nPREFGTIN=1\r\nEANCARTONE=800123456789\r\n"
                                   "QTCARTONE=6\r\n[TESTATA]\r\nCOPIE=2\r\n[RIGA]\r\nLOTTO=L1\r\nAUTOLOTTO=NO\r\n"
                                   "[TESTATA]\r\n[RIGA]\r\nDATAORA=05/03/2024 14:30\r\nAUTODATA=0\r\n[RIGA]\r\nNUMCARTONI=7\r\n");
    write(QStringLiteral("B.REQ"), "[IMBALLO]\nNUMCARTONI=40\nEANCARTONE=12345\n");
    write(QStringLiteral("note.txt"), "[IMBALLO]\n");
    write(QStringLiteral(".nascosto.req"), "[IMBALLO]\n");

    scanTwice();

    EXPECT_EQ(files(), QStringList{QStringLiteral("note.txt")});
    EXPECT_EQ(count(QStringLiteral("RichiesteTestate")), 2);
    EXPECT_EQ(count(QStringLiteral("RichiesteRighe")), 3);
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 1);

    auto article = DB->OpenRecordset(QStringLiteral("SELECT * FROM Articoli WHERE CodInterno = 'ART9'"));
    ASSERT_FALSE(article->IsEmpty());
    EXPECT_EQ(article->Value(QStringLiteral("Descrizione")).toString(), QStringLiteral("Caff\u00e8")) << "Windows-1252 text";
    EXPECT_EQ(article->Value(QStringLiteral("EANCartone")).toString(), QStringLiteral("8001234567897"));
    EXPECT_EQ(article->Value(QStringLiteral("NumCartoni")).toInt(), 1);
    EXPECT_EQ(article->Value(QStringLiteral("DurataProdotto")).toInt(), rsSetup->Value(QStringLiteral("DurataDefault")).toInt());

    auto lines = DB->OpenRecordset(QStringLiteral("SELECT * FROM RichiesteRighe ORDER BY NumRiga"));
    const qint64 first = DB->OpenRecordset(QStringLiteral("SELECT min(IDRichiesteTestate) AS id FROM RichiesteTestate"))
                             ->Value(QStringLiteral("id"))
                             .toLongLong();
    EXPECT_EQ(lines->Value(QStringLiteral("IDRichiesteTestate")).toLongLong(), first);
    EXPECT_EQ(lines->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("L1"));
    EXPECT_FALSE(lines->Value(QStringLiteral("AutoLotto")).toBool());
    lines->MoveNext();
    EXPECT_EQ(lines->Value(QStringLiteral("NumRiga")).toInt(), 2);
    EXPECT_EQ(lines->Value(QStringLiteral("IDRichiesteTestate")).toLongLong(), first + 1);
    EXPECT_EQ(lines->Value(QStringLiteral("DataOra")).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    lines->MoveNext();
    EXPECT_EQ(lines->Value(QStringLiteral("NumCartoni")).toInt(), 7);
    EXPECT_EQ(lines->Value(QStringLiteral("DataOra")).toDateTime(), defaults.dataOra);
}

TEST_F(RequestImportTest, AnArticleOfAKnownGtinIsRewrittenWholeAndKeepsItsOwnColumns)
{
    rsArticoli->AddNew();
    rsArticoli->SetValue(QStringLiteral("Sigla"), QStringLiteral("PASSATA"));
    rsArticoli->SetValue(QStringLiteral("TipoPallet"), QStringLiteral("3"));
    rsArticoli->SetValue(QStringLiteral("PrefGTIN"), QStringLiteral("1"));
    rsArticoli->SetValue(QStringLiteral("EANCartone"), QStringLiteral("8001234567897"));
    rsArticoli->SetValue(QStringLiteral("NumCartoni"), 40);
    rsArticoli->SetValue(QStringLiteral("PesoCartone"), 12.5);
    rsArticoli->SetValue(QStringLiteral("CodInterno"), QStringLiteral("OLD"));
    rsArticoli->Update();
    write(QStringLiteral("a.req"), "[ARTICOLO]\nPREFGTIN=1\nEANCARTONE=8001234567890\nCODINTERNO=NEW\n");

    scanTwice();

    EXPECT_EQ(count(QStringLiteral("Articoli")), 1);
    auto a = DB->OpenRecordset(QStringLiteral("Articoli"));
    EXPECT_EQ(a->Value(QStringLiteral("CodInterno")).toString(), QStringLiteral("NEW"));
    EXPECT_EQ(a->Value(QStringLiteral("NumCartoni")).toInt(), 1);
    EXPECT_EQ(a->Value(QStringLiteral("PesoCartone")).toDouble(), 0);
    EXPECT_EQ(a->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("PASSATA"));
    EXPECT_EQ(a->Value(QStringLiteral("TipoPallet")).toString(), QStringLiteral("3"));
}

TEST_F(RequestImportTest, AFileStillBeingWrittenOrLockedWaits)
{
    const QString path = write(QStringLiteral("a.req"), "[IMBALLO]\nAUTOLOTTO=N\n");
    scanner.Scan(*DB, folder, defaults);
    QFile more(path);
    ASSERT_TRUE(more.open(QIODevice::Append));
    more.write("LOTTO=L1\n");
    more.close();
    scanner.Scan(*DB, folder, defaults);
    EXPECT_TRUE(QFile::exists(path)) << "it grew since the last scan";

    const int flocked = ::open(QFile::encodeName(path).constData(), O_RDWR);
    ASSERT_EQ(::flock(flocked, LOCK_EX), 0);
    scanTwice();
    EXPECT_TRUE(QFile::exists(path)) << "a writer holds it";
    ::close(flocked);

    const int recordLocked = ::open(QFile::encodeName(path).constData(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(recordLocked, F_SETLK, &lock), 0);
    scanner.Scan(*DB, folder, defaults);
    EXPECT_TRUE(QFile::exists(path)) << "a writer holds a record lock on it";
    ::close(recordLocked);
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 0);

    scanner.Scan(*DB, folder, defaults);
    EXPECT_FALSE(QFile::exists(path));
    auto carton = DB->OpenRecordset(QStringLiteral("RichiesteImballi"));
    ASSERT_FALSE(carton->IsEmpty());
    EXPECT_EQ(carton->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("L1")) << "the whole file";
}

TEST_F(RequestImportTest, AFileThatCannotBeReadWholeIsMovedAsideWithItsReason)
{
    write(QStringLiteral("1.req"), "[ARTICOLO]\nCODINTERNO=X\n[TESTATA]\n[RIGA]\n[IMBALLO]\nNUMCARTONI=5\n[ARTICOLO]\nQTCARTONE=40000\n");
    write(QStringLiteral("2.req"), "[IMBALLO]\n[RIGA]\n[TESTATA]\n");
    write(QStringLiteral("3.req"), QByteArray("[IMBALLO]\0\n", 11));
    write(QStringLiteral("4.req"), "[IMBALLO]\nNUMCARTONI=3\n");
    ASSERT_TRUE(QDir(folder).mkdir(kCartellaScartati));
    write(kCartellaScartati + QStringLiteral("/2.req"), "an earlier file of the same name");

    scanTwice();

    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(count(QStringLiteral("Articoli")), 0);
    EXPECT_EQ(count(QStringLiteral("RichiesteTestate")), 0);
    EXPECT_EQ(count(QStringLiteral("RichiesteRighe")), 0);
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 1) << "the good file behind them still goes in";
    EXPECT_EQ(refusal(QStringLiteral("1.req")), QStringLiteral("Riga 8: Overflow: QTCARTONE=40000"));
    EXPECT_EQ(refusal(QStringLiteral("2-2.req")), QStringLiteral("Riga 2: [RIGA] senza [TESTATA]"));
    EXPECT_FALSE(refusal(QStringLiteral("3.req")).isEmpty());
    QFile kept(QDir(folder).filePath(kCartellaScartati + QStringLiteral("/1.req")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().endsWith("QTCARTONE=40000\n")) << "moved whole";

    const QString closed = write(QStringLiteral("5.req"), "[IMBALLO]\n");
    ASSERT_TRUE(QFile::setPermissions(closed, QFileDevice::WriteOwner));
    PermissionsBindRoot(true);
    for (int scan = 0; scan < 5; ++scan) scanner.Scan(*DB, folder, defaults);
    EXPECT_TRUE(QFile::exists(closed)) << "a writer may still set its permissions";
    for (int scan = 0; scan < 10; ++scan) scanner.Scan(*DB, folder, defaults);
    PermissionsBindRoot(false);
    EXPECT_FALSE(QFile::exists(closed));
    EXPECT_FALSE(refusal(QStringLiteral("5.req")).isEmpty());
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 1);
}

// A line that gives its own production moment (AUTODATA=NO) with a DATAORA no form reads would
// print with the time of the import: its file is set aside, naming the value, whatever the order of
// the keys. A line of the clock keeps the import time, whatever its DATAORA says.
TEST_F(RequestImportTest, ADateNoFormReadsRefusesTheFileOfALineThatGivesIt)
{
    write(QStringLiteral("1.req"), "[TESTATA]\n[RIGA]\nAUTODATA=NO\nDATAORA=junk\n");
    write(QStringLiteral("2.req"), "[IMBALLO]\nNUMCARTONI=3\n[IMBALLO]\nDATAORA=31/02/2024\nAUTODATA=NO\n");
    write(QStringLiteral("3.req"), "[IMBALLO]\nAUTODATA=NO\nDATAORA=05/03/22024 14:30\n");
    write(QStringLiteral("4.req"), "[IMBALLO]\nAUTODATA=NO\nDATAORA=\n");
    write(QStringLiteral("5.req"), "[IMBALLO]\nAUTODATA=SI\nDATAORA=junk\n[IMBALLO]\nAUTODATA=NO\nDATAORA=junk\nDATAORA=05/03/2024 14:30\n");

    scanTwice();

    EXPECT_EQ(refusal(QStringLiteral("1.req")), QStringLiteral("Riga 2: DataOra 'junk' non è una data e ora."));
    EXPECT_EQ(refusal(QStringLiteral("2.req")), QStringLiteral("Riga 3: DataOra '31/02/2024' non è una data e ora."));
    EXPECT_EQ(refusal(QStringLiteral("3.req")), QStringLiteral("Riga 1: DataOra '05/03/22024 14:30' non è una data e ora."));
    EXPECT_EQ(refusal(QStringLiteral("4.req")), QStringLiteral("Riga 1: DataOra '' non è una data e ora."));
    EXPECT_EQ(refusal(QStringLiteral("5.req")), QString());
    EXPECT_EQ(count(QStringLiteral("RichiesteRighe")), 0);
    std::vector<QDateTime> moments;
    for (auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM RichiesteImballi ORDER BY IDRichiesteImballi")); !rs->Eof(); rs->MoveNext())
        moments.push_back(rs->Value(QStringLiteral("DataOra")).toDateTime());
    EXPECT_EQ(moments, (std::vector<QDateTime>{defaults.dataOra, QDateTime(QDate(2024, 3, 5), QTime(14, 30))}));
}

TEST_F(RequestImportTest, Utf16FilesWithTheirMark)
{
    const QString text = QStringLiteral("[IMBALLO]\r\nLOTTO=\u00e8\u20ac1\r\n");
    QByteArray le("\xff\xfe");
    QByteArray be("\xfe\xff");
    for (const QChar c : text) {
        le.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
    }
    write(QStringLiteral("le.req"), le);
    write(QStringLiteral("be.req"), be);
    write(QStringLiteral("cut.req"), le + 'x');

    scanTwice();

    EXPECT_TRUE(files().isEmpty());
    auto cartons = DB->OpenRecordset(QStringLiteral("RichiesteImballi"));
    for (int i = 0; i < 2; ++i, cartons->MoveNext()) {
        ASSERT_FALSE(cartons->Eof());
        EXPECT_EQ(cartons->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("\u00e8\u20ac1"));
    }
    EXPECT_TRUE(cartons->Eof());
    EXPECT_FALSE(refusal(QStringLiteral("cut.req")).isEmpty()) << "a UTF-16 body cut in the middle of a character";
}

TEST_F(RequestImportTest, AFailedWriteRollsTheWholeFileBackAndTriesAgain)
{
    DB->ExecuteNative(QStringLiteral("CREATE TRIGGER rifiuta BEFORE INSERT ON RichiesteImballi BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"));
    const QString path = write(QStringLiteral("a.req"), "[ARTICOLO]\nCODINTERNO=X\n[TESTATA]\n[RIGA]\n[IMBALLO]\n");

    scanTwice();

    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(DB->InTransaction());
    for (const char* t : {"Articoli", "RichiesteTestate", "RichiesteRighe", "RichiesteImballi"})
        EXPECT_EQ(count(QString::fromLatin1(t)), 0) << t;

    DB->ExecuteNative(QStringLiteral("DROP TRIGGER rifiuta"));
    scanner.Scan(*DB, folder, defaults);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(count(QStringLiteral("RichiesteRighe")), 1);
}

// A program stopped between its move and its commit, or between its commit and the deletion:
// the file left aside is imported once all the same, by the database that took it. A program on
// another database sharing the folder, or a file nobody claimed, is left alone.
// Programs that stop while they hold request files: a file whose import committed is not imported
// again, any other is put back and imported once, whatever other programs of the database imported
// meanwhile. A folder is taken over only when its program is gone and it is named in the database.
TEST_F(RequestImportTest, AFileIsImportedOnceWhateverMomentTheProgramStopped)
{
    const auto lotsOf = [](Database& db) {
        QStringList lots;
        for (auto rs = db.OpenRecordset(QStringLiteral("SELECT Lotto FROM RichiesteImballi ORDER BY Lotto")); !rs->Eof(); rs->MoveNext())
            lots << rs->Value(QStringLiteral("Lotto")).toString();
        return lots;
    };
    // A station stopped with one file whose import committed and one whose import did not.
    auto stopped = std::make_unique<ClaimFolder>(*DB, folder);
    const QDir itsFolder(stopped->path());
    const QString relative = kCartellaInCorso + u'/' + itsFolder.dirName() + u'/';
    write(relative + QStringLiteral("1-committed.req"), "[IMBALLO]\nLOTTO=C1\n");
    DB->ExecuteNative(QStringLiteral("INSERT INTO RichiestePrese (Cartella, Numero) VALUES (?, 1)"), {itsFolder.dirName()});
    write(relative + QStringLiteral("2-stopped.req"), "[IMBALLO]\nLOTTO=S2\n");
    write(relative + QStringLiteral("3-keep.txt"), "not a request");
    // Another database's station, stopped too, sharing the request folder.
    TestDataFolder otherData;
    const auto other = Database::Open(otherData.mdbPath());
    auto theirs = std::make_unique<ClaimFolder>(*other, folder);
    write(kCartellaInCorso + u'/' + QDir(theirs->path()).dirName() + QStringLiteral("/1-theirs.req"), "[IMBALLO]\nLOTTO=T1\n");
    theirs.reset();

    // While the station runs, another of the same database imports under the same numbers, and more.
    for (int i = 1; i <= 3; ++i) write(QStringLiteral("%1.req").arg(i), QByteArray("[IMBALLO]\nLOTTO=N") + QByteArray::number(i) + '\n');
    QStringList rimessi;
    scanner.OnRimessi([&](const QStringList& files) { rimessi << files; });
    scanTwice();
    EXPECT_EQ(lotsOf(*DB), (QStringList{QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("N3")}));
    EXPECT_EQ(itsFolder.entryList(QDir::Files).size(), 3) << "a running station's files are its own";
    EXPECT_TRUE(rimessi.isEmpty());

    stopped.reset();
    scanTwice();
    scanTwice();
    EXPECT_EQ(rimessi, QStringList{QStringLiteral("stopped.req")});
    EXPECT_EQ(lotsOf(*DB), (QStringList{QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("N3"), QStringLiteral("S2")}))
        << "the committed one not again, the other once";
    EXPECT_EQ(itsFolder.entryList(QDir::Files), QStringList{QStringLiteral("3-keep.txt")}) << "only its requests are touched";
    EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.req")}, QDir::Files).isEmpty()) << "nothing of another database's put back";
    EXPECT_EQ(lotsOf(*other), QStringList{});

    // The other database's next program takes back its own, and the folders it has emptied are gone.
    QFile::remove(itsFolder.filePath(QStringLiteral("3-keep.txt")));
    RequestFolder otherProgram{[] {}};
    for (int scan = 0; scan < 3; ++scan) otherProgram.Scan(*other, folder, defaults);
    EXPECT_EQ(lotsOf(*other), QStringList{QStringLiteral("T1")});
    scanner.Scan(*DB, folder, defaults);
    EXPECT_EQ(QDir(QDir(folder).filePath(kCartellaInCorso)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2)
        << "the two running programs' folders only";
    EXPECT_EQ(count(QStringLiteral("RichiestePrese")), 2) << "its own folder, and the last file it took";
}

// Another program took the file, or wrote another under its name, between its reading and its
// import: nothing of what was read is stored.
TEST_F(RequestImportTest, AFileTakenOrReplacedMeanwhileIsNotImportedAsRead)
{
    const QString path = write(QStringLiteral("a.req"), "[IMBALLO]\nLOTTO=OLD\n");
    RequestFolder taken{[&] { QFile::rename(path, QDir(folder).filePath(QStringLiteral("altrove.txt"))); }};
    taken.Scan(*DB, folder, defaults);
    EXPECT_EQ(taken.Scan(*DB, folder, defaults), QString());
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 0);

    write(QStringLiteral("b.req"), "[IMBALLO]\nLOTTO=OLD\n");
    RequestFolder replaced{[&] {
        write(QStringLiteral("b.tmp"), "[IMBALLO]\nLOTTO=NEW\n");
        QFile::remove(QDir(folder).filePath(QStringLiteral("b.req")));
        QFile::rename(QDir(folder).filePath(QStringLiteral("b.tmp")), QDir(folder).filePath(QStringLiteral("b.req")));
    }};
    replaced.Scan(*DB, folder, defaults);
    replaced.Scan(*DB, folder, defaults);
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 0);
    scanTwice();
    auto carton = DB->OpenRecordset(QStringLiteral("RichiesteImballi"));
    ASSERT_FALSE(carton->IsEmpty());
    EXPECT_EQ(carton->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("NEW"));
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 1);
}

// Whatever lies in the folder: only ordinary files are read, without waiting on one, and nothing
// outside the folder is moved, renamed or deleted through a link.
TEST_F(RequestImportTest, NothingInTheFolderIsTrusted)
{
    const QDir outside(data.file(QStringLiteral("fuori")));
    ASSERT_TRUE(outside.mkpath(QStringLiteral(".")));
    for (const char* name : {"1-keep.txt", "99999999-x.req", "fuori.req"}) {
        QFile f(outside.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[IMBALLO]\nLOTTO=FUORI\n");
    }
    const QStringList outsideFiles = outside.entryList(QDir::Files);
    write(QStringLiteral("a.req"), "[IMBALLO]\nLOTTO=A\n");
    for (const QString& sub : {kCartellaInCorso, kCartellaScartati}) {
        const QString link = QDir(folder).filePath(sub);
        ASSERT_TRUE(QFile::link(outside.path(), link));
        const QString said = scanner.Scan(*DB, folder, defaults) + scanner.Scan(*DB, folder, defaults);
        EXPECT_TRUE(said.contains(link)) << qPrintable(said);
        ASSERT_TRUE(QFile::remove(link));
    }
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 0) << "the files wait while it is so";

    ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("fuori.req")), QDir(folder).filePath(QStringLiteral("link.req"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), QDir(folder).filePath(QStringLiteral("zero.req"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(QDir(folder).filePath(QStringLiteral("fifo.req"))).constData(), 0644), 0);
    const QString fifo = data.file(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(fifo, QDir(folder).filePath(QStringLiteral("fifolink.req"))));
    QFile big(write(QStringLiteral("big.req"), "[IMBALLO]\n"));
    ASSERT_TRUE(big.resize(kByteRichiestaMassimi + 1));
    // Names of up to 255 bytes, with characters of two bytes where they are cut.
    const QString longest = QString(124, QChar(0xe8)) + QStringLiteral("abc.req");
    ASSERT_EQ(QFile::encodeName(longest).size(), 255);
    write(longest, "[IMBALLO]\nLOTTO=LONG\n");
    write(QString(250, u'r') + QStringLiteral(".req"), "[RIGA]\n");
    write(QString(248, u's') + QStringLiteral(".req"), "[RIGA]\n");
    write(QString(125, QChar(0xe8)) + QStringLiteral("x.req"), "[IMBALLO]\nLOTTO=E255\n");
    // A name in Windows-1252, not UTF-8.
    const QByteArray notText = QFile::encodeName(folder).append("/caff\xe8.req");
    ::close(::open(notText.constData(), O_CREAT | O_WRONLY, 0644));
    std::vector<QByteArray> told;
    scanner.OnScartato([&](const QByteArray& file, const QString&) { told.push_back(file); });

    scanTwice();

    EXPECT_EQ(files(), QStringList{}) << "each imported or set aside";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::System).size(), 0);
    EXPECT_NE(::access(notText.constData(), F_OK), 0);
    // Set aside and told under its own bytes, its reason beside it, so that its writer finds it.
    const QByteArray keptAs = QFile::encodeName(folder).append("/scartati/caff\xe8.req");
    EXPECT_EQ(::access(keptAs.constData(), F_OK), 0);
    EXPECT_EQ(::access((keptAs + ".txt").constData(), F_OK), 0);
    EXPECT_EQ(std::count_if(told.begin(), told.end(), [](const QByteArray& f) { return f.endsWith("/scartati/caff\xe8.req"); }), 1);
    ::unlink(keptAs.constData());
    ::unlink((keptAs + ".txt").constData());
    EXPECT_EQ(outside.entryList(QDir::Files), outsideFiles);
    QStringList lots;
    for (auto rs = DB->OpenRecordset(QStringLiteral("SELECT Lotto FROM RichiesteImballi ORDER BY Lotto")); !rs->Eof(); rs->MoveNext())
        lots << rs->Value(QStringLiteral("Lotto")).toString();
    EXPECT_EQ(lots, (QStringList{QStringLiteral("A"), QStringLiteral("E255"), QStringLiteral("LONG")}));
    const QDir scartati(QDir(folder).filePath(kCartellaScartati));
    const QStringList refused = scartati.entryList(QDir::Files | QDir::System, QDir::Name);
    int withReason = 0;
    for (const QString& name : refused) {
        if (name.endsWith(QLatin1String(".txt"))) continue;
        EXPECT_TRUE(refused.contains(name + QStringLiteral(".txt"))) << qPrintable(name);
        withReason += name.endsWith(QLatin1String(".req"));
    }
    // The one whose name is no text is not listed here: it is looked for by its bytes below.
    EXPECT_EQ(withReason, 7) << qPrintable(refused.join(u' '));
    EXPECT_TRUE(refusal(QStringLiteral("big.req")).contains(QString::number(kByteRichiestaMassimi + 1)));
    EXPECT_EQ(refusal(QStringLiteral("link.req")), refusal(QStringLiteral("fifo.req")));
    EXPECT_TRUE(QFileInfo(scartati.filePath(QStringLiteral("link.req"))).isSymLink()) << "the link set aside, not what it points to";
}

// Nothing is kept for each file imported.
TEST_F(RequestImportTest, ManyImportsKeepNoMoreStatements)
{
    const auto statements = [] {
        int n = 0;
        for (sqlite3_stmt* st = sqlite3_next_stmt(DB->handle(), nullptr); st; st = sqlite3_next_stmt(DB->handle(), st)) ++n;
        return n;
    };
    for (int i = 0; i < 3; ++i) write(QStringLiteral("first%1.req").arg(i), "[IMBALLO]\n");
    scanTwice();
    const int kept = statements();
    for (int i = 0; i < 60; ++i) write(QStringLiteral("%1.req").arg(i), "[IMBALLO]\n");
    for (int scan = 0; scan < 5; ++scan) scanner.Scan(*DB, folder, defaults);
    EXPECT_EQ(statements(), kept);
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 63);
}

TEST_F(RequestImportTest, AFolderThatCannotBeReadOrWrittenIsSaidWhy)
{
    const QString missing = data.file(QStringLiteral("nessuna"));
    EXPECT_EQ(scanner.Scan(*DB, missing, defaults),
              QStringLiteral("La cartella delle richieste %1 non c'è: i file richiesta non si possono leggere.").arg(missing));
    write(QStringLiteral("a.req"), "[IMBALLO]\n");
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    PermissionsBindRoot(true);
    const QString said = scanner.Scan(*DB, folder, defaults) + scanner.Scan(*DB, folder, defaults);
    PermissionsBindRoot(false);
    EXPECT_EQ(said, QStringLiteral("La cartella delle richieste %1 non è scrivibile: i file richiesta attendono.").arg(folder).repeated(2));
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 0);
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    scanTwice();
    EXPECT_EQ(count(QStringLiteral("RichiesteImballi")), 1);
}

} // namespace
