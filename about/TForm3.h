// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog: a short description, the About page in an embedded view, and the application-wide hook
// that keeps the right mouse button away from that page.
#pragma once

#include "platform/Application.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;

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
    void FormCreate();   // sets the description and makes the page's address
    void Button1Click(); // closes the dialog
    // Drops the right button's press, release and double-click (and the menu request they raise) inside the
    // page; everything else passes.
    void ApplicationEvents1Message(QObject *target, QEvent *msg, bool &Handled);

    // Makes the page's view from the web module and requests the About page; once, and only when the creation
    // handler made an address. The program calls it after the main window's first paint; showing the dialog
    // calls it too, in case that has not happened yet. When the view cannot be had, a short note takes its
    // place, standard error says why, and the rest of the program goes on.
    void StartPage();

    QGroupBox *GroupBox1; // "关于软件", around the description
    QLabel *Label1;       // the two-line description
    QPushButton *Button1; // "返回": closes the dialog
    // The page's view once started; until then an empty placeholder in its place, and the note when the page
    // cannot be shown.
    QWidget *WebBrowser1 = nullptr;
    ApplicationEvents *ApplicationEvents1;

    // Host of the About page, the build-time setting; a test may change it before the creation handler runs.
    std::string pageHost;
    // True once the view exists (false with the note, and before StartPage).
    bool pageShown() const { return pageShown_; }

    void setVisible(bool visible) override;

private:
    void showNote(const std::string &why);
    void placeView(QWidget *view);

    QUrl pageUrl_;
    bool started_ = false;
    bool pageShown_ = false;
};

} // namespace velmora
