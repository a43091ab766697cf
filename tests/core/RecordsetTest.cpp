// The engine behaviours the program relies on, each of which a naive cursor gets wrong.
#include "core/SetupRow.h"
#include "core/db/Database.h"
#include "core/db/JetSql.h"
#include "core/db/Recordset.h"
#include "support/ChildProcess.h"
#include "support/TestData.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QTextStream>

#include <set>

#include <algorithm>

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("t.mdb"));
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
        const char* schema =
            "CREATE TABLE Head (ID INTEGER PRIMARY KEY AUTOINCREMENT, SSCC VARCHAR(18) COLLATE NOCASE, "
            "  Sigla VARCHAR(10) COLLATE NOCASE, Peso DOUBLE, Flag BOOLEAN, Quando DATETIME, Qt INTEGER NOT NULL DEFAULT 0);"
            "CREATE UNIQUE INDEX HeadSSCC ON Head(SSCC);"
            "CREATE TABLE Line (IDLine INTEGER PRIMARY KEY AUTOINCREMENT, ID INTEGER REFERENCES Head(ID) ON DELETE CASCADE,"
            "  Lotto TEXT COLLATE NOCASE);"
            "CREATE TABLE Empty (ID INTEGER PRIMARY KEY AUTOINCREMENT, Nome TEXT);";
        ASSERT_EQ(sqlite3_exec(raw, schema, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
        db = Database::Open(path);
    }

    qint64 addHead(Recordset& rs, const QString& sscc, const QString& sigla = QString())
    {
        rs.AddNew();
        rs.SetValue(QStringLiteral("SSCC"), sscc);
        if (!sigla.isEmpty()) rs.SetValue(QStringLiteral("Sigla"), sigla);
        rs.Update();
        return rs.LastModified();
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<Database> db;
};

TEST_F(RecordsetTest, EmptyRecordsetIsAtBothEnds)
{
    auto rs = db->OpenRecordset(QStringLiteral("Empty"));
    EXPECT_TRUE(rs->Bof());
    EXPECT_TRUE(rs->Eof());
    EXPECT_THROW(rs->MoveNext(), AppError);
    EXPECT_THROW(rs->MoveFirst(), AppError);
    EXPECT_EQ(db->Errors().front().number, 3021);
    EXPECT_THROW(rs->Value(QStringLiteral("Nome")), AppError);
}

TEST_F(RecordsetTest, OneRowWalksOffBothEndsAndBack)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("1"));
    rs->MoveFirst();
    EXPECT_FALSE(rs->Bof());
    EXPECT_FALSE(rs->Eof());
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_FALSE(rs->Bof());
    rs->MovePrevious();
    EXPECT_EQ(rs->Value(QStringLiteral("sscc")).toString(), QStringLiteral("1"));
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    EXPECT_FALSE(rs->Eof());
    rs->MoveNext();
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("1"));
}

TEST_F(RecordsetTest, AddNewKeepsTheCurrentRowAndLastModifiedFindsTheNewOne)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("A"));
    addHead(*rs, QStringLiteral("B"));
    rs->MoveFirst();
    const qint64 added = addHead(*rs, QStringLiteral("C"));
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("A"));
    rs->SetBookmark(rs->LastModified());
    EXPECT_EQ(rs->Value(QStringLiteral("ID")).toLongLong(), added);
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("C"));
    // A table is walked in key order, new rows last.
    rs->MoveLast();
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("C"));
}

TEST_F(RecordsetTest, EditUpdatesOnlyTheCurrentRowAndCancelDiscards)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("A"));
    addHead(*rs, QStringLiteral("B"));
    rs->MoveLast();
    rs->Edit();
    EXPECT_EQ(rs->EditMode(), dbEditInProgress);
    rs->SetValue(QStringLiteral("Sigla"), QStringLiteral("nuova"));
    rs->Update();
    EXPECT_EQ(rs->EditMode(), dbEditNone);
    EXPECT_EQ(rs->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("nuova"));
    rs->Edit();
    rs->SetValue(QStringLiteral("Sigla"), QStringLiteral("scartata"));
    rs->CancelUpdate();
    EXPECT_EQ(rs->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("nuova"));
    rs->MoveFirst();
    EXPECT_TRUE(rs->Value(QStringLiteral("Sigla")).isNull());
    EXPECT_THROW(rs->SetValue(QStringLiteral("Sigla"), QStringLiteral("x")), AppError);
    EXPECT_EQ(db->Errors().front().number, 3020);
}

