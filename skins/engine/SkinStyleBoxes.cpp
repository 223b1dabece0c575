// SPDX-License-Identifier: GPL-3.0-or-later
// Scroll bars, combo boxes, group boxes, and the edit boxes and frames drawn with the sunken edge.
#include "skins/engine/SkinStyle.h"

#include "skins/engine/SkinStyleShared.h"
#include "skins/engine/SkinTheme.h"

#include <QStyleOption>

namespace velmora {

using namespace skinstyle;

namespace {

void drawTriangle(QPainter *p, const QPoint &centre, int half, const QColor &c) {
    PainterGuard guard(p);
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(Qt::NoPen);
    p->setBrush(c);
    QPolygonF tri;
    tri << QPointF(centre.x() - half, centre.y() - half / 2.0) << QPointF(centre.x() + half, centre.y() - half / 2.0)
        << QPointF(centre.x(), centre.y() + half / 2.0 + 1);
    p->drawPolygon(tri);
}

} // namespace

bool SkinStyle::drawBoxPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                                 const QWidget *w) const {
    const ParsedSkin &s = t.skin;
    switch (pe) {
    case PE_FrameGroupBox:
        return drawPart(p, opt->rect, s.groupBoxEdge, (opt->state & State_Enabled) ? 0 : 1, false);
    case PE_PanelLineEdit: {
        const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(opt);
        if (frame && frame->lineWidth <= 0) {
            p->fillRect(opt->rect, opt->palette.brush(QPalette::Base));
            return true;
        }
        int index = !(opt->state & State_Enabled)    ? 3
                    : (opt->state & State_HasFocus)  ? 2
                    : (opt->state & State_MouseOver) ? 1
                                                     : 0;
        if (!drawPart(p, opt->rect, s.sunkEdge, index))
            return false;
        // The edit's own Base colour, when the program sets one, fills inside the edge.
        if (w && w->palette().resolveMask() & (1ULL << (QPalette::Base * QPalette::NColorGroups)))
            p->fillRect(opt->rect.adjusted(2, 2, -2, -2), opt->palette.brush(QPalette::Base));
        return true;
    }
    case PE_FrameLineEdit:
        return true; // drawn with the panel
    case PE_Frame:
    case PE_FrameWindow:
        return drawPart(p, opt->rect, s.sunkEdge, (opt->state & State_Enabled) ? 0 : 3, false);
    case PE_PanelScrollAreaCorner:
        p->fillRect(opt->rect, s.colours.scrollbar);
        return true;
    default:
        return false;
    }
}

void SkinStyle::drawScrollBar(const SkinTheme &t, const QStyleOptionComplex *opt, QPainter *p, const QWidget *w) const {
    const auto *sb = qstyleoption_cast<const QStyleOptionSlider *>(opt);
    if (!sb)
        return;
    const ParsedSkin &s = t.skin;
    bool horz = sb->orientation == Qt::Horizontal;
    bool enabled = opt->state & State_Enabled;
    auto subState = [&](SubControl sc) {
        if (!enabled)
            return 3;
        if ((sb->activeSubControls & sc) && (opt->state & State_Sunken))
            return 2;
        if ((sb->activeSubControls & sc) && (opt->state & State_MouseOver))
            return 1;
        return 0;
    };
    QRect groove = proxy()->subControlRect(CC_ScrollBar, sb, SC_ScrollBarGroove, w);
    const SkinPart &track = horz ? s.horzScroll : s.vertScroll;
    int trackState =
        !enabled                                                                                               ? 3
        : (opt->state & State_Sunken) && (sb->activeSubControls & (SC_ScrollBarAddPage | SC_ScrollBarSubPage)) ? 2
                                                                                                               : 0;
    drawPart(p, groove, track, trackState);

    // Arrow frames: up, down, left, right, four states each.
    QRect sub = proxy()->subControlRect(CC_ScrollBar, sb, SC_ScrollBarSubLine, w);
    QRect add = proxy()->subControlRect(CC_ScrollBar, sb, SC_ScrollBarAddLine, w);
    bool atMin = sb->sliderValue <= sb->minimum, atMax = sb->sliderValue >= sb->maximum;
    int subDir = horz ? 2 : 0, addDir = horz ? 3 : 1;
    int subS = atMin && enabled ? 3 : subState(SC_ScrollBarSubLine);
    int addS = atMax && enabled ? 3 : subState(SC_ScrollBarAddLine);
    drawPart(p, sub, s.scrollbar, subDir * 4 + subS);
    drawPart(p, add, s.scrollbar, addDir * 4 + addS);

    if (enabled && sb->maximum > sb->minimum) {
        QRect slider = proxy()->subControlRect(CC_ScrollBar, sb, SC_ScrollBarSlider, w);
        const SkinScrollThumb &thumb = horz ? s.horzScrollThumb : s.vertScrollThumb;
        int st = subState(SC_ScrollBarSlider);
        drawPart(p, slider, thumb.part, std::min(st, thumb.part.frames - 1));
    }
}

