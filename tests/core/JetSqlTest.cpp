#include "core/db/JetSql.h"

#include "core/db/AppError.h"

#include <gtest/gtest.h>

TEST(JetSql, LiteralsBecomeParameters)
{
    auto t = TranslateJetSql(QStringLiteral("SELECT * FROM ARTICOLI WHERE Sigla = 'O''Neil' AND ID = 12"));
    EXPECT_EQ(t.sql, QStringLiteral("SELECT * FROM ARTICOLI WHERE Sigla = ? AND ID = ?"));
    ASSERT_EQ(t.params.size(), 2);
    EXPECT_EQ(t.params[0].toString(), QStringLiteral("O'Neil"));
    EXPECT_EQ(t.params[1].toLongLong(), 12);
}

TEST(JetSql, LikeWildcardsAndTop)
{
    auto t = TranslateJetSql(QStringLiteral("SELECT TOP 1 * FROM AppTestate WHERE SSCC LIKE '38*5?' ORDER BY SSCC DESC;"));
    EXPECT_EQ(t.sql, QStringLiteral("SELECT * FROM AppTestate WHERE SSCC LIKE ? ORDER BY SSCC DESC LIMIT 1"));
    EXPECT_EQ(t.params[0].toString(), QStringLiteral("38%5_"));
    // Outside LIKE a star is a star.
    EXPECT_EQ(TranslateJetSql(QStringLiteral("SELECT * FROM T WHERE A = '*'")).params[0].toString(), QStringLiteral("*"));
}

TEST(JetSql, DatesBracketsAndConcatenation)
{
    auto t = TranslateJetSql(QStringLiteral("SELECT [Num Riga] & 'x' FROM T WHERE D = #8/25/58# AND F = True"));
    EXPECT_EQ(t.sql, QStringLiteral("SELECT \"Num Riga\" || ? FROM T WHERE D = ? AND F = 1"));
    EXPECT_EQ(t.params[1].toString(), QStringLiteral("1958-08-25 00:00:00"));
    EXPECT_THROW(TranslateJetSql(QStringLiteral("SELECT * FROM T WHERE A = 'open")), AppError);
}

TEST(JetSql, SingleTableSelectsAreRecognised)
{
    SingleTableSelect s;
    ASSERT_TRUE(ParseSingleTableSelect(TranslateJetSql(QStringLiteral("SELECT * FROM AppRighe WHERE IDAppTestate = 5")), s));
    EXPECT_EQ(s.table, QStringLiteral("AppRighe"));
    EXPECT_EQ(s.rest, QStringLiteral("WHERE IDAppTestate = ?"));
    EXPECT_FALSE(ParseSingleTableSelect(
        TranslateJetSql(QStringLiteral("SELECT * FROM (A INNER JOIN B ON A.ID = B.ID) WHERE X = 1")), s));
    EXPECT_FALSE(ParseSingleTableSelect(TranslateJetSql(QStringLiteral("SELECT A.X FROM A INNER JOIN B ON A.ID = B.ID")), s));
    EXPECT_FALSE(ParseSingleTableSelect(TranslateJetSql(QStringLiteral("SELECT DISTINCT X FROM A")), s));
}