TEST_F(RecordsetTest, FindFirstBindsQuotesAndComparesWithoutCase)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("1"), QStringLiteral("abc"));
    addHead(*rs, QStringLiteral("2"), QStringLiteral("O'Neil"));
    addHead(*rs, QStringLiteral("3"), QStringLiteral("x"));
    rs->FindFirst(QStringLiteral("Sigla = 'O''Neil'"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("2"));
    rs->FindFirst(QStringLiteral("Sigla = 'ABC'"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("1"));
    rs->FindFirst(QStringLiteral("ID = 3"));
    EXPECT_EQ(rs->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("x"));
    // No match leaves the position where it was.
    rs->FindFirst(QStringLiteral("SSCC = 'nessuno' OR 1 = 0"));
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->Value(QStringLiteral("Sigla")).toString(), QStringLiteral("x"));
    // A criteria text that tries to break out of its literal stays a literal.
    rs->FindFirst(QStringLiteral("Sigla = 'x'' OR ''1''=''1'"));
    EXPECT_TRUE(rs->NoMatch());
}

TEST_F(RecordsetTest, AnotherConnectionsCommittedRowIsSeenAfterRefresh)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("1"));
    {
        auto other = Database::Open(path);
        other->BeginTrans();
        auto ors = other->OpenRecordset(QStringLiteral("Head"));
        addHead(*ors, QStringLiteral("2"));
        other->CommitTrans();
    }
    rs->MoveFirst();
    rs->MoveNext();
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("2"));
    auto reader = Database::Open(path, true);
    auto report = reader->OpenRecordset(QStringLiteral("SELECT * FROM Head ORDER BY SSCC DESC"));
    EXPECT_EQ(report->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("2"));
    EXPECT_THROW(report->AddNew(), AppError);
}

TEST_F(RecordsetTest, DeletingAHeaderDeletesItsLines)
{
    auto head = db->OpenRecordset(QStringLiteral("Head"));
    const qint64 id = addHead(*head, QStringLiteral("1"));
    auto lines = db->OpenRecordset(QStringLiteral("Line"));
    for (int i = 0; i < 3; ++i) {
        lines->AddNew();
        lines->SetValue(QStringLiteral("ID"), id);
        lines->Update();
    }
    db->Execute(QStringLiteral("DELETE FROM Head WHERE SSCC = '1'"));
    auto left = db->OpenRecordset(QStringLiteral("SELECT * FROM Line WHERE ID = %1").arg(id));
    EXPECT_TRUE(left->IsEmpty());
}

TEST_F(RecordsetTest, DeleteThenMoveNextReachesTheFollowingRow)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("1"));
    addHead(*rs, QStringLiteral("2"));
    rs->MoveFirst();
    rs->Delete();
    EXPECT_THROW(rs->Value(QStringLiteral("SSCC")), AppError);
    rs->MoveNext();
    EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("2"));
    rs->Delete();
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
}

TEST_F(RecordsetTest, QueryRecordsetsUpdateTheirTableAndKeepTheirOrder)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("1"), QStringLiteral("BETA"));
    addHead(*rs, QStringLiteral("2"), QStringLiteral("alfa"));
    addHead(*rs, QStringLiteral("3"), QStringLiteral("ALTRO"));
    auto q = db->OpenRecordset(QStringLiteral("SELECT * FROM Head WHERE Sigla LIKE 'al*' ORDER BY Sigla DESC"));
    EXPECT_EQ(q->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("3"));
    q->MoveNext();
    EXPECT_EQ(q->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("2"));
    q->Edit();
    q->SetValue(QStringLiteral("Peso"), 12.5);
    q->Update();
    q->MoveNext();
    EXPECT_TRUE(q->Eof());
    rs->FindFirst(QStringLiteral("SSCC = '2'"));
    EXPECT_DOUBLE_EQ(rs->Value(QStringLiteral("Peso")).toDouble(), 12.5);
    auto top = db->OpenRecordset(QStringLiteral("SELECT TOP 1 * FROM Head ORDER BY SSCC DESC;"));
    EXPECT_EQ(top->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("3"));
    top->MoveNext();
    EXPECT_TRUE(top->Eof());
}

