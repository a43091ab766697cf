#include "core/Formats.h"

#include "core/Clock.h"

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
    EXPECT_EQ(ReadDateTime(QStringLiteral("25.08.1958"))->date(), QDate(1958, 8, 25));
    EXPECT_FALSE(ReadDateTime(QStringLiteral("30/02/24")));
    EXPECT_FALSE(ReadDateTime(QStringLiteral("  /  /  ")));
    EXPECT_FALSE(ReadDateTime(QStringLiteral("01/01/24"), QStringLiteral("25:00")));
}

// A two-digit year is the year of its century nearest to today, whatever today is; four digits are
// the year they say.
TEST(Formats, TwoDigitYearsAreTheNearestToToday)
{
    const auto year = [](const char* text) { return ReadDateTime(QString::fromLatin1(text))->date().year(); };
    const std::pair<QDate, std::vector<std::pair<const char*, int>>> cases[] = {
        {QDate(2026, 12, 9), {{"01/01/31", 2031}, {"01/01/99", 1999}, {"01/01/58", 2058}, {"01/01/75", 2075}, {"01/01/76", 1976}, {"01/01/00", 2000}}},
        {QDate(2029, 12, 31), {{"31/12/29", 2029}, {"01/01/30", 2030}, {"01/01/79", 1979}}},
        {QDate(2030, 1, 15), {{"15/01/30", 2030}, {"14/07/30", 2030}, {"31/12/29", 2029}, {"01/01/80", 1980}, {"01/01/79", 2079}}},
        {QDate(2070, 6, 1), {{"01/01/75", 2075}, {"01/01/20", 2020}, {"01/01/19", 2119}, {"01/01/99", 2099}}},
    };
    for (const auto& [today, years] : cases) {
        SetNow(QDateTime(today, QTime(10, 0)));
        for (const auto& [text, expected] : years) EXPECT_EQ(year(text), expected) << text << " on " << qPrintable(today.toString());
        EXPECT_EQ(year("25.08.1930"), 1930);
        EXPECT_EQ(year("25.08.2130"), 2130);
    }
}
