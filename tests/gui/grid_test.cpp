// SPDX-License-Identifier: GPL-3.0-or-later
// The data grid driven with the mouse and keyboard: which notifications each action gives, and its set-up.
#include "TestDb.h"
#include "WindowTest.h"
#include "grid/DBGrid.h"
#include "platform/Application.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::G;

namespace {

class Grid : public test::WindowTest {
protected:
    TClientDataSet ds;
    std::unique_ptr<TDBGrid> grid;
    int scrolls = 0, clicks = 0;

    void SetUp() override {
        grid = std::make_unique<TDBGrid>(&ds);
        grid->setFont(programFont("MS Sans Serif", 11));
        grid->setGeometry(100, 100, 585, 169);
        ds.AfterScroll = [this] { ++scrolls; };
        grid->CellClick = [this] { ++clicks; };
        showExposed(grid.get());
    }

    void fill(int rows) {
        ds.ResetTable({{G("线路"), 28}, {G("始发-->终点站"), 35}, {G("备注"), 29}});
        for (int i = 1; i <= rows; ++i)
            ds.AppendRow({{G("线路"), std::to_string(i) + G("路")}, {G("始发-->终点站"), "s"}, {G("备注"), "b"}});
        ds.MoveFirst();
        scrolls = clicks = 0;
    }

    QPoint cellCentre(int row, int column = 1) { return grid->visualRect(grid->model()->index(row, column)).center(); }
    void clickCell(int row) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(row)); }
};

} // namespace

TEST_F(Grid, FollowsTheRecordSetAndShowsTheFields) {
    fill(3);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->columnCount(), 3);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("始发-->终点站"));
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), QString::fromUtf8("2路"));
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(0, {}));
}

TEST_F(Grid, RowsAppendedWithoutAMoveReachTheGridAtTheNextTurnOfTheEventLoop) {
    fill(2);
    ds.ResetTable({{"a", 4}});
    ds.AppendRow({{"a", "x"}});
    ds.AppendRow({{"a", "y"}}); // a fill that ends here, as a failed query run does
    QCoreApplication::processEvents();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), "y");
}

TEST_F(Grid, DownArrowMovesOnceWithOneNotification) {
    fill(3);
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(ds.recNo(), 2);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(clicks, 0);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_Down); // already on the last row: nothing, and no new row
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(ds.recordCount(), 3);
}

TEST_F(Grid, ClickOnAnotherRowScrollsThenClicksOnTheCurrentRowOnlyClicks) {
    fill(3);
    clickCell(2);
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(clicks, 1);
    clickCell(2);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(clicks, 2);
    // With Ctrl held the row stays selected: there is one current row, always selected.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cellCentre(2));
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(2, {}));
}

TEST_F(Grid, OnlyTheLeftButtonPicksARow) {
    fill(3);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cellCentre(2));
    QTest::mouseClick(grid->viewport(), Qt::MiddleButton, {}, cellCentre(1));
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(scrolls + clicks, 0);
}

TEST_F(Grid, TitleRowAndEmptyAreaGiveNothing) {
    fill(3);
    QHeaderView *titles = grid->horizontalHeader();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(titles->sectionViewportPosition(1) + 5, 5));
    QPoint below = cellCentre(2) + QPoint(0, 3 * grid->rowHeight(2));
    ASSERT_FALSE(grid->indexAt(below).isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(0, {}));
}

TEST_F(Grid, AClickOnTheClosedGridDoesNothing) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(scrolls + clicks, 0);
    EXPECT_EQ(ds.state(), TClientDataSet::dsInactive);
}

TEST_F(Grid, NoDeletionNoEditingNoSorting) {
    fill(3);
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    QTest::keyClick(grid.get(), Qt::Key_F2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(0));
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->indexWidget(grid->model()->index(0, 0)), nullptr);
    EXPECT_EQ(QApplication::focusWidget() == grid.get() || QApplication::focusWidget() == nullptr,
              true); // no editor took focus
    EXPECT_EQ(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
    EXPECT_EQ(ds.value(0, 0), G("1路"));
}

TEST_F(Grid, ColumnWidthsFollowTheDigitWidthAndFieldSize) {
    fill(1);
    QHeaderView *titles = grid->horizontalHeader();
    int digit = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(titles->sectionSize(0), digit * 28 + 4);
    EXPECT_EQ(titles->sectionSize(1), digit * 35 + 4);
    EXPECT_EQ(titles->sectionSize(2), digit * 29 + 4);
    // The user cannot change them.
    QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, QPoint(titles->sectionSize(0) - 1, 5));
    QTest::mouseMove(titles->viewport(), QPoint(titles->sectionSize(0) + 40, 5));
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, QPoint(titles->sectionSize(0) + 40, 5));
    EXPECT_EQ(titles->sectionSize(0), digit * 28 + 4);
    EXPECT_EQ(titles->logicalIndexAt(5), 0);
}