TEST_F(RecordsetTest, JoinsReadLikeTables)
{
    auto head = db->OpenRecordset(QStringLiteral("Head"));
    const qint64 id = addHead(*head, QStringLiteral("9"));
    auto lines = db->OpenRecordset(QStringLiteral("Line"));
    lines->AddNew();
    lines->SetValue(QStringLiteral("ID"), id);
    lines->SetValue(QStringLiteral("Lotto"), QStringLiteral("L1"));
    lines->Update();
    auto j = db->OpenRecordset(QStringLiteral(
        "SELECT Head.SSCC, Line.Lotto FROM (Head INNER JOIN Line ON (Line.ID = Head.ID)) WHERE (Head.SSCC = '9') ORDER BY Line.Lotto"));
    EXPECT_EQ(j->Value(QStringLiteral("lotto")).toString(), QStringLiteral("L1"));
    EXPECT_EQ(j->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("9"));
    EXPECT_THROW(j->Edit(), AppError);
}

// Queries are walked by seeking on their order: ties, NULLs and both directions must give every
// row once, in order, as a copy of the rows would.
TEST_F(RecordsetTest, QueriesAndJoinsWalkTheirOrderThroughTiesAndNulls)
{
    auto head = db->OpenRecordset(QStringLiteral("Head"));
    auto lines = db->OpenRecordset(QStringLiteral("Line"));
    const QStringList siglas{"b", "A", QString(), "a", "C", QString(), "B", "a"};
    for (int i = 0; i < siglas.size(); ++i) {
        const qint64 id = addHead(*head, QString::number(i), siglas[i]);
        for (const char* lotto : {"L2", "L1"}) {
            lines->AddNew();
            lines->SetValue(QStringLiteral("ID"), id);
            lines->SetValue(QStringLiteral("Lotto"), QString::fromLatin1(lotto));
            lines->Update();
        }
    }
    addHead(*head, QStringLiteral("9"), QStringLiteral("zz")); // first by Sigla, joined to no line
    for (const QString& sql : {QStringLiteral("SELECT * FROM Head ORDER BY Sigla DESC, Qt"), QStringLiteral("SELECT * FROM Head ORDER BY Sigla"),
                               QStringLiteral("SELECT Head.SSCC, Line.Lotto, Line.IDLine FROM Head INNER JOIN Line ON Line.ID = Head.ID "
                                              "WHERE Head.Qt = 0 ORDER BY Head.Sigla DESC, Line.Lotto"),
                               QStringLiteral("SELECT Head.SSCC, Line.Lotto FROM Head INNER JOIN Line ON Line.ID = Head.ID ORDER BY Head.Sigla DESC"),
                               QStringLiteral("SELECT Line.Lotto, Head.Sigla FROM Line INNER JOIN Head ON Line.ID = Head.ID")}) {
        const auto signature = [](Recordset& r) {
            QStringList values;
            for (int i = 0; i < r.FieldCount(); ++i) values << r.Value(r.FieldName(i)).toString();
            return values.join(u'/');
        };
        QStringList expected;
        {
            const TranslatedSql t = TranslateJetSql(sql);
            Statement st = db->prepare(t.sql);
            st.bindAll(t.params);
            while (st.step()) {
                QStringList values;
                for (int i = 0; i < st.columnCount(); ++i) values << st.value(i).toString();
                expected << values.join(u'/');
            }
        }
        std::sort(expected.begin(), expected.end());
        auto rs = db->OpenRecordset(sql);
        QStringList forward;
        QStringList backward;
        for (; !rs->Eof(); rs->MoveNext()) forward << signature(*rs);
        for (rs->MoveLast(); !rs->Bof(); rs->MovePrevious()) backward.prepend(signature(*rs));
        EXPECT_EQ(forward, backward) << sql.toStdString();
        QStringList sorted = forward;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, expected) << sql.toStdString();
    }

    // Descending, NULLs come last and ties go by key; a find and a bookmark land on the same row.
    auto q = db->OpenRecordset(QStringLiteral("SELECT * FROM Head ORDER BY Sigla DESC"));
    QStringList order;
    for (; !q->Eof(); q->MoveNext()) order << q->Value(QStringLiteral("SSCC")).toString();
    EXPECT_EQ(order, (QStringList{"9", "4", "0", "6", "1", "3", "7", "2", "5"}));
    q->FindFirst(QStringLiteral("Sigla = 'A'"));
    EXPECT_EQ(q->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("1"));
    const Bookmark mark = q->GetBookmark();
    q->MoveNext();
    q->MoveNext();
    q->SetBookmark(mark);
    q->MoveNext();
    EXPECT_EQ(q->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("3"));
    // A row added through the query is reached by its bookmark even when it does not meet the condition.
    auto a = db->OpenRecordset(QStringLiteral("SELECT * FROM Head WHERE Sigla = 'C'"));
    const qint64 added = addHead(*a, QStringLiteral("new"), QStringLiteral("Z"));
    EXPECT_EQ(a->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("4"));
    a->SetBookmark(a->LastModified());
    EXPECT_EQ(a->Value(QStringLiteral("ID")).toLongLong(), added);

    auto j = db->OpenRecordset(QStringLiteral("SELECT Head.SSCC, Line.Lotto FROM Head INNER JOIN Line ON Line.ID = Head.ID ORDER BY Line.Lotto"));
    j->FindFirst(QStringLiteral("Head.SSCC = '6' AND Line.Lotto = 'L2'"));
    ASSERT_FALSE(j->NoMatch());
    const Bookmark joined = j->GetBookmark();
    j->MoveFirst();
    j->SetBookmark(joined);
    EXPECT_EQ(j->Value(QStringLiteral("SSCC")).toString(), QStringLiteral("6"));
    EXPECT_EQ(j->Value(QStringLiteral("Lotto")).toString(), QStringLiteral("L2"));
    EXPECT_THROW(j->SetBookmark(joined + 1), AppError);
}

