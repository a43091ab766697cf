#include "labels/LabelJob.h"
#include "labels/Sscc.h"

#include "core/Startup.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0) { return QDateTime(QDate(y, m, d), QTime(h, mi, s)); }

} // namespace

TEST(Expiry, CalendarArithmeticAndRules)
{
    EXPECT_EQ(CalcolaScadenza(at(2024, 1, 31), 1, 3, 0), at(2024, 2, 29));
    EXPECT_EQ(CalcolaScadenza(at(2024, 3, 1, 20), 36, 0, 0), at(2024, 3, 3, 8));
    EXPECT_EQ(CalcolaScadenza(at(2024, 12, 5), 10, 1, 1), at(2024, 12, 31));
    EXPECT_EQ(CalcolaScadenza(at(2024, 4, 1, 13, 5), 2, 2, 1), at(2024, 4, 30));
    EXPECT_EQ(CalcolaScadenza(at(2024, 12, 15), 0, 1, 2), at(2025, 1, 1));
    EXPECT_EQ(CalcolaScadenza(at(2024, 12, 15), 0, 1, 4), at(2025, 1, 1));
    EXPECT_EQ(CalcolaScadenza(at(2024, 4, 15, 9), 0, 1, 3), at(2024, 4, 1));
    EXPECT_EQ(CalcolaScadenza(at(2024, 2, 29), 1, 4, 0), at(2025, 2, 28));
    EXPECT_EQ(CalcolaScadenza(at(2024, 2, 29), 1, 9, 0), at(1899, 12, 30));
    EXPECT_EQ(CalcolaScadenza(at(2024, 2, 29), 1, -1, 1), at(1899, 12, 31));
    EXPECT_EQ(CalcolaScadenza(at(2024, 2, 29), 1, 5, 4), at(1900, 1, 1));
    // Across the spring daylight-saving change the wall clock still moves by whole hours.
    EXPECT_EQ(CalcolaScadenza(at(2024, 3, 30, 20), 24, 0, 0), at(2024, 3, 31, 20));
}

TEST(LotMask, TokensInOrderCaseSensitiveAndInsideWords)
{
    const QDateTime exp = at(2025, 3, 9);
    EXPECT_EQ(ComponiLotto(QStringLiteral("aaggg"), at(2025, 2, 2), exp), QStringLiteral("25033"));
    EXPECT_EQ(ComponiLotto(QStringLiteral("Ldd/mm"), at(2025, 3, 7), exp), QStringLiteral("L07/03"));
    EXPECT_EQ(ComponiLotto(QStringLiteral("LOTto"), at(2025, 3, 7, 14, 30, 5), exp), QStringLiteral("LOT1o"));
    EXPECT_EQ(ComponiLotto(QStringLiteral("LOTto"), at(2025, 3, 7, 14, 30, 0), exp), QStringLiteral("LOT0o"));
    EXPECT_EQ(ComponiLotto(QStringLiteral("ddd"), at(2025, 3, 7), exp), QStringLiteral("07d"));
    // "a" inside a word is the year's last digit; "y" the expiry's.
    EXPECT_EQ(ComponiLotto(QStringLiteral("pasta"), at(2025, 3, 7), exp), QStringLiteral("p5s05"));
    EXPECT_EQ(ComponiLotto(QStringLiteral("d2m2ooo-yyyy-yyy-y"), at(2025, 3, 7), exp), QStringLiteral("0903068-2025-025-5"));
    EXPECT_EQ(ComponiLotto(QStringLiteral("hhnnss"), at(2025, 3, 7, 8, 5, 9), exp), QStringLiteral("080509"));
}

TEST(LabelTexts, ProductionAndExpiry)
{
    FillMonthNames();
    const QDateTime p = at(2025, 3, 7, 6, 5);
    EXPECT_EQ(ProductionText(p, true, true), QStringLiteral("07.03.2025    06:05"));
    EXPECT_EQ(ProductionText(p, true, false), QStringLiteral("07.03.2025"));
    EXPECT_EQ(ProductionText(p, false, true), QStringLiteral("06:05"));
    EXPECT_EQ(ProductionText(p, false, false), QString());
    EXPECT_EQ(ExpiryText(at(2025, 3, 1), 3), QStringLiteral("Marzo 2025"));
    EXPECT_EQ(ExpiryText(at(2025, 3, 1), 1), QStringLiteral("01.03.2025"));
}

TEST(Sscc, PiecesSerialWidthAndCheckDigit)
{
    EXPECT_EQ(ComposeSscc(QStringLiteral("3"), QStringLiteral("80"), QStringLiteral("12345"), QStringLiteral("1"), 42),
              QStringLiteral("380123451000000423"));
    EXPECT_EQ(ComposeSscc(QStringLiteral("3"), QStringLiteral("80"), QStringLiteral("1234567"), QStringLiteral("1"), 42),
              QStringLiteral("380123456710000428"));
    // A serial too long for its width keeps its first digits.
    EXPECT_EQ(ComposeSscc(QStringLiteral("1"), QStringLiteral("80"), QStringLiteral("12345"), QStringLiteral("1"), 123456789).left(17),
              QStringLiteral("18012345112345678"));
}

TEST(Sscc, ScannerFormsGiveTheEighteenDigits)
{
    const QString sscc = QStringLiteral("380123451000000423");
    for (const QString& form : {sscc, QStringLiteral("00") + sscc, QStringLiteral("]C100") + sscc, QStringLiteral(" ]C100") + sscc + QStringLiteral("\r\n"),
                                QStringLiteral("(00)") + sscc, QStringLiteral(" (00)") + sscc + QStringLiteral(" ")})
        EXPECT_EQ(ScannedSscc(form), sscc) << form.toStdString();
    EXPECT_EQ(ScannedSscc(QStringLiteral("001234567890123456")), QStringLiteral("001234567890123456")) << "18 digits beginning with 00";
    for (const QString& refused : {sscc.left(17), QStringLiteral("0") + sscc, QStringLiteral("01") + sscc, QStringLiteral("]C1") + sscc,
                                   QStringLiteral("]C200") + sscc, QStringLiteral("00") + sscc + QStringLiteral("1"),
                                   QStringLiteral("3801234510000004x3"), QStringLiteral("00 ") + sscc, QString(),
                                   QStringLiteral("(00") + sscc, QStringLiteral("(01)") + sscc, QStringLiteral("]C1(00)") + sscc,
                                   QStringLiteral("(00)(00)") + sscc})
        EXPECT_EQ(ScannedSscc(refused), QString()) << refused.toStdString();
}
