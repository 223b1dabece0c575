// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Messages.h"

#include "platform/Application.h"

#include "text/AppTitle.h"
#include "text/Gbk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QScreen>

namespace velmora {

namespace {
MessageInterceptor &interceptor() {
    static MessageInterceptor current;
    return current;
}

// Centres itself on the screen once its size is known, which is only at showing.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override {
        QMessageBox::showEvent(event);
        QScreen *screen = QGuiApplication::primaryScreen();
        if (!screen)
            return;
        QRect area = screen->geometry();
        QRect frame = frameGeometry();
        move(std::max(0, area.x() + (area.width() - frame.width()) / 2),
             std::max(0, area.y() + (area.height() - frame.height()) / 2));
    }
};

struct ButtonDef {
    int flag;
    const char *captionUtf8;
    int result;
};
// Left to right in this order, each only if requested.
constexpr ButtonDef kButtons[] = {
    {mbYes, "是(&Y)", mrYes}, {mbNo, "否(&N)", mrNo}, {mbOK, "确定", mrOk}, {mbCancel, "取消", mrCancel}};

QString captionFor(MsgType type) {
    switch (type) {
    case MsgType::Warning:
        return QStringLiteral("警告");
    case MsgType::Error:
        return QStringLiteral("错误");
    case MsgType::Information:
        return QStringLiteral("提示");
    case MsgType::Confirmation:
        return QStringLiteral("确认");
    }
    return {};
}

QMessageBox::Icon iconFor(MsgType type) {
    switch (type) {
    case MsgType::Warning:
        return QMessageBox::Warning;
    case MsgType::Error:
        return QMessageBox::Critical;
    case MsgType::Information:
        return QMessageBox::Information;
    case MsgType::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

int runBox(QMessageBox &box) {
    keepOver(&box, QApplication::activeWindow());
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    if (!clicked)
        return mrCancel;
    return clicked->property("velmoraResult").toInt();
}

QMessageBox *buildBox(QMessageBox::Icon icon, const QString &caption, const std::string &text, int buttons) {
    auto *box = new CentredMessageBox(icon, caption, fromGbk(text), QMessageBox::NoButton, nullptr);
    box->setWindowModality(Qt::ApplicationModal);
    box->setTextFormat(Qt::PlainText);
    int def = defaultResultFor(buttons), esc = cancelResultFor(buttons);
    for (const ButtonDef &b : kButtons) {
        if (!(buttons & b.flag))
            continue;
        // Roles only place the buttons; the order here is the order shown.
        QPushButton *button = box->addButton(QString::fromUtf8(b.captionUtf8), QMessageBox::ActionRole);
        button->setProperty("velmoraResult", b.result);
        if (b.result == def)
            box->setDefaultButton(button);
        if (b.result == esc)
            box->setEscapeButton(button);
    }
    return box;
}
} // namespace

void setMessageInterceptor(MessageInterceptor i) {
    interceptor() = std::move(i);
}

std::string errorBoxText(const std::string &message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

int defaultResultFor(int buttons) {
    if (buttons & mbOK)
        return mrOk;
    if (buttons & mbYes)
        return mrYes;
    return 0;
}

int cancelResultFor(int buttons) {
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    if (buttons & mbOK)
        return mrOk;
    return 0;
}

void showErrorBox(const std::string &message) {
    std::string text = errorBoxText(message);
    if (interceptor()) {
        interceptor()({ShownMessage::ErrorBox, MsgType::Error, applicationTitle(), text, mbOK, mrOk, mrOk});
        return;
    }
    std::unique_ptr<QMessageBox> box(buildBox(QMessageBox::Critical, applicationTitle(), text, mbOK));
    runBox(*box);
}

QMessageBox *buildMessageDialog(const std::string &text, MsgType type, int buttons) {
    return buildBox(iconFor(type), captionFor(type), text, buttons);
}

int messageDlg(const std::string &text, MsgType type, int buttons) {
    if (interceptor())
        return interceptor()({ShownMessage::Dialog, type, captionFor(type), text, buttons, defaultResultFor(buttons),
                              cancelResultFor(buttons)});
    std::unique_ptr<QMessageBox> box(buildMessageDialog(text, type, buttons));
    return runBox(*box);
}

void showMessage(const std::string &text) {
    if (interceptor()) {
        interceptor()({ShownMessage::Plain, MsgType::Information, applicationTitle(), text, mbOK, mrOk, mrOk});
        return;
    }
    std::unique_ptr<QMessageBox> box(buildBox(QMessageBox::NoIcon, applicationTitle(), text, mbOK));
    runBox(*box);
}

} // namespace velmora
