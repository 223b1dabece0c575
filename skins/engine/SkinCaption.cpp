// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/engine/SkinCaption.h"

#include "skins/engine/SkinTheme.h"
#include "skins/engine/SkinWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>
#include <algorithm>

namespace velmora {

SkinCaption::SkinCaption(SkinnedWindow *owner, QWidget *window) : QWidget(window), owner_(owner) {
    setProperty("velmoraSkinFrame", true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    installAccessibility();
}

QString SkinCaption::buttonName(int action) const {
    switch (action) {
    case caClose:
        return QStringLiteral("关闭");
    case caMinimise:
        return QStringLiteral("最小化");
    case caMaximise:
        return owner_->window()->isMaximized() ? QStringLiteral("还原") : QStringLiteral("最大化");
    }
    return {};
}

std::vector<SkinCaption::Button> SkinCaption::buttons() const {
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

bool SkinCaption::allowed(int action) const {
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

int SkinCaption::buttonAt(const QPoint &pos) const {
    std::vector<Button> list = buttons();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].rect.contains(pos))
            return list[i].action;
    return -1;
}

void SkinCaption::paintEvent(QPaintEvent *) {
    const SkinTheme *theme = owner_->theme();
    if (!theme)
        return;
    QPainter p(this);
    bool active = owner_->window()->isActiveWindow();
    p.fillRect(rect(), theme->palette.color(QPalette::Window));
    drawFrameSide(&p, rect(), theme->skin.personality.top, active ? 0 : 1, false);
    std::vector<Button> list = buttons();
    paintTitle(p, *theme, list, active);
    paintButtons(p, list);
}

void SkinCaption::paintTitle(QPainter &p, const SkinTheme &theme, const std::vector<Button> &list, bool active) {
    QWidget *window = owner_->window();
    const SkinPersonality &pe = theme.skin.personality;
    int clipRight = width() - (pe.textRightClip > 0 ? pe.textRightClip : 0);
    for (const Button &b : list)
        if (b.def->align == 1)
            clipRight = std::min(clipRight, b.rect.left() - 6);
    QFont font = theme.captionFont(window->font());
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
        drawNineSlice(&p, back, pe.textBack.masked, 2, active ? 0 : 1, QMargins(pe.txtBackLeft, 0, pe.txtBackRight, 0),
                      false, true, &pe.textBack.masked2x);
    }
    QColor colour = active ? pe.activeText.value_or(theme.skin.colours.titleTextActive)
                           : pe.inactiveText.value_or(theme.skin.colours.titleTextNoActive);
    p.setPen(colour);
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, title);
}

void SkinCaption::paintButtons(QPainter &p, const std::vector<Button> &list) {
    for (const Button &b : list) {
        int state = 0;
        if (b.action == pressed_ && b.action == hover_)
            state = 2;
        else if (b.action == hover_ && pressed_ < 0)
            state = 1;
        const SkinImage &img = b.def->image;
        QRect src = frameRect(img.masked, b.def->frames, state);
        if (const QImage *big = doubleSizeFor(&p, img.masked, img.masked2x))
            p.drawImage(QRectF(b.rect.topLeft(), src.size()), *big, QRectF(src.topLeft() * 2, src.size() * 2));
        else
            p.drawImage(b.rect.topLeft(), img.masked, src);
    }
}

void SkinCaption::mousePressEvent(QMouseEvent *e) {
    if (e->button() != Qt::LeftButton)
        return;
    pressed_ = buttonAt(e->position().toPoint());
    if (pressed_ < 0 && !startSystemMove()) {
        dragging_ = true;
        dragOffset_ = e->globalPosition().toPoint() - owner_->window()->pos();
    }
    update();
}

bool SkinCaption::startSystemMove() {
    // The window manager or compositor moves the window itself where it can: Wayland lets no client place
    // its windows, and an X11 manager then knows the window's position at every step. Without one (a bare
    // X server) the caption moves the window as it is dragged.
    QWindow *handle = owner_->window()->windowHandle();
    return handle && handle->startSystemMove();
}

void SkinCaption::mouseMoveEvent(QMouseEvent *e) {
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

void SkinCaption::mouseReleaseEvent(QMouseEvent *e) {
    if (e->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    int action = pressed_;
    pressed_ = -1;
    update();
    if (action >= 0 && action == buttonAt(e->position().toPoint()))
        run(action);
}

void SkinCaption::mouseDoubleClickEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton && buttonAt(e->position().toPoint()) < 0 && owner_->allowsMaximise())
        run(caMaximise);
}

void SkinCaption::leaveEvent(QEvent *) {
    hover_ = -1;
    update();
}

bool SkinCaption::event(QEvent *e) {
    if (e->type() != QEvent::ToolTip)
        return QWidget::event(e);
    auto *help = static_cast<QHelpEvent *>(e);
    int action = buttonAt(help->pos());
    QString hint = buttonName(action);
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), hint, this);
    return true;
}

void SkinCaption::run(int action) {
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

} // namespace velmora
