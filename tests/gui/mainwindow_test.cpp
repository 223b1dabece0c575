// SPDX-License-Identifier: GPL-3.0-or-later
// The main window at start-up, its layout and menus, and the dialogs behind them.
#include "MainWindowFixture.h"

using namespace velmora;
using velmora::test::busRow;
using velmora::test::G;
using velmora::test::kThreeLines;
using velmora::test::MainWindow;
using velmora::test::MessageCapture;
using velmora::test::storedCity;

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

TEST_F(MainWindow, FixedWindowQueryOnlyByTheButtonMenusInOrder) {
    start(kThreeLines);
    showForm();
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Velmora(PC版)"));
    EXPECT_EQ(form->centralWidget()->size(), QSize(664, 588));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()); // not resizable
    Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
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
    EXPECT_EQ(modes.join('|'), QString::fromUtf8("线路查询|站点查询|站站查询|换乘查询|-|切换城市"));
    EXPECT_EQ(skins.join('|'), QString::fromUtf8("皮肤1|皮肤2|皮肤3|皮肤4|皮肤5|皮肤6|-|关于..."));
    EXPECT_EQ(popup.join('|'), QString::fromUtf8("复制此公交|-|切换城市|-|关于..."));
    EXPECT_TRUE(form->N2->shortcut().isEmpty());
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
