// The main window driven as a user and the city dialog would: start-up, queries, grid, details, copy, links.
#include "MessageCapture.h"
#include "TestDb.h"
#include "app/Captions.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "data/SQLiteDatabase.h"
#include "platform/Application.h"
#include "platform/Gbk.h"

#include "BuildSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::G;
using velmora::test::MessageCapture;

namespace {

// One bus line as an INSERT statement (UTF-8; quotes in values doubled here).
std::string busRow(const std::string &id, const std::string &cid, const std::string &lm, const std::string &start = "",
                   const std::string &sh = "", const std::string &xh = "", const std::string &bz = "",
                   const std::string &sj = "", const std::string &pj = "") {
    auto q = [](const std::string &s) {
        std::string out = "'";
        for (char c : s)
            out += c == '\'' ? std::string("''") : std::string(1, c);
        return out + "'";
    };
    return "INSERT INTO bus VALUES (" + q(id) + "," + q(cid) + "," + q(lm) + "," + q(start) + "," + q(bz) + "," +
           q(sj) + "," + q(pj) + "," + q(sh) + "," + q(xh) + ")";
}

std::string storedCity(const char *name, const char *cid) {
    return std::string("INSERT INTO uconf VALUES (1, '") + name + "', '" + cid + "')";
}

class MainWindow : public ::testing::Test {
protected:
    velmora::test::TempWorkDir dir;
    MessageCapture boxes;
    std::unique_ptr<TForm1> form;
    int scrolls = 0, clicks = 0;

    void start(const std::vector<std::string> &statements, bool withFile = true) {
        if (withFile)
            velmora::test::makeBusDb("tolvi.dbf", statements);
        form.reset(createForm<TForm1>());
        // Count the two notifications on their way to showxx.
        auto afterScroll = form->ClientDataSet1->AfterScroll;
        form->ClientDataSet1->AfterScroll = [this, afterScroll] {
            ++scrolls;
            afterScroll();
        };
        auto cellClick = form->DBGridEh1->CellClick;
        form->DBGridEh1->CellClick = [this, cellClick] {
            ++clicks;
            cellClick();
        };
    }

    void showForm() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void query(int mode, const std::string &first, const std::string &second = "") {
        if (mode == 1)
            form->N2Click();
        else if (mode == 2)
            form->N3Click();
        else
            form->N4Click();
        form->q1->setText(fromGbk(first));
        form->q2->setText(fromGbk(second));
        form->Button1Click();
    }

