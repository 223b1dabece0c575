// SPDX-License-Identifier: GPL-3.0-or-later
// A parsed skin made ready for painting: the palette built from its colours, the window frame's sizes, and
// the drawing of a part's state frame with fixed edges (9-slice), tiling and magenta transparency.
#pragma once

#include "skins/format/ParsedSkin.h"

#include <QMargins>
#include <QPalette>

class QPainter;

namespace velmora {

struct SkinTheme {
    ParsedSkin skin;
    QPalette palette;

    explicit SkinTheme(ParsedSkin parsed);

    // The frame a skinned window gets around its client area: the side images' widths, the caption bar's
    // height at the top.
    QMargins frameMargins() const { return frame_; }
    // The caption's font: the window's family at the skin's "FontHeight" in pixels.
    QFont captionFont(const QFont &windowFont) const;
    // Text colour of a part state, from its colour text (NormalColour2 / MouseOverColour2 / PressedColour2).
    static QColor partText(const SkinPart &part, int state);

private:
    QMargins frame_;
};

// One state frame of an image holding `frames` frames side by side.
QRect frameRect(const QImage &image, int frames, int index);

// Draws frame `index` into `target`: the four edges keep their size (shrunk evenly when the target is
// smaller), the edges' middles and the centre are stretched, or tiled with `tile`.
// `image2x`, when given and exactly twice as large, is drawn instead on a painter scaled above 1.
void drawNineSlice(QPainter *p, const QRect &target, const QImage &image, int frames, int index, const QMargins &edges,
                   bool tile, bool drawCentre = true, const QImage *image2x = nullptr);

// The bitmap to paint with at the painter's scale: the double-size one on a scaled screen when there is one.
const QImage *doubleSizeFor(const QPainter *p, const QImage &image, const QImage &image2x);

// A part section's frame, with its own edge sizes, tiling and transparency. False when the skin has no part.
bool drawPart(QPainter *p, const QRect &target, const SkinPart &part, int index, bool drawCentre = true);

// A window-frame side: fixed lengths at both ends (top/bottom of a vertical side, left/right of a horizontal
// one), the middle stretched or tiled.
void drawFrameSide(QPainter *p, const QRect &target, const SkinFrameSide &side, int index, bool vertical);

} // namespace velmora
