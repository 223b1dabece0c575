// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/engine/SkinTheme.h"

#include <QPainter>

namespace velmora {

namespace {
const QImage &pick(const SkinImage &img, bool trans) {
    return trans ? img.masked : img.image;
}

const QImage &pick2x(const SkinImage &img, bool trans) {
    return trans ? img.masked2x : img.image2x;
}

int frameWidth(const SkinFrameSide &s) {
    return s.image.isNull() ? 0 : s.image.image.width() / std::max(1, s.frames);
}

QColor orFallback(const QColor &c, const QColor &fallback) {
    return c.isValid() ? c : fallback;
}
} // namespace

SkinTheme::SkinTheme(ParsedSkin parsed) : skin(std::move(parsed)) {
    const SkinColours &c = skin.colours;
    QColor base = orFallback(skin.customColors[0], Qt::white);
    QColor disabled = skin.customColors[1].isValid() && skin.customColors[1] != QColor(Qt::white) ? skin.customColors[1]
                                                                                                  : c.buttonShadow;
    QPalette pal;
    pal.setColor(QPalette::Window, c.buttonFace);
    pal.setColor(QPalette::WindowText, c.windowText);
    pal.setColor(QPalette::Button, c.buttonFace);
    pal.setColor(QPalette::ButtonText, c.buttonText);
    pal.setColor(QPalette::Base, base);
    pal.setColor(QPalette::AlternateBase, base.darker(104));
    pal.setColor(QPalette::Text, c.windowText);
    pal.setColor(QPalette::BrightText, c.hilightText);
    pal.setColor(QPalette::Highlight, c.hilight);
    pal.setColor(QPalette::HighlightedText, c.hilightText);
    pal.setColor(QPalette::Light, c.buttonHilight);
    pal.setColor(QPalette::Midlight, c.buttonlight);
    pal.setColor(QPalette::Mid, c.buttonShadow.lighter(115));
    pal.setColor(QPalette::Dark, c.buttonShadow);
    pal.setColor(QPalette::Shadow, c.buttonDkShadow);
    pal.setColor(QPalette::ToolTipBase, base);
    pal.setColor(QPalette::ToolTipText, c.windowText);
    pal.setColor(QPalette::PlaceholderText, disabled);
    pal.setColor(QPalette::Link, c.hilight);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, disabled);
    pal.setColor(QPalette::Disabled, QPalette::Base, c.buttonFace);
    pal.setColor(QPalette::Inactive, QPalette::Highlight, c.hilight);
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, c.hilightText);
    palette = pal;

    const SkinPersonality &pe = skin.personality;
    int top = pe.top.image.isNull() ? 0 : pe.top.image.image.height();
    int bottom = pe.bottom.image.isNull() ? 0 : pe.bottom.image.image.height();
    frame_ = QMargins(frameWidth(pe.left), top, frameWidth(pe.right), bottom);
}

QFont SkinTheme::captionFont(const QFont &windowFont) const {
    QFont f(windowFont);
    f.setPixelSize(std::max(8, skin.fontHeight));
    return f;
}

QColor SkinTheme::partText(const SkinPart &part, int state) {
    const QColor &c = state == 1 ? part.mouseOverColour2 : state == 2 ? part.pressedColour2 : part.normalColour2;
    return c.isValid() ? c : part.normalColour2;
}

QRect frameRect(const QImage &image, int frames, int index) {
    int n = std::max(1, frames);
    int w = image.width() / n;
    index = std::clamp(index, 0, n - 1);
    return QRect(index * w, 0, w, image.height());
}

const QImage *doubleSizeFor(const QPainter *p, const QImage &image, const QImage &image2x) {
    bool scaled = p->device() && p->device()->devicePixelRatioF() > 1;
    return scaled && !image2x.isNull() && image2x.size() == image.size() * 2 ? &image2x : nullptr;
}

