#include "core/MaskedEdit.h"

#include "core/Formats.h"

#include <gtest/gtest.h>

#include <QLineEdit>

TEST(MaskedEdit, MasksBecomeQtMasksWithTheirLiteralsKept)
{
    EXPECT_EQ(EditMaskToQt(QStringLiteral("##/##/##")), QStringLiteral("99/99/99; "));
    EXPECT_EQ(EditMaskToQt(QStringLiteral("##.##")), QStringLiteral("99.99; "));
    EXPECT_EQ(EditMaskToQt(QStringLiteral("9999")), QStringLiteral("0000; "));
    EXPECT_EQ(EditMaskToQt(QStringLiteral("##h##")), QStringLiteral("99\\h99; "));
}

TEST(MaskedEdit, FieldsGiveBackWhatWasTyped)
{
    QLineEdit copies;
    SetEditMask(copies, QStringLiteral("9999"));
    copies.setText(QStringLiteral("12"));
    EXPECT_EQ(copies.text(), QStringLiteral("12"));
    EXPECT_DOUBLE_EQ(NumericValue(copies.text()), 12);
    copies.setText(QString());
    EXPECT_DOUBLE_EQ(NumericValue(copies.text()), 0);

    QLineEdit date;
    SetEditMask(date, QStringLiteral("##.##.##"));
    date.setText(QStringLiteral("25.08.24"));
    ASSERT_TRUE(ReadDateTime(date.text()));
    EXPECT_EQ(ReadDateTime(date.text())->date(), QDate(2024, 8, 25));
    date.setText(QString());
    EXPECT_FALSE(ReadDateTime(date.text()));
}
