// SPDX-License-Identifier: GPL-3.0-or-later
// What the skin engine takes from a package: every part's images, edge sizes, state frames and colours, the
// window frame ("Personality"), the caption buttons and the colour tables. Plain data; painting reads it.
#pragma once

#include "text/ByteStream.h"

#include <QColor>
#include <QImage>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// A bitmap named in the INI. Both forms are kept: a part paints from `masked` when its Trans flag is set.
struct SkinImage {
    QImage image;  // as loaded from the bitmap entry; null when not named, not ".bmp", missing or unreadable
    QImage masked; // the same with magenta (255, 0, 255) made fully transparent, premultiplied ARGB
    // The same drawn at twice the size, from the entry "<name>@2x.bmp" when the package has one of exactly
    // that size; null otherwise. Painting on a screen scaled above 1 takes these.
    QImage image2x, masked2x;
    bool isNull() const { return image.isNull(); }
};

// A part section with the generic keys. `present` is false when the section has no "Image" value.
struct SkinPart {
    bool present = false;
    SkinImage image;
    int style = 0;
    int leftWidth = 0;
    int rightWidth = 0;
    int topHeight = 0;
    int bottomHeight = 0;
    int frame = 0; // the "Frame" key as written
    int trans = 0;
    int tile = 0;
    int normalColour = -1;
    int mouseOverColour = -1;
    int pressedColour = -1;
    QColor normalColour2;
    QColor mouseOverColour2;
    QColor pressedColour2;
    int frames = 1; // state frames in the image, as the engine counts them for this section
};

struct SkinFrameSide {
    SkinImage image;
    int topHeight = 0; // unstretched length at the start (top for left/right sides, left for top/bottom)
    int botHeight = 0; // unstretched length at the end
    int frames = 1;
    int stretch = 1;
    int trans = 1;
};

struct SkinPersonality {
    SkinFrameSide left, right, top, bottom;
    // Caption text background, 2 state frames.
    SkinImage textBack;
    int textShift = 0;
    int textShiftVert = 0;
    int textRightClip = 0;
    int textAlignment = 0;
    int textBackground = 0;
    int txtBackLeft = 0;
    int txtBackRight = 0;
    std::optional<QColor> activeText;
    std::optional<QColor> inactiveText;
    // Menu bar, 2 state frames.
    SkinImage menuBar;
    int tileMenu = 1;
    int tileLeftMenu = 1;
    int tileRightMenu = 1;
};

struct SkinButtons {
    SkinPart push;         // image "Bitmap", 5 frames; present when "Bitmap" has a value
    SkinImage checkButton; // "CheckButton"
    SkinImage radioButton; // "RadioButton"
    int checkFrames = 4;
    int radioFrames = 4;
};

struct SkinCaptionButton {
    std::string section;
    SkinImage image; // "ButtonImage"
    int action = 0;
    int align = 0;
    int xcoord = 0;
    int ycoord = 0;
    int visibility = 0;
    int visibility1 = 0;
    int combineOp = -1;
    int frames = 3;
};

struct SkinProgress {
    SkinPart bar; // image "Bitmap"; frames 1 when "Style" is not 0, else 2
    SkinPart chunk;
};

struct SkinScrollThumb {
    SkinPart part;
    int frameCount = 3;
};

struct SkinGroupBox {
    SkinPart part;
    int backgroundAlignment = 0;
    int backgroundLeftShift = 0;
    int backgroundRightShift = 0;
};

// The system colours that stand behind missing "Colours" keys.
struct SystemColours {
    QColor windowText, buttonFace, scrollbar, highlightText, highlight, menu, menuText, buttonText, buttonHighlight,
        buttonShadow, darkShadow, captionText, inactiveCaptionText;
    // The classic desktop scheme; the parse does not depend on the running desktop unless asked.
    static SystemColours classic();
};

struct SkinColours {
    QColor windowText, buttonFace, scrollbar, hilightText, hilight, menubar, menu, menuText, buttonText, buttonHilight,
        buttonlight, buttonShadow, buttonDkShadow, menuBarText, titleTextActive, titleTextNoActive;
};

struct ParsedSkin {
    std::string skinName; // "TitlebarSkin" / "SkinName"
    int fontHeight = 14;

    SkinPersonality personality;
    SkinButtons buttons;
    std::vector<SkinCaptionButton> captionButtons; // in section order
    SkinImage mdiControls;                         // 12 equal columns, 4 for each of three buttons
    SkinProgress progress;
    SkinPart tabs; // 5 frames
    SkinImage tabBorder;
    SkinPart tabPane; // 1 frame, edge sizes at most 4
    SkinPart comboButton;
    SkinPart statusBarEdges;
    SkinPart headerbar;
    SkinPart scrollbar;
    SkinPart horzScroll, vertScroll;
    SkinScrollThumb horzScrollThumb, vertScrollThumb;
    SkinPart menuBackground;
    SkinPart menuItem;
    SkinPart extraImages;
    SkinPart toolBars;
    SkinPart sunkEdge;
    SkinGroupBox groupBox;
    SkinPart groupBoxEdge;
    // "Trackbar.ThumbHorz", "...Vert", "...Left", "...Right", "...Up", "...Down".
    std::array<SkinPart, 6> trackbarThumbs;
    SkinPart track, trackVert; // absent: the engine paints its built-in track with 3-pixel edges
    SkinPart upDownHorz, upDownVert;
    SkinImage upDownHorzGlyph, upDownVertGlyph;

    SkinColours colours;
    std::vector<QColor> sectionColours; // one per "COLOUR..." section, in section order
    std::array<QColor, 10> customColors;
};

} // namespace velmora
