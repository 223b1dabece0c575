// The About dialog: its controls, the page requested once, and the hook that keeps the right button away
// from the page.
#include "MessageCapture.h"
#include "WindowTest.h"
#include "about/AboutHook.h"
#include "about/PageModule.h"
#include "about/TForm3.h"
#include "platform/Gbk.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <map>
#include <signal.h>

using namespace velmora;
using velmora::test::MessageCapture;

namespace {

// A web server on the loopback: serves pages by path and records every path asked for, with its host.
class LocalWeb : public QObject {
public:
    LocalWeb() {
        server_.listen(QHostAddress::Any);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    quint16 port() const { return server_.serverPort(); }
    std::string host(const char *address = "127.0.0.1") const {
        return std::string(address) + ":" + std::to_string(port());
    }
    std::map<QByteArray, QByteArray> pages; // path -> HTML; "<port>" in a page becomes the port
    QList<QByteArray> asked;                // "host path" of each request
    int count(const QByteArray &needle) const {
        return int(std::count_if(asked.begin(), asked.end(), [&](const QByteArray &a) { return a.contains(needle); }));
    }

private:
    void answer(QTcpSocket *socket) {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        QByteArray host;
        for (const QByteArray &line : request.split('\n'))
            if (line.toLower().startsWith("host:"))
                host = line.mid(5).trimmed();
        asked.push_back(host + " " + path);
        const auto page = pages.find(path.split('?').value(0));
        QByteArray body = page == pages.end() ? QByteArray("<html><body>velmora</body></html>") : page->second;
        body.replace("<port>", QByteArray::number(port()));
        QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n";
        if (path.startsWith("/download"))
            head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Disposition: attachment; "
                   "filename=velmora-test-download.bin\r\nConnection: close\r\n";
        socket->write(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
    QTcpServer server_;
};

// Everything a widget receives after the application's filters had their say.
struct Received : QObject {
    std::vector<QEvent::Type> types;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() != QEvent::ShortcutOverride) // a key press's forerunner
            types.push_back(e->type());
        return false;
    }
};

// Addresses given to the desktop's browser.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.push_back(url); }
};

QWidget *pageWidget(TForm3 &form) {
    return form.WebBrowser1->focusProxy();
}

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

namespace {
// Whoever is on the network path writes the About page. This one tries every way to reach out of the view.
const char kHostilePage[] = R"(<html><body style="margin:0">
<a href="http://127.0.0.2:<port>/outside" style="position:fixed;left:0;top:0;width:100%;height:30%">out</a>
<a href="http://127.0.0.2:<port>/blank" target="_blank" style="position:fixed;left:0;top:35%;width:100%;height:25%">new</a>
<a href="mailto:someone@example.com" style="position:fixed;left:0;top:65%;width:40%;height:35%">mail</a>
<p style="position:fixed;left:50%;top:65%;margin:0">click anywhere</p>
<iframe src="/download" style="display:none"></iframe>
<script>
function report(s) { fetch('/report?' + s); }
document.body.ondragover = function (e) { e.preventDefault(); };
document.body.ondrop = function (e) {
  e.preventDefault(); report('drop=1');
  e.dataTransfer.files[0].text().then(function (t) { report('dropped=' + encodeURIComponent(t)); });
};
setTimeout(function () {
  alert('x'); report('alert=returned');
  report('confirm=' + confirm('y'));
  report('leave=' + confirm('Are you sure you want to leave this page? Changes that you made may not be saved.'));
  report('prompt=' + prompt('z', 'default'));
  report('open=' + (window.open('/popup') === null));
  Notification.requestPermission().then(function (p) { report('notify=' + p); });
  setTimeout(function () { location.href = 'http://127.0.0.2:<port>/elsewhere'; }, 300);
  document.querySelector('a').focus();
  // Any input in the view, then a navigation of the script's own choosing, again and again.
  setInterval(function () { location.href = 'http://127.0.0.2:<port>/interval'; }, 100);
}, 200);
</script></body></html>)";

// Drags a file from outside onto the widget and drops it there.
void dropFile(QWidget *target, const QString &path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

} // namespace

TEST(AboutHostilePage, CannotOpenDialogsWindowsOrLeaveItsHost) {
    LocalWeb web;
    web.pages["/bustj.php"] = kHostilePage;
    OpenedUrls opened;
    std::unique_ptr<TForm3> form(new TForm3);
    form->pageHost = web.host();
    form->FormCreate();
    form->StartPage();
    ASSERT_TRUE(form->pageShown());

    ASSERT_TRUE(QTest::qWaitFor([&] { return web.count("notify=") > 0; }, 10000)) << web.asked.join('\n').constData();
    QTest::qWait(1500); // past the script's own navigations
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && qobject_cast<QDialog *>(w)) << w->metaObject()->className();
    for (const char *answer :
         {"alert=returned", "confirm=false", "leave=false", "prompt=null", "open=true", "notify=denied"})
        EXPECT_EQ(web.count(answer), 1) << answer;
    EXPECT_EQ(web.count("/popup"), 0);
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    EXPECT_FALSE(QFile::exists(downloads + "/velmora-test-download.bin"));
    EXPECT_EQ(web.count("/elsewhere"), 0);
    EXPECT_TRUE(opened.urls.isEmpty()); // a navigation the user did not make opens nothing either

