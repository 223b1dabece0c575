// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog: its controls, the page requested once, and the hook that keeps the right button away
// from the page.
#include "AboutWeb.h"
#include "MessageCapture.h"
#include "WindowTest.h"
#include "about/AboutHook.h"
#include "about/PageModule.h"
#include "about/TForm3.h"
#include "text/Gbk.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::LocalWeb;
using velmora::test::MessageCapture;
using velmora::test::pageWidget;

namespace {

// Everything a widget receives after the application's filters had their say.
struct Received : QObject {
    std::vector<QEvent::Type> types;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() != QEvent::ShortcutOverride) // a key press's forerunner
            types.push_back(e->type());
        return false;
    }
};

} // namespace

// One About dialog for the whole program, as at start-up, on a page of a local server.
class About : public test::WindowTest {
protected:
    static void SetUpTestSuite() {
        web = new LocalWeb;
        form = new TForm3;
        form->pageHost = web->host();
        runHandler([] { form->FormCreate(); });
    }
    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
        delete web;
        web = nullptr;
    }
    static inline LocalWeb *web = nullptr;
    static inline TForm3 *form = nullptr;
};

TEST_F(About, WindowAndControls) {
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("关于..."));
    EXPECT_EQ(form->size(), QSize(576, 399));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form->Label1->parentWidget(), form->GroupBox1);
    EXPECT_TRUE(form->Label1->wordWrap());
    EXPECT_EQ(form->Label1->font().pixelSize(), 13);
    EXPECT_EQ(toGbk(form->Label1->text()),
              gbk("为您提供全国400多个城市的公交查询、支持线路查询，站点查询，站对站查询；是您交通出行的好帮手。\r\n"
                  "使用完全免费，无任何插件，支持城市公交数据离线查询。Velmora网真诚为你服务。"));
    EXPECT_EQ(form->Button1->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
}

TEST_F(About, PageRequestedOnceWhenStartedHoweverOftenShown) {
    QTest::qWait(300);
    EXPECT_EQ(web->count("/bustj.php"), 0); // nothing before the program starts the page
    form->StartPage();
    ASSERT_TRUE(form->pageShown());
    EXPECT_EQ(form->WebBrowser1->geometry(), QRect(16, 128, 545, 217));
    EXPECT_EQ(form->Button1->nextInFocusChain(), form->WebBrowser1);
    ASSERT_TRUE(QTest::qWaitFor([] { return web->count("/bustj.php") > 0; }, 10000));
    EXPECT_TRUE(web->asked.contains(QByteArray(web->host().c_str()) + " /bustj.php?ref=shuoming"));

    QWidget mainWindow;
    mainWindow.setGeometry(100, 100, 664, 588);
    mainWindow.show();
    for (int i = 0; i < 3; ++i) {
        bool stillOpenAfterEsc = false;
        QTimer::singleShot(300, [&] {
            QTest::keyClick(form, Qt::Key_Escape); // no cancel button
            stillOpenAfterEsc = form->isVisible();
            if (i == 1)
                form->reject(); // the close box
            else
                form->Button1->click();
        });
        EXPECT_EQ(form->ShowModal(&mainWindow), 2);
        EXPECT_TRUE(stillOpenAfterEsc);
        EXPECT_FALSE(form->isVisible());
    }
    QTest::qWait(1000);
    EXPECT_EQ(web->count("/bustj.php"), 1);
}

TEST(AboutAddress, HostFromTheBuildSettingAndBadHostsRaise) {
    EXPECT_EQ(aboutPageUrl("stats.example.com").toString(), "http://stats.example.com/bustj.php?ref=shuoming");
    EXPECT_EQ(aboutPageUrl("127.0.0.1:8080").toString(), "http://127.0.0.1:8080/bustj.php?ref=shuoming");
    EXPECT_THROW(aboutPageUrl(""), Exception);
    EXPECT_THROW(aboutPageUrl("bad host"), Exception);
}

TEST(AboutCreation, FailedNavigationIsShownAndCreationGoesOn) {
    MessageCapture capture;
    std::unique_ptr<TForm3> form(new TForm3);
    form->pageHost = "";
    runHandler([&] { form->FormCreate(); });
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.errors()[0], "Invalid address of the About page: http:///bustj.php?ref=shuoming.");
    EXPECT_FALSE(form->Label1->text().isEmpty());
    form->StartPage(); // no address, no page
    EXPECT_FALSE(form->pageShown());
}

// When the page cannot be had, the dialog shows a short note in its place and works as before.
TEST(AboutCreation, WithoutTheModuleANoteTakesThePagesPlace) {
    const QString modulePath = pageModulePath();
    setPageModulePath(QStringLiteral("/nonexistent/libvelmora_web.so"));
    std::unique_ptr<TForm3> form(createForm<TForm3>());
    form->StartPage();
    setPageModulePath(modulePath);
    EXPECT_FALSE(form->pageShown());
    auto *note = qobject_cast<QLabel *>(form->WebBrowser1);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), QString::fromUtf8("此处的网页无法显示。公交查询的其他功能不受影响。"));
    EXPECT_EQ(note->geometry(), QRect(16, 128, 545, 217));
    QTimer::singleShot(200, [&] { form->Button1->click(); });
    EXPECT_EQ(form->ShowModal(nullptr), 2);
}

