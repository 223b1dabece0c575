// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeyboardAccess.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace velmora {

namespace {

bool isMenuRequest(const QKeyEvent *e) {
    Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    return (e->key() == Qt::Key_Menu && mods == Qt::NoModifier) ||
           (e->key() == Qt::Key_F10 && mods == Qt::ShiftModifier);
}

bool isPress(const QKeyEvent *e) {
    Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && mods == Qt::NoModifier;
}

// Where a keyboard menu opens: at the text cursor or current item when the control has one, else mid-control.
QPoint menuPoint(QWidget *w) {
    QRect cursor = w->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return cursor.isValid() && w->rect().contains(cursor.center()) ? cursor.center() : w->rect().center();
}

class KeyboardAccess : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = static_cast<QWidget *>(watched);
        // Only the control the key was sent to, not its parents as the key goes up unhandled.
        if (widget->window()->focusWidget() != widget || key->isAutoRepeat())
            return false;
        if (isPress(key)) {
            auto *button = qobject_cast<QPushButton *>(widget);
            if (!button || !button->isEnabled())
                return false;
            button->click();
            return true;
        }
        if (isMenuRequest(key)) {
            QPoint at = menuPoint(widget);
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, widget->mapToGlobal(at), key->modifiers());
            QCoreApplication::sendEvent(widget, &menu);
            return true;
        }
        return false;
    }
};

} // namespace

void installKeyboardAccess(QApplication *app) {
    app->installEventFilter(new KeyboardAccess(app));
}

} // namespace velmora
