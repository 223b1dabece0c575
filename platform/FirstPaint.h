// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a function once, just after a widget's first paint has been handled (so what it painted is on its way to
// the screen before the function runs).
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace velmora {

class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(QWidget *widget, std::function<void()> run) : QObject(widget), run_(std::move(run)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                run_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> run_;
};

// Watchers run in the reverse order of their installing: the last one installed sees the paint first.
inline void afterFirstPaint(QWidget *widget, std::function<void()> run) {
    new FirstPaintWatcher(widget, std::move(run));
}

} // namespace velmora
