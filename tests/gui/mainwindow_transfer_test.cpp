// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's transfer mode and the station suggestions.
#include "MainWindowFixture.h"

#include "app/TransferWorker.h"
#include <QAbstractItemView>
#include <QCompleter>

using namespace velmora;
using velmora::test::busRow;
using velmora::test::G;
using velmora::test::MainWindow;
using velmora::test::storedCity;

namespace {
// Stored city 上海 (id 2): 甲站 to 丁站 needs a change at 丙站; 北京 (id 1) rides it directly.
const std::vector<std::string> kTwoCities = {
    storedCity("上海", "2"),
    busRow("11", "2", "1路", "甲站-->丙站", "甲站,乙站,丙站", "", "空调", "6:00-22:00", "2元"),
    busRow("15", "2", "5路", "丙站-->丁站", "丙站,丁站", "", "", "5:30-23:00", "1元"),
    busRow("91", "1", "北京1路", "甲站-->丁站", "甲站,丁站"),
};
// Plans are computed off the window's thread: the query button only asks for them.
bool plansShown(TForm1 &form) {
    return QTest::qWaitFor([&] { return !form.transferPending(); }, 10000);
}
} // namespace

TEST_F(MainWindow, TransferModeListsPlansWithTheirRidesAndFollowsCityAndDatabase) {
    start(kTwoCities);
    form->q1->setText("x");
    form->N14Click();
    EXPECT_EQ(form->queryMode, 4);
    EXPECT_EQ(caption(form->sm1), G("换乘查询:"));
    EXPECT_FALSE(form->q2->isHidden());
    EXPECT_EQ(form->q1->width(), 113);
    EXPECT_TRUE(form->q1->text().isEmpty());

    form->q1->setText(fromGbk(G("甲站")));
    form->q2->setText(fromGbk(G(" 丁站")));
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 1);
    EXPECT_EQ(gridText(0, 0), G("1路→5路"));
    EXPECT_EQ(gridText(0, 1), G("甲站-->丙站-->丁站"));
    EXPECT_EQ(gridText(0, 2), G("换乘1次 共3站"));
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 1个换乘方案"));
    EXPECT_EQ(caption(form->GroupBox3), G("上海 1路→5路　　甲站-->丙站-->丁站 "));
    EXPECT_EQ(caption(form->xxxx), G("1路: 甲站 --> 丙站，坐2站　　6:00-22:00　　2元\r\n在 丙站 换乘\r\n"
                                     "5路: 丙站 --> 丁站，坐1站　　5:30-23:00　　1元\r\n\r\n换乘1次 共3站"));
    EXPECT_EQ(form->lineUrl, std::string(kSiteBase) + "/i.php/11.html");
    EXPECT_TRUE(form->querySql.empty());
    EXPECT_TRUE(boxes.shown().empty());

    // No plan: the empty result's warning, and the shown plan stays.
    form->q1->setText(fromGbk(G("丁站")));
    form->q2->setText(fromGbk(G("戊站")));
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, G("查询方式或输入内容是否有误?"));
    EXPECT_EQ(gridText(0, 0), G("1路→5路"));
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 1个换乘方案"));

    form->cityId = "1"; // as the city dialog switches
    form->q1->setText(fromGbk(G("甲站")));
    form->q2->setText(fromGbk(G("丁站")));
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    EXPECT_EQ(gridText(0, 0), G("北京1路"));
    form->cityId = "2";
    velmora::test::runSql("tolvi.dbf", {busRow("19", "2", "9路", "", "甲站,丁站")});
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 1); // the direct ride beats the change on both counts
    EXPECT_EQ(gridText(0, 0), G("9路"));
    EXPECT_EQ(gridText(0, 2), G("直达 共1站"));
}

TEST_F(MainWindow, StationBoxesSuggestTheCitysStationsWithoutChangingTheText) {
    start({storedCity("上海", "2"), busRow("1", "2", "1路", "", "Xa,Xb,Yc"), busRow("2", "1", "2路", "", "Xz")});
    showForm();
    form->N3Click();
    form->q1->setFocus();
    QTest::keyClicks(form->q1, "x");
    QCompleter *completer = form->q1->completer();
    ASSERT_NE(completer, nullptr);
    // The stations are matched off the window's thread and offered for the typed text when they arrive.
    ASSERT_TRUE(QTest::qWaitFor([&] { return completer->popup()->isVisible(); }, 10000));
    EXPECT_EQ(completer->popup()->model()->rowCount(), 2); // Xa and Xb of this city, matched in any case
    EXPECT_TRUE(completer->popup()->isVisible());
    EXPECT_EQ(form->q1->text(), "x");
    form->N14Click();
    EXPECT_NE(form->q2->completer(), nullptr);
    form->N2Click(); // line names are not stations
    EXPECT_EQ(form->q1->completer(), nullptr);
}

