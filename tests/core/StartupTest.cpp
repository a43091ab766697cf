#include "core/Startup.h"

#include "core/AppEx.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/frmArticoli.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include <sqlite3.h>

#include <functional>

TEST(Startup, SeparatorsComeFromTheSystemFormats)
{
    BuildDateTimeFormats(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatoData, QStringLiteral("dd.mm.yy"));
    EXPECT_EQ(MascheraData, QStringLiteral("##.##.##"));
    BuildDateTimeFormats(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatoData, QStringLiteral("dd/mm/yy"));
    // A 12-hour clock still gives a 24-hour format.
    EXPECT_EQ(FormatoOra, QStringLiteral("hh:nn"));
    EXPECT_EQ(MascheraOra, QStringLiteral("##:##"));
    BuildDateTimeFormats(QLocale(QLocale::Italian, QLocale::Italy));
    EXPECT_EQ(FormatoData, QStringLiteral("dd/mm/yy"));
    BuildDateTimeFormats(QLocale::c());
    EXPECT_EQ(FormatoData, QStringLiteral("dd/mm/yy"));
    EXPECT_EQ(MascheraOra, QStringLiteral("##:##"));
}

TEST(Startup, CommandLineSplitsOnBlanksAndTabsOnly)
{
    QStringList a = SplitCommandLine(QStringLiteral("/dati\u2030Stivora  second\tthird"));
    ASSERT_EQ(a.size(), 4);
    EXPECT_EQ(a[0], QString());
    EXPECT_EQ(a[1], QStringLiteral("/dati Stivora"));
    EXPECT_EQ(a[3], QStringLiteral("third"));
    a = SplitCommandLine(QStringLiteral("\"/my folder\""));
    ASSERT_EQ(a.size(), 3);
    EXPECT_EQ(a[1], QStringLiteral("\"/my"));
    a = SplitCommandLine(QStringLiteral("1 2 3 4 5 6 7 8 9 10 11"));
    EXPECT_EQ(a.size(), 11);
    EXPECT_EQ(a[10], QStringLiteral("10"));
    EXPECT_EQ(SplitCommandLine(QString()).size(), 1);
}

TEST(Startup, DataFolderFallsBackToTheProgramFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir programDir;
    const QString exe = programDir.filePath(QStringLiteral("stivora"));
    EXPECT_EQ(ChooseDataFolder({QString(), QStringLiteral("/some where")}, exe), QStringLiteral("/some where"));

    const QString shared = AppEx.Path(35, true, 0) + QStringLiteral("/KVR/stivora");
    QDir(shared).removeRecursively();
    EXPECT_EQ(ChooseDataFolder({QString()}, exe), programDir.path());
    EXPECT_TRUE(QFileInfo(shared).isDir());
    // The shared folder lies below a hidden one (~/.qttest/share here, ~/.local/share at work).
    QFile(shared + QStringLiteral("/STIVORA.MDB")).open(QIODevice::WriteOnly);
    EXPECT_EQ(ChooseDataFolder({QString()}, exe), shared);
    QDir(shared).removeRecursively();

    // A folder that cannot be created is named, with the system's reason.
    QTemporaryDir home;
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    const QString blocked = AppEx.Path(35, true, 0) + QStringLiteral("/KVR");
    QDir().mkpath(QFileInfo(blocked).path());
    QFile(blocked).open(QIODevice::WriteOnly);
    try {
        ChooseDataFolder({QString()}, exe);
        ADD_FAILURE() << "a folder under a file was created";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("Impossibile creare la cartella ") + blocked + QStringLiteral("/stivora: ")))
            << e.description().toStdString() << " / " << blocked.toStdString();
        EXPECT_GT(e.description().size(), (blocked + QStringLiteral("/stivora: ")).size() + 30);
    }
    // So is the user's own data folder, when a file stands in its way.
    QDir(home.path()).removeRecursively();
    QDir().mkpath(home.path());
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QFile(QFileInfo(userData).path()).open(QIODevice::WriteOnly);
    try {
        ChooseDataFolder({QString()}, exe);
        ADD_FAILURE() << "a folder under a file was created";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("Impossibile creare la cartella ") + userData + QStringLiteral(": ")))
            << e.description().toStdString();
        EXPECT_GT(e.description().size(), (userData + QStringLiteral(": ")).size() + 30);
    }
    qputenv("HOME", realHome);
    QStandardPaths::setTestModeEnabled(false);
}

