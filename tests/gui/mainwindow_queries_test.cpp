// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user would: queries, the grid, details, copy and links.
#include "MainWindowFixture.h"
#include "UrlCatcher.h"

using namespace velmora;
using velmora::test::busRow;
using velmora::test::G;
using velmora::test::kThreeLines;
using velmora::test::MainWindow;
using velmora::test::MessageCapture;
using velmora::test::storedCity;
using velmora::test::UrlCatcher;

TEST_F(MainWindow, EachModeBuildsItsStatement) {
    start(
        {busRow("1", "1", "5路", "", "A,B,C"), busRow("2", "1", "15路", "", "C,D"), busRow("3", "1", "K8", "", "B,D")});
    query(1, " 5 ");
    EXPECT_EQ(form->lastRunSql(), "select * from bus where cid='1' and lm like '%5%'");
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 2条公交"));
    query(2, "D");
    EXPECT_EQ(form->lastRunSql(), "select * from bus where cid='1' and sh like '%D%'");
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 2);
    query(3, "C", "\tD ");
    EXPECT_EQ(form->lastRunSql(), "select * from bus where cid='1' and sh like '%C%' and sh like '%D%'");
    EXPECT_EQ(gridText(0, 0), G("15路"));
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 1);
    query(3, "B"); // an empty second station matches every line that passes the first
    EXPECT_EQ(form->lastRunSql(), "select * from bus where cid='1' and sh like '%B%' and sh like '%%'");
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 2);
    EXPECT_TRUE(form->querySql.empty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, AnEmptyFirstBoxQueriesNothingInAnyMode) {
    start({busRow("1", "1", "5路")});
    for (int mode = 1; mode <= 3; ++mode) {
        query(mode, "", "x");
        EXPECT_EQ(form->lastRunSql(), "SELECT * FROM bus where cid='1'") << mode;
    }
    form->N4Click();
    form->q1->setText("   "); // blanks pass the test; the pattern becomes '%%'
    form->Button1Click();
    EXPECT_EQ(form->lastRunSql(), "select * from bus where cid='1' and sh like '%%' and sh like '%%'");
}

TEST_F(MainWindow, ModeSwitchRearrangesTheRowAndEmptiesBothBoxes) {
    start(kThreeLines);
    form->q1->setText("a");
    form->q2->setText("b");
    form->N2Click();
    EXPECT_EQ(form->queryMode, 1);
    EXPECT_EQ(caption(form->sm1), G("线路查询:"));
    EXPECT_TRUE(form->sm2->isHidden());
    EXPECT_TRUE(form->q2->isHidden());
    EXPECT_EQ(form->q1->geometry(), QRect(112, 26, 200, 24));
    EXPECT_TRUE(form->q1->text().isEmpty());
    EXPECT_TRUE(form->q2->text().isEmpty());
    form->N3Click();
    EXPECT_EQ(caption(form->sm1), G("站点查询:"));
    EXPECT_EQ(form->q1->width(), 200);
    form->q1->setText("a");
    form->N3Click(); // the same mode again still empties the box
    EXPECT_TRUE(form->q1->text().isEmpty());
    form->N4Click();
    EXPECT_EQ(form->q1->width(), 113);
    EXPECT_FALSE(form->q2->isHidden());
    EXPECT_FALSE(form->sm2->isHidden());
    // No query ran and the shown result stayed.
    EXPECT_EQ(form->lastRunSql(), "SELECT * FROM bus where cid='2'");
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 3);
}

TEST_F(MainWindow, TheIdeographicSpaceIsKeptInTheSearch) {
    start({busRow("1", "1", "5路"), busRow("2", "1", "5　快线"), busRow("3", "1", "15路")});
    query(1, G("5　"));
    EXPECT_EQ(form->lastRunSql(), G("select * from bus where cid='1' and lm like '%5　%'"));
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 1);
    EXPECT_EQ(gridText(0, 0), G("5　快线"));
    query(1, "1%5"); // the wildcard keeps its meaning
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 1);
    EXPECT_EQ(gridText(0, 0), G("15路"));
}

