// SPDX-License-Identifier: GPL-3.0-or-later
// The window frame: the caption bar, the sides, the caption text plate and the caption buttons.
#include "Draw.h"
#include "DrawKit.h"

namespace skingen {

namespace {

// The caption bar's own finish over its gradient, state `s` (0 active, 1 inactive).
void captionFinish(QPainter &p, const Theme &t, const QRectF &r, int s) {
    switch (t.deco) {
    case Deco::Soft:
    case Deco::Amber:
        p.setBrush(vertical(r, alpha(Qt::white, 110), alpha(Qt::white, 0)));
        p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.5));
        break;
    case Deco::Ink:
        // A hairline of silver under the top edge and a fine rule above the client.
        p.setPen(QPen(alpha(t.trim, s == 0 ? 110 : 150), 1));
        p.drawLine(QPointF(r.left(), r.top() + 1.5), QPointF(r.right(), r.top() + 1.5));
        p.setPen(QPen(alpha(Qt::black, 70), 1));
        p.drawLine(QPointF(r.left(), r.bottom() - 0.5), QPointF(r.right(), r.bottom() - 0.5));
        break;
    case Deco::Lacquer:
        p.setPen(QPen(alpha(t.trim, s == 0 ? 230 : 140), 1));
        p.drawLine(QPointF(r.left(), r.top() + 2.5), QPointF(r.right(), r.top() + 2.5));
        p.drawLine(QPointF(r.left(), r.bottom() - 2.5), QPointF(r.right(), r.bottom() - 2.5));
        break;
    case Deco::Bamboo:
        // Bamboo nodes: a dark ring with a light rim, every 38 pixels of the tiled middle.
        for (double x = r.left() + captionEnd(t) + 18; x < r.right() - captionEnd(t); x += 38) {
            p.setPen(QPen(alpha(t.trim, s == 0 ? 150 : 70), 2));
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
            p.setPen(QPen(alpha(Qt::white, s == 0 ? 70 : 50), 1));
            p.drawLine(QPointF(x + 1.5, r.top()), QPointF(x + 1.5, r.bottom()));
        }
        p.setPen(QPen(alpha(Qt::white, 90), 1));
        p.drawLine(QPointF(r.left(), r.top() + 0.5), QPointF(r.right(), r.top() + 0.5));
        break;
    case Deco::Night:
        p.setPen(QPen(alpha(Qt::white, 30), 1));
        p.drawLine(QPointF(r.left(), r.top() + 0.5), QPointF(r.right(), r.top() + 0.5));
        if (s == 0) {
            p.setPen(QPen(t.trim, 1));
            p.drawLine(QPointF(r.left(), r.bottom() - 0.5), QPointF(r.right(), r.bottom() - 0.5));
        }
        break;
    }
}

} // namespace

QImage frameTop(const Theme &t) {
    // Bamboo tiles its middle: a whole number of node spacings keeps the nodes evenly spaced across tiles.
    int w = t.deco == Deco::Bamboo ? 2 * captionEnd(t) + 4 * 38 : 200, h = t.captionH, rad = windowRadius(t);
    return flatten(strip(w, h, 2,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor a = s == 0 ? t.capTop : t.capTopI, z = s == 0 ? t.capBottom : t.capBottomI;
                             QColor frameC = s == 0 ? t.frame : t.frameI;
                             QPainterPath shape;
                             QRectF b = r.adjusted(0, 0, 0, rad + 1); // round only the top corners
                             shape.addRoundedRect(b, rad, rad);
                             QPainterPath clip;
                             clip.addRect(r);
                             shape = shape.intersected(clip);
                             p.setPen(Qt::NoPen);
                             p.setBrush(vertical(r, a, z));
                             p.drawPath(shape);
                             p.setClipPath(shape);
                             captionFinish(p, t, r, s);
                             p.setClipping(false);
                             p.setPen(QPen(frameC.darker(120), 1));
                             p.setBrush(Qt::NoBrush);
                             p.drawPath(shape.translated(0, 0)); // outline, corners included
                         }),
                   t.window, rad > 0);
}

QImage frameSide(const Theme &t, bool left) {
    int w = t.border, h = 32;
    return flatten(strip(w, h, 2,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor c = s == 0 ? t.frame : t.frameI;
                             p.fillRect(r, c);
                             p.setRenderHint(QPainter::Antialiasing, false);
                             QRect ri = r.toRect();
                             int outer = left ? ri.left() : ri.right(), inner = left ? ri.right() : ri.left();
                             p.setPen(c.darker(125));
                             p.drawLine(outer, ri.top(), outer, ri.bottom());
                             p.setPen(t.deco == Deco::Lacquer ? t.trim : c.lighter(118));
                             p.drawLine(left ? outer + 1 : outer - 1, ri.top(), left ? outer + 1 : outer - 1,
                                        ri.bottom());
                             p.setPen(c.darker(140));
                             p.drawLine(inner, ri.top(), inner, ri.bottom());
                         }),
                   t.window, false);
}

QImage frameBottom(const Theme &t) {
    int w = 64, h = t.border, rad = std::min(windowRadius(t), t.border);
    return flatten(strip(w, h, 2,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor c = s == 0 ? t.frame : t.frameI;
                             QPainterPath shape;
                             shape.addRoundedRect(r.adjusted(0, -rad - 1, 0, 0), rad, rad);
                             QPainterPath clip;
                             clip.addRect(r);
                             shape = shape.intersected(clip);
                             p.setPen(Qt::NoPen);
                             p.setBrush(c);
                             p.drawPath(shape);
                             p.setPen(QPen(c.darker(140), 1));
                             p.drawLine(QPointF(r.left() + t.border - 0.5, r.top() + 0.5),
                                        QPointF(r.right() - t.border + 0.5, r.top() + 0.5));
                             p.setPen(QPen(c.darker(125), 1));
                             p.setBrush(Qt::NoBrush);
                             p.drawPath(shape);
                         }),
                   t.window, rad > 0);
}