    bool linkIsRed() const { return form->Label1->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }
    bool linkIsNavy() const { return form->Label1->palette().color(QPalette::WindowText) == QColor(0, 0, 128); }
    std::string gridText(int row, int column) const {
        return toGbk(form->DBGridEh1->model()->index(row, column).data().toString());
    }
    void clickRow(int row) {
        QRect cell = form->DBGridEh1->visualRect(form->DBGridEh1->model()->index(row, 0));
        QTest::mouseClick(form->DBGridEh1->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

const std::vector<std::string> kThreeLines = {
    storedCity("上海", "2"),
    busRow("11", "2", "1路", "A站-->B站", "A站,B站,C站", "C站,B站,A站", "空调", "6:00-22:00", "2元"),
    busRow("12", "2", "2路", "C站-->D站", "C站,D站", ""),
    busRow("13", "2", "3路", "E站-->F站", "E站,F站", "  "),
    busRow("91", "1", "北京1路", "X-->Y", "X,Y"),
};

} // namespace

TEST_F(MainWindow, StartUpListsTheStoredCitysLinesInStationToStationMode) {
    start(kThreeLines);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(form->cityName, G("上海"));
    EXPECT_EQ(form->cityId, "2");
    EXPECT_EQ(caption(form->GroupBox1), G("当前城市: 上海"));
    EXPECT_EQ(form->queryMode, 3);
    EXPECT_EQ(caption(form->sm1), G("站站查询:"));
    EXPECT_EQ(form->q1->geometry(), QRect(112, 26, 113, 24));
    EXPECT_FALSE(form->sm2->isHidden());
    EXPECT_FALSE(form->q2->isHidden());
    EXPECT_EQ(form->lastRunSql(), "SELECT * FROM bus where cid='2'");
    EXPECT_TRUE(form->querySql.empty());
    ASSERT_EQ(form->DBGridEh1->model()->rowCount(), 3);
    EXPECT_EQ(gridText(0, 0), G("1路"));
    EXPECT_EQ(gridText(2, 1), G("E站-->F站"));
    EXPECT_EQ(form->ClientDataSet1->recNo(), 1);
    EXPECT_EQ(form->DBGridEh1->currentIndex().row(), 0);
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 3条公交"));
    EXPECT_EQ(caption(form->GroupBox3), G("上海 1路　　A站-->B站 "));
    EXPECT_EQ(caption(form->xxxx),
              G("空调　　6:00-22:00　　2元\r\n\r\nA站 -- B站 -- C站\r\n\r\n下行:　　C站 -- B站 -- A站"));
    EXPECT_EQ(form->lineIds, (std::vector<std::string>{"11", "12", "13"}));
    EXPECT_EQ(form->titleTexts[2], G("上海 3路　　E站-->F站 "));
    EXPECT_EQ(form->detailTexts[2], G("　　　　\r\n\r\nE站 -- F站\r\n\r\n  "));
    EXPECT_EQ(form->lineUrl, std::string(kSiteBase) + "/i.php/11.html");
    EXPECT_FALSE(form->Label1->isHidden());
    EXPECT_TRUE(linkIsRed()); // one change from navy
    EXPECT_EQ(scrolls, 0);    // counting starts after start-up
    showForm();
    EXPECT_EQ(form->focusWidget(), form->q1);
}

TEST_F(MainWindow, WithoutAStoredCityStartsWithBeijingAndId1) {
    start({busRow("91", "1", "北京1路", "X-->Y", "X,Y")});
    EXPECT_EQ(form->cityName, G("北京"));
    EXPECT_EQ(form->cityId, "1");
    EXPECT_EQ(caption(form->GroupBox1), G("当前城市: 北京"));
    EXPECT_EQ(form->lastRunSql(), "SELECT * FROM bus where cid='1'");
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果: 1条公交"));
    EXPECT_EQ(caption(form->GroupBox3), G("北京 北京1路　　X-->Y "));
}

TEST_F(MainWindow, AnEmptyStoredCityNameStillUsesItsId) {
    start({storedCity("", "5"), busRow("1", "5", "5路")});
    EXPECT_EQ(caption(form->GroupBox1), G("当前城市: "));
    EXPECT_EQ(form->lastRunSql(), "SELECT * FROM bus where cid='5'");
    EXPECT_EQ(caption(form->GroupBox3), G(" 5路　　 "));
}

TEST_F(MainWindow, ACityWithoutLinesWarnsBeforeTheWindowShows) {
    bool mainWindowVisibleAtWarning = true;
    setMessageInterceptor([&](const ShownMessage &m) {
        mainWindowVisibleAtWarning = false;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<TForm1 *>(w) && w->isVisible())
                mainWindowVisibleAtWarning = true;
        EXPECT_EQ(m.kind, ShownMessage::Dialog);
        EXPECT_EQ(m.type, MsgType::Warning);
        EXPECT_EQ(m.caption, QString::fromUtf8("警告"));
        EXPECT_EQ(m.text, G("查询方式或输入内容是否有误?"));
        EXPECT_EQ(m.buttons, mbOK);
        return m.defaultResult;
    });
    start({storedCity("空城", "9")});
    setMessageInterceptor(nullptr);
    EXPECT_FALSE(mainWindowVisibleAtWarning);
    showForm();
    EXPECT_EQ(form->ClientDataSet1->state(), TClientDataSet::dsInactive);
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 0);
    EXPECT_EQ(caption(form->GroupBox2), G("查询结果"));
    EXPECT_EQ(caption(form->GroupBox3), G("路线详细信息"));
    EXPECT_EQ(caption(form->xxxx), "");
    EXPECT_TRUE(form->Label1->isHidden());
    EXPECT_TRUE(form->querySql.empty());
    // A click on the closed grid does nothing.
    QTest::mouseClick(form->DBGridEh1->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(scrolls + clicks, 0);
    EXPECT_TRUE(form->Label1->isHidden());
}

TEST_F(MainWindow, AMissingDatabaseFileIsReportedAndTheWindowStillShows) {
    start({}, false);
    ASSERT_EQ(boxes.errors().size(), 1u);
    EXPECT_NE(boxes.errors()[0].find("tolvi.dbf"), std::string::npos) << boxes.errors()[0];
    EXPECT_TRUE(form->cityName.empty());
    EXPECT_TRUE(form->cityId.empty());
    EXPECT_EQ(caption(form->GroupBox1), G("当前城市"));
    EXPECT_EQ(form->queryMode, 0);
    EXPECT_EQ(caption(form->sm1), G("站站查询："));
    EXPECT_FALSE(form->sm2->isHidden());
    EXPECT_FALSE(form->q2->isHidden());
    EXPECT_EQ(form->q1->width(), 113);
    EXPECT_TRUE(form->lastRunSql().empty()); // no query ran
    showForm();
    EXPECT_TRUE(form->isVisible());
    // Later uses report their own error; in mode 0 the query button lists all lines of the (empty) city.
    form->q1->setText("5");
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_EQ(boxes.errors().size(), 2u);
    EXPECT_TRUE(form->querySql.empty());
    EXPECT_TRUE(form->lastRunSql().empty()); // the connection failed before a statement was chosen
}

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

namespace {
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.push_back(url); }
};
} // namespace

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

