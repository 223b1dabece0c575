#include "Draw.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace skingen {

namespace {

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

// Draws `frames` frames of size w x h side by side, each by `draw(painter, frameRect, index)`.
QImage strip(int w, int h, int frames, const std::function<void(QPainter &, QRectF, int)> &draw) {
    QImage img = canvas(w * frames, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
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

// A filled, outlined shape in the skin's manner: gradient, border and the skin's own finishing lines.
void panel(QPainter &p, const Theme &t, const QRectF &outer, double radius, const QColor &top, const QColor &bottom,
           const QColor &border, bool finish = true) {
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
    // dir: 0 up, 1 down, 2 left, 3 right
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

int smallRadius(const Theme &t) { return std::min(t.radius, 3); }

} // namespace

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
int captionEnd(const Theme &t) { return std::max(windowRadius(t) + 4, 16); }

QImage pushButton(const Theme &t) {
    return flatten(strip(40, 26, 5,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor top = t.faceTop, bottom = t.faceBottom, border = t.edge;
                             if (s == 1) {
                                 top = t.faceTop.lighter(104);
                                 bottom = mix(t.faceBottom, t.accent, 0.18);
                                 border = t.accent;
                             } else if (s == 2) {
                                 top = mix(t.faceBottom, t.accentDark, 0.22);
                                 bottom = mix(t.faceTop, t.faceBottom, 0.5);
                                 border = t.accentDark;
                             } else if (s == 3) {
                                 top = bottom = mix(t.window, t.faceBottom, 0.4);
                                 border = mix(t.edge, t.window, 0.55);
                             } else if (s == 4) {
                                 border = t.accent;
                             }
                             panel(p, t, r, t.radius, top, bottom, border, s != 3);
                             if (s == 4) {
                                 p.setPen(QPen(alpha(t.accent, 110), 1));
                                 p.drawPath(rounded(r.adjusted(1.5, 1.5, -1.5, -1.5), std::max(0, t.radius - 1)));
                             }
                         }),
                   t.window, t.radius > 0);
}

QImage checkBox(const Theme &t, bool radio) {
    return flatten(strip(15, 15, 8,
                         [&](QPainter &p, QRectF r, int i) {
                             int s = i % 4;
                             bool on = i >= 4;
                             QColor fill = t.base, border = t.edge, mark = t.accent;
                             if (s == 1)
                                 border = t.accent;
                             if (s == 2)
                                 fill = mix(t.base, t.accent, 0.2), border = t.accentDark;
                             if (s == 3)
                                 fill = t.window, border = mix(t.edge, t.window, 0.5), mark = t.disabled;
                             QRectF box = r.adjusted(1, 1, -1, -1);
                             bool filled = on && s != 3 && (t.deco == Deco::Ink || t.deco == Deco::Night);
                             if (filled)
                                 fill = s == 1 ? t.accent.lighter(115) : t.accent, border = t.accentDark,
                                 mark = Qt::white;
                             p.setPen(QPen(border, 1));
                             p.setBrush(vertical(box, fill, filled ? fill : mix(fill, t.faceBottom, 0.25)));
                             if (radio)
                                 p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
                             else
                                 p.drawPath(rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), smallRadius(t) * 0.7));
                             if (!on)
                                 return;
                             if (radio) {
                                 p.setPen(Qt::NoPen);
                                 p.setBrush(mark);
                                 p.drawEllipse(box.center(), 2.6, 2.6);
                             } else {
                                 QPen pen(mark, 1.8);
                                 pen.setCapStyle(Qt::RoundCap);
                                 pen.setJoinStyle(Qt::RoundJoin);
                                 p.setPen(pen);
                                 p.setBrush(Qt::NoBrush);
                                 QPointF o = box.topLeft();
                                 p.drawPolyline(QPolygonF() << o + QPointF(3, 6.5) << o + QPointF(5.5, 9)
                                                            << o + QPointF(10, 3.5));
                             }
                         }),
                   t.window, radio || t.radius > 0);
}

