// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a ParsedSkin from a package: the INI's sections and keys with their defaults, and the bitmaps it names.
#include "skins/format/SkinParser.h"

#include "skins/format/TQuickIni.h"
#include "skins/format/TSkinReader.h"
#include "text/Gbk.h"

#include <algorithm>
#include <map>

namespace velmora {

SystemColours SystemColours::classic() {
    SystemColours s;
    s.windowText = QColor(0, 0, 0);
    s.buttonFace = QColor(212, 208, 200);
    s.scrollbar = QColor(212, 208, 200);
    s.highlightText = QColor(255, 255, 255);
    s.highlight = QColor(10, 36, 106);
    s.menu = QColor(212, 208, 200);
    s.menuText = QColor(0, 0, 0);
    s.buttonText = QColor(0, 0, 0);
    s.buttonHighlight = QColor(255, 255, 255);
    s.buttonShadow = QColor(128, 128, 128);
    s.darkShadow = QColor(64, 64, 64);
    s.captionText = QColor(255, 255, 255);
    s.inactiveCaptionText = QColor(212, 208, 200);
    return s;
}

std::string imageFileName(const std::string &value) {
    std::size_t cut = value.find_last_of("\\:");
    return cut == std::string::npos ? value : value.substr(cut + 1);
}

QImage maskMagenta(const QImage &image) {
    if (image.isNull())
        return image;
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if ((row[x] & 0x00FFFFFF) == 0x00FF00FF)
                row[x] = 0;
    }
    return argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

namespace {

class SkinBuilder {
public:
    SkinBuilder(const TSkinReader &reader, const TQuickIni &ini, const SystemColours &sys)
        : reader_(reader), ini_(ini), sys_(sys) {}

    void build(ParsedSkin &s);

private:
    int integer(std::string_view section, std::string_view key, int def) const {
        return ini_.ReadInteger(section, key, def);
    }
    std::optional<int> optInteger(std::string_view section, std::string_view key) const {
        std::int32_t v;
        if (parseIniInteger(ini_.ReadString(section, key, ""), v))
            return v;
        return std::nullopt;
    }
    bool hasValue(std::string_view section, std::string_view key) const {
        return !ini_.ReadString(section, key, "").empty();
    }
    SkinImage image(std::string_view section, std::string_view key);
    void loadDoubleSize(const std::string &entry, SkinImage &img) const;
    SkinPart part(std::string_view section, int frames, std::string_view imageKey = "Image");
    void readColours(SkinColours &c) const;
    void readPersonality(SkinPersonality &p);
    void readButtons(SkinButtons &b);
    void readCaptionButtons(const std::vector<std::string> &sections, std::vector<SkinCaptionButton> &list);
    void readProgress(SkinProgress &progress);
    void readParts(ParsedSkin &s);
    void readExtraColours(const std::vector<std::string> &sections, ParsedSkin &s) const;

