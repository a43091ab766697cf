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
    EXPECT_EQ(t.sql, QStringLiteral("SELECT * FROM AppTestate WHERE SSCC LIKE ? ESCAPE '\\' ORDER BY SSCC DESC LIMIT 1"));
    EXPECT_EQ(t.params[0].toString(), QStringLiteral("38%5_"));
    EXPECT_EQ(TranslateJetSql(QStringLiteral("SELECT * FROM T WHERE A LIKE '5%_\\*'")).params[0].toString(),
              QStringLiteral("5\\%\\_\\\\%"));
    // Only a literal with a non-ASCII letter folds its column, so other lookups keep their index.
    t = TranslateJetSql(QStringLiteral("SELECT * FROM T WHERE ((T.A) = 'ÈL') AND B NOT LIKE 'Ù*' AND C = 'X'"));
    EXPECT_EQ(t.sql, QStringLiteral("SELECT * FROM T WHERE ( stivora_casefold ( T.A ) = ? ) AND stivora_casefold(B) NOT LIKE ? "
                                    "ESCAPE '\\' AND C = ?"));
    EXPECT_EQ(t.params[0].toString(), QStringLiteral("èl"));
    EXPECT_EQ(t.params[2].toString(), QStringLiteral("X"));
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

TEST(JetSql, SelectsAreSplitIntoTheirParts)
{
    SelectParts s;
    ASSERT_TRUE(ParseSelect(TranslateJetSql(QStringLiteral(
                                "SELECT * FROM (DDTTESTATE INNER JOIN DDTRIGHE AS r ON (r.IDDDT = DDTTESTATE.IDDDT AND r.X = 'a')) "
                                "WHERE (NUMERODDT = '7' AND f(1, 2) = 3) ORDER BY NUMRIGA, f(a, b) DESC")),
                            s));
    EXPECT_EQ(s.tables, (QStringList{"DDTTESTATE", "DDTRIGHE"}));
    EXPECT_EQ(s.names, (QStringList{"DDTTESTATE", "r"}));
    EXPECT_EQ(s.fromParams.size(), 1);
    EXPECT_EQ(s.where, QStringLiteral("( NUMERODDT = ? AND f ( ? , ? ) = ? )"));
    EXPECT_EQ(s.whereParams.size(), 4);
    ASSERT_EQ(s.orderBy.size(), 2u);
    EXPECT_EQ(s.orderBy[1].expr, QStringLiteral("f ( a , b )"));
    EXPECT_TRUE(s.orderBy[1].desc);
    EXPECT_FALSE(s.orderBy[0].desc);

    SelectParts top;
    ASSERT_TRUE(ParseSelect(TranslateJetSql(QStringLiteral("SELECT TOP 1 * FROM AppTestate ORDER BY SSCC DESC")), top));
    EXPECT_EQ(top.limit, QStringLiteral("1"));
    for (const char* other : {"SELECT DISTINCT X FROM A", "SELECT count(*) FROM A", "SELECT * FROM A LEFT JOIN B ON A.I = B.I",
                              "SELECT X FROM A GROUP BY X", "SELECT * FROM (SELECT * FROM A)"}) {
        SelectParts p;
        EXPECT_FALSE(ParseSelect(TranslateJetSql(QString::fromLatin1(other)), p)) << other;
    }
}