QImage groupEdge(const Theme &t) {
    return flatten(strip(24, 24, 2,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor c = s == 0 ? t.groupEdge : mix(t.groupEdge, t.window, 0.5);
                             QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
                             double rad = std::min(t.radius, 5);
                             p.setBrush(Qt::NoBrush);
                             if (t.deco == Deco::Bamboo || t.deco == Deco::Ink) {
                                 // Etched: a dark line with a light one inside.
                                 p.setPen(QPen(alpha(Qt::white, 230), 1));
                                 p.drawPath(rounded(b.adjusted(1, 1, 0, 0), rad));
                                 p.setPen(QPen(c, 1));
                                 p.drawPath(rounded(b.adjusted(0, 0, -1, -1), rad));
                             } else {
                                 p.setPen(QPen(c, 1));
                                 p.drawPath(rounded(b, rad));
                                 if (t.deco == Deco::Lacquer) {
                                     p.setPen(QPen(alpha(t.trim, s == 0 ? 170 : 80), 1));
                                     p.drawPath(rounded(b.adjusted(2, 2, -2, -2), std::max(0.0, rad - 1)));
                                 }
                             }
                         }),
                   t.window, true);
}

QImage groupPlate(const Theme &t) {
    return flatten(strip(30, 20, 1,
                         [&](QPainter &p, QRectF r, int) {
                             double rad = std::min(t.radius, 6);
                             QColor top = t.groupPlate.lighter(t.deco == Deco::Amber ? 110 : 106);
                             panel(p, t, r, rad, top, t.groupPlate, t.groupPlate.darker(125), true);
                         }),
                   t.window, t.radius > 0);
}

QImage sunkEdge(const Theme &t) {
    return flatten(strip(20, 20, 4,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor border = s == 1   ? mix(t.edge, t.accent, 0.5)
                                             : s == 2 ? t.accent
                                             : s == 3 ? mix(t.edge, t.window, 0.5)
                                                      : t.edge;
                             QColor fill = s == 3 ? mix(t.base, t.window, 0.6) : t.base;
                             QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
                             double rad = smallRadius(t);
                             p.setPen(QPen(border, 1));
                             p.setBrush(fill);
                             p.drawPath(rounded(b, rad));
                             // Inner shadow along the top: the sunken look.
                             p.setPen(QPen(alpha(Qt::black, s == 3 ? 12 : 28), 1));
                             p.drawLine(QPointF(b.left() + 1.5, b.top() + 1.5), QPointF(b.right() - 1.5, b.top() + 1.5));
                             if (s == 2) {
                                 p.setPen(QPen(alpha(t.accent, 80), 1));
                                 p.setBrush(Qt::NoBrush);
                                 p.drawPath(rounded(b.adjusted(1, 1, -1, -1), std::max(0.0, rad - 1)));
                             }
                         }),
                   t.window, t.radius > 0);
}

QImage comboButton(const Theme &t) {
    return flatten(strip(18, 22, 4,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor top = t.faceTop, bottom = t.faceBottom, border = t.edge;
                             if (s == 1)
                                 bottom = mix(t.faceBottom, t.accent, 0.2), border = t.accent;
                             if (s == 2)
                                 top = mix(t.faceBottom, t.accentDark, 0.25), border = t.accentDark;
                             if (s == 3)
                                 top = bottom = mix(t.window, t.faceBottom, 0.4), border = mix(t.edge, t.window, .5);
                             panel(p, t, r.adjusted(1, 1, -1, -1), smallRadius(t), top, bottom, border, s != 3);
                         }),
                   t.base, t.radius > 0);
}

