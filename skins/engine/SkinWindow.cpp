// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/engine/SkinWindow.h"

#include "skins/engine/SkinCaption.h"
#include "skins/engine/SkinData.h"
#include "skins/engine/SkinTheme.h"

#include <QApplication>
#include <QLayout>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace velmora {

namespace {

bool isDecoration(const QWidget *w) {
    return w->property("velmoraSkinFrame").toBool();
}

QPalette solidPalette(const QPalette &from) {
    QPalette p;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            auto group = static_cast<QPalette::ColorGroup>(g);
            auto role = static_cast<QPalette::ColorRole>(r);
            p.setBrush(group, role, from.brush(group, role));
        }
    return p;
}

// Widgets recompute their sizes and metrics from the style after a change of skin.
void restyle(QWidget *window) {
    QList<QWidget *> all = window->findChildren<QWidget *>();
    all.prepend(window);
    for (QWidget *w : all) {
        QEvent change(QEvent::StyleChange);
        QCoreApplication::sendEvent(w, &change);
        w->updateGeometry();
        w->update();
    }
}

} // namespace

// The window frame's sides: left, right and bottom.
class SkinFrameSideWidget : public QWidget {
public:
    enum Side { Left, Right, Bottom };
    SkinFrameSideWidget(SkinnedWindow *owner, QWidget *window, Side side)
        : QWidget(window), owner_(owner), side_(side) {
        setProperty("velmoraSkinFrame", true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        const SkinTheme *theme = owner_->theme();
        if (!theme)
            return;
        QPainter p(this);
        const SkinPersonality &pe = theme->skin.personality;
        int frame = owner_->window()->isActiveWindow() ? 0 : 1;
        p.fillRect(rect(), theme->palette.color(QPalette::Window));
        if (side_ == Bottom) {
            // The bottom side's ends are the window's corners; paint it at the window's full width.
            drawFrameSide(&p, QRect(-x(), 0, parentWidget()->width(), height()), pe.bottom, frame, false);
        } else {
            drawFrameSide(&p, rect(), side_ == Left ? pe.left : pe.right, frame, true);
        }
    }

private:
    SkinnedWindow *owner_;
    Side side_;
};

SkinnedWindow::SkinnedWindow(QWidget *window, TSkinData *engine)
    : window_(window), watched_(window), engine_(engine), theme_(engine->theme()) {
    flags_ = window->windowFlags();
    contentMargins_ = window->contentsMargins();
    minSize_ = window->minimumSize();
    maxSize_ = window->maximumSize();
    hadPalette_ = window->testAttribute(Qt::WA_SetPalette);
    palette_ = window->palette();
    hadMask_ = !window->mask().isEmpty();
    shiftsChildren_ = window->layout() == nullptr;
    for (QWidget *c : window->findChildren<QWidget *>()) {
        if (carriesTag(c, engine->DisableTag)) {
            kept_.push_back({c, c->testAttribute(Qt::WA_SetPalette), c->palette()});
            c->setPalette(solidPalette(c->palette()));
        }
    }

    window->overrideWindowFlags(flags_ | Qt::FramelessWindowHint);
    if (QWindow *handle = window->windowHandle())
        handle->setFlags(window->windowFlags());

    caption_ = new SkinCaption(this, window);
    left_ = new SkinFrameSideWidget(this, window, SkinFrameSideWidget::Left);
    right_ = new SkinFrameSideWidget(this, window, SkinFrameSideWidget::Right);
    bottom_ = new SkinFrameSideWidget(this, window, SkinFrameSideWidget::Bottom);
    for (QWidget *d : {static_cast<QWidget *>(caption_.data()), static_cast<QWidget *>(left_.data()),
                       static_cast<QWidget *>(right_.data()), static_cast<QWidget *>(bottom_.data())})
        d->show();
    window->installEventFilter(this);
    rebuild();
}

SkinnedWindow::~SkinnedWindow() {
    if (!forgotten_ && window_)
        restore();
}

void SkinnedWindow::rebuild() {
    if (!window_ || !theme_)
        return;
    applyPalette();
    applyMargins(theme_->frameMargins());
    layoutDecorations();
    updateMask();
    restyle(window_);
}

void SkinnedWindow::applyPalette() {
    window_->setPalette(theme_->palette);
    for (KeptControl &k : kept_)
        if (k.widget)
            k.widget->setPalette(solidPalette(k.palette));
}

void SkinnedWindow::applyMargins(const QMargins &frame) {
    int dl = frame.left() - frame_.left(), dt = frame.top() - frame_.top();
    int dr = frame.right() - frame_.right(), db = frame.bottom() - frame_.bottom();
    if (!dl && !dt && !dr && !db)
        return;
    QWidget *w = window_;
    QRect g = w->geometry();
    if (shiftsChildren_) {
        for (QObject *o : w->children()) {
            auto *c = qobject_cast<QWidget *>(o);
            if (c && !c->isWindow() && !isDecoration(c))
                c->move(c->pos() + QPoint(dl, dt));
        }
    } else {
        w->setContentsMargins(contentMargins_ + frame);
    }
    QSize size = g.size() + QSize(dl + dr, dt + db);
    if (w->minimumSize() == w->maximumSize()) {
        w->setFixedSize(size);
    } else {
        w->setMinimumSize(minSize_ + QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
        w->resize(size);
    }
    // The window grows or shrinks around its centre, so a centred window stays centred.
    w->move(g.topLeft() - QPoint((dl + dr) / 2, (dt + db) / 2));
    frame_ = frame;
}

void SkinnedWindow::layoutDecorations() {
    if (!window_ || !caption_)
        return;
    int w = window_->width(), h = window_->height();
    const QMargins &f = frame_;
    caption_->setGeometry(0, 0, w, f.top());
    left_->setGeometry(0, f.top(), f.left(), std::max(0, h - f.top() - f.bottom()));
    right_->setGeometry(w - f.right(), f.top(), f.right(), std::max(0, h - f.top() - f.bottom()));
    bottom_->setGeometry(0, h - f.bottom(), w, f.bottom());
    for (QWidget *d : {static_cast<QWidget *>(caption_.data()), static_cast<QWidget *>(left_.data()),
                       static_cast<QWidget *>(right_.data()), static_cast<QWidget *>(bottom_.data())}) {
        d->raise();
        d->update();
    }
}

void SkinnedWindow::updateMask() {
    if (!window_ || hadMask_)
        return;
    // Rounded corners: the transparent pixels at the ends of the caption bar and of the bottom side.
    QRegion region(window_->rect());
    int w = window_->width(), h = window_->height();
    const SkinPersonality &pe = theme_->skin.personality;
    auto cut = [&](const SkinFrameSide &side, int top) {
        if (side.image.isNull() || !side.trans)
            return;
        const QImage &img = side.image.masked;
        QRect src = frameRect(img, side.frames, 0);
        for (int y = 0; y < src.height(); ++y) {
            int n = 0;
            while (n < side.topHeight && n < src.width() && qAlpha(img.pixel(src.left() + n, y)) == 0)
                ++n;
            if (n)
                region -= QRegion(0, top + y, n, 1);
            n = 0;
            while (n < side.botHeight && n < src.width() && qAlpha(img.pixel(src.right() - n, y)) == 0)
                ++n;
            if (n)
                region -= QRegion(w - n, top + y, n, 1);
        }
    };
    cut(pe.top, 0);
    cut(pe.bottom, h - frame_.bottom());
    if (region == QRegion(window_->rect()))
        window_->clearMask();
    else
        window_->setMask(region);
}

void SkinnedWindow::restore() {
    QWidget *w = window_;
    w->removeEventFilter(this);
    applyMargins(QMargins());
    delete caption_;
    delete left_;
    delete right_;
    delete bottom_;
    w->setContentsMargins(contentMargins_);
    w->setMinimumSize(minSize_);
    w->setMaximumSize(maxSize_);
    if (!hadMask_)
        w->clearMask();
    w->overrideWindowFlags(flags_);
    if (QWindow *handle = w->windowHandle())
        handle->setFlags(flags_);
    if (hadPalette_)
        w->setPalette(palette_);
    else
        w->setPalette(QPalette());
    for (KeptControl &k : kept_)
        if (k.widget)
            k.widget->setPalette(k.hadPalette ? k.palette : QPalette());
    restyle(w);
}

bool SkinnedWindow::allowsClose() const {
    return !(flags_ & Qt::CustomizeWindowHint) || (flags_ & Qt::WindowCloseButtonHint);
}

bool SkinnedWindow::allowsMinimise() const {
    if (flags_ & Qt::CustomizeWindowHint)
        return flags_ & Qt::WindowMinimizeButtonHint;
    // Without explicit hints a dialog offers close only, a main window all three.
    return (flags_ & Qt::WindowMinimizeButtonHint) || (flags_ & Qt::WindowType_Mask) == Qt::Window;
}

bool SkinnedWindow::allowsMaximise() const {
    if (minSize_ == maxSize_ && window_ && window_->minimumSize() == window_->maximumSize())
        return false; // a fixed-size window cannot be maximised
    if (flags_ & Qt::CustomizeWindowHint)
        return flags_ & Qt::WindowMaximizeButtonHint;
    return (flags_ & Qt::WindowMaximizeButtonHint) || (flags_ & Qt::WindowType_Mask) == Qt::Window;
}

bool SkinnedWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::Resize:
            layoutDecorations();
            updateMask();
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::WindowTitleChange:
            for (QWidget *d : {static_cast<QWidget *>(caption_.data()), static_cast<QWidget *>(left_.data()),
                               static_cast<QWidget *>(right_.data()), static_cast<QWidget *>(bottom_.data())})
                if (d)
                    d->update();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
