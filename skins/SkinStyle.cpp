#include "skins/SkinStyle.h"

#include "skins/SkinTheme.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace velmora {

namespace {

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
int stateFrame(const QStyle::State &s) {
    if (!(s & QStyle::State_Enabled))
        return 3;
    if (s & (QStyle::State_Sunken | QStyle::State_On))
        return 2;
    if (s & QStyle::State_MouseOver)
        return 1;
    return 0;
}

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

SkinStyle::SkinStyle(const QString &baseStyleName, ThemeLookup themeOf)
    : QProxyStyle(QStyleFactory::create(baseStyleName)), themeOf_(std::move(themeOf)) {}

void SkinStyle::drawPrimitive(PrimitiveElement pe, const QStyleOption *opt, QPainter *p, const QWidget *w) const {
    if (const SkinTheme *t = themeOf(w)) {
        PainterGuard guard(p);
        if (drawSkinnedPrimitive(*t, pe, opt, p, w))
            return;
    }
    QProxyStyle::drawPrimitive(pe, opt, p, w);
}

bool SkinStyle::drawSkinnedPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
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
    case PE_PanelMenu:
        if (!drawPart(p, opt->rect, s.menuBackground, 0))
            p->fillRect(opt->rect, s.colours.menu);
        return true;
    case PE_FrameMenu:
        return s.menuBackground.present;
    case PE_PanelMenuBar:
        if (s.personality.menuBar.isNull())
            return false;
        drawNineSlice(p, opt->rect, s.personality.menuBar.image, 2, 0, QMargins(), s.personality.tileMenu == 0);
        return true;
    case PE_PanelScrollAreaCorner:
        p->fillRect(opt->rect, s.colours.scrollbar);
        return true;
    case PE_FrameTabWidget:
        return drawPart(p, opt->rect, s.tabPane, 0);
    default:
        return false;
    }
}

void SkinStyle::drawControl(ControlElement ce, const QStyleOption *opt, QPainter *p, const QWidget *w) const {
    if (const SkinTheme *t = themeOf(w)) {
        PainterGuard guard(p);
        if (drawSkinnedControl(*t, ce, opt, p, w))
            return;
    }
    QProxyStyle::drawControl(ce, opt, p, w);
}

bool SkinStyle::drawSkinnedControl(const SkinTheme &t, ControlElement ce, const QStyleOption *opt, QPainter *p,
                                   const QWidget *w) const {
    const ParsedSkin &s = t.skin;
    switch (ce) {
    case CE_MenuBarEmptyArea:
        if (s.personality.menuBar.isNull())
            return false;
        drawNineSlice(p, opt->rect, s.personality.menuBar.image, 2, 0, QMargins(), s.personality.tileMenu == 0);
        return true;
    case CE_MenuBarItem: {
        const auto *mi = qstyleoption_cast<const QStyleOptionMenuItem *>(opt);
        if (!mi || s.personality.menuBar.isNull())
            return false;
        // The bar's image runs on under the item, so the bar reads as one piece.
        QRect bar = w ? w->rect() : opt->rect;
        p->setClipRect(opt->rect);
        drawNineSlice(p, bar, s.personality.menuBar.image, 2, 0, QMargins(), s.personality.tileMenu == 0);
        bool enabled = opt->state & State_Enabled;
        bool open = opt->state & State_Sunken;
        bool hot = (opt->state & State_Selected) && enabled;
        int state = 0;
        if (open && enabled)
            state = 2, drawPart(p, opt->rect.adjusted(0, 1, 0, -1), s.menuItem, 2);
        else if (hot)
            state = 1, drawPart(p, opt->rect.adjusted(0, 1, 0, -1), s.menuItem, 1);
        QColor text = state ? SkinTheme::partText(s.menuItem, state) : s.colours.menuBarText;
        if (!enabled)
            text = opt->palette.color(QPalette::Disabled, QPalette::WindowText);
        p->setPen(text);
        p->drawText(opt->rect, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, mi->text);
        return true;
    }
    case CE_MenuItem:
        drawMenuItem(t, opt, p, w);
        return true;
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

void SkinStyle::drawMenuItem(const SkinTheme &t, const QStyleOption *opt, QPainter *p, const QWidget *w) const {
    const auto *mi = qstyleoption_cast<const QStyleOptionMenuItem *>(opt);
    if (!mi)
        return;
    const ParsedSkin &s = t.skin;
    if (mi->menuItemType == QStyleOptionMenuItem::Separator) {
        // An etched line in the menu's own colour, so it reads on light and dark menus alike.
        int y = opt->rect.center().y();
        bool dark = s.colours.menu.lightness() < 110;
        p->setPen(dark ? s.colours.menu.darker(160) : s.colours.buttonShadow);
        p->drawLine(opt->rect.left() + 6, y, opt->rect.right() - 6, y);
        p->setPen(dark ? s.colours.menu.lighter(170) : s.colours.buttonHilight);
        p->drawLine(opt->rect.left() + 6, y + 1, opt->rect.right() - 6, y + 1);
        return;
    }
    bool enabled = opt->state & State_Enabled;
    bool selected = opt->state & State_Selected;
    if (selected)
        drawPart(p, opt->rect.adjusted(2, 0, -2, 0), s.menuItem, enabled ? 1 : 4);
    QColor text = !enabled   ? opt->palette.color(QPalette::Disabled, QPalette::Text)
                  : selected ? SkinTheme::partText(s.menuItem, 1)
                             : SkinTheme::partText(s.menuItem, 0);
    if (!text.isValid())
        text = s.colours.menuText;
    if (mi->checked) {
        QRect box(opt->rect.left() + 6, opt->rect.center().y() - 5, 10, 10);
        PainterGuard guard(p);
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(text, 1.6));
        p->drawPolyline(QPolygonF() << QPointF(box.left() + 1, box.top() + 5)
                                    << QPointF(box.left() + 4, box.bottom() - 1)
                                    << QPointF(box.right(), box.top() + 1));
    }
    QString label = mi->text, shortcut;
    int tab = label.indexOf(QLatin1Char('\t'));
    if (tab >= 0) {
        shortcut = label.mid(tab + 1);
        label.truncate(tab);
    }
    QRect textRect = opt->rect.adjusted(metric::kMenuTextLeft, 0, -metric::kMenuTextRight, 0);
    p->setPen(text);
    p->setFont(mi->font);
    p->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic | Qt::TextSingleLine, label);
    if (!shortcut.isEmpty())
        p->drawText(textRect, Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine, shortcut);
    if (mi->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QPoint c(opt->rect.right() - 8, opt->rect.center().y());
        PainterGuard guard(p);
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(Qt::NoPen);
        p->setBrush(text);
        p->drawPolygon(QPolygon() << c + QPoint(-2, -4) << c + QPoint(2, 0) << c + QPoint(-2, 4));
    }
    (void)w;
}

