// SPDX-License-Identifier: GPL-3.0-or-later
// Input as the window system delivers it: clicks and keys go through the main window's native window, so a
// grab or a lost event shows up here as it would on a desktop.
#include "MainWindowFixture.h"
#include "UrlCatcher.h"

#include "city/TForm2.h"
#include "skins/engine/SkinCaption.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QCompleter>
#include <QSignalSpy>
#include <QWindow>

using namespace velmora;
using velmora::test::busRow;
using velmora::test::G;
using velmora::test::MainWindow;
using velmora::test::storedCity;
using velmora::test::UrlCatcher;

namespace {
const std::vector<std::string> kStations = {
    storedCity("上海", "2"),
    busRow("1", "2", "1路", "育才小学-->火车站", "育才小学,解放广场,火车站", "", "空调"),
};

// Types `text` into whatever has the keyboard in the window, one character at a time.
void typeInto(QWindow *window, const char *utf8) {
    for (QChar c : QString::fromUtf8(utf8))
        QTest::sendKeyEvent(QTest::Click, window, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Suggestions are matched off the window's thread: the list shows once the match comes back.
bool suggestionsShown(QLineEdit *box) {
    return QTest::qWaitFor([box] { return box->completer()->popup()->isVisible(); }, 5000);
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
    ASSERT_TRUE(suggestionsShown(form->q1));
    clickOn(form->q2); // the click reaches the other box, which goes on taking the typing
    EXPECT_FALSE(form->q1->completer()->popup()->isVisible());
    typeInto(window, "火车");
    EXPECT_EQ(form->q1->text(), QString::fromUtf8("育才小"));
    EXPECT_EQ(form->q2->text(), QString::fromUtf8("火车"));

    typeInto(window, "站");
    ASSERT_TRUE(suggestionsShown(form->q2));
    QSignalSpy pressed(form->Button1, &QPushButton::clicked);
    clickOn(form->Button1); // one click closes the list and runs the query
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_FALSE(form->q2->completer()->popup()->isVisible());
    EXPECT_EQ(form->DBGridEh1->model()->rowCount(), 1);

    // The list still takes its own keys from the box: Down and Return pick a suggestion.
    form->q1->clear();
    form->q1->setFocus();
    typeInto(window, "育");
    ASSERT_TRUE(suggestionsShown(form->q1));
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

namespace {
QString nameOf(QObject *o) {
    return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
}
} // namespace

TEST_F(MainWindow, ScreenReadersHearWhatEachControlIsFor) {
    start(kStations);
    showForm();
    EXPECT_EQ(nameOf(form->q1), QString::fromUtf8("起点站"));
    EXPECT_EQ(nameOf(form->q2), QString::fromUtf8("终点站"));
    form->N2Click();
    EXPECT_EQ(nameOf(form->q1), QString::fromUtf8("线路名称"));
    form->N3Click();
    EXPECT_EQ(nameOf(form->q1), QString::fromUtf8("站点名称"));
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(form->q1);
    std::vector<QObject *> labels;
    for (const auto &relation : box->relations(QAccessible::Label))
        labels.push_back(relation.first->object());
    EXPECT_EQ(std::count(labels.begin(), labels.end(), form->sm1), 1);
    EXPECT_EQ(nameOf(form->sm1), form->sm1->text()); // Qt's own names stay: a label's text, a group's title
    EXPECT_EQ(nameOf(form->GroupBox1), form->GroupBox1->title());

    QAccessibleInterface *group = QAccessible::queryAccessibleInterface(form->GroupBox1);
    std::vector<QObject *> children;
    for (int i = 0; i < group->childCount(); ++i)
        children.push_back(group->child(i)->object());
    EXPECT_EQ(std::count(children.begin(), children.end(), form->Button200), 0);
    EXPECT_EQ(std::count(children.begin(), children.end(), form->q1), 1);
    EXPECT_EQ(group->indexOfChild(box), int(std::find(children.begin(), children.end(), form->q1) - children.begin()));

    UrlCatcher catcher;
    QString scheme = QUrl(QString::fromLatin1(kSiteBase)).scheme();
    QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(form->Label2);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), form->Label2->text());
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(catcher.opened.size(), 1u);

    auto *caption = form->findChild<SkinCaption *>();
    ASSERT_NE(caption, nullptr); // the start-up skin paints the caption
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(caption);
    QStringList buttons;
    for (int i = 0; i < bar->childCount(); ++i) {
        EXPECT_EQ(bar->child(i)->role(), QAccessible::Button);
        EXPECT_TRUE(bar->rect().contains(bar->child(i)->rect()));
        buttons << bar->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("最小化"), QStringLiteral("关闭")}));

    TForm2 dialog;
    EXPECT_EQ(nameOf(dialog.ComboBox1), QString::fromUtf8("省份"));
    EXPECT_EQ(nameOf(dialog.ComboBox2), QString::fromUtf8("城市"));
    EXPECT_EQ(dialog.Label1->buddy(), static_cast<QWidget *>(dialog.ComboBox1));
}