TEST(Startup, AppExReportsUnknownFoldersAndMissingPaths)
{
    try {
        AppEx.Path(0x7f, false, 0);
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), long(std::int32_t(0x8004B114)));
        EXPECT_EQ(e.description(), QStringLiteral("Invalid PathId for requested function"));
        EXPECT_EQ(e.source(), QStringLiteral("AppEx.Path"));
    }
    QTemporaryDir dir;
    EXPECT_TRUE(AppEx.FSPresent(dir.path()));
    EXPECT_FALSE(AppEx.FSPresent(dir.filePath(QStringLiteral("none"))));
    EXPECT_FALSE(AppEx.OSVersion(9).isValid());
}

class OpenDatabase : public ::testing::Test {
protected:
    void TearDown() override { CloseDatabase(); }
    void expectRefused()
    {
        EXPECT_FALSE(ApriDatabase());
        ASSERT_EQ(Dialogs().messages().size(), 1u);
        const auto& m = Dialogs().messages()[0];
        // The engine's reason follows.
        EXPECT_TRUE(m.prompt.startsWith(QStringLiteral("Database STIVORA.MDB non disponibile/errato!\n\n"))) << m.prompt.toStdString();
        EXPECT_GT(m.prompt.size(), 50);
        EXPECT_EQ(m.title, QStringLiteral("Errore"));
        EXPECT_EQ(m.icon(), vbCritical);
        EXPECT_FALSE(DB);
        EXPECT_FALSE(rsSetup);
    }
};

TEST_F(OpenDatabase, OpensTheElevenTablesOnTheSetupRow)
{
    TestDataFolder data;
    CartellaDati = data.path();
    ASSERT_TRUE(ApriDatabase());
    EXPECT_EQ(PercorsoDB, data.mdbPath());
    for (auto* rs : {&rsSetup, &rsArticoli, &rsExportTestate, &rsExportRighe, &rsAppTestate, &rsAppRighe, &rsDDTTestate,
                     &rsDDTRighe, &rsRichiesteTestate, &rsRichiesteRighe, &rsRichiesteImballi})
        EXPECT_TRUE(*rs);
    EXPECT_FALSE(rsSetup->Eof());
    EXPECT_EQ(rsSetup->Value(QStringLiteral("PesoPallet1")), rsSetup->Value(QStringLiteral("pesoPallet1")));
    EXPECT_EQ(NzStr(rsSetup->Value(QStringLiteral("OrdineAI"))), QStringLiteral("123456"));
}

TEST_F(OpenDatabase, MissingFileIsRefused)
{
    TestDataFolder empty(false);
    CartellaDati = empty.path();
    expectRefused();
    EXPECT_FALSE(QFileInfo::exists(empty.mdbPath()));
}