// A walk fetches the rows ahead in batches: far more rows than one batch, walked both ways and
// resumed from bookmarks taken anywhere, come in order, each once.
TEST_F(RecordsetTest, LongWalksKeepTheirOrderAndBookmarksAcrossBatches)
{
    const int n = 700;
    db->BeginTrans();
    for (int i = 0; i < n; ++i) {
        // Sigla runs against the key and has no index: ordered by it, the query must sort.
        db->ExecuteNative(QStringLiteral("INSERT INTO Head (ID, SSCC, Sigla) VALUES (?, ?, ?)"),
                          {i + 1, QString::number(i), QStringLiteral("S%1").arg(n - i, 5, 10, QLatin1Char('0'))});
        db->ExecuteNative(QStringLiteral("INSERT INTO Line (ID, Lotto) VALUES (?, ?)"), {i + 1, QStringLiteral("L%1").arg(i % 3)});
    }
    db->CommitTrans();
    // Walked along an index, or sorted first.
    for (const QString& sql : {QStringLiteral("Head"), QStringLiteral("SELECT * FROM Head ORDER BY SSCC DESC"),
                               QStringLiteral("SELECT Head.SSCC, Line.Lotto FROM Head INNER JOIN Line ON Line.ID = Head.ID ORDER BY Head.SSCC"),
                               QStringLiteral("SELECT * FROM Head ORDER BY Sigla"),
                               QStringLiteral("SELECT Head.SSCC, Line.Lotto FROM Head INNER JOIN Line ON Line.ID = Head.ID "
                                              "WHERE Line.Lotto <> 'L1' ORDER BY Line.Lotto DESC, Head.Sigla")}) {
        SCOPED_TRACE(sql.toStdString());
        QStringList expected;
        {
            const TranslatedSql t = TranslateJetSql(sql.startsWith(u'S') ? sql : QStringLiteral("SELECT * FROM Head ORDER BY ID"));
            Statement st = db->prepare(t.sql);
            st.bindAll(t.params);
            int column = 0;
            while (st.columnName(column) != QLatin1String("SSCC")) ++column;
            while (st.step()) expected << st.value(column).toString();
        }
        auto rs = db->OpenRecordset(sql);
        const auto sscc = [&] { return rs->Value(QStringLiteral("SSCC")).toString(); };
        QStringList forward;
        std::vector<std::pair<Bookmark, int>> marks;
        for (; !rs->Eof(); rs->MoveNext()) {
            if (forward.size() % 97 == 0) marks.emplace_back(rs->GetBookmark(), int(forward.size()));
            forward << sscc();
        }
        EXPECT_EQ(forward, expected);
        QStringList backward;
        for (rs->MoveLast(); !rs->Bof(); rs->MovePrevious()) backward.prepend(sscc());
        EXPECT_EQ(backward, expected);

        // From a bookmark, on past the rows a first batch would hold, then back beyond the bookmark.
        for (const auto& [mark, at] : marks) {
            rs->SetBookmark(mark);
            EXPECT_EQ(sscc(), expected[at]);
            int i = at;
            for (int s = 0; s < 60 && i + 1 < expected.size(); ++s, ++i) rs->MoveNext();
            EXPECT_EQ(sscc(), expected[i]);
            for (int s = 0; s < 120 && i > 0; ++s, --i) rs->MovePrevious();
            EXPECT_EQ(sscc(), expected[i]);
        }
    }
}

