// SPDX-License-Identifier: GPL-3.0-or-later
// What the skin style's painting files share: the sizes the skinned look adds, a painter guard and the state
// frame of button-like parts.
#pragma once

#include <QPainter>
#include <QStyle>

namespace velmora::skinstyle {

// Every size the skinned look adds, in one place.
namespace metric {
constexpr int kScrollExtent = 16;      // scroll bar thickness and arrow button size (the arrow frames' size)
constexpr int kScrollSliderMin = 18;   // shortest thumb
constexpr int kIndicator = 15;         // check and radio images
constexpr int kMenuItemMinHeight = 22; // popup menu rows
constexpr int kMenuTextLeft = 24;      // popup menu text start (room for a check mark)
constexpr int kMenuTextRight = 14;     // popup menu text end margin (room for a sub-menu arrow)
constexpr int kMenuBarItemPadH = 8;    // menu bar item text padding
constexpr int kGroupTitlePad = 8;      // group box title plate padding, left and right
constexpr int kGroupTitlePadV = 6;     // group box title plate: height beyond the text's
constexpr int kComboArrowHalf = 4;     // combo box arrow half width
constexpr int kComboButton = 17;       // combo box button width
constexpr int kComboInset = 2;         // combo box: the button and the text stay inside the sunken edge
} // namespace metric

// Saves the painter state on entry and restores it on every way out.
class PainterGuard {
public:
    explicit PainterGuard(QPainter *p) : p_(p) { p_->save(); }
    ~PainterGuard() { p_->restore(); }
    PainterGuard(const PainterGuard &) = delete;
    PainterGuard &operator=(const PainterGuard &) = delete;

private:
    QPainter *p_;
};

// The state frame shared by buttons and similar parts: 0 normal, 1 hot, 2 pressed, 3 disabled.
inline int stateFrame(const QStyle::State &s) {
    if (!(s & QStyle::State_Enabled))
        return 3;
    if (s & (QStyle::State_Sunken | QStyle::State_On))
        return 2;
    if (s & QStyle::State_MouseOver)
        return 1;
    return 0;
}

} // namespace velmora::skinstyle
