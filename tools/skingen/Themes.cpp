// SPDX-License-Identifier: GPL-3.0-or-later
// The six skins. Position 1 (水墨) is the start skin.
#include "Theme.h"

namespace skingen {

namespace {
QColor c(const char *hex) {
    return QColor(QString::fromLatin1(hex));
}

Theme celadon() {
    Theme celadon{};
    celadon.folder = "skin1";
    celadon.nameUtf8 = "青瓷";
    celadon.deco = Deco::Soft;
    celadon.radius = 5;
    celadon.captionH = 30;
    celadon.border = 5;
    celadon.fontHeight = 14;
    celadon.textAlign = 0;
    celadon.textShift = 12;
    celadon.capBtnW = 20, celadon.capBtnH = 20, celadon.capBtnGap = 4, celadon.capBtnRight = 8;
    celadon.window = c("#e3ede7");
    celadon.base = c("#fbfdfc");
    celadon.text = c("#1e2b25");
    celadon.disabled = c("#8fa399");
    celadon.faceTop = c("#f7fbf9");
    celadon.faceBottom = c("#cfe2d8");
    celadon.edge = c("#7fa593");
    celadon.accent = c("#4f977a");
    celadon.accentDark = c("#2f6e55");
    celadon.highlight = c("#6fae93");
    celadon.highlightText = c("#ffffff");
    celadon.capTop = c("#74ad95");
    celadon.capBottom = c("#4c8a70");
    celadon.capTopI = c("#c9ddd3");
    celadon.capBottomI = c("#adc7ba");
    celadon.capText = c("#ffffff");
    celadon.capTextI = c("#4d6459");
    celadon.frame = c("#5f9d83");
    celadon.frameI = c("#afc8bb");
    celadon.trim = c("#ffffff");
    celadon.menuBarTop = c("#f1f7f4");
    celadon.menuBarBottom = c("#d6e7de");
    celadon.menuBarText = c("#1e2b25");
    celadon.menuBg = c("#f7fbf9");
    celadon.menuText = c("#1e2b25");
    celadon.menuSel = c("#8cc3ab");
    celadon.menuSelText = c("#10241b");
    celadon.closeHot = c("#d9534f");
    celadon.groupEdge = c("#9dbdae");
    celadon.groupPlate = c("#cfe4d9");
    celadon.groupPlateText = c("#1e3a2e");
    return celadon;
}

Theme ink() {
    Theme ink{};
    ink.folder = "skin2";
    ink.nameUtf8 = "水墨";
    ink.deco = Deco::Ink;
    ink.radius = 3;
    ink.captionH = 30;
    ink.border = 4;
    ink.fontHeight = 14;
    ink.textAlign = 0;
    ink.textShift = 14;
    ink.capBtnW = 30, ink.capBtnH = 22, ink.capBtnGap = 1, ink.capBtnRight = 5;
    ink.window = c("#eceff3");
    ink.base = c("#ffffff");
    ink.text = c("#1b2533");
    ink.disabled = c("#9aa3ae");
    ink.faceTop = c("#fcfdfe");
    ink.faceBottom = c("#dde3ea");
    ink.edge = c("#8a98a9");
    ink.accent = c("#3d6691");
    ink.accentDark = c("#1f3a59");
    ink.highlight = c("#34587f");
    ink.highlightText = c("#ffffff");
    ink.capTop = c("#3f5d80");
    ink.capBottom = c("#22384f");
    ink.capTopI = c("#aab6c4");
    ink.capBottomI = c("#8e9cad");
    ink.capText = c("#f5f7fa");
    ink.capTextI = c("#2c3644");
    ink.frame = c("#2a425c");
    ink.frameI = c("#97a5b5");
    ink.trim = c("#c7d2de");
    ink.menuBarTop = c("#f7f9fb");
    ink.menuBarBottom = c("#e3e8ee");
    ink.menuBarText = c("#1b2533");
    ink.menuBg = c("#fbfcfd");
    ink.menuText = c("#1b2533");
    ink.menuSel = c("#3d6691");
    ink.menuSelText = c("#ffffff");
    ink.closeHot = c("#c0392b");
    ink.groupEdge = c("#b4bfcc");
    ink.groupPlate = c("#2f4b6b");
    ink.groupPlateText = c("#ffffff");
    return ink;
}

Theme cinnabar() {
    Theme cinnabar{};
    cinnabar.folder = "skin3";
    cinnabar.nameUtf8 = "朱砂";
    cinnabar.deco = Deco::Lacquer;
    cinnabar.radius = 2;
    cinnabar.captionH = 30;
    cinnabar.border = 6;
    cinnabar.fontHeight = 15;
    cinnabar.textAlign = 2;
    cinnabar.textShift = 0;
    cinnabar.capBtnW = 22, cinnabar.capBtnH = 18, cinnabar.capBtnGap = 3, cinnabar.capBtnRight = 9;
    cinnabar.window = c("#f6ece0");
    cinnabar.base = c("#fffaf3");
    cinnabar.text = c("#3a1410");
    cinnabar.disabled = c("#b39a8a");
    cinnabar.faceTop = c("#fff7ea");
    cinnabar.faceBottom = c("#efd9bd");
    cinnabar.edge = c("#a8543f");
    cinnabar.accent = c("#c0392b");
    cinnabar.accentDark = c("#8e1f17");
    cinnabar.highlight = c("#b3322a");
    cinnabar.highlightText = c("#fff3d6");
    cinnabar.capTop = c("#c9402f");
    cinnabar.capBottom = c("#8f1d15");
    cinnabar.capTopI = c("#d8b3a6");
    cinnabar.capBottomI = c("#c29888");
    cinnabar.capText = c("#ffe9b0");
    cinnabar.capTextI = c("#5a2d22");
    cinnabar.frame = c("#9a2319");
    cinnabar.frameI = c("#c9a295");
    cinnabar.trim = c("#e0b24a");
    cinnabar.menuBarTop = c("#faefe0");
    cinnabar.menuBarBottom = c("#ecd6b8");
    cinnabar.menuBarText = c("#3a1410");
    cinnabar.menuBg = c("#fff8ee");
    cinnabar.menuText = c("#3a1410");
    cinnabar.menuSel = c("#b3322a");
    cinnabar.menuSelText = c("#fff3d6");
    cinnabar.closeHot = c("#e0b24a");
    cinnabar.groupEdge = c("#c98f6a");
    cinnabar.groupPlate = c("#b3322a");
    cinnabar.groupPlateText = c("#ffeec4");
    return cinnabar;
}

Theme bamboo() {
    Theme bamboo{};
    bamboo.folder = "skin4";
    bamboo.nameUtf8 = "竹林";
    bamboo.deco = Deco::Bamboo;
    bamboo.radius = 0;
    bamboo.captionH = 28;
    bamboo.border = 5;
    bamboo.fontHeight = 14;
    bamboo.textAlign = 0;
    bamboo.textShift = 10;
    bamboo.capBtnW = 20, bamboo.capBtnH = 18, bamboo.capBtnGap = 2, bamboo.capBtnRight = 6;
    bamboo.window = c("#e7eed9");
    bamboo.base = c("#fbfdf6");
    bamboo.text = c("#1f2a12");
    bamboo.disabled = c("#97a585");
    bamboo.faceTop = c("#f1f6e6");
    bamboo.faceBottom = c("#d6e3bf");
    bamboo.edge = c("#5f7f3a");
    bamboo.accent = c("#4d7a26");
    bamboo.accentDark = c("#33561a");
    bamboo.highlight = c("#5b8a2e");
    bamboo.highlightText = c("#ffffff");
    bamboo.capTop = c("#6f9a3f");
    bamboo.capBottom = c("#436b22");
    bamboo.capTopI = c("#c2d2a8");
    bamboo.capBottomI = c("#a9bd8a");
    bamboo.capText = c("#ffffff");
    bamboo.capTextI = c("#3c4d28");
    bamboo.frame = c("#4a7127");
    bamboo.frameI = c("#aabd8c");
    bamboo.trim = c("#2f4d16");
    bamboo.menuBarTop = c("#eef4e2");
    bamboo.menuBarBottom = c("#d9e6c3");
    bamboo.menuBarText = c("#1f2a12");
    bamboo.menuBg = c("#f6f9ef");
    bamboo.menuText = c("#1f2a12");
    bamboo.menuSel = c("#5b8a2e");
    bamboo.menuSelText = c("#ffffff");
    bamboo.closeHot = c("#b8472e");
    bamboo.groupEdge = c("#7d9a58");
    bamboo.groupPlate = c("#d2e1b6");
    bamboo.groupPlateText = c("#1f3510");
    return bamboo;
}

Theme night() {
    Theme night{};
    night.folder = "skin5";
    night.nameUtf8 = "夜幕";
    night.deco = Deco::Night;
    night.radius = 4;
    night.captionH = 30;
    night.border = 4;
    night.fontHeight = 14;
    night.textAlign = 0;
    night.textShift = 12;
    night.capBtnW = 32, night.capBtnH = 24, night.capBtnGap = 0, night.capBtnRight = 4;
    // Near-black chrome with violet light around a moonlit lavender-grey face: dark caption, menu bar, menus,
    // header and scroll bars, while the windows' own navy and green texts stay readable on the face.
    night.window = c("#cfccda");
    night.base = c("#f8f7fc");
    night.text = c("#16141d");
    night.disabled = c("#7d7890");
    night.faceTop = c("#f3f2f8");
    night.faceBottom = c("#c3bfd3");
    night.edge = c("#4b4662");
    night.accent = c("#7a5af0");
    night.accentDark = c("#5236c4");
    night.highlight = c("#6447d6");
    night.highlightText = c("#ffffff");
    night.capTop = c("#2c2938");
    night.capBottom = c("#15141b");
    night.capTopI = c("#4f4c5c");
    night.capBottomI = c("#3d3a48");
    night.capText = c("#f1eefc");
    night.capTextI = c("#aaa5bb");
    night.frame = c("#1c1a24");
    night.frameI = c("#45424f");
    night.trim = c("#9b7dff");
    night.menuBarTop = c("#24222e");
    night.menuBarBottom = c("#1a1921");
    night.menuBarText = c("#ebe8f6");
    night.menuBg = c("#26242f");
    night.menuText = c("#ebe8f6");
    night.menuSel = c("#6447d6");
    night.menuSelText = c("#ffffff");
    night.closeHot = c("#e0455a");
    night.groupEdge = c("#8a849e");
    night.groupPlate = c("#24222e");
    night.groupPlateText = c("#efeafe");
    night.chromeTrack = c("#2e2c38");
    night.chromeFace = c("#4a4658");
    night.chromeFaceBottom = c("#3a3746");
    night.chromeEdge = c("#15141b");
    night.chromeText = c("#e6e2f3");
    night.chromeThumb = c("#77718c");
    night.chromeThumbBottom = c("#615c75");
    return night;
}

Theme amber() {
    Theme amber{};
    amber.folder = "skin6";
    amber.nameUtf8 = "琥珀";
    amber.deco = Deco::Amber;
    amber.radius = 9;
    amber.captionH = 30;
    amber.border = 5;
    amber.fontHeight = 15;
    amber.textAlign = 2;
    amber.textShift = 0;
    amber.capBtnW = 18, amber.capBtnH = 18, amber.capBtnGap = 5, amber.capBtnRight = 10;
    amber.window = c("#f6ead4");
    amber.base = c("#fffcf5");
    amber.text = c("#3b2508");
    amber.disabled = c("#b4a07f");
    amber.faceTop = c("#fff3d9");
    amber.faceBottom = c("#f0c97f");
    amber.edge = c("#b07a26");
    amber.accent = c("#d98b1c");
    amber.accentDark = c("#a5630c");
    amber.highlight = c("#e39a2d");
    amber.highlightText = c("#2e1a03");
    amber.capTop = c("#f7cf7d");
    amber.capBottom = c("#e09a35");
    amber.capTopI = c("#f1e2c4");
    amber.capBottomI = c("#e3cfa6");
    amber.capText = c("#3a2206");
    amber.capTextI = c("#8a7250");
    amber.frame = c("#d4912f");
    amber.frameI = c("#e0cba2");
    amber.trim = c("#fff6df");
    amber.menuBarTop = c("#fff4dc");
    amber.menuBarBottom = c("#f3dcae");
    amber.menuBarText = c("#3b2508");
    amber.menuBg = c("#fffaf0");
    amber.menuText = c("#3b2508");
    amber.menuSel = c("#f2b64f");
    amber.menuSelText = c("#2e1a03");
    amber.closeHot = c("#c8452c");
    amber.groupEdge = c("#d6b077");
    amber.groupPlate = c("#f2c46b");
    amber.groupPlateText = c("#3a2206");
    return amber;
}

} // namespace

std::vector<Theme> allThemes() {
    return {celadon(), ink(), cinnabar(), bamboo(), night(), amber()};
}

} // namespace skingen