// Rows the walk has fetched ahead are read as they are when it reaches them: an edited row shows
// its new values, a deleted one (or one that no longer meets the condition) is passed over, and a
// row another program adds beyond them is reached. Between two steps no statement is left open, so
// the other program writes without waiting.
TEST_F(RecordsetTest, AWalkReadsTheRowsAheadAsTheyAreNow)
{
    Database::SetLockWait([](int) { return false; });
    auto other = Database::Open(path);
    for (const QString& sql : {QStringLiteral("SELECT * FROM Head WHERE Qt = 0 ORDER BY Sigla"),
                               QStringLiteral("SELECT Head.SSCC, Head.Peso, Line.Lotto FROM Head INNER JOIN Line ON Line.ID = Head.ID "
                                              "WHERE Head.Qt = 0 ORDER BY Head.Sigla")}) {
        SCOPED_TRACE(sql.toStdString());
        db->ExecuteNative(QStringLiteral("DELETE FROM Head"));
        db->BeginTrans();
        for (int i = 0; i < 100; ++i) {
            db->ExecuteNative(QStringLiteral("INSERT INTO Head (SSCC, Sigla) VALUES (?, ?)"),
                              {QString::number(i), QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0'))});
            db->ExecuteNative(QStringLiteral("INSERT INTO Line (ID, Lotto) VALUES (last_insert_rowid(), 'L')"));
        }
        db->CommitTrans();
        const auto sscc = [&](Recordset& r) { return r.Value(QStringLiteral("SSCC")).toString(); };

        auto rs = db->OpenRecordset(sql);
        rs->MoveNext();
        other->ExecuteNative(QStringLiteral("UPDATE Head SET Peso = 99 WHERE SSCC = '5'"));
        other->ExecuteNative(QStringLiteral("DELETE FROM Head WHERE SSCC = '10'"));
        other->ExecuteNative(QStringLiteral("UPDATE Head SET Qt = 1 WHERE SSCC = '12'"));
        other->ExecuteNative(QStringLiteral("INSERT INTO Head (SSCC, Sigla) VALUES ('nuovo', 'S999')"));
        other->ExecuteNative(QStringLiteral("INSERT INTO Line (ID, Lotto) VALUES (last_insert_rowid(), 'L')"));
        QStringList walked;
        for (; !rs->Eof(); rs->MoveNext()) {
            walked << sscc(*rs);
            if (walked.back() == QStringLiteral("5")) {
                EXPECT_DOUBLE_EQ(rs->Value(QStringLiteral("Peso")).toDouble(), 99);
            }
            if (walked.back() == QStringLiteral("20")) {
                other->ExecuteNative(QStringLiteral("DELETE FROM Head WHERE SSCC = '21'"));
                other->ExecuteNative(QStringLiteral("DELETE FROM Head WHERE SSCC = '20'"));
                rs->Refresh();
                EXPECT_THROW(rs->Value(QStringLiteral("SSCC")), AppError);
                EXPECT_EQ(db->Errors().front().number, 3167);
            }
        }
        QStringList expected;
        for (int i = 1; i < 100; ++i)
            if (i != 10 && i != 12 && i != 21) expected << QString::number(i);
        expected << QStringLiteral("nuovo");
        EXPECT_EQ(walked, expected);

        // The same walking back.
        rs->MoveLast();
        rs->MovePrevious();
        other->ExecuteNative(QStringLiteral("DELETE FROM Head WHERE SSCC = '95'"));
        other->ExecuteNative(QStringLiteral("UPDATE Head SET Peso = 7 WHERE SSCC = '90'"));
        other->ExecuteNative(QStringLiteral("INSERT INTO Head (SSCC, Sigla) VALUES ('primo', 'S')"));
        other->ExecuteNative(QStringLiteral("INSERT INTO Line (ID, Lotto) VALUES (last_insert_rowid(), 'L')"));
        walked.clear();
        for (; !rs->Bof(); rs->MovePrevious()) {
            walked.prepend(sscc(*rs));
            if (walked.front() == QStringLiteral("90")) {
                EXPECT_DOUBLE_EQ(rs->Value(QStringLiteral("Peso")).toDouble(), 7);
            }
        }
        expected.removeOne(QStringLiteral("95"));
        expected.removeOne(QStringLiteral("nuovo"));
        expected.removeOne(QStringLiteral("20"));
        expected.prepend(QStringLiteral("0"));
        expected.prepend(QStringLiteral("primo"));
        EXPECT_EQ(walked, expected);
    }
    Database::SetLockWait({});
}

TEST_F(RecordsetTest, ValuesKeepTheirTypesAndWidths)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    const QDateTime when(QDate(2024, 2, 29), QTime(13, 45, 7));
    rs->AddNew();
    rs->SetValue(QStringLiteral("SSCC"), QStringLiteral("380123451234567890"));
    rs->SetValue(QStringLiteral("Flag"), true);
    rs->SetValue(QStringLiteral("Quando"), when);
    rs->SetValue(QStringLiteral("Qt"), QStringLiteral("42"));
    // Barcode-font strings hold every code from 0 to 255.
    QString font;
    for (int c = 0; c < 256; c += 51) font += QChar(c);
    rs->SetValue(QStringLiteral("Sigla"), font.left(6));
    rs->Update();
    rs->SetBookmark(rs->LastModified());
    EXPECT_EQ(rs->Value(QStringLiteral("Flag")), QVariant(true));
    EXPECT_EQ(rs->Value(QStringLiteral("Quando")).toDateTime(), when);
    EXPECT_EQ(rs->Value(QStringLiteral("Qt")).toLongLong(), 42);
    EXPECT_EQ(rs->Value(QStringLiteral("Sigla")).toString(), font.left(6));

    rs->AddNew();
    EXPECT_THROW(rs->SetValue(QStringLiteral("SSCC"), QString(19, u'1')), AppError);
    EXPECT_EQ(db->Errors().front().number, 3163);
    EXPECT_THROW(rs->SetValue(QStringLiteral("Qt"), QStringLiteral("abc")), AppError);
    EXPECT_EQ(db->Errors().front().number, 3421);
    rs->CancelUpdate();
}

TEST_F(RecordsetTest, AFailedUpdateKeepsTheEditAndListsTheError)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("1"));
    rs->AddNew();
    rs->SetValue(QStringLiteral("SSCC"), QStringLiteral("1"));
    EXPECT_THROW(rs->Update(), AppError);
    ASSERT_EQ(db->Errors().size(), 1u);
    EXPECT_EQ(db->Errors().front().number, 3022);
    // The operator reads Italian first, the engine's own words after.
    EXPECT_EQ(db->Errors().front().description,
              QStringLiteral("Valore duplicato in un indice univoco (UNIQUE constraint failed: Head.SSCC)"));
    EXPECT_EQ(rs->EditMode(), dbEditAdd);
    rs->CancelUpdate();
    auto all = db->OpenRecordset(QStringLiteral("SELECT * FROM Head"));
    all->MoveNext();
    EXPECT_TRUE(all->Eof());

    // A column the table lacks is told by name, with its table.
    all->MoveFirst();
    try {
        all->Value(QStringLiteral("Pesi"));
        ADD_FAILURE() << "a missing column read";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 3265);
        EXPECT_EQ(e.description(), QStringLiteral("Campo Pesi inesistente in SELECT * FROM Head (Item not found in this collection.)"));
    }
    EXPECT_THROW(rs->Value(QStringLiteral("Pesi")), AppError);
    EXPECT_TRUE(db->Errors().front().description.contains(QStringLiteral("Pesi inesistente in Head")));
}