void SkinStyle::drawComboBox(const SkinTheme &t, const QStyleOptionComplex *opt, QPainter *p, const QWidget *w) const {
    const auto *cb = qstyleoption_cast<const QStyleOptionComboBox *>(opt);
    if (!cb)
        return;
    const ParsedSkin &s = t.skin;
    bool enabled = opt->state & State_Enabled;
    int edge = !enabled ? 3 : (opt->state & State_HasFocus) ? 2 : (opt->state & State_MouseOver) ? 1 : 0;
    if (cb->frame)
        drawPart(p, opt->rect, s.sunkEdge, edge);
    else
        p->fillRect(opt->rect, opt->palette.brush(QPalette::Base));
    QRect arrow = proxy()->subControlRect(CC_ComboBox, cb, SC_ComboBoxArrow, w);
    int state = !enabled                                                                    ? 3
                : (cb->activeSubControls & SC_ComboBoxArrow) && (opt->state & State_Sunken) ? 2
                : (opt->state & State_MouseOver)                                            ? 1
                                                                                            : 0;
    drawPart(p, arrow, s.comboButton, state);
    QColor glyph = enabled ? SkinTheme::partText(s.comboButton, state)
                           : opt->palette.color(QPalette::Disabled, QPalette::ButtonText);
    if (!glyph.isValid())
        glyph = s.colours.buttonText;
    drawTriangle(p, arrow.center() + QPoint(state == 2 ? 1 : 0, state == 2 ? 1 : 0), metric::kComboArrowHalf, glyph);
}

void SkinStyle::drawGroupBox(const SkinTheme &t, const QStyleOptionComplex *opt, QPainter *p, const QWidget *w) const {
    const auto *gb = qstyleoption_cast<const QStyleOptionGroupBox *>(opt);
    if (!gb)
        return;
    const ParsedSkin &s = t.skin;
    bool enabled = opt->state & State_Enabled;
    QRect frame = proxy()->subControlRect(CC_GroupBox, gb, SC_GroupBoxFrame, w);
    drawPart(p, frame, s.groupBoxEdge, enabled ? 0 : 1, false);
    if (gb->text.isEmpty())
        return;
    QRect label = proxy()->subControlRect(CC_GroupBox, gb, SC_GroupBoxLabel, w);
    bool plate = drawPart(p, label, s.groupBox.part, 0);
    QColor text = plate ? SkinTheme::partText(s.groupBox.part, 0) : gb->textColor;
    if (!text.isValid())
        text = opt->palette.color(QPalette::WindowText);
    if (!enabled)
        text = opt->palette.color(QPalette::Disabled, QPalette::WindowText);
    p->setPen(text);
    p->drawText(label, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, gb->text);
}

std::optional<QRect> SkinStyle::boxSubControlRect(const SkinTheme &t, ComplexControl cc, const QStyleOptionComplex *opt,
                                                  SubControl sc) const {
    if (cc == CC_GroupBox) {
        const auto *gb = qstyleoption_cast<const QStyleOptionGroupBox *>(opt);
        if (gb) {
            QFontMetrics fm = gb->fontMetrics;
            int h = fm.height() + metric::kGroupTitlePadV;
            int textW = fm.horizontalAdvance(gb->text);
            int shift = std::max(t.skin.groupBox.backgroundLeftShift, 4);
            QRect label(opt->rect.left() + shift, opt->rect.top(), textW + 2 * metric::kGroupTitlePad, h);
            label = label.intersected(opt->rect);
            switch (sc) {
            case SC_GroupBoxLabel:
                return gb->text.isEmpty() ? QRect() : label;
            case SC_GroupBoxFrame:
                return gb->text.isEmpty() ? opt->rect : opt->rect.adjusted(0, h / 2, 0, 0);
            case SC_GroupBoxContents:
                return opt->rect.adjusted(4, h + 2, -4, -4);
            default:
                break;
            }
        }
    }
    if (cc == CC_ComboBox) {
        // The button sits inside the sunken edge, so the edge runs unbroken around the whole box.
        QRect r = opt->rect;
        int in = metric::kComboInset;
        QRect arrow(r.right() + 1 - in - metric::kComboButton, r.top() + in, metric::kComboButton,
                    std::max(0, r.height() - 2 * in));
        switch (sc) {
        case SC_ComboBoxArrow:
            return arrow;
        case SC_ComboBoxEditField:
            return QRect(r.left() + in + 2, r.top() + in, std::max(0, arrow.left() - r.left() - in - 3),
                         std::max(0, r.height() - 2 * in));
        case SC_ComboBoxFrame:
            return r;
        default:
            break;
        }
    }
    return std::nullopt;
}

} // namespace velmora
