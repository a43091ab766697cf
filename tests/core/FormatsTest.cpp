#include "core/Formats.h"

#include "core/Clock.h"
#include "core/db/Values.h"

#include <gtest/gtest.h>

#include <QTimeZone>

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

// A two-digit year is read as a scanner reads the (11) and (15) the label prints: GS1's window from
// 49 years back to 50 ahead, whatever today is; four digits are the year they say.
TEST(Formats, TwoDigitYearsFollowGs1sCenturyRule)
{
    const auto year = [](const char* text) { return ReadDateTime(QString::fromLatin1(text))->date().year(); };
    const std::pair<QDate, std::vector<std::pair<const char*, int>>> cases[] = {
        {QDate(2026, 12, 9), {{"01/01/31", 2031}, {"01/01/99", 1999}, {"01/01/58", 2058}, {"01/01/75", 2075}, {"01/01/76", 2076}, {"01/01/77", 1977}, {"01/01/00", 2000}}},
        {QDate(2029, 12, 31), {{"31/12/29", 2029}, {"01/01/30", 2030}, {"01/01/79", 2079}, {"01/01/80", 1980}}},
        {QDate(2030, 1, 15), {{"15/01/30", 2030}, {"14/07/30", 2030}, {"31/12/29", 2029}, {"01/01/80", 2080}, {"01/01/81", 1981}}},
        {QDate(2070, 6, 1), {{"01/01/75", 2075}, {"01/01/21", 2021}, {"01/01/20", 2120}, {"01/01/99", 2099}}},
    };
    for (const auto& [today, years] : cases) {
        SetNow(QDateTime(today, QTime(10, 0)));
        for (const auto& [text, expected] : years) EXPECT_EQ(year(text), expected) << text << " on " << qPrintable(today.toString());
        EXPECT_EQ(year("25.08.1930"), 1930);
        EXPECT_EQ(year("25.08.2130"), 2130);
    }
    SetNow({});
}

// What no label or archive row can state is refused where it is read, not carried on to the print:
// a year of five digits, an offset from UTC that no place has.
TEST(Formats, DatesBeyondTheirFormsAreRefusedWhereTheyAreRead)
{
    EXPECT_EQ(ReadDateTime(QStringLiteral("05/03/9999"))->date(), QDate(9999, 3, 5));
    for (const char* text : {"05/03/22024", "05/03/020240", "05/03/100000"}) EXPECT_FALSE(ReadDateTime(QString::fromLatin1(text))) << text;

    const QDateTime utc(QDate(2024, 3, 5), QTime(14, 30, 15), QTimeZone(0));
    const std::pair<const char*, QDateTime> read[] = {
        {"2024-03-05T14:30:15Z", utc},
        {"2024-03-05T14:30:15+14:00", utc.addSecs(-14 * 3600)},
        {"2024-03-05T14:30:15-1400", utc.addSecs(14 * 3600)},
        {"2024-03-05T14:30:15+05:45", utc.addSecs(-(5 * 3600 + 45 * 60))},
    };
    for (const auto& [text, moment] : read) EXPECT_EQ(ReadIsoDateTime(QString::fromLatin1(text)), moment.toLocalTime()) << text;
    for (const char* text : {"2024-03-05T14:30:15+99:99", "2024-03-05T14:30:15+15:00", "2024-03-05T14:30:15-14:01",
                             "2024-03-05T14:30:15+05:60", "22024-03-05T14:30:15"})
        EXPECT_FALSE(ReadIsoDateTime(QString::fromLatin1(text)).isValid()) << text;
}