TEST_F(MainWindow, AQuoteInTheInputIsSearchedForLiterally) {
    start({busRow("1", "1", "O'Hare快线"), busRow("2", "1", "Ohare"), busRow("3", "1", "x")});
    query(1, "O'H");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(form->lastRunSql(), "select * from bus where cid='1' and lm like '%O''H%'");
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 1);
    EXPECT_EQ(gridText(0, 0), G("O'Hare快线"));
    query(1, "x' or '1'='1"); // cannot widen the search
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, G("查询方式或输入内容是否有误?"));
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 1);
}

TEST_F(MainWindow, ThreeThenFiveThenNoRows) {
    std::vector<std::string> rows;
    for (int i = 1; i <= 3; ++i)
        rows.push_back(busRow("a" + std::to_string(i), "1", "A" + std::to_string(i)));
    for (int i = 1; i <= 5; ++i)
        rows.push_back(busRow("b" + std::to_string(i), "1", "B" + std::to_string(i)));
    start(rows);
    query(1, "A");
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 3);
    query(1, "B");
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 5);
    EXPECT_EQ(form->ClientDataSet1->recordCount(), 5);
    EXPECT_EQ(form->detailTexts.size(), 5u);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(gridText(r, 0), "B" + std::to_string(r + 1));
    form->ClientDataSet1->MoveTo(4);
    std::string shownCaption = caption(form->GroupBox3), shownDetail = caption(form->xxxx);
    bool red = linkIsRed();
    query(1, "Z");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].type, MsgType::Warning);
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 5);
    EXPECT_EQ(form->ClientDataSet1->recNo(), 4);
    EXPECT_EQ(form->DBGridEh1->currentIndex().row(), 3);
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 5条公交"));
    EXPECT_EQ(caption(form->GroupBox3), shownCaption);
    EXPECT_EQ(caption(form->xxxx), shownDetail);
    EXPECT_EQ(linkIsRed(), red);
    EXPECT_EQ(form->lineUrl, std::string(kSiteBase) + "/i.php/b4.html");
    EXPECT_TRUE(form->querySql.empty());
}

TEST_F(MainWindow, KeyboardAndMouseNotificationsAndTheLinkColour) {
    start(kThreeLines);
    showForm();
    EXPECT_TRUE(linkIsRed());
    form->DBGridEh1->setFocus();
    QTest::keyClick(form->DBGridEh1, Qt::Key_Down);
    EXPECT_EQ(form->ClientDataSet1->recNo(), 2);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(caption(form->GroupBox3), G("上海 2路　　C站-->D站 "));
    EXPECT_TRUE(linkIsNavy());
    QTest::keyClick(form->DBGridEh1, Qt::Key_Down);
    EXPECT_TRUE(linkIsRed());
    EXPECT_EQ(form->lineUrl, std::string(kSiteBase) + "/i.php/13.html");

    scrolls = clicks = 0;
    clickRow(0); // another row: details twice, so the colour ends as it was
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ClientDataSet1->recNo(), 1);
    EXPECT_EQ(caption(form->GroupBox3), G("上海 1路　　A站-->B站 "));
    EXPECT_TRUE(linkIsRed());
    clickRow(0); // the current row: once
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(linkIsNavy());
    QHeaderView *titles = form->DBGridEh1->horizontalHeader();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(20, titles->height() / 2));
    EXPECT_EQ(scrolls + clicks, 3);
    EXPECT_TRUE(linkIsNavy());
}

TEST_F(MainWindow, ARunThatFailsMidwayKeepsTheCountAndEmptiesTheQuery) {
    start(kThreeLines);
    // A bus table without the down-direction column: the run fails after the table was reset.
    velmora::test::runSql("tolvi.dbf", {"DROP TABLE bus", "CREATE TABLE bus (id, cid, lm, start, bz, sj, pj, sh)",
                                        "INSERT INTO bus VALUES ('1','2','x','','','','','')"});
    form->N2Click();
    form->q1->setText("x");
    EXPECT_THROW(form->Button1Click(), ESQLiteException); // a programmatic click passes the error on
    runHandler([&] { form->Button1Click(); });
    ASSERT_EQ(boxes.errors().size(), 1u);
    EXPECT_EQ(boxes.errors()[0], "Field not found in dataset: xh.");
    EXPECT_TRUE(form->querySql.empty());
    EXPECT_EQ(form->ClientDataSet1->state(), TClientDataSet::dsBrowse);
    EXPECT_EQ(form->ClientDataSet1->recordCount(), 0);
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 3条公交"));
    EXPECT_EQ(form->detailTexts.size(), 1u);

    QFile::remove("tolvi.dbf"); // a connection that fails also leaves the query text empty
    form->querySql = "SELECT 1";
    runHandler([&] { form->Button200Click(); });
    EXPECT_EQ(boxes.errors().size(), 2u);
    EXPECT_TRUE(form->querySql.empty());
}

