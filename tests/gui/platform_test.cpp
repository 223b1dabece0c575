// SPDX-License-Identifier: GPL-3.0-or-later
// The application layer: error box, message dialogs, title rule, forms, modal centring, fonts, clipboard.
#include "MessageCapture.h"
#include "platform/Application.h"
#include "platform/Shell.h"
#include "platform/WidgetText.h"
#include "text/AppTitle.h"
#include "text/Gbk.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::MessageCapture;

TEST(ErrorBox, PeriodRule) {
    EXPECT_EQ(errorBoxText(gbk("数据库")), gbk("数据库") + "."); // ends in a double-byte character
    EXPECT_EQ(errorBoxText("Failed"), "Failed.");
    EXPECT_EQ(errorBoxText("Error 5"), "Error 5.");
    EXPECT_EQ(errorBoxText("Done."), "Done.");
    EXPECT_EQ(errorBoxText("(x)"), "(x)");
    EXPECT_EQ(errorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(errorBoxText("trailing "), "trailing ");
    EXPECT_EQ(errorBoxText("line\r\n"), "line\r\n");
    EXPECT_EQ(errorBoxText("a-"), "a-"); // '-' sorts below '.'
    EXPECT_EQ(errorBoxText("a/"), "a/.");
    EXPECT_EQ(errorBoxText(""), "");
}

TEST(AppTitle, CutAtFirstDotAndLowerCased) {
    EXPECT_EQ(titleFromProgramPath("/usr/bin/velmora"), "velmora");
    EXPECT_EQ(titleFromProgramPath("/opt/x/Velmora.Bin.EXE"), "Velmora");
    EXPECT_EQ(titleFromProgramPath("BUSQUERY.exe"), "Busquery");
    EXPECT_EQ(titleFromProgramPath("a.b.c"), "a");
    EXPECT_EQ(titleFromProgramPath("./mY.app"), "my");
    EXPECT_EQ(titleFromProgramPath(".hidden"), "");
    EXPECT_EQ(applicationTitle(), "test_platform");
}

TEST(MessageDialogs, DefaultAndCancelButtonsForEachSet) {
    struct Case {
        int buttons, def, esc;
    } cases[] = {
        {mbOK, mrOk, mrOk},
        {mbOK | mbCancel, mrOk, mrCancel},
        {mbYes | mbNo, mrYes, mrNo},
        {mbYes | mbNo | mbCancel, mrYes, mrCancel},
        {mbYes | mbNo | mbOK | mbCancel, mrOk, mrCancel},
        {mbYes, mrYes, 0},
        {mbNo, 0, mrNo},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(defaultResultFor(c.buttons), c.def) << c.buttons;
        EXPECT_EQ(cancelResultFor(c.buttons), c.esc) << c.buttons;
    }
}

TEST(MessageDialogs, BuiltBoxHasCaptionsIconsAndButtonsInOrder) {
    std::unique_ptr<QMessageBox> box(
        buildMessageDialog(gbk("查询方式或输入内容是否有误?"), MsgType::Confirmation, mbYes | mbNo | mbOK | mbCancel));
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("确认"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->text(), QString::fromUtf8("查询方式或输入内容是否有误?"));
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    QStringList captions;
    for (QAbstractButton *b : box->buttons())
        captions << b->text();
    EXPECT_EQ(captions, (QStringList{"是(&Y)", "否(&N)", "确定", "取消"}));
    EXPECT_EQ(box->defaultButton()->text(), QString::fromUtf8("确定"));
    EXPECT_EQ(box->escapeButton()->text(), QString::fromUtf8("取消"));

    struct {
        MsgType type;
        const char *caption;
        QMessageBox::Icon icon;
    } kinds[] = {{MsgType::Warning, "警告", QMessageBox::Warning},
                 {MsgType::Error, "错误", QMessageBox::Critical},
                 {MsgType::Information, "提示", QMessageBox::Information}};
    for (const auto &k : kinds) {
        std::unique_ptr<QMessageBox> b(buildMessageDialog("x", k.type, mbOK));
        EXPECT_EQ(b->windowTitle(), QString::fromUtf8(k.caption));
        EXPECT_EQ(b->icon(), k.icon);
    }
}

TEST(MessageDialogs, ARealBoxIsCentredOnTheScreenAndAnswersWithTheButtonsResult) {
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QRect screen = QGuiApplication::primaryScreen()->geometry();
        QPoint centre = box->frameGeometry().center();
        EXPECT_LE(std::abs(centre.x() - screen.center().x()), 2);
        EXPECT_LE(std::abs(centre.y() - screen.center().y()), 2);
        for (QAbstractButton *b : box->buttons())
            if (b->text() == QString::fromUtf8("否(&N)"))
                b->click();
    });
    EXPECT_EQ(messageDlg("?", MsgType::Confirmation, mbYes | mbNo), mrNo);
}

TEST(MessageDialogs, InterceptorAnswersInsteadOfAPerson) {
    MessageCapture capture;
    capture.answerNext(mrCancel);
    EXPECT_EQ(messageDlg("a", MsgType::Warning, mbOK | mbCancel), mrCancel);
    EXPECT_EQ(messageDlg("b", MsgType::Warning, mbOK | mbCancel), mrOk);
    showMessage("plain");
    ASSERT_EQ(capture.shown().size(), 3u);
    EXPECT_EQ(capture.shown()[0].caption, QString::fromUtf8("警告"));
    EXPECT_EQ(capture.shown()[2].kind, ShownMessage::Plain);
    EXPECT_EQ(capture.shown()[2].caption, "test_platform");
}