QImage scrollArrows(const Theme &t) {
    bool dark = t.deco == Deco::Night;
    QColor trackC = dark ? t.chromeTrack : mix(t.window, t.faceBottom, 0.5);
    return flatten(strip(16, 16, 23,
                         [&](QPainter &p, QRectF r, int i) {
                             if (i >= 16) {
                                 p.fillRect(r, trackC);
                                 return;
                             }
                             int dir = i / 4, s = i % 4;
                             QColor top = dark ? t.chromeFace : t.faceTop;
                             QColor bottom = dark ? t.chromeFaceBottom : t.faceBottom;
                             QColor border = dark ? t.chromeEdge : t.edge;
                             QColor glyph = dark ? t.chromeText : t.text;
                             if (s == 1)
                                 top = top.lighter(110), bottom = mix(bottom, t.accent, 0.3), border = t.accent;
                             if (s == 2)
                                 top = mix(bottom, t.accentDark, 0.4), bottom = top, glyph = Qt::white;
                             if (s == 3)
                                 top = bottom = trackC, glyph = dark ? mix(t.chromeText, trackC, 0.6) : t.disabled,
                                 border = mix(border, trackC, 0.6);
                             p.fillRect(r, trackC);
                             panel(p, t, r, smallRadius(t), top, bottom, border, s != 3 && !dark);
                             drawArrow(p, r, dir, glyph, 3.5);
                         }),
                   t.window, false);
}

QImage scrollTrack(const Theme &t, bool horz) {
    bool dark = t.deco == Deco::Night;
    QColor trackC = dark ? t.chromeTrack : mix(t.window, t.faceBottom, 0.5);
    int w = horz ? 32 : 16, h = horz ? 16 : 32;
    return flatten(strip(w, h, 4,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor c = s == 2 ? mix(trackC, t.accentDark, 0.25)
                                        : s == 1 ? trackC.lighter(dark ? 115 : 103)
                                                 : trackC;
                             p.fillRect(r, c);
                             // A groove line along the track's middle, for depth.
                             p.setPen(QPen(alpha(dark ? Qt::black : t.edge, s == 3 ? 20 : 45), 1));
                             if (horz)
                                 p.drawLine(QPointF(r.left(), r.top() + 0.5), QPointF(r.right(), r.top() + 0.5));
                             else
                                 p.drawLine(QPointF(r.left() + 0.5, r.top()), QPointF(r.left() + 0.5, r.bottom()));
                         }),
                   t.window, false);
}

QImage scrollThumb(const Theme &t, bool horz) {
    bool dark = t.deco == Deco::Night;
    QColor trackC = dark ? t.chromeTrack : mix(t.window, t.faceBottom, 0.5);
    int w = horz ? 32 : 16, h = horz ? 16 : 32;
    return flatten(strip(w, h, 3,
                         [&](QPainter &p, QRectF r, int s) {
                             p.fillRect(r, trackC);
                             QRectF b = r.adjusted(horz ? 0 : 2, horz ? 2 : 0, horz ? 0 : -2, horz ? -2 : 0);
                             QColor a = dark ? t.chromeThumb : t.faceTop, z = dark ? t.chromeThumbBottom : t.faceBottom;
                             QColor border = dark ? t.chromeEdge : t.edge;
                             if (s == 1)
                                 a = dark ? t.chromeThumb.lighter(120) : a.lighter(104), z = mix(z, t.accent, 0.3),
                                 border = t.accent;
                             if (s == 2)
                                 a = z = mix(z, t.accentDark, 0.45), border = t.accentDark;
                             double rad = std::min<double>(t.radius, 5);
                             if (horz) {
                                 panel(p, t, b, rad, a, z, border, !dark);
                             } else {
                                 QLinearGradient g(b.topLeft(), b.topRight());
                                 g.setColorAt(0, a);
                                 g.setColorAt(1, z);
                                 p.setPen(QPen(border, 1));
                                 p.setBrush(g);
                                 p.drawPath(rounded(b.adjusted(0.5, 0.5, -0.5, -0.5), rad));
                             }
                         }),
                   t.window, false);
}