TEST_F(MainWindow, CopyPutsCaptionAndDetailsOnTheClipboardByteForByte) {
    auto clipboardGbk = [] {
        QByteArray b = QGuiApplication::clipboard()->mimeData()->data("text/plain;charset=GBK");
        return std::string(b.constData(), std::size_t(b.size()));
    };
    start({storedCity("空城", "9")}); // nothing shown yet
    boxes.clear();
    form->N8Click();
    EXPECT_EQ(clipboardGbk(), G("路线详细信息") + "\r\n" + std::string(1, '\0'));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].type, MsgType::Information);
    EXPECT_EQ(boxes.shown()[0].caption, QString::fromUtf8("提示"));
    EXPECT_EQ(boxes.shown()[0].text, G("已经成功复制到剪贴板！"));
    EXPECT_EQ(boxes.shown()[0].buttons, mbOK);

    velmora::test::runSql("tolvi.dbf", std::vector<std::string>(kThreeLines.begin() + 1, kThreeLines.end()));
    form->cityName = G("上海");
    form->cityId = "2";
    form->Button200Click();
    form->N8Click();
    EXPECT_EQ(clipboardGbk(), G("上海 1路　　A站-->B站 \r\n空调　　6:00-22:00　　2元\r\n\r\nA站 -- B站 -- C站\r\n\r\n"
                                "下行:　　C站 -- B站 -- A站") +
                                  std::string(1, '\0'));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              fromGbk(G("上海 1路　　A站-->B站 \r\n")) + fromGbk(caption(form->xxxx)));
}

TEST_F(MainWindow, LinksOpenTheLinePageAndTheHomePage) {
    UrlCatcher catcher;
    QString scheme = QUrl(QString::fromLatin1(kSiteBase)).scheme();
    QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    start({busRow("1024", "1", "1路"), busRow("../x?y#z", "1", "2路"), busRow("z", "1", "none")});
    showForm();
    QTest::mouseClick(form->Label1, Qt::LeftButton);
    QTest::mouseClick(form->Label2, Qt::LeftButton);
    form->ClientDataSet1->MoveTo(2);
    query(1, "nothing-matches"); // the last shown row's page is still the one opened
    form->Label1Click();
    QDesktopServices::unsetUrlHandler(scheme);
    ASSERT_EQ(catcher.opened.size(), 3u);
    EXPECT_EQ(catcher.opened[0].toString().toStdString(), std::string(kSiteBase) + "/i.php/1024.html");
    EXPECT_EQ(catcher.opened[1].toString().toStdString(), std::string(kSiteBase) + "/");
    EXPECT_EQ(catcher.opened[2].toEncoded().toStdString(), std::string(kSiteBase) + "/i.php/..%2Fx%3Fy%23z.html");
    EXPECT_EQ(catcher.opened[2].host(), QUrl(QString::fromLatin1(kSiteBase)).host());
    EXPECT_EQ(form->Label1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form->Label2->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindow, BothBoxesTakeAHundredThousandPastedCharacters) {
    start({busRow("1", "1", "5路", "", "A,B"), busRow("2", "1", "6路", "", "B,C")});
    form->N4Click();
    const QString pasted(100000, QChar(u'站'));
    for (QLineEdit *box : {form->q1, form->q2}) {
        QApplication::clipboard()->setText(pasted);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_A); // typing goes on after the paste
        EXPECT_EQ(box->text().size(), 100001);
        EXPECT_TRUE(box->text().endsWith(u"站a"));
    }
    form->Button1Click(); // the whole text is searched for: no line has it
    const std::string typed = toGbk(pasted) + "a";
    EXPECT_EQ(form->lastRunSql(),
              "select * from bus where cid='1' and sh like '%" + typed + "%' and sh like '%" + typed + "%'");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, G("查询方式或输入内容是否有误?"));
}