void drawNineSlice(QPainter *p, const QRect &target, const QImage &image, int frames, int index,
                   const QMargins &edgesIn, bool tile, bool drawCentre, const QImage *image2x) {
    if (image.isNull() || target.isEmpty())
        return;
    // Geometry is worked out on the bitmap's own size; the pieces come from the double-size bitmap when the
    // painter is scaled, at twice the source coordinates.
    const QImage *big = image2x ? doubleSizeFor(p, image, *image2x) : nullptr;
    auto draw = [p, big](const QRect &d, const QImage &from, const QImage *from2x, const QRect &s) {
        if (big)
            p->drawImage(QRectF(d), *from2x, QRectF(s.x() * 2, s.y() * 2, s.width() * 2, s.height() * 2));
        else
            p->drawImage(d, from, s);
    };
    QRect src = frameRect(image, frames, index);
    if (src.isEmpty())
        return;
    // Edges never exceed the source frame, and shrink evenly when the target is too small for them.
    int l = std::clamp(edgesIn.left(), 0, src.width()), r = std::clamp(edgesIn.right(), 0, src.width() - l);
    int t = std::clamp(edgesIn.top(), 0, src.height()), b = std::clamp(edgesIn.bottom(), 0, src.height() - t);
    int dl = l, dr = r, dt = t, db = b;
    if (dl + dr > target.width()) {
        dl = target.width() * l / std::max(1, l + r);
        dr = target.width() - dl;
    }
    if (dt + db > target.height()) {
        dt = target.height() * t / std::max(1, t + b);
        db = target.height() - dt;
    }
    const int sx[4] = {src.left(), src.left() + l, src.right() + 1 - r, src.right() + 1};
    const int sy[4] = {src.top(), src.top() + t, src.bottom() + 1 - b, src.bottom() + 1};
    const int dx[4] = {target.left(), target.left() + dl, target.right() + 1 - dr, target.right() + 1};
    const int dy[4] = {target.top(), target.top() + dt, target.bottom() + 1 - db, target.bottom() + 1};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1 && !drawCentre)
                continue;
            QRect s(QPoint(sx[col], sy[row]), QPoint(sx[col + 1] - 1, sy[row + 1] - 1));
            QRect d(QPoint(dx[col], dy[row]), QPoint(dx[col + 1] - 1, dy[row + 1] - 1));
            if (s.isEmpty() || d.isEmpty())
                continue;
            bool stretched = (row == 1) || (col == 1);
            if (tile && stretched) {
                // Tile the piece along the stretched directions.
                QImage piece = image.copy(s);
                QImage piece2x = big ? big->copy(QRect(s.topLeft() * 2, s.size() * 2)) : QImage();
                for (int y = d.top(); y <= d.bottom(); y += (row == 1 ? s.height() : d.height())) {
                    for (int x = d.left(); x <= d.right(); x += (col == 1 ? s.width() : d.width())) {
                        int w = col == 1 ? std::min(s.width(), d.right() + 1 - x) : d.width();
                        int h = row == 1 ? std::min(s.height(), d.bottom() + 1 - y) : d.height();
                        draw(QRect(x, y, w, h), piece, &piece2x,
                             QRect(0, 0, col == 1 ? w : s.width(), row == 1 ? h : s.height()));
                    }
                }
            } else {
                draw(d, image, big, s);
            }
        }
    }
}

bool drawPart(QPainter *p, const QRect &target, const SkinPart &part, int index, bool drawCentre) {
    if (!part.present || part.image.isNull())
        return false;
    drawNineSlice(p, target, pick(part.image, part.trans != 0), part.frames, index,
                  QMargins(part.leftWidth, part.topHeight, part.rightWidth, part.bottomHeight), part.tile == 1,
                  drawCentre);
    return true;
}

void drawFrameSide(QPainter *p, const QRect &target, const SkinFrameSide &side, int index, bool vertical) {
    if (side.image.isNull())
        return;
    QMargins edges =
        vertical ? QMargins(0, side.topHeight, 0, side.botHeight) : QMargins(side.topHeight, 0, side.botHeight, 0);
    drawNineSlice(p, target, pick(side.image, side.trans != 0), side.frames, index, edges, side.stretch == 0, true,
                  &pick2x(side.image, side.trans != 0));
}

} // namespace velmora
