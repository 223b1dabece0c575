// The About dialog: a short description, the About page in an embedded view, and the application-wide hook
// that keeps the right mouse button away from that page.
#pragma once

#include "platform/Application.h"

#include <QObject>
#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QWebEngineView;

namespace velmora {

// An application-wide message hook: sees every event of the program before its receiver does, and drops the
// event when the handler sets `handled`.
class ApplicationEvents : public QObject {
public:
    using MessageHandler = std::function<void(QObject *target, QEvent *event, bool &handled)>;
    ApplicationEvents(QObject *owner, MessageHandler onMessage);
    ~ApplicationEvents() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MessageHandler onMessage_;
};

class TForm3 : public ModalForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;
    void FormCreate();
    void Button1Click();
    // Drops the right button's press, release and double-click (and the menu request they raise) inside the
    // page; everything else passes.
    void ApplicationEvents1Message(QObject *target, QEvent *msg, bool &Handled);

    QGroupBox *GroupBox1;
    QLabel *Label1;
    QPushButton *Button1;
    QWebEngineView *WebBrowser1;
    ApplicationEvents *ApplicationEvents1;

    // Host of the About page, the build-time setting; a test may change it before the creation handler runs.
    std::string pageHost;

protected:
};

} // namespace velmora