TEST_F(MainWindow, WindowAndControlsAreLaidOutAsDesigned) {
    start(kThreeLines);
    showForm();
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Velmora(PC版)"));
    EXPECT_EQ(form->centralWidget()->size(), QSize(664, 588));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()); // not resizable
    Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(form->font().pixelSize(), 11);
    struct Place {
        QWidget *w;
        QRect r;
    } places[] = {{form->GroupBox1, {24, 16, 617, 73}},   {form->sm1, {24, 30, 76, 19}},
                  {form->q2, {272, 26, 113, 24}},         {form->Button1, {440, 16, 92, 41}},
                  {form->GroupBox2, {24, 104, 617, 209}}, {form->DBGridEh1, {16, 24, 585, 169}},
                  {form->GroupBox3, {24, 328, 617, 235}}, {form->xxxx, {16, 24, 585, 200}},
                  {form->Label1, {24, 568, 81, 13}},      {form->Label2, {576, 568, 81, 13}}};
    for (const Place &p : places)
        EXPECT_EQ(p.w->geometry(), p.r) << p.w->metaObject()->className();
    EXPECT_EQ(form->sm2->pos(), QPoint(240, 30));
    EXPECT_EQ(form->xxxx->minimumSize(), form->xxxx->maximumSize());
    EXPECT_TRUE(form->xxxx->wordWrap());
    EXPECT_EQ(form->xxxx->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(form->sm1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(form->Button1->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
    EXPECT_EQ(form->Button1->font().pixelSize(), 19);
    EXPECT_EQ(form->q1->font().pixelSize(), 16);
    EXPECT_TRUE(form->Label2->font().underline());
    EXPECT_EQ(form->Button1->text(), QString::fromUtf8("查 询"));
    EXPECT_EQ(form->Label1->text(), QString::fromUtf8("查看此公交"));
    EXPECT_EQ(form->Label2->text(), QString::fromUtf8("Velmora网"));
    EXPECT_FALSE(form->Button200->isVisible());
    EXPECT_FALSE(form->Button1->isDefault());
    EXPECT_EQ(form->q1->nextInFocusChain(), form->Button1);
    // Enter in an edit box does not query.
    form->q1->setFocus();
    form->q1->setText("1");
    QTest::keyClick(form->q1, Qt::Key_Return);
    EXPECT_EQ(form->lastRunSql(), "SELECT * FROM bus where cid='2'");
    // Menus in their order, without short-cuts.
    QStringList modes, skins, popup;
    for (QAction *a : form->N30->menu()->actions())
        modes << (a->isSeparator() ? QStringLiteral("-") : a->text());
    for (QAction *a : form->N6->menu()->actions())
        skins << (a->isSeparator() ? QStringLiteral("-") : a->text());
    for (QAction *a : form->PopupMenu1->actions())
        popup << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(modes.join('|'), QString::fromUtf8("线路查询|站点查询|站站查询|-|切换城市"));
    EXPECT_EQ(skins.join('|'), QString::fromUtf8("皮肤1|皮肤2|皮肤3|皮肤4|皮肤5|皮肤6|-|关于..."));
    EXPECT_EQ(popup.join('|'), QString::fromUtf8("复制此公交|-|切换城市|-|关于..."));
    EXPECT_TRUE(form->N2->shortcut().isEmpty());
    EXPECT_EQ(form->xxxx->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(MainWindow, MenusOpenTheDialogsModallyAndReturnWhenTheyClose) {
    start(kThreeLines);
    showForm();
    CreateForms(); // the program's own three windows, for the dialogs
    int seen = 0;
    auto closeSoon = [&](const char *title) {
        QTimer::singleShot(50, [&, title] {
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            EXPECT_EQ(modal->windowTitle(), QString::fromUtf8(title));
            ++seen;
            modal->close();
        });
    };
    for (QAction *item : {form->N1, form->N10}) {
        closeSoon("切换城市");
        item->trigger();
    }
    for (QAction *item : {form->N5, form->N13}) {
        closeSoon("关于...");
        item->trigger();
    }
    EXPECT_EQ(seen, 4);
}

#include "mainwindow_test.moc"
