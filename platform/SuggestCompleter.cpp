// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SuggestCompleter.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace velmora {

namespace {
// The keys a grabbing list would have taken from the box: moving in the list, taking or dismissing it.
bool isListKey(const QKeyEvent *e) {
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        return e->modifiers() & Qt::ControlModifier;
    default:
        return false;
    }
}
} // namespace

SuggestCompleter::SuggestCompleter(QAbstractItemModel *model, QObject *parent) : QCompleter(model, parent) {
    // A tool-tip window is shown without a grab and without taking the focus, on X11 and on Wayland alike.
    QAbstractItemView *list = popup();
    list->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    list->setAttribute(Qt::WA_ShowWithoutActivating);
    list_ = list;
}

bool SuggestCompleter::eventFilter(QObject *watched, QEvent *event) {
    QAbstractItemView *list = list_;
    if (list && watched == widget() && list->isVisible()) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            if (isListKey(static_cast<QKeyEvent *>(event))) {
                // Handled as the list would have handled it under a grab.
                if (event->type() == QEvent::KeyPress)
                    QCoreApplication::sendEvent(list, event);
                event->accept();
                return true;
            }
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            list->hide(); // the box is left: the click or key that left it goes on to its target
            break;
        default:
            break;
        }
    }
    return QCompleter::eventFilter(watched, event);
}

} // namespace velmora
