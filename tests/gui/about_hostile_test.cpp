// SPDX-License-Identifier: GPL-3.0-or-later
// The About page written by whoever is on the network path: no dialogs, windows, drops or navigations away,
// the user's clicks opening only the links clicked, and the note when the page's renderer dies.
#include "AboutWeb.h"
#include "WindowTest.h"
#include "about/TForm3.h"

#include <QApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>

using namespace velmora;
using velmora::test::LocalWeb;
using velmora::test::OpenedUrls;
using velmora::test::pageWidget;

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