TEST_F(RecordsetTest, RollbackUndoesEveryWriteOfTheTransaction)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    db->BeginTrans();
    addHead(*rs, QStringLiteral("1"));
    addHead(*rs, QStringLiteral("2"));
    db->Rollback();
    EXPECT_FALSE(db->InTransaction());
    auto all = db->OpenRecordset(QStringLiteral("Head"));
    EXPECT_TRUE(all->IsEmpty());
}

// Two programs on one file: Edit starts from the row as the file holds it now, and an Update over a
// change made since Edit is refused with the engine's conflict error, the other change kept.
TEST_F(RecordsetTest, EditSeesOtherConnectionsAndUpdateRefusesAConflict)
{
    auto rs = db->OpenRecordset(QStringLiteral("Head"));
    addHead(*rs, QStringLiteral("A"));
    rs->MoveFirst();
    EXPECT_EQ(rs->Value(QStringLiteral("Qt")).toLongLong(), 0);
    auto other = Database::Open(path);
    other->ExecuteNative(QStringLiteral("UPDATE Head SET Qt = 500"));
    rs->Edit();
    rs->SetValue(QStringLiteral("Qt"), rs->Value(QStringLiteral("Qt")).toLongLong() + 1);
    rs->Update();
    EXPECT_EQ(other->OpenRecordset(QStringLiteral("Head"))->Value(QStringLiteral("Qt")).toLongLong(), 501);

    rs->Edit();
    rs->SetValue(QStringLiteral("Sigla"), QStringLiteral("MIA"));
    other->ExecuteNative(QStringLiteral("UPDATE Head SET Qt = 7"));
    try {
        rs->Update();
        ADD_FAILURE() << "the conflict went unnoticed";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 3197);
        EXPECT_EQ(e.description(), QStringLiteral("The Microsoft Jet database engine stopped the process because you and another user "
                                                  "are attempting to change the same data at the same time."));
    }
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(rs->EditMode(), dbEditInProgress);
    rs->CancelUpdate();
    EXPECT_EQ(rs->Value(QStringLiteral("Qt")).toLongLong(), 7);
    EXPECT_TRUE(rs->Value(QStringLiteral("Sigla")).isNull());
}

