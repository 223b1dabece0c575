// SPDX-License-Identifier: GPL-3.0-or-later
// Push buttons, check and radio indicators, header sections, tabs and progress bars.
#include "skins/engine/SkinStyle.h"

#include "skins/engine/SkinStyleShared.h"
#include "skins/engine/SkinTheme.h"

#include <QAbstractButton>
#include <QStyleOption>

namespace velmora {

using namespace skinstyle;

bool SkinStyle::drawButtonPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                                    const QWidget *w) const {
    const ParsedSkin &s = t.skin;
    switch (pe) {
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel: {
        int frame = stateFrame(opt->state);
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(opt);
        if (frame == 0 &&
            ((opt->state & State_HasFocus) || (button && (button->features & QStyleOptionButton::DefaultButton))))
            frame = 4;
        return drawPart(p, opt->rect, s.buttons.push, frame);
    }
    case PE_FrameFocusRect:
        // Buttons show focus in their own frame; other widgets keep the usual focus rectangle.
        return qobject_cast<const QAbstractButton *>(w) != nullptr;
    case PE_FrameDefaultButton:
        return true;
    case PE_IndicatorCheckBox:
    case PE_IndicatorRadioButton: {
        bool radio = pe == PE_IndicatorRadioButton;
        const SkinImage &img = radio ? s.buttons.radioButton : s.buttons.checkButton;
        int frames = radio ? s.buttons.radioFrames : s.buttons.checkFrames;
        if (img.isNull())
            return false;
        bool on = opt->state & (State_On | State_NoChange);
        int state = !(opt->state & State_Enabled)    ? 3
                    : (opt->state & State_Sunken)    ? 2
                    : (opt->state & State_MouseOver) ? 1
                                                     : 0;
        int index = frames >= 8 ? state + (on ? 4 : 0) : (on ? std::min(1, frames - 1) : 0);
        QRect src = frameRect(img.masked, frames, index);
        QRect target(QPoint(0, 0), src.size().boundedTo(opt->rect.size()));
        target.moveCenter(opt->rect.center());
        p->drawImage(target, img.masked, src);
        return true;
    }
    case PE_FrameTabWidget:
        return drawPart(p, opt->rect, s.tabPane, 0);
    default:
        return false;
    }
}

bool SkinStyle::drawButtonControl(const SkinTheme &t, ControlElement ce, const QStyleOption *opt, QPainter *p,
                                  const QWidget *w) const {
    const ParsedSkin &s = t.skin;
    switch (ce) {
    case CE_HeaderSection: {
        const auto *h = qstyleoption_cast<const QStyleOptionHeader *>(opt);
        int index = stateFrame(opt->state);
        if (index == 0 && h && h->sortIndicator != QStyleOptionHeader::None && s.headerbar.frames >= 5)
            index = 4;
        return drawPart(p, opt->rect, s.headerbar, index);
    }
    case CE_HeaderLabel: {
        if (!s.headerbar.present)
            return false;
        const auto *h = qstyleoption_cast<const QStyleOptionHeader *>(opt);
        if (!h)
            return false;
        QStyleOptionHeader copy(*h);
        QColor text = SkinTheme::partText(s.headerbar, stateFrame(opt->state) == 2 ? 2 : 0);
        if (text.isValid() && (opt->state & State_Enabled)) {
            copy.palette.setColor(QPalette::ButtonText, text);
            copy.palette.setColor(QPalette::WindowText, text);
        }
        QProxyStyle::drawControl(ce, &copy, p, w);
        return true;
    }
    case CE_TabBarTabShape: {
        int index = !(opt->state & State_Enabled)    ? 3
                    : (opt->state & State_Selected)  ? 2
                    : (opt->state & State_MouseOver) ? 1
                    : (opt->state & State_HasFocus)  ? 4
                                                     : 0;
        return drawPart(p, opt->rect, s.tabs, index);
    }
    case CE_ProgressBarGroove:
        return drawPart(p, opt->rect, s.progress.bar, 0);
    case CE_ProgressBarContents: {
        const auto *pb = qstyleoption_cast<const QStyleOptionProgressBar *>(opt);
        if (!pb || !s.progress.chunk.present)
            return false;
        qint64 span = qint64(pb->maximum) - pb->minimum;
        if (span <= 0)
            return true;
        QRect r = opt->rect.adjusted(2, 2, -2, -2);
        double frac = double(qint64(pb->progress) - pb->minimum) / double(span);
        frac = std::clamp(frac, 0.0, 1.0);
        bool vertical = !(pb->state & State_Horizontal);
        QRect fill = vertical
                         ? QRect(r.left(), r.bottom() + 1 - int(r.height() * frac), r.width(), int(r.height() * frac))
                         : QRect(r.left(), r.top(), int(r.width() * frac), r.height());
        if (pb->invertedAppearance && !vertical)
            fill.moveRight(r.right());
        drawPart(p, fill, s.progress.chunk, 0);
        return true;
    }
    default:
        return false;
    }
}

} // namespace velmora