QImage captionTextBack(const Theme &t) {
    if (t.deco != Deco::Lacquer)
        return {};
    return flatten(strip(60, t.captionH, 2,
                         [&](QPainter &p, QRectF r, int s) {
                             QRectF b = r.adjusted(2, 5, -2, -5);
                             QColor fill = s == 0 ? t.capBottom.darker(118) : t.capBottomI.darker(108);
                             p.setPen(QPen(alpha(t.trim, s == 0 ? 255 : 150), 1));
                             p.setBrush(fill);
                             p.drawPath(rounded(b.adjusted(0.5, 0.5, -0.5, -0.5), 3));
                             // Small gold diamonds at both ends.
                             p.setBrush(t.trim);
                             p.setPen(Qt::NoPen);
                             for (double x : {b.left() + 6.0, b.right() - 6.0}) {
                                 QPointF m(x, b.center().y());
                                 p.drawPolygon(QPolygonF() << m + QPointF(0, -3) << m + QPointF(3, 0)
                                                           << m + QPointF(0, 3) << m + QPointF(-3, 0));
                             }
                         }),
                   t.capBottom, true);
}

namespace {

// The bamboo caption button: a flat face with a bevel that turns over when pressed.
void bambooButtonFace(QPainter &p, const Theme &t, const QRectF &r, int s, bool close) {
    QColor fill = s == 0 ? t.capTop : s == 1 ? (close ? t.closeHot : t.capTop.lighter(120)) : t.capBottom.darker(115);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRect(r);
    p.setRenderHint(QPainter::Antialiasing, false);
    QRect ri = r.toRect().adjusted(0, 0, -1, -1);
    p.setPen(s == 2 ? t.trim : QColor(255, 255, 255, 150));
    p.drawLine(ri.topLeft(), ri.topRight());
    p.drawLine(ri.topLeft(), ri.bottomLeft());
    p.setPen(s == 2 ? QColor(255, 255, 255, 150) : t.trim);
    p.drawLine(ri.bottomLeft(), ri.bottomRight());
    p.drawLine(ri.topRight(), ri.bottomRight());
    p.setRenderHint(QPainter::Antialiasing, true);
}

// A caption button's face in state `s` (0 normal, 1 hot, 2 pressed); returns the colour its glyph takes.
QColor captionButtonFace(QPainter &p, const Theme &t, const QRectF &r, int s, bool close) {
    QColor glyph = t.capText;
    QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
    switch (t.deco) {
    case Deco::Soft:
    case Deco::Amber: {
        // Opaque fills: the bitmap has no alpha, only magenta for what is not the button.
        QColor fill =
            s == 0 ? (t.deco == Deco::Amber ? mix(t.capBottom, Qt::white, 0.6) : t.capBottom.darker(112))
                   : (close ? t.closeHot
                            : (t.deco == Deco::Amber ? mix(t.capBottom, Qt::white, 0.85) : t.capTop.lighter(112)));
        if (s == 2)
            fill = close ? t.closeHot.darker(125) : t.capBottom.darker(118);
        p.setPen(QPen(alpha(t.deco == Deco::Amber ? t.edge : Qt::white, 160), 1));
        p.setBrush(fill);
        p.drawEllipse(b.adjusted(1, 1, -1, -1));
        if (s > 0 && close)
            glyph = Qt::white;
        break;
    }
    case Deco::Ink:
    case Deco::Night:
        if (s > 0) {
            p.setPen(Qt::NoPen);
            QColor under = mix(t.capTop, t.capBottom, 0.5);
            p.setBrush(close ? (s == 1 ? t.closeHot : t.closeHot.darker(120))
                             : (s == 1 ? mix(under, Qt::white, 0.18) : under.darker(125)));
            p.drawRect(r);
            if (close)
                glyph = Qt::white;
        }
        break;
    case Deco::Lacquer: {
        QColor fill = s == 0 ? t.capBottom.darker(115) : s == 1 ? t.trim : t.trim.darker(125);
        p.setPen(QPen(t.trim, 1));
        p.setBrush(fill);
        p.drawPath(rounded(b, 2));
        glyph = s == 0 ? t.trim : t.capBottom.darker(120);
        break;
    }
    case Deco::Bamboo:
        bambooButtonFace(p, t, r, s, close);
        break;
    }
    return glyph;
}

} // namespace

QImage captionButton(const Theme &t, CaptionGlyph g) {
    int w = t.capBtnW, h = t.capBtnH;
    return flatten(strip(w, h, 3,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor glyph = captionButtonFace(p, t, r, s, g == CaptionGlyph::Close);
                             QPointF m = r.center();
                             bool fine = t.deco == Deco::Ink || t.deco == Deco::Night;
                             double k = std::min(w, h) * (fine ? 0.2 : 0.24);
                             QPen pen(glyph, fine ? 1.3 : 1.8);
                             pen.setCapStyle(Qt::RoundCap);
                             p.setPen(pen);
                             p.setBrush(Qt::NoBrush);
                             if (g == CaptionGlyph::Close) {
                                 p.drawLine(m + QPointF(-k, -k), m + QPointF(k, k));
                                 p.drawLine(m + QPointF(-k, k), m + QPointF(k, -k));
                             } else if (g == CaptionGlyph::Maximise) {
                                 p.drawRect(QRectF(m.x() - k, m.y() - k, 2 * k, 2 * k));
                             } else {
                                 p.drawLine(m + QPointF(-k, k * 0.6), m + QPointF(k, k * 0.6));
                             }
                         }),
                   t.capBottom, true);
}

} // namespace skingen