TEST(DatabaseOpen, RefusesWhatIsNotADatabase)
{
    QTemporaryDir dir;
    EXPECT_THROW(Database::Open(dir.filePath(QStringLiteral("missing.mdb"))), AppError);
    QFile f(dir.filePath(QStringLiteral("text.mdb")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    try {
        Database::Open(f.fileName());
        FAIL() << "a text file opened as a database";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 3343);
    }
    EXPECT_EQ(QFileInfo(f.fileName()).size(), 4096);

    // A database another program holds locked is told as locked, not as something else.
    TestDataFolder data;
    OtherProgramsLock lock(data.mdbPath());
    ASSERT_TRUE(lock.held());
    Database::SetLockWait([](int) { return false; });
    try {
        Database::Open(data.mdbPath());
        FAIL() << "a locked file opened";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 3260) << qPrintable(e.description());
    }
    Database::SetLockWait({});
    lock.release();

    // A change cut short leaves its journal beside the file; a connection that cannot undo it says
    // so, and does not take the file for another format.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(data.mdbPath().toUtf8().constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "PRAGMA synchronous = OFF; BEGIN; UPDATE Setup SET contatore = 7", nullptr, nullptr, nullptr), SQLITE_OK);
    const QString interrupted = dir.filePath(QStringLiteral("interrupted.mdb"));
    ASSERT_TRUE(QFile::copy(data.mdbPath(), interrupted));
    ASSERT_TRUE(QFile::copy(data.mdbPath() + QStringLiteral("-journal"), interrupted + QStringLiteral("-journal")));
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    try {
        Database::Open(interrupted, true);
        FAIL() << "a file with a change cut short read without undoing it";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 3027);
        EXPECT_TRUE(e.description().startsWith(
            QStringLiteral("Il database %1 ha una modifica interrotta, che una connessione di sola lettura non annulla").arg(interrupted)))
            << qPrintable(e.description());
    }
}

