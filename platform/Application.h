// SPDX-License-Identifier: GPL-3.0-or-later
// The application layer: the top-level exception handler, form creation and modal showing.
#pragma once

#include "platform/Messages.h"
#include "text/Exception.h"

#include <QApplication>
#include <QDialog>
#include <string>

namespace velmora {

// Shows an exception that ended a handler in the error box; the program goes on.
void reportException(const std::exception &e);

// Runs one event handler of the program. An exception ends the handler at that point and is shown in the
// error box; it never unwinds through the toolkit's frames.
template <class F> void runHandler(F &&handler) noexcept {
    try {
        handler();
    } catch (const std::exception &e) {
        reportException(e);
    } catch (...) {
        reportException(Exception("Unknown error"));
    }
}

// The program's QApplication: catches, as a last resort, any exception an event handler lets out.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Maps the program's font names to faces that exist here; call once before any window is built.
void installFontSubstitutions();

// A font as the program names it: family, character height in pixels (the program's negative heights).
QFont programFont(const char *family, int height);

// Creates a form, then runs its creation handler; an exception from it is shown and the form still exists.
template <class Form, class... Args> Form *createForm(Args &&...args) {
    auto *form = new Form(std::forward<Args>(args)...);
    runHandler([form] { form->FormCreate(); });
    return form;
}

// Base of the program's dialogs: fixed size; closing by any way hides the dialog with result 2.
class ModalForm : public QDialog {
public:
    explicit ModalForm(QWidget *parent = nullptr);
    // Shows modally. The first showing centres the dialog over `mainWindow` (outer sizes, negatives raised
    // to 0); later showings keep the last position. Returns the modal result.
    int ShowModal(QWidget *mainWindow);
    void reject() override { done(2); }
    void Close() { done(2); }

protected:
    // The program's dialogs have no default and no cancel button: Esc does nothing, and Enter presses a push
    // button only while that button has the focus.
    void keyPressEvent(QKeyEvent *e) override;

private:
    bool shownBefore_ = false;
};

// Makes `dialog` a transient window of `mainWindow`'s window, when that window exists.
void keepOver(QWidget *dialog, QWidget *mainWindow);

// Where a dialog goes at its first showing over a main window; all rectangles are outer (frame) rectangles.
QPoint centredOver(const QRect &mainFrame, const QSize &dialogFrame);

} // namespace velmora
