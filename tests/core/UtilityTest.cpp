#include "core/Utility.h"

#include "core/db/Database.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(Utility, PathJoinPutsExactlyOneSeparator)
{
    EXPECT_EQ(PathJoin(QStringLiteral("/data"), QStringLiteral("stivora.mdb")), QStringLiteral("/data/stivora.mdb"));
    EXPECT_EQ(PathJoin(QStringLiteral("/data/"), QStringLiteral("/stivora.mdb")), QStringLiteral("/data/stivora.mdb"));
    EXPECT_EQ(PathJoin(QStringLiteral("/data/"), QStringLiteral("stivora.mdb")), QStringLiteral("/data/stivora.mdb"));
    EXPECT_EQ(PathJoin(QString(), QStringLiteral("a.txt")), QStringLiteral("/a.txt"));
    EXPECT_EQ(PathJoin(QStringLiteral(" /d"), QStringLiteral("x ")), QStringLiteral("/d/x"));
}

TEST(Utility, PaddingCutsTheEndAndReplaceNeverRescans)
{
    EXPECT_EQ(PadLeft(QStringLiteral("123"), 8, QStringLiteral("0")), QStringLiteral("00000123"));
    EXPECT_EQ(PadLeft(QStringLiteral("123456789"), 8, QStringLiteral("0")), QStringLiteral("12345678"));
    EXPECT_EQ(PadRight(QStringLiteral("ab"), 4, QStringLiteral("-x")), QStringLiteral("ab--"));
    EXPECT_EQ(PadRight(QStringLiteral("abcdef"), 4, QStringLiteral(" ")), QStringLiteral("abcd"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("a'b"), QStringLiteral("'"), QStringLiteral("''")), QStringLiteral("a''b"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("aaa"), QStringLiteral("a"), QStringLiteral("aa")), QStringLiteral("aaaaaa"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("Aa"), QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("Ab"));
    EXPECT_EQ(SqlQuote(QStringLiteral("l'a'")), QStringLiteral("l''a''"));
    EXPECT_EQ(NzStr(QVariant()), QString());
    EXPECT_EQ(NzStr(QVariant(12)), QStringLiteral("12"));
}

TEST(Utility, CheckDigitsFollowTheGs1Rule)
{
    EXPECT_EQ(CheckDigitMod10(QStringLiteral("400638133393")), QStringLiteral("1"));
    EXPECT_EQ(CheckDigitMod10(QString()), QStringLiteral("0"));
    // GTIN-14 and SSCC data: weight 3 on the rightmost digit.
    EXPECT_EQ(AppendCheckDigit(QStringLiteral("1540014128876")), QStringLiteral("15400141288763"));
    EXPECT_EQ(AppendCheckDigit(QStringLiteral("37612345000001009")), QStringLiteral("376123450000010091"));
    EXPECT_EQ(AppendCheckDigit(QStringLiteral("9501101")), QStringLiteral("95011011"));
}

TEST(Utility, NumericKeyFilterLetsOneSeparatorThroughAsAPoint)
{
    EXPECT_EQ(NumericKeyFilter('.', QStringLiteral("1.5")), 0);
    EXPECT_EQ(NumericKeyFilter('.', QStringLiteral("15")), '.');
    EXPECT_EQ(NumericKeyFilter('7', QStringLiteral("1.5")), '7');
    EXPECT_EQ(NumericKeyFilter(8, QString()), 8);
    EXPECT_EQ(NumericKeyFilter(',', QStringLiteral("12")), '.');
    EXPECT_EQ(NumericKeyFilter(',', QStringLiteral("1.5")), 0);
    EXPECT_EQ(NumericKeyFilter('a', QString()), 0);
}

// The folder lies below a hidden one, as the default data folder does: only hidden files are passed over.
TEST(Utility, DataFolderFilesAreFoundWithoutRegardToCase)
{
    const TestDataFolder dir(false);
    QDir(dir.path()).mkpath(QStringLiteral("Intestazioni"));
    touch(dir.file(QStringLiteral("logo.bmp")));
    touch(dir.file(QStringLiteral("Intestazioni/Ditta.BMP")));
    touch(dir.file(QStringLiteral(".hidden")));
    EXPECT_TRUE(FileExists(PathJoin(dir.path(), QStringLiteral("LOGO.BMP"))));
    EXPECT_EQ(FindFile(PathJoin(dir.path(), QStringLiteral("LOGO.BMP"))), dir.file(QStringLiteral("logo.bmp")));
    EXPECT_TRUE(FileExists(PathJoin(dir.path(), QStringLiteral("intestazioni/ditta.bmp"))));
    EXPECT_TRUE(FileExists(PathJoin(dir.path(), QStringLiteral("INTESTAZIONI/*.bmp"))));
    EXPECT_TRUE(FileExists(PathJoin(dir.path(), QStringLiteral("*.BMP"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral("Intestazioni"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral(".hidden"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral(".HIDDEN"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral(".h*"))));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral("missing/x.bmp"))));
    EXPECT_TRUE(FolderHasFiles(dir.file(QStringLiteral("intestazioni"))));
    QDir(dir.path()).mkpath(QStringLiteral("vuota"));
    EXPECT_FALSE(FolderHasFiles(dir.file(QStringLiteral("vuota"))));
    touch(dir.file(QStringLiteral("a.req")));
    touch(dir.file(QStringLiteral("B.REQ")));
    DeleteFileQuiet(dir.file(QStringLiteral("*.req")));
    EXPECT_FALSE(FileExists(dir.file(QStringLiteral("*.req"))));
    EXPECT_TRUE(FileExists(dir.file(QStringLiteral("logo.bmp"))));
    DeleteFileQuiet(dir.file(QStringLiteral("nothing.txt")));
}

TEST(Utility, ShowDBErrorsShowsOneMessagePerError)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.mdb"));
    sqlite3* raw = nullptr;
    sqlite3_open(path.toUtf8().constData(), &raw);
    sqlite3_exec(raw, "CREATE TABLE T (A INTEGER)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    auto db = Database::Open(path);
    EXPECT_THROW(db->Execute(QStringLiteral("DELETE FROM Missing")), AppError);
    ShowDBErrors(*db);
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_TRUE(Dialogs().messages()[0].prompt.startsWith(QStringLiteral("Errore: ")));
    EXPECT_EQ(Dialogs().messages()[0].icon(), vbExclamation);
    EXPECT_EQ(Dialogs().messages()[0].title, QStringLiteral("Errore"));
}
