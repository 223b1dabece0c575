// SPDX-License-Identifier: GPL-3.0-or-later
// The application style while skins are in use: widgets of skinned windows are painted from their window's
// skin; every other widget is left to the style the program had before, untouched.
#pragma once

#include <QProxyStyle>
#include <functional>
#include <optional>

namespace velmora {

struct SkinTheme;

class SkinStyle : public QProxyStyle {
public:
    // The theme a widget is painted with, or null to leave it to the base style.
    using ThemeLookup = std::function<const SkinTheme *(const QWidget *)>;

    SkinStyle(const QString &baseStyleName, ThemeLookup themeOf);

    void drawPrimitive(PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                       const QWidget *w = nullptr) const override;
    void drawControl(ControlElement ce, const QStyleOption *opt, QPainter *p,
                     const QWidget *w = nullptr) const override;
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex *opt, QPainter *p,
                            const QWidget *w = nullptr) const override;
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex *opt, SubControl sc,
                         const QWidget *w = nullptr) const override;
    int pixelMetric(PixelMetric m, const QStyleOption *opt = nullptr, const QWidget *w = nullptr) const override;
    QSize sizeFromContents(ContentsType ct, const QStyleOption *opt, const QSize &size,
                           const QWidget *w = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *opt = nullptr, const QWidget *w = nullptr,
                  QStyleHintReturn *ret = nullptr) const override;

private:
    const SkinTheme *themeOf(const QWidget *w) const { return themeOf_(w); }
    bool drawSkinnedPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                              const QWidget *w) const;
    bool drawSkinnedControl(const SkinTheme &t, ControlElement ce, const QStyleOption *opt, QPainter *p,
                            const QWidget *w) const;

    // Buttons and indicators: push buttons, check and radio boxes, header sections, tabs, progress bars.
    bool drawButtonPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                             const QWidget *w) const;
    bool drawButtonControl(const SkinTheme &t, ControlElement ce, const QStyleOption *opt, QPainter *p,
                           const QWidget *w) const;

    // Menus: the menu bar and its items, popup menus.
    bool drawMenuPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                           const QWidget *w) const;
    bool drawMenuControl(const SkinTheme &t, ControlElement ce, const QStyleOption *opt, QPainter *p,
                         const QWidget *w) const;
    void drawMenuItem(const SkinTheme &t, const QStyleOption *opt, QPainter *p, const QWidget *w) const;
    QSize menuSize(ContentsType ct, const QStyleOption *opt, const QSize &size, const QSize &base) const;

    // Scroll bars, combo boxes and group boxes, and the panels drawn with the sunken edge.
    bool drawBoxPrimitive(const SkinTheme &t, PrimitiveElement pe, const QStyleOption *opt, QPainter *p,
                          const QWidget *w) const;
    void drawScrollBar(const SkinTheme &t, const QStyleOptionComplex *opt, QPainter *p, const QWidget *w) const;
    void drawComboBox(const SkinTheme &t, const QStyleOptionComplex *opt, QPainter *p, const QWidget *w) const;
    void drawGroupBox(const SkinTheme &t, const QStyleOptionComplex *opt, QPainter *p, const QWidget *w) const;
    // Where a group box's or combo box's parts lie in the skinned look; nothing for other controls.
    std::optional<QRect> boxSubControlRect(const SkinTheme &t, ComplexControl cc, const QStyleOptionComplex *opt,
                                           SubControl sc) const;

    ThemeLookup themeOf_;
};

} // namespace velmora