// Under another program's lock a query waits once, as every other operation does, and is told as
// locked: not copied after the wait and waited for again, nor taken for an empty table.
TEST(DatabaseLock, AQueryWaitsOnceAndIsToldAsLocked)
{
    TestDataFolder data;
    auto db = Database::Open(data.mdbPath());
    OtherProgramsLock lock(data.mdbPath());
    ASSERT_TRUE(lock.held());
    int waits = 0;
    Database::SetLockWait([&](int retries) {
        waits += retries == 0;
        return false;
    });
    for (const char* source : {"Articoli", "SELECT * FROM Articoli WHERE Sigla = 'A'", "SELECT * FROM Articoli ORDER BY Sigla"}) {
        waits = 0;
        try {
            db->OpenRecordset(QString::fromLatin1(source));
            ADD_FAILURE() << source << " opened under the lock";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), 3260) << source << ": " << qPrintable(e.description());
        }
        EXPECT_EQ(waits, 1) << source;
    }
    Database::SetLockWait({});
}

} // namespace

namespace {

// Advances the counter of the database at args[0] args[1] times, printing each value taken. A
// loaded machine can keep the other program's lock longer than the busy wait: that advance is tried
// again, as an operator would press "+ 1" again.
const ChildRegistration advanceChild("advance-counter", [](const QStringList& args) {
    std::unique_ptr<Database> db;
    while (!db) {
        try {
            db = Database::Open(args.at(0));
        } catch (const AppError& e) {
            if (e.number() != 3260) throw;
        }
    }
    auto setup = db->OpenRecordset(QStringLiteral("Setup"));
    QTextStream out(stdout);
    for (int i = 0; i < args.at(1).toInt(); ++i) {
        for (;;) {
            try {
                out << AdvanceCounter(*db, *setup, [](qint64 c) { return c + 1; }) << '\n';
                break;
            } catch (const AppError& e) {
                if (e.number() != 3260) throw;
            }
        }
    }
    return 0;
});

} // namespace

TEST(SetupCounter, TwoProgramsAdvancingAtOnceNeverTakeOneSerial)
{
    TestDataFolder data;
    Database::Open(data.mdbPath())->ExecuteNative(QStringLiteral("UPDATE Setup SET contatore = 41"));
    auto first = StartChild(QStringLiteral("advance-counter"), {data.mdbPath(), QStringLiteral("1000")});
    auto second = StartChild(QStringLiteral("advance-counter"), {data.mdbPath(), QStringLiteral("1000")});
    std::set<qint64> serials;
    for (auto* child : {first.get(), second.get()}) {
        ASSERT_TRUE(child->waitForFinished(-1));
        EXPECT_EQ(child->exitCode(), 0);
        for (const QByteArray& line : child->readAllStandardOutput().split('\n'))
            if (!line.isEmpty()) serials.insert(line.toLongLong());
    }
    EXPECT_EQ(serials.size(), 2000u);
    EXPECT_EQ(*serials.begin(), 42);
    EXPECT_EQ(Database::Open(data.mdbPath())->OpenRecordset(QStringLiteral("Setup"))->Value(QStringLiteral("contatore")).toLongLong(), 2041);
}
