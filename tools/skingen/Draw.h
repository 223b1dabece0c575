// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the bitmaps of one skin. Every image holds its state frames side by side, frame 0 at the left.
#pragma once

#include "Theme.h"

#include <QImage>

namespace skingen {

// Semi-transparent pixels are composed over `backdrop`; with `trans`, nearly transparent ones become magenta,
// the colour the engine treats as transparent.
QImage flatten(const QImage &argb, const QColor &backdrop, bool trans);

QImage pushButton(const Theme &t);             // 5 frames: normal, hot, pressed, disabled, default
QImage checkBox(const Theme &t, bool radio);   // 8 frames: off normal/hot/pressed/disabled, on likewise
QImage groupEdge(const Theme &t);              // 2 frames: enabled, disabled
QImage groupPlate(const Theme &t);             // 1 frame: the plate behind a group box's title
QImage sunkEdge(const Theme &t);               // 4 frames: normal, hot, focused, disabled
QImage comboButton(const Theme &t);            // 4 frames: normal, hot, pressed, disabled
QImage scrollArrows(const Theme &t);           // 23 frames: up, down, left, right x 4 states, then spares
QImage scrollTrack(const Theme &t, bool horz); // 4 frames
QImage scrollThumb(const Theme &t, bool horz); // 3 frames: normal, hot, pressed
QImage menuBar(const Theme &t);                // 2 frames: active, inactive
QImage menuBackground(const Theme &t);         // 1 frame
QImage menuItem(const Theme &t);               // 5 frames: normal, selected, open, disabled, disabled selected
QImage headerBar(const Theme &t);              // 5 frames: normal, hot, pressed, disabled, sorted
QImage tabs(const Theme &t);                   // 5 frames: normal, hot, selected, disabled, focused
QImage tabPane(const Theme &t);                // 1 frame
QImage progressBar(const Theme &t);            // 1 frame
QImage progressChunk(const Theme &t);          // 1 frame
QImage frameTop(const Theme &t);               // 2 frames: active, inactive; the caption bar
QImage frameSide(const Theme &t, bool left);   // 2 frames
QImage frameBottom(const Theme &t);            // 2 frames
QImage captionTextBack(const Theme &t);        // 2 frames, or null when the skin has none
enum class CaptionGlyph { Close, Maximise, Minimise };
QImage captionButton(const Theme &t, CaptionGlyph g); // 3 frames: normal, hot, pressed

// Corner radius of the window frame; also the unstretched ends of the caption bar.
int windowRadius(const Theme &t);
int captionEnd(const Theme &t);

} // namespace skingen