void SkinStyle::drawComplexControl(ComplexControl cc, const QStyleOptionComplex *opt, QPainter *p,
                                   const QWidget *w) const {
    if (const SkinTheme *t = themeOf(w)) {
        PainterGuard guard(p);
        switch (cc) {
        case CC_ScrollBar:
            if (t->skin.scrollbar.present && t->skin.horzScroll.present && t->skin.vertScroll.present) {
                drawScrollBar(*t, opt, p, w);
                return;
            }
            break;
        case CC_ComboBox:
            if (t->skin.sunkEdge.present && t->skin.comboButton.present) {
                drawComboBox(*t, opt, p, w);
                return;
            }
            break;
        case CC_GroupBox:
            if (t->skin.groupBoxEdge.present) {
                drawGroupBox(*t, opt, p, w);
                return;
            }
            break;
        default:
            break;
        }
    }
    QProxyStyle::drawComplexControl(cc, opt, p, w);
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

QRect SkinStyle::subControlRect(ComplexControl cc, const QStyleOptionComplex *opt, SubControl sc,
                                const QWidget *w) const {
    if (cc == CC_GroupBox && themeOf(w)) {
        const auto *gb = qstyleoption_cast<const QStyleOptionGroupBox *>(opt);
        if (gb) {
            const SkinTheme *t = themeOf(w);
            QFontMetrics fm = gb->fontMetrics;
            int h = fm.height() + metric::kGroupTitlePadV;
            int textW = fm.horizontalAdvance(gb->text);
            int shift = std::max(t->skin.groupBox.backgroundLeftShift, 4);
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
    if (cc == CC_ComboBox && themeOf(w)) {
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
    return QProxyStyle::subControlRect(cc, opt, sc, w);
}

int SkinStyle::pixelMetric(PixelMetric m, const QStyleOption *opt, const QWidget *w) const {
    if (themeOf(w)) {
        switch (m) {
        case PM_ScrollBarExtent:
            return metric::kScrollExtent;
        case PM_ScrollBarSliderMin:
            return metric::kScrollSliderMin;
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return metric::kIndicator;
        default:
            break;
        }
    }
    return QProxyStyle::pixelMetric(m, opt, w);
}

QSize SkinStyle::sizeFromContents(ContentsType ct, const QStyleOption *opt, const QSize &size, const QWidget *w) const {
    QSize base = QProxyStyle::sizeFromContents(ct, opt, size, w);
    if (!themeOf(w))
        return base;
    if (ct == CT_MenuItem) {
        const auto *mi = qstyleoption_cast<const QStyleOptionMenuItem *>(opt);
        if (mi && mi->menuItemType != QStyleOptionMenuItem::Separator)
            return QSize(std::max(base.width(), size.width() + metric::kMenuTextLeft + metric::kMenuTextRight +
                                                    (mi->reservedShortcutWidth > 0 ? 16 : 0)),
                         std::max(base.height(), metric::kMenuItemMinHeight));
        return QSize(base.width(), 6);
    }
    if (ct == CT_MenuBarItem)
        return QSize(size.width() + 2 * metric::kMenuBarItemPadH, std::max(base.height(), size.height() + 6));
    return base;
}

int SkinStyle::styleHint(StyleHint hint, const QStyleOption *opt, const QWidget *w, QStyleHintReturn *ret) const {
    if (hint == SH_GroupBox_TextLabelColor && themeOf(w))
        return int(themeOf(w)->skin.colours.windowText.rgba());
    // A skinned combo box drops its list below itself, framed with the skin's sunken edge; its list then takes
    // the box's palette, which is the skin's, where a menu-like list would take the desktop's.
    if (hint == SH_ComboBox_Popup && themeOf(w))
        return 0;
    return QProxyStyle::styleHint(hint, opt, w, ret);
}

} // namespace velmora
