// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Application.h"

#include "platform/KeyboardAccess.h"
#include "skins/format/SkinNotice.h"

#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>

// The icon's resource lives in a static library; naming its initialiser keeps it in the link.
static void initIconResource() {
    Q_INIT_RESOURCE(velmora_icon);
}

namespace velmora {

void reportException(const std::exception &e) {
    if (auto *own = dynamic_cast<const Exception *>(&e))
        showErrorBox(own->message());
    else
        showErrorBox(e.what());
}

namespace {
// The desktop entry's id: Wayland compositors and docks match the windows' app id against it.
const char kDesktopEntryId[] = "com.example.Velmora";

QIcon programIcon() {
    initIconResource();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velmora/icon/%1.png").arg(size), QSize(size, size));
    return icon;
}
} // namespace

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {
    setDesktopFileName(QString::fromLatin1(kDesktopEntryId));
    setWindowIcon(programIcon()); // every window's, the dialogs' and message boxes' too
    installKeyboardAccess(this);
    // The skin-package code reports an old or damaged package in the program's plain message box.
    setSkinNoticeSink([](const std::string &text) { showMessage(text); });
}

bool Application::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportException(e);
    } catch (...) {
        reportException(Exception("Unknown error"));
    }
    return false;
}

void installFontSubstitutions() {
    // A Song (Ming) face for the program's Song font, a sans face with Chinese glyphs for its sans font.
    QFont::insertSubstitutions(
        QStringLiteral("宋体"),
        {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"), QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
}

QFont programFont(const char *family, int height) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(height);
    return font;
}

ModalForm::ModalForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setModal(true);
}

QPoint centredOver(const QRect &mainFrame, const QSize &dialogFrame) {
    // div truncates toward zero, as C++ integer division does.
    int left = mainFrame.left() + (mainFrame.width() - dialogFrame.width()) / 2;
    int top = mainFrame.top() + (mainFrame.height() - dialogFrame.height()) / 2;
    return QPoint(std::max(0, left), std::max(0, top));
}

void ModalForm::keyPressEvent(QKeyEvent *e) {
    switch (e->key()) {
    case Qt::Key_Escape:
        e->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        e->accept();
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}

void keepOver(QWidget *dialog, QWidget *mainWindow) {
    // Window managers and compositors keep a dialog over its main window, and those that place windows
    // (all of them on Wayland) centre it there.
    if (!mainWindow || !mainWindow->window()->windowHandle())
        return;
    dialog->winId();
    dialog->windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
}

int ModalForm::ShowModal(QWidget *mainWindow) {
    if (!shownBefore_ && mainWindow) {
        // The dialog has no frame before its first showing; take the main window's frame widths for it.
        QRect mainFrame = mainWindow->frameGeometry();
        QSize extra = mainFrame.size() - mainWindow->geometry().size();
        QPoint outer = centredOver(mainFrame, size() + extra);
        move(outer);
    }
    shownBefore_ = true;
    keepOver(this, mainWindow);
    return exec();
}

} // namespace velmora
