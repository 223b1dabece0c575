// SPDX-License-Identifier: GPL-3.0-or-later
// A label that reports a click: the left button pressed and released over it.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace velmora {

class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

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

private:
    bool pressed_ = false;
};

} // namespace velmora
