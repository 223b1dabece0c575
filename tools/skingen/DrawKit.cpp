// SPDX-License-Identifier: GPL-3.0-or-later
#include "DrawKit.h"

#include "Draw.h"

namespace skingen {

QColor mix(const QColor &a, const QColor &b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}
QColor alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

QImage canvas(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

double stripScale = 1;

QImage strip(int w, int h, int frames, const std::function<void(QPainter &, QRectF, int)> &draw) {
    QImage img = canvas(int(w * frames * stripScale), int(h * stripScale));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(stripScale, stripScale);
    for (int i = 0; i < frames; ++i) {
        p.save();
        draw(p, QRectF(i * w, 0, w, h), i);
        p.restore();
    }
    return img;
}

QPainterPath rounded(const QRectF &r, double radius) {
    QPainterPath path;
    if (radius <= 0)
        path.addRect(r);
    else
        path.addRoundedRect(r, radius, radius);
    return path;
}

QLinearGradient vertical(const QRectF &r, const QColor &top, const QColor &bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void panel(QPainter &p, const Theme &t, const QRectF &outer, double radius, const QColor &top, const QColor &bottom,
           const QColor &border, bool finish) {
    QRectF r = outer.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(r, top, bottom));
    p.drawPath(rounded(r, radius));
    if (finish) {
        QRectF in = r.adjusted(1, 1, -1, -1);
        switch (t.deco) {
        case Deco::Soft:
            p.setPen(QPen(alpha(Qt::white, 170), 1));
            p.drawLine(QPointF(in.left() + radius * 0.6, in.top()), QPointF(in.right() - radius * 0.6, in.top()));
            break;
        case Deco::Ink:
            p.setPen(QPen(alpha(Qt::white, 200), 1));
            p.setBrush(Qt::NoBrush);
            p.drawPath(rounded(in, std::max(0.0, radius - 1)));
            break;
        case Deco::Lacquer:
            p.setPen(QPen(alpha(t.trim, 150), 1));
            p.setBrush(Qt::NoBrush);
            p.drawPath(rounded(r.adjusted(2, 2, -2, -2), std::max(0.0, radius - 1)));
            break;
        case Deco::Bamboo:
            p.setPen(QPen(alpha(Qt::white, 190), 1));
            p.drawLine(in.topLeft(), in.topRight());
            p.drawLine(in.topLeft(), in.bottomLeft());
            p.setPen(QPen(alpha(Qt::black, 45), 1));
            p.drawLine(in.bottomLeft(), in.bottomRight());
            p.drawLine(in.topRight(), in.bottomRight());
            break;
        case Deco::Night:
            p.setPen(QPen(alpha(Qt::white, 90), 1));
            p.drawLine(QPointF(in.left() + radius * 0.5, in.top()), QPointF(in.right() - radius * 0.5, in.top()));
            break;
        case Deco::Amber: {
            // Gloss over the upper half.
            QRectF gloss = in.adjusted(1, 0, -1, -in.height() / 2);
            p.setPen(Qt::NoPen);
            p.setBrush(vertical(gloss, alpha(Qt::white, 150), alpha(Qt::white, 20)));
            p.drawPath(rounded(gloss, std::max(0.0, radius - 2)));
            break;
        }
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(border, 1));
    p.drawPath(rounded(r, radius));
}

void drawArrow(QPainter &p, const QRectF &r, int dir, const QColor &c, double size) {
    QPointF m = r.center();
    double s = size;
    QPolygonF tri;
    switch (dir) {
    case 0:
        tri << QPointF(m.x() - s, m.y() + s / 2) << QPointF(m.x() + s, m.y() + s / 2) << QPointF(m.x(), m.y() - s / 2);
        break;
    case 1:
        tri << QPointF(m.x() - s, m.y() - s / 2) << QPointF(m.x() + s, m.y() - s / 2) << QPointF(m.x(), m.y() + s / 2);
        break;
    case 2:
        tri << QPointF(m.x() + s / 2, m.y() - s) << QPointF(m.x() + s / 2, m.y() + s) << QPointF(m.x() - s / 2, m.y());
        break;
    default:
        tri << QPointF(m.x() - s / 2, m.y() - s) << QPointF(m.x() - s / 2, m.y() + s) << QPointF(m.x() + s / 2, m.y());
        break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(tri);
}

int smallRadius(const Theme &t) {
    return std::min(t.radius, 3);
}

QImage flatten(const QImage &argb, const QColor &backdrop, bool trans) {
    QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        QRgb *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            int a = qAlpha(in[x]);
            if (trans && a < 96) {
                o[x] = qRgb(255, 0, 255);
                continue;
            }
            auto blend = [a](int fg, int bg) { return (fg * a + bg * (255 - a)) / 255; };
            int r = blend(qRed(in[x]), backdrop.red()), g = blend(qGreen(in[x]), backdrop.green()),
                b = blend(qBlue(in[x]), backdrop.blue());
            if (r == 255 && g == 0 && b == 255)
                g = 1; // never magenta by accident
            o[x] = qRgb(r, g, b);
        }
    }
    return out;
}

int windowRadius(const Theme &t) {
    switch (t.deco) {
    case Deco::Soft:
        return 7;
    case Deco::Ink:
        return 5;
    case Deco::Lacquer:
        return 2;
    case Deco::Bamboo:
        return 0;
    case Deco::Night:
        return 6;
    case Deco::Amber:
        return 10;
    }
    return 0;
}
int captionEnd(const Theme &t) {
    return std::max(windowRadius(t) + 4, 16);
}

} // namespace skingen