QImage menuBar(const Theme &t) {
    return flatten(strip(64, 22, 2,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor a = t.menuBarTop, z = t.menuBarBottom;
                             if (s == 1)
                                 a = mix(a, t.window, 0.5), z = mix(z, t.window, 0.5);
                             p.fillRect(r, vertical(r, a, z));
                             p.setPen(QPen(t.deco == Deco::Night ? t.chromeEdge : mix(t.edge, t.window, 0.5), 1));
                             p.drawLine(QPointF(r.left(), r.bottom() - 0.5), QPointF(r.right(), r.bottom() - 0.5));
                             if (t.deco == Deco::Lacquer) {
                                 p.setPen(QPen(alpha(t.trim, 160), 1));
                                 p.drawLine(QPointF(r.left(), r.bottom() - 1.5), QPointF(r.right(), r.bottom() - 1.5));
                             }
                         }),
                   t.window, false);
}

QImage menuBackground(const Theme &t) {
    return flatten(strip(32, 32, 1,
                         [&](QPainter &p, QRectF r, int) {
                             bool dark = t.deco == Deco::Night;
                             p.fillRect(r, t.menuBg);
                             p.setPen(QPen(dark ? t.chromeEdge : t.edge, 1));
                             p.setBrush(Qt::NoBrush);
                             p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
                             p.setPen(QPen(t.deco == Deco::Lacquer ? alpha(t.trim, 170)
                                           : dark                  ? alpha(t.accent, 150)
                                                                   : alpha(Qt::white, 200),
                                           1));
                             p.drawRect(r.adjusted(1.5, 1.5, -1.5, -1.5));
                         }),
                   t.window, false);
}

QImage menuItem(const Theme &t) {
    return flatten(strip(40, 22, 5,
                         [&](QPainter &p, QRectF r, int s) {
                             if (s == 0 || s == 3)
                                 return; // plain items show the background
                             QColor c = s == 1 ? t.menuSel : s == 2 ? t.accentDark : mix(t.menuBg, t.disabled, 0.25);
                             double rad = std::min(t.radius, 4);
                             panel(p, t, r.adjusted(1, 1, -1, -1), rad, c.lighter(108), c, c.darker(115),
                                   t.deco == Deco::Amber || t.deco == Deco::Soft);
                         }),
                   t.menuBg, true);
}

QImage headerBar(const Theme &t) {
    bool dark = t.deco == Deco::Night;
    return flatten(strip(40, 22, 5,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor a = dark ? t.chromeFace : t.faceTop, z = dark ? t.chromeFaceBottom : t.faceBottom;
                             if (s == 1)
                                 a = a.lighter(108), z = mix(z, t.accent, 0.2);
                             if (s == 2)
                                 a = z = mix(z, t.accentDark, 0.3);
                             if (s == 3)
                                 a = z = mix(t.window, z, 0.4);
                             p.fillRect(r, vertical(r, a, z));
                             QColor line = dark ? t.chromeEdge : t.edge;
                             p.setPen(QPen(line, 1));
                             p.drawLine(QPointF(r.left(), r.bottom() - 0.5), QPointF(r.right(), r.bottom() - 0.5));
                             p.setPen(QPen(alpha(line, 150), 1));
                             p.drawLine(QPointF(r.right() - 0.5, r.top() + 3), QPointF(r.right() - 0.5, r.bottom() - 3));
                             p.setPen(QPen(alpha(Qt::white, dark ? 40 : 200), 1));
                             p.drawLine(QPointF(r.left() + 0.5, r.top() + 3), QPointF(r.left() + 0.5, r.bottom() - 3));
                             if (s == 4 || t.deco == Deco::Lacquer) {
                                 p.setPen(QPen(s == 4 ? t.accent : alpha(t.trim, 200), 2));
                                 p.drawLine(QPointF(r.left(), r.bottom() - 2), QPointF(r.right(), r.bottom() - 2));
                             }
                         }),
                   t.window, false);
}