namespace {
struct ThrowingForm : QWidget {
    bool created = false;
    void FormCreate() {
        created = true;
        throw Exception("Form failed");
    }
};
} // namespace

TEST(Forms, CreationHandlerExceptionIsShownAndTheFormStillExists) {
    MessageCapture capture;
    std::unique_ptr<ThrowingForm> form(createForm<ThrowingForm>());
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->created);
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.errors()[0], "Form failed.");
    EXPECT_EQ(capture.shown()[0].caption, "test_platform");
}

TEST(Forms, ExceptionInAnEventHandlerIsShownAndTheProgramGoesOn) {
    MessageCapture capture;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [] { runHandler([] { throw Exception("Handler failed"); }); });
    button.click();
    button.click();
    EXPECT_EQ(capture.errors(), (std::vector<std::string>{"Handler failed.", "Handler failed."}));
}

TEST(Forms, NotifyCatchesWhatAnEventHandlerLetsOut) {
    MessageCapture capture;
    struct Thrower : QObject {
        bool event(QEvent *e) override {
            if (e->type() == QEvent::User)
                throw Exception("Out of an event");
            return QObject::event(e);
        }
    } target;
    QEvent ev(QEvent::User);
    QApplication::sendEvent(&target, &ev);
    EXPECT_EQ(capture.errors(), (std::vector<std::string>{"Out of an event."}));
}

TEST(Modal, CentringRule) {
    EXPECT_EQ(centredOver(QRect(100, 50, 680, 620), QSize(420, 270)), QPoint(230, 225));
    EXPECT_EQ(centredOver(QRect(0, 0, 100, 100), QSize(301, 101)), QPoint(0, 0)); // negatives raised to 0
    EXPECT_EQ(centredOver(QRect(10, 10, 101, 100), QSize(100, 100)), QPoint(10, 10));
}

TEST(Modal, FirstShowingCentresLaterShowingsKeepThePosition) {
    QWidget mainWindow;
    mainWindow.setGeometry(200, 150, 664, 588);
    mainWindow.show();
    ModalForm dialog;
    dialog.setFixedSize(405, 232);
    QPoint first, second;
    QTimer::singleShot(50, [&] {
        first = dialog.frameGeometry().topLeft();
        dialog.move(10, 20);
        dialog.Close();
    });
    EXPECT_EQ(dialog.ShowModal(&mainWindow), 2);
    QTimer::singleShot(50, [&] {
        second = dialog.pos();
        dialog.reject(); // the close box
    });
    EXPECT_EQ(dialog.ShowModal(&mainWindow), 2);
    QRect mainFrame = mainWindow.frameGeometry();
    QPoint expected = centredOver(mainFrame, dialog.size() + (mainFrame.size() - mainWindow.size()));
    EXPECT_LE((first - expected).manhattanLength(), 4) << first.x() << "," << first.y();
    EXPECT_EQ(second, QPoint(10, 20));
}

TEST(Fonts, ProgramFontNamesMapToFacesWithChineseGlyphs) {
    QFontInfo song(programFont("宋体", 16));
    EXPECT_TRUE(song.family().contains("UMing")) << song.family().toStdString();
    EXPECT_EQ(song.pixelSize(), 16);
    QFontInfo sans(programFont("MS Sans Serif", 11));
    EXPECT_TRUE(sans.family().contains("WenQuanYi")) << sans.family().toStdString();
}

TEST(Clipboard, HoldsUnicodeTextAndNulTerminatedGbk) {
    setClipboardGbk(gbk("北京 1路\r\n"));
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QString::fromUtf8("北京 1路\r\n"));
    QByteArray raw = data->data("text/plain;charset=GBK");
    EXPECT_EQ(raw, QByteArray("\xb1\xb1\xbe\xa9 1\xc2\xb7\r\n", 10) + QByteArray(1, '\0'));
}

TEST(WidgetText, TextsGoBackAsTheExactBytesTheyCameAs) {
    const std::string bytes = "Z\xffz\x81"; // not GBK: shown with replacement characters
    ASSERT_NE(toGbk(fromGbk(bytes)), bytes);
    QLabel label;
    QGroupBox box;
    setCaption(&label, bytes);
    setCaption(&box, bytes);
    EXPECT_EQ(caption(&label), bytes);
    EXPECT_EQ(caption(&box), bytes);
    box.setTitle(QString::fromUtf8("北京")); // changed some other way: the shown text counts
    EXPECT_EQ(caption(&box), gbk("北京"));

    QComboBox combo;
    appendItem(&combo, bytes);
    EXPECT_EQ(itemText(&combo, 0), bytes);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(itemText(&combo, 1), "");

    EXPECT_EQ(gbkItemData(bytes, Qt::DisplayRole).toString(), fromGbk(bytes));
    EXPECT_EQ(gbkItemData(bytes, GbkBytesRole).toByteArray().toStdString(), bytes);
    EXPECT_FALSE(gbkItemData(bytes, Qt::ToolTipRole).isValid());
}
