// Input as the window system delivers it: clicks and keys go through the main window's native window, so a
// grab or a lost event shows up here as it would on a desktop.
#include "MainWindowFixture.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QSignalSpy>
#include <QWindow>

using namespace velmora;
using velmora::test::busRow;
using velmora::test::G;
using velmora::test::MainWindow;
using velmora::test::storedCity;

namespace {
const std::vector<std::string> kStations = {
    storedCity("上海", "2"),
    busRow("1", "2", "1路", "育才小学-->火车站", "育才小学,解放广场,火车站", "", "空调"),
};

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.push_back(url); }
};

// Types `text` into whatever has the keyboard in the window, one character at a time.
void typeInto(QWindow *window, const char *utf8) {
    for (QChar c : QString::fromUtf8(utf8))
        QTest::sendKeyEvent(QTest::Click, window, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void clickOn(QWidget *w) {
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
}
} // namespace

TEST_F(MainWindow, ASuggestionListNeverSwallowsTheNextClickOrTyping) {
    start(kStations);
    showForm();
    form->N4Click();
    QWindow *window = form->windowHandle();
    form->activateWindow();
    form->q1->setFocus();
    typeInto(window, "育才小");
    ASSERT_TRUE(form->q1->completer()->popup()->isVisible());
    clickOn(form->q2); // the click reaches the other box, which goes on taking the typing
    EXPECT_FALSE(form->q1->completer()->popup()->isVisible());
    typeInto(window, "火车");
    EXPECT_EQ(form->q1->text(), QString::fromUtf8("育才小"));
    EXPECT_EQ(form->q2->text(), QString::fromUtf8("火车"));

    typeInto(window, "站");
    ASSERT_TRUE(form->q2->completer()->popup()->isVisible());
    QSignalSpy pressed(form->Button1, &QPushButton::clicked);
    clickOn(form->Button1); // one click closes the list and runs the query
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_FALSE(form->q2->completer()->popup()->isVisible());
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 1);

    // The list still takes its own keys from the box: Down and Return pick a suggestion.
    form->q1->clear();
    form->q1->setFocus();
    typeInto(window, "育");
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_EQ(form->q1->text(), QString::fromUtf8("育才小学"));
    EXPECT_FALSE(form->q1->completer()->popup()->isVisible());
}

TEST_F(MainWindow, TheKeyboardReachesButtonsLinksTheDetailsMenuAndCopiesWholeRows) {
    UrlCatcher catcher;
    QString scheme = QUrl(QString::fromLatin1(kSiteBase)).scheme();
    QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    start(kStations);
    showForm();
    form->activateWindow();
    QWindow *window = form->windowHandle();
    form->q1->setText("1");
    QSignalSpy pressed(form->Button1, &QPushButton::clicked);
    form->Button1->setFocus();
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 1);
    form->Button1->setFocus(); // the query moved the focus to the grid
    QTest::keyClick(window, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(pressed.count(), 2);

    // After the grid (the specified order is unchanged): the details, then the two links.
    EXPECT_EQ(form->q1->nextInFocusChain(), form->Button1);
    form->DBGridEh1->setFocus();
    std::vector<QWidget *> reached;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(window, Qt::Key_Tab);
        reached.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(reached, (std::vector<QWidget *>{form->xxxx, form->Label1, form->Label2}));
    QTest::keyClick(window, Qt::Key_Return);
    QDesktopServices::unsetUrlHandler(scheme);
    ASSERT_EQ(catcher.opened.size(), 1u);
    EXPECT_EQ(catcher.opened[0].toString().toStdString(), std::string(kSiteBase) + "/");

    form->xxxx->setFocus();
    for (auto [key, mods] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()}, {Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(window, key, mods);
        EXPECT_TRUE(form->PopupMenu1->isVisible()) << key;
        form->PopupMenu1->close();
    }

    form->DBGridEh1->setFocus();
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    const std::string row = G("1路\t育才小学-->火车站\t空调");
    QByteArray gbk = QGuiApplication::clipboard()->mimeData()->data("text/plain;charset=GBK");
    EXPECT_EQ(std::string(gbk.constData(), std::size_t(gbk.size())), row + std::string(1, '\0'));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), fromGbk(row));
}

#include "desktop_input_test.moc"
