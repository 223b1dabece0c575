// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar and menus, header bars, tabs and progress bars.
#include "Draw.h"
#include "DrawKit.h"

namespace skingen {

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
                             p.drawLine(QPointF(r.right() - 0.5, r.top() + 3),
                                        QPointF(r.right() - 0.5, r.bottom() - 3));
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

} // namespace skingen
