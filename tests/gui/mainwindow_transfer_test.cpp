// The main window's transfer mode and the station suggestions.
#include "MainWindowFixture.h"

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
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, G("查询方式或输入内容是否有误?"));
    EXPECT_EQ(gridText(0, 0), G("1路→5路"));
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 1个换乘方案"));

    form->cityId = "1"; // as the city dialog switches
    form->q1->setText(fromGbk(G("甲站")));
    form->q2->setText(fromGbk(G("丁站")));
    form->Button1Click();
    EXPECT_EQ(gridText(0, 0), G("北京1路"));
    form->cityId = "2";
    velmora::test::runSql("tolvi.dbf", {busRow("19", "2", "9路", "", "甲站,丁站")});
    form->Button1Click();
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
    EXPECT_EQ(completer->completionCount(), 2); // Xa and Xb of this city, matched in any case
    EXPECT_TRUE(completer->popup()->isVisible());
    EXPECT_EQ(form->q1->text(), "x");
    form->N14Click();
    EXPECT_NE(form->q2->completer(), nullptr);
    form->N2Click(); // line names are not stations
    EXPECT_EQ(form->q1->completer(), nullptr);
}
