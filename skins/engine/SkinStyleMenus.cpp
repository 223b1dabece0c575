// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar, its items and popup menus.
#include "skins/engine/SkinStyle.h"

#include "skins/engine/SkinStyleShared.h"
#include "skins/engine/SkinTheme.h"

#include <QStyleOption>

namespace velmora {

using namespace skinstyle;

bool SkinStyle::drawMenuPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                                  const QWidget *) const {
    const ParsedSkin &s = t.skin;
    switch (pe) {
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
    default:
        return false;
    }
}

bool SkinStyle::drawMenuControl(const SkinTheme &t, ControlElement ce, const QStyleOption *opt, QPainter *p,
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

QSize SkinStyle::menuSize(ContentsType ct, const QStyleOption *opt, const QSize &size, const QSize &base) const {
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

} // namespace velmora