    // A file dropped onto the view never reaches the page.
    QTemporaryFile secret;
    ASSERT_TRUE(secret.open());
    secret.write("secret");
    secret.flush();
    dropFile(pageWidget(*form), secret.fileName());
    QTest::qWait(1000);
    EXPECT_EQ(web.count("drop="), 0);

    // The user's clicks: each opens at most the link clicked, a link to another host in the desktop's browser
    // (also one meant for a new window); another scheme and plain text open nothing.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(1000); // the page draws into the shown window
    auto click = [&](QPoint inPage) {
        const QPoint at = form->WebBrowser1->mapTo(form.get(), inPage);
        QTest::mouseMove(form->windowHandle(), at);
        QTest::qWait(800); // the page tells which link is under the mouse
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, at);
        QTest::qWait(1500); // past the time a click counts as the user's
    };
    const std::string other = "http://127.0.0.2:" + std::to_string(web.port());
    // The keyboard: Space on the focused link is no click; Enter on it is.
    pageWidget(*form)->setFocus();
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        QTest::keyClick(form->windowHandle(), key);
        QTest::qWait(1500);
    }
    click(QPoint(400, 170)); // plain text
    click(QPoint(100, 30));
    click(QPoint(100, 170)); // mailto
    click(QPoint(100, 100)); // target=_blank
    const QUrl outside(QString::fromStdString(other + "/outside"));
    EXPECT_EQ(opened.urls, QList<QUrl>({outside, outside, QUrl(QString::fromStdString(other + "/blank"))}));
    EXPECT_EQ(web.count("/outside") + web.count("/blank") + web.count("/interval"), 0);
    EXPECT_EQ(form->WebBrowser1->property("url").toUrl().host(), "127.0.0.1");
    form->hide();
}

// A script's way to a blank page does not pass the check of other navigations; the view still stays.
TEST(AboutHostilePage, StaysOnItsHostEvenForABlankPage) {
    LocalWeb web;
    web.pages["/bustj.php"] = "<script>if (!sessionStorage.tried) { sessionStorage.tried = 1;"
                              " setTimeout(function () { location.href = 'about:blank'; }, 100); }</script>";
    std::unique_ptr<TForm3> form(new TForm3);
    form->pageHost = web.host();
    form->FormCreate();
    form->StartPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return web.count("/bustj.php") > 0; }, 10000));
    QTest::qWait(1500);
    EXPECT_EQ(form->WebBrowser1->property("url").toUrl().host(), "127.0.0.1");
}

// When the page's renderer process dies, the note takes the page's place.
TEST(AboutHostilePage, ARendererThatDiesLeavesTheNote) {
    LocalWeb web;
    std::unique_ptr<TForm3> form(new TForm3);
    form->pageHost = web.host();
    form->FormCreate();
    form->StartPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return web.count("/bustj.php") > 0; }, 10000));
    QObject *page = nullptr;
    for (QObject *child : form->WebBrowser1->findChildren<QObject *>())
        if (child->property("renderProcessPid").toLongLong() > 0)
            page = child;
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(::kill(static_cast<pid_t>(page->property("renderProcessPid").toLongLong()), SIGKILL), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return qobject_cast<QLabel *>(form->WebBrowser1) != nullptr; }, 10000));
    EXPECT_FALSE(form->pageShown());
    EXPECT_EQ(qobject_cast<QLabel *>(form->WebBrowser1)->text(),
              QString::fromUtf8("此处的网页无法显示。公交查询的其他功能不受影响。"));
}

#include "about_test.moc"
