#include "core/ui/FlexGrid.h"

#include <gtest/gtest.h>

TEST(FlexGrid, RowZeroIsTheTitleRowAndRowsCountsIt)
{
    FlexGrid grid;
    grid.SetCols(3);
    grid.SetRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Row(), 0);
    SetGridHeader(grid, QStringLiteral("A\tB"));
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("A"));
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("B"));
    EXPECT_EQ(grid.TextMatrix(0, 2), QString());
    SetGridHeader(grid, QStringLiteral("X\tY\tZ\tdropped"));
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("Z"));

    grid.AddItem(QStringLiteral("1\tuno\textra"));
    grid.SetRowData(grid.Rows() - 1, 10);
    grid.AddItem(QStringLiteral("2"));
    grid.SetRowData(grid.Rows() - 1, 20);
    grid.AddItem(QStringLiteral("0\tzero"), 1);
    grid.SetRowData(1, 5);
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("zero"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("extra"));
    EXPECT_EQ(grid.TextMatrix(3, 1), QString());
    EXPECT_EQ(grid.RowData(2).toInt(), 10);
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("X")) << "adding rows leaves the titles";

    grid.SetRow(3);
    EXPECT_EQ(grid.Row(), 3);
    grid.RemoveItem(2);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.RowData(1).toInt(), 5);
    EXPECT_EQ(grid.RowData(2).toInt(), 20);
    EXPECT_EQ(grid.Row(), 2) << "the current row follows its row";
    grid.RemoveItem(0);
    EXPECT_EQ(grid.Rows(), 3) << "the title row cannot be removed";

    grid.Clear();
    grid.SetRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), QString());
}
