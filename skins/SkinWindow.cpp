#include "skins/SkinWindow.h"

#include "skins/SkinData.h"
#include "skins/SkinTheme.h"

#include <QApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

namespace velmora {

namespace {

// Caption button actions as the skins write them.
enum CaptionAction { caClose = 0, caMaximise = 1, caMinimise = 2 };

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

// The caption bar: the top side of the frame, the window's title and the caption buttons; it moves the window
// when dragged.
class SkinCaption : public QWidget {
public:
    SkinCaption(SkinnedWindow *owner, QWidget *window) : QWidget(window), owner_(owner) {
        setProperty("velmoraSkinFrame", true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

    struct Button {
        int action;
        QRect rect;
        const SkinCaptionButton *def;
    };

    std::vector<Button> buttons() const {
        std::vector<Button> out;
        const SkinTheme *theme = owner_->theme();
        if (!theme)
            return out;
        // Right-aligned buttons are placed by their distance from the right edge; a button the window does not
        // allow leaves no gap: the buttons beyond it move up by the step it would have taken.
        std::vector<const SkinCaptionButton *> defs;
        for (const SkinCaptionButton &b : theme->skin.captionButtons)
            if (!b.image.isNull())
                defs.push_back(&b);
        std::stable_sort(defs.begin(), defs.end(), [](auto *a, auto *b) {
            return a->align == b->align ? a->xcoord < b->xcoord : a->align < b->align;
        });
        int shiftRight = 0, shiftLeft = 0;
        for (std::size_t i = 0; i < defs.size(); ++i) {
            const SkinCaptionButton *b = defs[i];
            int fw = b->image.image.width() / std::max(1, b->frames), fh = b->image.image.height();
            if (!allowed(b->action)) {
                bool last = i + 1 == defs.size() || defs[i + 1]->align != b->align;
                int step = last ? 0 : defs[i + 1]->xcoord - b->xcoord;
                (b->align == 1 ? shiftRight : shiftLeft) += step;
                continue;
            }
            QRect r = b->align == 1 ? QRect(width() - (b->xcoord - shiftRight), b->ycoord, fw, fh)
                                    : QRect(b->xcoord - shiftLeft, b->ycoord, fw, fh);
            out.push_back({b->action, r, b});
        }
        return out;
    }

protected:
    bool allowed(int action) const {
        switch (action) {
        case caClose:
            return owner_->allowsClose();
        case caMinimise:
            return owner_->allowsMinimise();
        case caMaximise:
            return owner_->allowsMaximise();
        }
        return false;
    }

    int buttonAt(const QPoint &pos) const {
        std::vector<Button> list = buttons();
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].rect.contains(pos))
                return list[i].action;
        return -1;
    }

    void paintEvent(QPaintEvent *) override {
        const SkinTheme *theme = owner_->theme();
        if (!theme)
            return;
        QWidget *window = owner_->window();
        QPainter p(this);
        const SkinPersonality &pe = theme->skin.personality;
        bool active = window->isActiveWindow();
        p.fillRect(rect(), theme->palette.color(QPalette::Window));
        drawFrameSide(&p, rect(), pe.top, active ? 0 : 1, false);

        std::vector<Button> list = buttons();
        int clipRight = width() - (pe.textRightClip > 0 ? pe.textRightClip : 0);
        for (const Button &b : list)
            if (b.def->align == 1)
                clipRight = std::min(clipRight, b.rect.left() - 6);
        QFont font = theme->captionFont(window->font());
        p.setFont(font);
        QFontMetrics fm(font);
        int left = std::max(pe.textShift, 6);
        QString title = fm.elidedText(window->windowTitle(), Qt::ElideRight, std::max(0, clipRight - left));
        int textW = fm.horizontalAdvance(title);
        int x = left;
        if (pe.textAlignment == 1)
            x = clipRight - textW;
        else if (pe.textAlignment == 2)
            x = std::max(left, (width() - textW) / 2);
        QRect textRect(x, pe.textShiftVert, textW, height());
        if (pe.textBackground && !pe.textBack.isNull() && !title.isEmpty()) {
            int pad = std::max(pe.txtBackLeft, 8);
            QRect back(textRect.left() - pad, 0, textW + 2 * pad, height());
            drawNineSlice(&p, back, pe.textBack.masked, 2, active ? 0 : 1,
                          QMargins(pe.txtBackLeft, 0, pe.txtBackRight, 0), false);
        }
        QColor colour = active ? pe.activeText.value_or(theme->skin.colours.titleTextActive)
                               : pe.inactiveText.value_or(theme->skin.colours.titleTextNoActive);
        p.setPen(colour);
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, title);

        for (const Button &b : list) {
            int state = 0;
            if (b.action == pressed_ && b.action == hover_)
                state = 2;
            else if (b.action == hover_ && pressed_ < 0)
                state = 1;
            const SkinImage &img = b.def->image;
            p.drawImage(b.rect.topLeft(), img.masked, frameRect(img.masked, b.def->frames, state));
        }
    }

    void mousePressEvent(QMouseEvent *e) override {
        if (e->button() != Qt::LeftButton)
            return;
        pressed_ = buttonAt(e->position().toPoint());
        if (pressed_ < 0) {
            dragging_ = true;
            dragOffset_ = e->globalPosition().toPoint() - owner_->window()->pos();
        }
        update();
    }

    void mouseMoveEvent(QMouseEvent *e) override {
        if (dragging_) {
            owner_->window()->move(e->globalPosition().toPoint() - dragOffset_);
            return;
        }
        int h = buttonAt(e->position().toPoint());
        if (h != hover_) {
            hover_ = h;
            update();
        }
    }

    void mouseReleaseEvent(QMouseEvent *e) override {
        if (e->button() != Qt::LeftButton)
            return;
        dragging_ = false;
        int action = pressed_;
        pressed_ = -1;
        update();
        if (action >= 0 && action == buttonAt(e->position().toPoint()))
            run(action);
    }

    void mouseDoubleClickEvent(QMouseEvent *e) override {
        if (e->button() == Qt::LeftButton && buttonAt(e->position().toPoint()) < 0 && owner_->allowsMaximise())
            run(caMaximise);
    }

    void leaveEvent(QEvent *) override {
        hover_ = -1;
        update();
    }

    bool event(QEvent *e) override {
        if (e->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(e);
            int action = buttonAt(help->pos());
            QString hint = action == caClose      ? QStringLiteral("关闭")
                           : action == caMinimise ? QStringLiteral("最小化")
                           : action == caMaximise
                               ? (owner_->window()->isMaximized() ? QStringLiteral("还原") : QStringLiteral("最大化"))
                               : QString();
            if (hint.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), hint, this);
            return true;
        }
        return QWidget::event(e);
    }

public:
    // Runs a caption button's action, as a click on it does.
    void run(int action) {
        QWidget *window = owner_->window();
        hover_ = -1;
        switch (action) {
        case caClose:
            window->close();
            break;
        case caMinimise:
            window->showMinimized();
            break;
        case caMaximise:
            window->isMaximized() ? window->showNormal() : window->showMaximized();
            break;
        }
    }

private:
    SkinnedWindow *owner_;
    int hover_ = -1;
    int pressed_ = -1;
    bool dragging_ = false;
    QPoint dragOffset_;
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