TEST_F(MainWindow, TransferRowsKeepWholeTextsAndShowThemAsATooltip) {
    // Stations long enough to pass the stations column's 35 bytes, with a double-byte character across the cut.
    const std::string a = "甲甲甲甲甲甲甲甲甲甲甲站", b = "乙乙乙乙乙乙乙乙乙乙乙站", c = "丙丙丙丙丙丙丙丙丙丙丙站";
    start({storedCity("上海", "2"), busRow("11", "2", "1路", "", a + "," + b),
           busRow("15", "2", "5路", "", b + "," + c), busRow("16", "2", "6路", "", "丁,戊")});
    form->N14Click();
    form->q1->setText(fromGbk(G(a.c_str())));
    form->q2->setText(fromGbk(G(c.c_str())));
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    const std::string stations = a + "-->" + b + "-->" + c;
    EXPECT_EQ(gridText(0, 1), G(stations.c_str()));
    const QModelIndex cell = form->DBGridEh1->model()->index(0, 2);
    EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(),
              QString::fromUtf8(("1路→5路  " + stations + "  换乘1次 共2站").c_str()));
    EXPECT_NE(caption(form->GroupBox3).find(G(stations.c_str())), std::string::npos);
    EXPECT_TRUE(form->xxxx->toolTip().isEmpty()); // the details fit their box

    // A short row needs no tooltip; the specified modes still cut to the column's bytes.
    form->q1->setText(fromGbk(G("丁")));
    form->q2->setText(fromGbk(G("戊")));
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    EXPECT_FALSE(form->DBGridEh1->model()->index(0, 1).data(Qt::ToolTipRole).isValid());

    // Details longer than their box show whole as its tooltip.
    std::string far;
    for (int k = 0; k < 60; ++k)
        far += "远";
    velmora::test::runSql("tolvi.dbf", {busRow("17", "2", "7路", "", "丁," + far + "1," + far + "2", "", "", far, far),
                                        busRow("18", "2", "8路", "", far + "2," + far + "3", "", "", far, far),
                                        busRow("19", "2", "9路", "", far + "3,己", "", "", far, far)});
    form->q2->setText(fromGbk(G("己")));
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    EXPECT_EQ(form->xxxx->toolTip(), form->xxxx->text());
    EXPECT_FALSE(form->xxxx->toolTip().isEmpty());
}

TEST_F(MainWindow, ANewTransferQuerySupersedesAnUnfinishedOne) {
    start(kTwoCities);
    form->N14Click();
    form->q1->setText(fromGbk(G("甲站")));
    form->q2->setText(fromGbk(G("丁站")));
    form->Button1Click();
    EXPECT_TRUE(form->transferPending());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    form->q2->setText(fromGbk(G("丙站")));
    form->Button1Click();
    ASSERT_TRUE(plansShown(*form));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::qWait(50); // a late result of the first query would land now
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 1);
    EXPECT_EQ(gridText(0, 1), G("甲站-->丙站"));
    // Another mode's query drops a plan still coming.
    form->Button1Click();
    form->N2Click();
    EXPECT_FALSE(form->transferPending());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, LoadingACityBuildsItsIndexBeforeAnyQuery) {
    start({storedCity("上海", "2"), busRow("1", "2", "1路", "", "Xa,Xb,Yc"), busRow("2", "1", "2路", "", "Xz")});
    TransferWorker *worker = form->transferWorker();
    ASSERT_TRUE(QTest::qWaitFor([&] { return worker->holds("tolvi.dbf", "2"); }, 10000));
    form->cityId = "1";
    form->Button200Click(); // as the city dialog does after a switch
    ASSERT_TRUE(QTest::qWaitFor([&] { return worker->holds("tolvi.dbf", "1"); }, 10000));
}
