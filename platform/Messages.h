// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes: the error box, the message dialogs and the plain message box.
// Every box goes through here, so a test can answer boxes instead of a person.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <string>

namespace velmora {

enum class MsgType { Warning, Error, Information, Confirmation };

// Buttons, as a set of flags; results as the program knows them.
enum MsgButton { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
enum MsgResult { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// What a box would show, given to a test's interceptor.
struct ShownMessage {
    enum Kind { ErrorBox, Dialog, Plain } kind;
    MsgType type; // for Dialog
    QString caption;
    std::string text;  // GBK bytes as the program holds them
    int buttons;       // MsgButton flags
    int defaultResult; // result of Enter
    int cancelResult;  // result of Esc
};

// While set, boxes are not shown: the interceptor sees each one and its return value is the box's result.
using MessageInterceptor = std::function<int(const ShownMessage &)>;
void setMessageInterceptor(MessageInterceptor interceptor);

// The error box's text: the message, with "." appended when it is not empty and its last byte is above ".".
std::string errorBoxText(const std::string &message);

// Shows the error box: application title as caption, stop icon, one OK button, modal to the whole program.
void showErrorBox(const std::string &message);

// A message dialog, modal, centred on the screen. Returns the result of the pressed button.
int messageDlg(const std::string &text, MsgType type, int buttons);

// The plain message box: text, one OK button, no icon, the application title as caption.
void showMessage(const std::string &text);

// Builds (does not show) the box that messageDlg would show; for tests and for the skin engine's look.
QMessageBox *buildMessageDialog(const std::string &text, MsgType type, int buttons);

// Default and cancel results for a set of buttons.
int defaultResultFor(int buttons);
int cancelResultFor(int buttons);

} // namespace velmora
