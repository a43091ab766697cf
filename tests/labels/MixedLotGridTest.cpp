// The lot grid of the mixed pallet: mode switch, row moves and removal.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/Startup.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace {

class MixedLotGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = data.path();
        ASSERT_TRUE(ApriDatabase());
        window = std::make_unique<frmArticoli>();
        window->PulisciLotti();
        for (int i = 1; i <= 3; ++i) {
            grid().AddItem(QStringLiteral("800000000000%1\tL%1\t08/12/26 10:3%1\t%1").arg(i));
            grid().SetRowData(i, 100 + i);
        }
    }
    void TearDown() override
    {
        window.reset();
        CloseDatabase();
    }

    FlexGrid& grid() { return *window->ui.flxLotti; }
    // Lots top to bottom, each with its article key.
    QStringList order()
    {
        QStringList out;
        for (int r = 1; r < grid().Rows(); ++r) out << grid().TextMatrix(r, 1) + u'/' + QString::number(grid().RowData(r).toInt());
        return out;
    }

    TestDataFolder data;
    std::unique_ptr<frmArticoli> window;
};

TEST_F(MixedLotGridTest, TheModeSwitchTurnsThePrintButtonIntoAnAddButtonAndKeepsTheRows)
{
    auto& ui = window->ui;
    ui.chkMultiLotto->click();
    EXPECT_EQ(ui.cmdStampa->text(), QStringLiteral("&Aggiungi"));
    EXPECT_FALSE(ui.chkAnteprima->isEnabled());
    ui.chkMultiLotto->click();
    EXPECT_EQ(ui.cmdStampa->text(), QStringLiteral("&Stampa"));
    EXPECT_TRUE(ui.chkAnteprima->isEnabled());
    EXPECT_EQ(grid().Rows(), 4);
}

TEST_F(MixedLotGridTest, RowsMoveWithTheirArticleAndStopAtTheEnds)
{
    grid().SetRow(1);
    window->ui.cmdUp->click();
    EXPECT_EQ(order(), (QStringList{"L1/101", "L2/102", "L3/103"}));

    window->ui.cmdDown->click();
    EXPECT_EQ(order(), (QStringList{"L2/102", "L1/101", "L3/103"}));
    EXPECT_EQ(grid().Row(), 2);
    EXPECT_EQ(grid().TextMatrix(2, 2), QStringLiteral("08/12/26 10:31"));

    window->ui.cmdDown->click();
    EXPECT_EQ(order(), (QStringList{"L2/102", "L3/103", "L1/101"}));
    window->ui.cmdDown->click();
    EXPECT_EQ(order(), (QStringList{"L2/102", "L3/103", "L1/101"}));

    window->ui.cmdUp->click();
    EXPECT_EQ(order(), (QStringList{"L2/102", "L1/101", "L3/103"}));
    EXPECT_EQ(grid().Row(), 2);
}

TEST_F(MixedLotGridTest, RemovingTheLastRowLeavesTheTitles)
{
    grid().SetRow(2);
    window->ui.cmdRemove->click();
    EXPECT_EQ(order(), (QStringList{"L1/101", "L3/103"}));
    grid().SetRow(1);
    window->ui.cmdRemove->click();
    grid().SetRow(1);
    window->ui.cmdRemove->click();
    EXPECT_EQ(grid().Rows(), 1);
    EXPECT_EQ(grid().TextMatrix(0, 0), QStringLiteral("Articolo"));
    EXPECT_EQ(grid().TextMatrix(0, 3), QStringLiteral("Qt."));
    window->ui.cmdRemove->click();
    EXPECT_EQ(grid().Rows(), 1);
}

} // namespace
