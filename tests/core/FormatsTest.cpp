#include "core/Formats.h"

#include <gtest/gtest.h>

TEST(Formats, DateTokens)
{
    const QDateTime t(QDate(2024, 2, 9), QTime(7, 5, 3));
    EXPECT_EQ(FormatDate(t, QStringLiteral("dd/mm/yy")), QStringLiteral("09/02/24"));
    EXPECT_EQ(FormatDate(t, QStringLiteral("yyyymmdd hh:nn:ss")), QStringLiteral("20240209 07:05:03"));
    EXPECT_EQ(FormatDate(t, QStringLiteral("dd.mm.yyyy [x]")), QStringLiteral("09.02.2024 [x]"));
    EXPECT_EQ(FormatDate(QDateTime(QDate(2024, 1, 1), QTime(23, 0)), QStringLiteral("hh")), QStringLiteral("23"));
}

TEST(Formats, NumericValueTakesTheLeadingNumberOnly)
{
    EXPECT_DOUBLE_EQ(NumericValue(QStringLiteral("12.5kg")), 12.5);
    EXPECT_DOUBLE_EQ(NumericValue(QStringLiteral("12,5")), 12);
    EXPECT_DOUBLE_EQ(DecimalValue(QStringLiteral("12,5")), 12.5);
    EXPECT_DOUBLE_EQ(NumericValue(QStringLiteral("abc")), 0);
    EXPECT_DOUBLE_EQ(NumericValue(QString()), 0);
    EXPECT_DOUBLE_EQ(NumericValue(QStringLiteral("  7")), 7);
    EXPECT_DOUBLE_EQ(NumericValue(QStringLiteral("1.2.3")), 1.2);
}

TEST(Formats, GeneralNumberHasNoTrailingZeros)
{
    const QString sep = QLocale::system().decimalPoint();
    EXPECT_EQ(GeneralNumber(25), QStringLiteral("25"));
    EXPECT_EQ(GeneralNumber(12.5), QStringLiteral("12") + sep + QStringLiteral("5"));
    EXPECT_EQ(GeneralNumber(1234567.125), QStringLiteral("1234567") + sep + QStringLiteral("125"));
    EXPECT_EQ(GeneralNumber(0.1 + 0.2), QStringLiteral("0") + sep + QStringLiteral("3"));
}

TEST(Formats, DateAndTimeFieldsReadAsOneDate)
{
    auto d = ReadDateTime(QStringLiteral("29/02/24"), QStringLiteral("13:45"));
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, QDateTime(QDate(2024, 2, 29), QTime(13, 45)));
    EXPECT_EQ(ReadDateTime(QStringLiteral("25.08.58"))->date(), QDate(1958, 8, 25));
    EXPECT_FALSE(ReadDateTime(QStringLiteral("30/02/24")));
    EXPECT_FALSE(ReadDateTime(QStringLiteral("  /  /  ")));
    EXPECT_FALSE(ReadDateTime(QStringLiteral("01/01/24"), QStringLiteral("25:00")));
}