TEST_F(OpenDatabase, FileThatIsNotADatabaseIsRefusedAndLeftAlone)
{
    TestDataFolder data(false);
    QFile f(data.mdbPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Standard Jet DB, or so it says");
    f.close();
    CartellaDati = data.path();
    expectRefused();
    EXPECT_EQ(QFileInfo(data.mdbPath()).size(), 30);
}

TEST_F(OpenDatabase, EachMissingTableIsRefused)
{
    for (const char* table : {"Setup", "Articoli", "ExportTestate", "ExportRighe", "AppTestate", "AppRighe", "DDTTestate",
                              "DDTRighe", "RichiesteTestate", "RichiesteRighe", "RichiesteImballi"}) {
        SCOPED_TRACE(table);
        Dialogs().reset();
        TestDataFolder data;
        {
            auto db = Database::Open(data.mdbPath());
            db->ExecuteNative(QStringLiteral("PRAGMA foreign_keys = OFF"));
            db->ExecuteNative(QStringLiteral("DROP TABLE %1").arg(QString::fromLatin1(table)));
        }
        const QFileInfo before(data.mdbPath());
        CartellaDati = data.path();
        expectRefused();
        EXPECT_EQ(QFileInfo(data.mdbPath()).lastModified(), before.lastModified());
    }
}

// Refused at start rather than found out at exit, when the operator's settings would be lost; the
// file is left as it was.
TEST_F(OpenDatabase, ADatabaseThatCannotBeWrittenOrHasNoSetupRowIsRefused)
{
    TestDataFolder data;
    // The engine cannot create its rollback journal where a link leads nowhere.
    QFile::link(data.file(QStringLiteral("missing/journal")), data.file(QStringLiteral("stivora.mdb-journal")));
    CartellaDati = data.path();
    EXPECT_FALSE(ApriDatabase());
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    const QString unwritable = Dialogs().messages()[0].prompt;
    EXPECT_TRUE(unwritable.startsWith(QStringLiteral("Database STIVORA.MDB non disponibile/errato!\n\nIl database non si può modificare: ")));
    EXPECT_GT(unwritable.size(), 90);
    EXPECT_FALSE(DB);

    QFile::remove(data.file(QStringLiteral("stivora.mdb-journal")));
    Database::Open(data.mdbPath())->ExecuteNative(QStringLiteral("DELETE FROM Setup"));
    Dialogs().reset();
    EXPECT_FALSE(ApriDatabase());
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(Dialogs().messages()[0].prompt,
              QStringLiteral("La tabella Setup del database STIVORA.MDB è vuota: il programma non può partire senza le impostazioni."));
    EXPECT_EQ(Dialogs().messages()[0].icon(), vbCritical);
    EXPECT_FALSE(rsSetup);
}

// A change cut short (the program stopped mid-write) leaves its journal beside stivora.mdb, and the
// start undoes it: it writes the file through the journal, then deletes the journal from the
// folder. What stops it is named, as SQLite tells it; once that is writable, the start undoes the
// change and goes on.
TEST_F(OpenDatabase, AChangeCutShortNamesWhatCannotBeWrittenToUndoIt)
{
    const auto interrupted = [](const TestDataFolder& data) {
        sqlite3* writer = nullptr;
        const QString scratch = data.file(QStringLiteral("scratch.mdb"));
        ASSERT_TRUE(QFile::copy(data.mdbPath(), scratch));
        ASSERT_EQ(sqlite3_open(scratch.toUtf8().constData(), &writer), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(writer, "PRAGMA synchronous = OFF; BEGIN; UPDATE Setup SET contatore = 7", nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_TRUE(QFile::remove(data.mdbPath()));
        ASSERT_TRUE(QFile::copy(scratch, data.mdbPath()));
        ASSERT_TRUE(QFile::copy(scratch + QStringLiteral("-journal"), data.mdbPath() + QStringLiteral("-journal")));
        sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(writer);
        ASSERT_TRUE(QFile::remove(scratch));
    };
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
    const QFile::Permissions writable = readOnly | QFile::WriteOwner;
    const std::pair<std::function<QString(const TestDataFolder&)>, const char*> cases[] = {
        {[](const TestDataFolder& d) { return d.mdbPath(); }, "Il file %1 non è scrivibile: "},
        {[](const TestDataFolder& d) { return d.path(); }, "La cartella %1 non è scrivibile: "},
        {[](const TestDataFolder& d) { return d.mdbPath() + QStringLiteral("-journal"); }, "Il file %1 non è scrivibile: "},
    };
    for (const auto& [unwritable, named] : cases) {
        Dialogs().reset();
        TestDataFolder data;
        interrupted(data);
        const QString path = unwritable(data);
        ASSERT_TRUE(QFile::setPermissions(path, QFileInfo(path).isDir() ? readOnly : QFile::ReadOwner));
        CartellaDati = data.path();
        PermissionsBindRoot(true);
        const bool opened = ApriDatabase();
        PermissionsBindRoot(false);
        EXPECT_FALSE(opened) << qPrintable(path);
        ASSERT_EQ(Dialogs().messages().size(), 1u);
        const QString prompt = Dialogs().messages()[0].prompt;
        EXPECT_TRUE(prompt.startsWith(QStringLiteral("Database STIVORA.MDB non disponibile/errato!\n\n") + QString::fromUtf8(named).arg(path)))
            << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(QStringLiteral("modifica interrotta"))) << prompt.toStdString();

        ASSERT_TRUE(QFile::setPermissions(path, QFileInfo(path).isDir() ? writable : (QFile::ReadOwner | QFile::WriteOwner)));
        Dialogs().reset();
        ASSERT_TRUE(ApriDatabase());
        EXPECT_EQ(rsSetup->Value(QStringLiteral("contatore")).toLongLong(), 0) << "the change undone";
        EXPECT_FALSE(QFileInfo::exists(data.mdbPath() + QStringLiteral("-journal")));
        CloseDatabase();
    }
}

// A damaged page under the SSCC index lets the file open and fails the window's load: the start ends
// as for a file that does not open, with SQLite's reason, no window shown and nothing written.
TEST_F(OpenDatabase, ADamagedFileEndsTheStartWithTheEnginesReason)
{
    TestDataFolder data;
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        auto db = Database::Open(data.mdbPath());
        for (const char* sscc : {"380123451000000428", "380123451000000435"})
            db->ExecuteNative(QStringLiteral("INSERT INTO AppTestate (SSCC, TipoPallet) VALUES (?, '3')"), {QString::fromLatin1(sscc)});
        Statement root = db->prepare(QStringLiteral("SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM sqlite_master "
                                                    "WHERE name = 'AppTestate_SSCC'"));
        ASSERT_TRUE(root.step());
        page = root.int64(0);
        pageSize = root.int64(1);
    }
    QFile file(data.mdbPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((page - 1) * pageSize));
    file.write(QByteArray(int(pageSize), '\xA5'));
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray damaged = file.readAll();
    file.close();

    Dialogs().onModal([](QDialog&) { return int(QDialog::Accepted); }); // the splash
    EXPECT_EQ(Main({QStringLiteral("stivora"), data.path()}, data.file(QStringLiteral("stivora"))), 1);
    Database::SetLockWait(nullptr);
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    const ShownMessage& m = Dialogs().messages()[0];
    EXPECT_TRUE(m.prompt.startsWith(QStringLiteral("Database STIVORA.MDB non disponibile/errato!\n\n")));
    EXPECT_TRUE(m.prompt.contains(QStringLiteral("database disk image is malformed"))) << m.prompt.toStdString();
    EXPECT_EQ(m.icon(), vbCritical);
    EXPECT_FALSE(FormArticoli);
    EXPECT_FALSE(DB);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);
}

// The second connection of the printing and search jobs opens PercorsoDB too.
TEST_F(OpenDatabase, TheFileNameMayDifferInCase)
{
    TestDataFolder data;
    QFile::rename(data.mdbPath(), data.file(QStringLiteral("STIVORA.MDB")));
    CartellaDati = data.path();
    EXPECT_TRUE(ApriDatabase());
    EXPECT_EQ(PercorsoDB, data.file(QStringLiteral("STIVORA.MDB")));
    EXPECT_FALSE(Database::Open(PercorsoDB, true)->OpenRecordset(QStringLiteral("SELECT * FROM Setup"))->IsEmpty());
}

TEST(Startup, QtsOwnDialogsSpeakItalian)
{
    const auto italian = InstallQtTranslations();
    ASSERT_TRUE(italian) << "Qt's Italian translations (qt6-translations-l10n) are not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Sì"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Annulla"));
}
