// SPDX-License-Identifier: GPL-3.0-or-later
// Buttons, check and radio boxes, group boxes, edit and combo boxes, scroll bars.
#include "Draw.h"
#include "DrawKit.h"

namespace skingen {

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
    return flatten(
        strip(15, 15, 8,
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
                      fill = s == 1 ? t.accent.lighter(115) : t.accent, border = t.accentDark, mark = Qt::white;
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
                      p.drawPolyline(QPolygonF() << o + QPointF(3, 6.5) << o + QPointF(5.5, 9) << o + QPointF(10, 3.5));
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
                             p.drawLine(QPointF(b.left() + 1.5, b.top() + 1.5),
                                        QPointF(b.right() - 1.5, b.top() + 1.5));
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
                             QColor c = s == 2   ? mix(trackC, t.accentDark, 0.25)
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

} // namespace skingen
