// SPDX-License-Identifier: GPL-3.0-or-later
// What makes one skin: its colours and its shapes. The generator draws every bitmap from these.
#pragma once

#include <QColor>
#include <vector>

namespace skingen {

enum class Deco {
    Soft,    // soft vertical gradient, rounded
    Ink,     // fine gradient, hairline inner highlight, thin accent rules
    Lacquer, // lacquer red with a gold inner trim line
    Bamboo,  // square, bevelled, segmented by bamboo nodes
    Night,   // near-black chrome, flat, violet accents
    Amber,   // glossy pill shapes, warm
};

struct Theme {
    const char *folder;   // output folder name
    const char *nameUtf8; // the skin's name, written to the INI as GBK
    Deco deco;
    int radius;                                   // corner radius of buttons and boxes
    int captionH;                                 // height of the caption bar (top side)
    int border;                                   // width of the left, right and bottom sides
    int fontHeight;                               // caption font height in pixels
    int textAlign;                                // caption text: 0 left, 1 right, 2 centre
    int textShift;                                // caption text offset from the left edge
    int capBtnW, capBtnH, capBtnGap, capBtnRight; // caption buttons: size, gap, distance from the right

    QColor window;              // window face (the skin's ButtonFace colour)
    QColor base;                // edit boxes and the grid
    QColor text;                // window text
    QColor disabled;            // disabled text
    QColor faceTop, faceBottom; // push button face gradient
    QColor edge;                // control border
    QColor accent;              // hot and focused borders, progress, selection
    QColor accentDark;          // pressed, deep accent
    QColor highlight, highlightText;
    QColor capTop, capBottom;   // active caption gradient
    QColor capTopI, capBottomI; // inactive caption gradient
    QColor capText, capTextI;
    QColor frame, frameI; // window frame sides
    QColor trim;          // decorative line (gold, silver, node colour)
    QColor menuBarTop, menuBarBottom, menuBarText;
    QColor menuBg, menuText, menuSel, menuSelText;
    QColor closeHot; // close caption button when hot
    QColor groupEdge, groupPlate, groupPlateText;
    // Dark chrome (the Night skin only): scroll bars, the grid's header and popup menus.
    QColor chromeTrack, chromeFace, chromeFaceBottom, chromeEdge, chromeText, chromeThumb, chromeThumbBottom;
};

std::vector<Theme> allThemes();

} // namespace skingen
