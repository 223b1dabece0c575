// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/engine/SkinStyle.h"

#include "skins/engine/SkinStyleShared.h"
#include "skins/engine/SkinTheme.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace velmora {

using namespace skinstyle;

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
    return drawButtonPrimitive(t, pe, opt, p, w) || drawMenuPrimitive(t, pe, opt, p, w) ||
           drawBoxPrimitive(t, pe, opt, p, w);
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
    return drawMenuControl(t, ce, opt, p, w) || drawButtonControl(t, ce, opt, p, w);
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

QRect SkinStyle::subControlRect(ComplexControl cc, const QStyleOptionComplex *opt, SubControl sc,
                                const QWidget *w) const {
    if (const SkinTheme *t = themeOf(w))
        if (std::optional<QRect> r = boxSubControlRect(*t, cc, opt, sc))
            return *r;
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
    return menuSize(ct, opt, size, base);
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