QImage tabs(const Theme &t) {
    return flatten(strip(48, 26, 5,
                         [&](QPainter &p, QRectF r, int s) {
                             QColor a = t.faceTop, z = t.faceBottom, border = t.edge;
                             QRectF b = r.adjusted(0, s == 2 ? 0 : 2, 0, 4); // the bottom edge runs into the pane
                             if (s == 1)
                                 z = mix(z, t.accent, 0.15), border = t.accent;
                             if (s == 2)
                                 a = t.window.lighter(104), z = t.window;
                             if (s == 3)
                                 a = z = mix(t.window, t.faceBottom, 0.3), border = mix(t.edge, t.window, 0.5);
                             if (s == 4)
                                 border = t.accent;
                             panel(p, t, b, std::min(t.radius, 5), a, z, border, s != 3);
                             if (s == 2) {
                                 p.setPen(QPen(t.accent, 2));
                                 p.drawLine(QPointF(b.left() + 3, b.top() + 1), QPointF(b.right() - 3, b.top() + 1));
                             }
                         }),
                   t.window, true);
}

QImage tabPane(const Theme &t) {
    return flatten(strip(16, 16, 1,
                         [&](QPainter &p, QRectF r, int) {
                             p.setPen(QPen(t.edge, 1));
                             p.setBrush(t.window);
                             p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
                         }),
                   t.window, false);
}

QImage progressBar(const Theme &t) {
    return flatten(strip(40, 16, 1,
                         [&](QPainter &p, QRectF r, int) {
                             p.setPen(QPen(t.edge, 1));
                             p.setBrush(vertical(r, mix(t.base, t.faceBottom, 0.5), t.base));
                             p.drawPath(rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), smallRadius(t)));
                         }),
                   t.window, t.radius > 0);
}

QImage progressChunk(const Theme &t) {
    return flatten(strip(12, 16, 1,
                         [&](QPainter &p, QRectF r, int) {
                             panel(p, t, r.adjusted(0, 1, 0, -1), std::min(t.radius, 2), t.accent.lighter(130),
                                   t.accent, t.accentDark, false);
                         }),
                   t.base, false);
}

QImage frameTop(const Theme &t) {
    // Bamboo tiles its middle: a whole number of node spacings keeps the nodes evenly spaced across tiles.
    int w = t.deco == Deco::Bamboo ? 2 * captionEnd(t) + 4 * 38 : 200, h = t.captionH, rad = windowRadius(t);
    return flatten(
        strip(w, h, 2,
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
                  case Deco::Bamboo: {
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
                  }
                  case Deco::Night:
                      p.setPen(QPen(alpha(Qt::white, 30), 1));
                      p.drawLine(QPointF(r.left(), r.top() + 0.5), QPointF(r.right(), r.top() + 0.5));
                      if (s == 0) {
                          p.setPen(QPen(t.trim, 1));
                          p.drawLine(QPointF(r.left(), r.bottom() - 0.5), QPointF(r.right(), r.bottom() - 0.5));
                      }
                      break;
                  }
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

QImage captionButton(const Theme &t, CaptionGlyph g) {
    int w = t.capBtnW, h = t.capBtnH;
    return flatten(
        strip(w, h, 3,
              [&](QPainter &p, QRectF r, int s) {
                  bool close = g == CaptionGlyph::Close;
                  QColor glyph = t.capText;
                  QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
                  switch (t.deco) {
                  case Deco::Soft:
                  case Deco::Amber: {
                      // Opaque fills: the bitmap has no alpha, only magenta for what is not the button.
                      QColor fill = s == 0 ? (t.deco == Deco::Amber ? mix(t.capBottom, Qt::white, 0.6)
                                                                    : t.capBottom.darker(112))
                                           : (close ? t.closeHot : (t.deco == Deco::Amber ? mix(t.capBottom, Qt::white, 0.85)
                                                                                          : t.capTop.lighter(112)));
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
                  case Deco::Bamboo: {
                      QColor fill = s == 0 ? t.capTop : s == 1 ? (close ? t.closeHot : t.capTop.lighter(120))
                                                               : t.capBottom.darker(115);
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
                      break;
                  }
                  }
                  QPointF m = r.center();
                  double k = std::min(w, h) * (t.deco == Deco::Ink || t.deco == Deco::Night ? 0.2 : 0.24);
                  QPen pen(glyph, t.deco == Deco::Ink || t.deco == Deco::Night ? 1.3 : 1.8);
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
