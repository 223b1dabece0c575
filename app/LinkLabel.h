// SPDX-License-Identifier: GPL-3.0-or-later
// Labels the keyboard reaches: TFocusLabel takes the focus by Tab and shows it; TLinkLabel reports a click,
// the left button pressed and released over it, or Return, Enter or Space while it has the focus.
#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace velmora {

class TFocusLabel : public QLabel {
    Q_OBJECT
public:
    explicit TFocusLabel(const QString &text = QString(), QWidget *parent = nullptr) : QLabel(text, parent) {
        setFocusPolicy(Qt::TabFocus); // a click does not take the focus from the boxes
    }
    explicit TFocusLabel(QWidget *parent) : TFocusLabel(QString(), parent) {}

protected:
    void paintEvent(QPaintEvent *event) override {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter p(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(backgroundRole());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
};

class TLinkLabel : public TFocusLabel {
    Q_OBJECT
public:
    using TFocusLabel::TFocusLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override {
        pressed_ = event->button() == Qt::LeftButton;
        QLabel::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override {
        bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
        pressed_ = false;
        QLabel::mouseReleaseEvent(event);
        if (click)
            emit clicked();
    }
    void keyPressEvent(QKeyEvent *event) override {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!event->isAutoRepeat())
                emit clicked();
            event->accept();
            return;
        default:
            QLabel::keyPressEvent(event);
        }
    }

private:
    bool pressed_ = false;
};

} // namespace velmora
