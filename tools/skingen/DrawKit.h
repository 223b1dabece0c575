// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing helpers every skin bitmap is made with: colour mixing, frame strips, rounded shapes, the skin's
// panel manner and arrows.
#pragma once

#include "Theme.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace skingen {

QColor mix(const QColor &a, const QColor &b, double t);
QColor alpha(QColor c, int a);
// A transparent image of w x h.
QImage canvas(int w, int h);
// Draws `frames` frames of size w x h side by side, each by `draw(painter, frameRect, index)`; the image has
// stripScale times as many pixels each way, the drawing the same coordinates.
extern double stripScale;
QImage strip(int w, int h, int frames, const std::function<void(QPainter &, QRectF, int)> &draw);
QPainterPath rounded(const QRectF &r, double radius);
QLinearGradient vertical(const QRectF &r, const QColor &top, const QColor &bottom);
// A filled, outlined shape in the skin's manner: gradient, border and the skin's own finishing lines.
void panel(QPainter &p, const Theme &t, const QRectF &outer, double radius, const QColor &top, const QColor &bottom,
           const QColor &border, bool finish = true);
// A filled triangle pointing `dir`: 0 up, 1 down, 2 left, 3 right.
void drawArrow(QPainter &p, const QRectF &r, int dir, const QColor &c, double size);
int smallRadius(const Theme &t);

} // namespace skingen