TEST(AboutCreation, RootRunsTheEngineOnlyWithTheUsersOptIn) {
    EXPECT_EQ(webEngineRefusal(false, "", ""), "");
    EXPECT_NE(webEngineRefusal(true, "", ""), "");
    EXPECT_NE(webEngineRefusal(true, "0", "--disable-gpu"), "");
    EXPECT_EQ(webEngineRefusal(true, "1", ""), "");
    EXPECT_EQ(webEngineRefusal(true, "", "--disable-gpu --no-sandbox"), "");
}

// The decision alone, for every kind of event the hook must tell apart.
TEST_F(About, HookDecisions) {
    form->StartPage();
    QWidget *page = pageWidget(*form);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(page, form->WebBrowser1);
    QWidget elsewhere;
    const QPointF at(5, 5);
    auto mouse = [&](QEvent::Type t, Qt::MouseButton b) {
        return QMouseEvent(t, at, at, b, t == QEvent::MouseButtonRelease ? Qt::NoButton : b, Qt::NoModifier);
    };
    const QEvent::Type mouseTypes[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                       QEvent::MouseButtonDblClick};
    for (QEvent::Type t : mouseTypes) {
        QMouseEvent right = mouse(t, Qt::RightButton);
        EXPECT_TRUE(hookDrops(&right, page, form->WebBrowser1)) << t;
        EXPECT_FALSE(hookDrops(&right, form->WebBrowser1, form->WebBrowser1)) << t; // the view's own widget
        for (QObject *outside :
             std::initializer_list<QObject *>{form, form->Label1, form->GroupBox1, form->Button1, &elsewhere, qApp})
            EXPECT_FALSE(hookDrops(&right, outside, form->WebBrowser1)) << t;
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::MiddleButton}) {
            QMouseEvent other = mouse(t, b);
            EXPECT_FALSE(hookDrops(&other, page, form->WebBrowser1)) << t << " " << b;
        }
    }
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, QPoint(5, 5));
    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(5, 5));
    EXPECT_TRUE(hookDrops(&byMouse, page, form->WebBrowser1));
    EXPECT_FALSE(hookDrops(&byMouse, form->WebBrowser1, form->WebBrowser1));
    EXPECT_FALSE(hookDrops(&byMouse, form->Label1, form->WebBrowser1));
    EXPECT_FALSE(hookDrops(&byKey, page, form->WebBrowser1));
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_FALSE(hookDrops(&move, page, form->WebBrowser1));
    EXPECT_FALSE(hookDrops(&key, page, form->WebBrowser1));
    EXPECT_FALSE(isStrictlyInside(form->WebBrowser1, nullptr));
    EXPECT_FALSE(isStrictlyInside(nullptr, page));
}

// The installed hook, as events travel: dropped ones never reach the page, all others arrive, everywhere, and
// without the dialog having been shown.
TEST_F(About, HookInForceForTheWholeProgram) {
    form->StartPage();
    QWidget *page = pageWidget(*form);
    QWidget elsewhere;
    Received atPage, atView, atElsewhere;
    page->installEventFilter(&atPage);
    form->WebBrowser1->installEventFilter(&atView);
    elsewhere.installEventFilter(&atElsewhere);
    auto send = [](QWidget *w, QEvent::Type t, Qt::MouseButton b) {
        QMouseEvent e(t, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), b,
                      t == QEvent::MouseButtonRelease ? Qt::NoButton : b, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
        send(page, t, Qt::RightButton);
        send(form->WebBrowser1, t, Qt::RightButton);
        send(&elsewhere, t, Qt::RightButton);
    }
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5));
    QApplication::sendEvent(page, &menu);
    EXPECT_TRUE(atPage.types.empty());
    EXPECT_EQ(atView.types.size(), 3u);
    EXPECT_EQ(atElsewhere.types.size(), 3u);

    send(page, QEvent::MouseButtonPress, Qt::LeftButton);
    send(page, QEvent::MouseButtonRelease, Qt::MiddleButton);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(page, &key);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5));
    QApplication::sendEvent(page, &menuKey);
    EXPECT_EQ(atPage.types, (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                                       QEvent::KeyPress, QEvent::ContextMenu}));
    page->removeEventFilter(&atPage);
    form->WebBrowser1->removeEventFilter(&atView);
}

// A right click through the window system, as a user makes it. Without the hook the page opens its menu, which
// shows the page is ready and the check can see a menu; with the hook the same click opens none.
TEST_F(About, RightClickOnThePageOpensNoMenu) {
    form->StartPage();
    form->show();
    QWindow *window = form->windowHandle();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QPoint inPage = form->WebBrowser1->geometry().center();
    auto rightClick = [&] {
        QTest::mousePress(window, Qt::RightButton, {}, inPage);
        QTest::mouseRelease(window, Qt::RightButton, {}, inPage);
    };

    qApp->removeEventFilter(form->ApplicationEvents1);
    QWidget *popup = nullptr;
    for (int attempt = 0; attempt < 20 && !popup; ++attempt) { // the page may still be rendering
        rightClick();
        (void)QTest::qWaitFor([&] { return (popup = QApplication::activePopupWidget()) != nullptr; }, 500);
    }
    qApp->installEventFilter(form->ApplicationEvents1);
    ASSERT_NE(popup, nullptr);
    popup->close();
    // QTRY_* would return silently from a GoogleTest body on a timeout.
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 5000));

    rightClick();
    QTest::qWait(1500);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    form->hide();
}