    const TSkinReader &reader_;
    const TQuickIni &ini_;
    const SystemColours &sys_;
    QColor buttonText_;
    std::map<std::string, SkinImage> loaded_; // by entry name, so a bitmap used twice is decoded once
};

void SkinBuilder::loadDoubleSize(const std::string &entry, SkinImage &img) const {
    ByteStream bytes;
    reader_.GetEntry(entry, bytes);
    QImage big;
    if (bytes.size() == 0 ||
        !big.loadFromData(reinterpret_cast<const uchar *>(bytes.data()), static_cast<int>(bytes.size()), "BMP") ||
        big.size() != img.image.size() * 2)
        return;
    img.image2x = big;
    img.masked2x = maskMagenta(big);
}

SkinImage SkinBuilder::image(std::string_view section, std::string_view key) {
    std::string name = imageFileName(ini_.ReadString(section, key, ""));
    std::size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string::npos || name.compare(dot, std::string::npos, ".bmp") != 0)
        return {};
    std::string entry = lowerAscii(name);
    auto it = loaded_.find(entry);
    if (it != loaded_.end())
        return it->second;
    SkinImage img;
    ByteStream bytes;
    reader_.GetEntry(entry, bytes);
    if (bytes.size() > 0 &&
        img.image.loadFromData(reinterpret_cast<const uchar *>(bytes.data()), static_cast<int>(bytes.size()), "BMP"))
        img.masked = maskMagenta(img.image);
    else
        img.image = QImage();
    if (!img.image.isNull())
        loadDoubleSize(entry.substr(0, entry.size() - 4) + "@2x.bmp", img);
    loaded_.emplace(entry, img);
    return img;
}

SkinPart SkinBuilder::part(std::string_view section, int frames, std::string_view imageKey) {
    SkinPart p;
    p.present = hasValue(section, imageKey);
    if (!p.present)
        return p;
    p.image = image(section, imageKey);
    p.style = integer(section, "Style", 0);
    p.leftWidth = integer(section, "LeftWidth", 0);
    p.rightWidth = integer(section, "RightWidth", 0);
    p.topHeight = integer(section, "TopHeight", 0);
    p.bottomHeight = integer(section, "BottomHeight", 0);
    p.frame = integer(section, "Frame", 0);
    p.trans = integer(section, "Trans", 0);
    p.tile = integer(section, "Tile", 0);
    if (p.tile > 1)
        p.tile = 0;
    p.normalColour = integer(section, "NormalColour", -1);
    p.mouseOverColour = integer(section, "MouseOverColour", -1);
    p.pressedColour = integer(section, "PressedColour", -1);
    p.normalColour2 = readColourText(ini_, section, "NormalColour2", buttonText_);
    p.mouseOverColour2 = readColourText(ini_, section, "MouseOverColour2", buttonText_);
    p.pressedColour2 = readColourText(ini_, section, "PressedColour2", buttonText_);
    p.frames = frames;
    return p;
}

void SkinBuilder::readColours(SkinColours &c) const {
    const char *sec = "Colours";
    c.windowText = readColourText(ini_, sec, "WindowText", sys_.windowText);
    c.buttonFace = readColourText(ini_, sec, "ButtonFace", sys_.buttonFace);
    c.scrollbar = readColourText(ini_, sec, "Scrollbar", sys_.scrollbar);
    c.hilightText = readColourText(ini_, sec, "HilightText", sys_.highlightText);
    c.hilight = readColourText(ini_, sec, "Hilight", sys_.highlight);
    c.menubar = readColourText(ini_, sec, "Menubar", c.buttonFace);
    c.menu = readColourText(ini_, sec, "Menu", sys_.menu);
    c.menuText = readColourText(ini_, sec, "MenuText", sys_.menuText);
    c.buttonText = readColourText(ini_, sec, "ButtonText", sys_.buttonText);
    c.buttonHilight = readColourText(ini_, sec, "ButtonHilight", sys_.buttonHighlight);
    c.buttonlight = readColourText(ini_, sec, "Buttonlight", sys_.buttonHighlight);
    c.buttonShadow = readColourText(ini_, sec, "ButtonShadow", sys_.buttonShadow);
    c.buttonDkShadow = readColourText(ini_, sec, "ButtonDkShadow", sys_.darkShadow);
    c.menuBarText = readColourText(ini_, sec, "MenuBarText", sys_.menuText);
    c.titleTextActive = readColourText(ini_, sec, "TitleTextActive", sys_.captionText);
    c.titleTextNoActive = readColourText(ini_, sec, "TitleTextNoActive", sys_.inactiveCaptionText);
}

void SkinBuilder::readPersonality(SkinPersonality &p) {
    const char *sec = "Personality";
    struct Side {
        const char *name;
        SkinFrameSide *side;
    } sides[] = {{"Left", &p.left}, {"Right", &p.right}, {"Top", &p.top}, {"Bottom", &p.bottom}};
    for (const Side &s : sides) {
        std::string n = s.name;
        s.side->image = image(sec, n);
        s.side->topHeight = integer(sec, n + "TopHeight", 0);
        s.side->botHeight = integer(sec, n + "BotHeight", 0);
        s.side->frames = integer(sec, n + "Frame", 1);
        s.side->stretch = std::min(integer(sec, n + "Stretch", 1), 1);
        s.side->trans = integer(sec, n + "Trans", 1);
    }
    p.textBack = image(sec, "TextBack");
    p.textShift = integer(sec, "TextShift", 0);
    p.textShiftVert = integer(sec, "TextShiftVert", 0);
    p.textRightClip = integer(sec, "TextRightClip", 0);
    p.textAlignment = integer(sec, "TextAlignment", 0);
    p.textBackground = integer(sec, "Textbackground", 0);
    p.txtBackLeft = integer(sec, "TXTBackleft", 0);
    p.txtBackRight = integer(sec, "TXTBackRight", 0);
    p.activeText = readColour3(ini_, sec, "ActiveText");
    p.inactiveText = readColour3(ini_, sec, "InActiveText");
    p.menuBar = image(sec, "menuBar");
    p.tileMenu = std::min(integer(sec, "TileMenu", 1), 1);
    p.tileLeftMenu = integer(sec, "TileLeftMenu", 1);
    p.tileRightMenu = integer(sec, "TileRightMenu", 1);
}

// Check and radio images hold their frames side by side; without a count, a square frame is guessed.
int guessFrames(const QImage &img) {
    if (img.isNull())
        return 4;
    int n = img.height() < 16 ? img.width() / 13 : img.width() / 16;
    return std::max(n, 4);
}

void SkinBuilder::readButtons(SkinButtons &b) {
    const char *sec = "Buttons";
    // The push button reads the generic keys from "Bitmap", but "Buttons" has no "Style" or "Frame" key.
    b.push = part(sec, 5, "Bitmap");
    b.push.style = 0;
    b.push.frame = 0;
    b.checkButton = image(sec, "CheckButton");
    b.radioButton = image(sec, "RadioButton");
    b.checkFrames = optInteger(sec, "CheckButtonFrame").value_or(guessFrames(b.checkButton.image));
    b.radioFrames = optInteger(sec, "RadioButtonFrame").value_or(guessFrames(b.radioButton.image));
}

void SkinBuilder::readCaptionButtons(const std::vector<std::string> &sections, std::vector<SkinCaptionButton> &list) {
    for (const std::string &sec : sections) {
        std::string upper = upperAscii(sec);
        if (upper.compare(0, 6, "BUTTON") != 0 || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
            upper == "BUTTON.CHECKBOX")
            continue;
        SkinCaptionButton b;
        b.section = sec;
        b.action = integer(sec, "Action", 0);
        b.visibility = integer(sec, "Visibility", 0);
        if (b.action == -1 && (!hasValue(sec, "Visibility") || b.visibility != 0))
            continue;
        b.image = image(sec, "ButtonImage");
        b.align = integer(sec, "Align", 0);
        b.xcoord = integer(sec, "Xcoord", 0);
        b.ycoord = integer(sec, "Ycoord", 0);
        b.visibility1 = integer(sec, "Visibility1", b.action == -1 ? -1 : 0);
        b.combineOp = integer(sec, "CombineOp", -1);
        if (std::optional<int> f = optInteger(sec, "frame")) {
            b.frames = *f;
        } else if (b.action < 0) {
            b.frames = 6;
        } else {
            const QImage &img = b.image.image;
            bool narrow = img.height() <= 0 || static_cast<double>(img.width()) / img.height() <= 3.8;
            b.frames = narrow ? 3 : 6;
        }
        list.push_back(std::move(b));
    }
}

void SkinBuilder::build(ParsedSkin &s) {
    readColours(s.colours);
    buttonText_ = s.colours.buttonText;

    s.skinName = ini_.ReadString("TitlebarSkin", "SkinName", "");
    s.fontHeight = integer("Fonts", "FontHeight", 14);
    readPersonality(s.personality);
    readButtons(s.buttons);

    std::vector<std::string> sections;
    ini_.ReadSections(sections);
    readCaptionButtons(sections, s.captionButtons);

    s.mdiControls = image("MDICONTROLS", "Image");
    readProgress(s.progress);
    readParts(s);
    readExtraColours(sections, s);
}

void SkinBuilder::readProgress(SkinProgress &progress) {
    SkinPart &bar = progress.bar;
    bar.present = hasValue("Progress", "Bitmap");
    if (bar.present) {
        bar.image = image("Progress", "Bitmap");
        bar.style = integer("Progress", "Style", 0);
        bar.leftWidth = integer("Progress", "LeftWidth", 0);
        bar.rightWidth = integer("Progress", "RightWidth", 0);
        bar.topHeight = integer("Progress", "TopHeight", 0);
        bar.bottomHeight = integer("Progress", "BottomHeight", 0);
        bar.trans = integer("Progress", "Trans", 0);
        bar.tile = std::min(integer("Progress", "Tile", 0), 1);
        bar.frames = bar.style != 0 ? 1 : 2;
    }
    progress.chunk = part("Progress.Chunk", 0);
    progress.chunk.frames = progress.chunk.frame;
}

void SkinBuilder::readParts(ParsedSkin &s) {
    s.tabs = part("Tabs", 5);
    s.tabBorder = image("Tabs", "Border");
    s.tabPane = part("Tab.Pane", 1);
    for (int *edge : {&s.tabPane.leftWidth, &s.tabPane.rightWidth, &s.tabPane.topHeight, &s.tabPane.bottomHeight})
        *edge = std::min(*edge, 4);
    s.comboButton = part("ComboButton", 4);
    s.statusBarEdges = part("StatusBarEdges", 3);
    s.headerbar = part("Headerbar", 5);
    s.headerbar.frames = optInteger("Headerbar", "Frame").value_or(5);
    s.scrollbar = part("Scrollbar", 23);
    s.horzScroll = part("HorzScroll", 4);
    s.vertScroll = part("VertScroll", 4);
    s.horzScrollThumb.frameCount = integer("HorzScrollThumb", "FrameCount", 3);
    s.horzScrollThumb.part = part("HorzScrollThumb", s.horzScrollThumb.frameCount);
    s.vertScrollThumb.frameCount = integer("VertScrollThumb", "FrameCount", 3);
    s.vertScrollThumb.part = part("VertScrollThumb", s.vertScrollThumb.frameCount);
    s.menuBackground = part("MenuBackground", 1);
    s.menuItem = part("MenuItem", 5);
    s.extraImages = part("ExtraImages", 5);
    s.toolBars = part("ToolBars", 5);
    s.sunkEdge = part("SunkEdge", 4);
    s.groupBox.part = part("GroupBox", 1);
    s.groupBox.backgroundAlignment = integer("GroupBox", "BackgroundAlignment", 0);
    s.groupBox.backgroundLeftShift = integer("GroupBox", "BackgroundLeftShift", 0);
    s.groupBox.backgroundRightShift = integer("GroupBox", "BackgroundRightShift", 0);
    s.groupBoxEdge = part("GroupBoxEdge", 2);
    const char *thumbs[6] = {"Trackbar.ThumbHorz",  "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                             "Trackbar.ThumbRight", "Trackbar.ThumbUp",   "Trackbar.ThumbDown"};
    for (int i = 0; i < 6; ++i)
        s.trackbarThumbs[static_cast<std::size_t>(i)] = part(thumbs[i], 5);
    s.track = part("Track", 0);
    s.track.frames = s.track.frame;
    s.trackVert = part("TRACKVERT", 0);
    s.trackVert.frames = s.trackVert.frame;
    s.upDownHorz = part("UpDown.Horz", 8);
    s.upDownHorzGlyph = image("UpDown.Horz", "GlyphImage");
    s.upDownVert = part("UpDown.Vert", 8);
    s.upDownVertGlyph = image("UpDown.Vert", "GlyphImage");
}

void SkinBuilder::readExtraColours(const std::vector<std::string> &sections, ParsedSkin &s) const {
    for (const std::string &sec : sections) {
        std::string upper = upperAscii(sec);
        if (upper.compare(0, 6, "COLOUR") == 0 && upper != "COLOURS")
            s.sectionColours.push_back(readColourText(ini_, sec, "color", sys_.windowText));
    }
    for (int i = 0; i < 10; ++i)
        s.customColors[static_cast<std::size_t>(i)] =
            readColourText(ini_, "Customcolors", "Color" + std::to_string(i), QColor(255, 255, 255));
}

} // namespace

bool parseSkin(const ByteStream &package, ParsedSkin &out, const SystemColours &system) {
    TSkinReader reader;
    if (!reader.ReadPackage(std::string_view(package.bytes())))
        return false;
    ByteStream entry;
    std::string iniName;
    reader.FindEntry(".ini", entry, iniName);
    entry.setPosition(0);
    TQuickIni ini;
    ini.LoadFromStream(entry);

    ParsedSkin parsed;
    SkinBuilder(reader, ini, system).build(parsed);
    out = std::move(parsed);
    return true;
}

} // namespace velmora
