// SPDX-License-Identifier: GPL-3.0-or-later
// skingen OUTDIR: draws the six skins and writes each one's INI and bitmaps into OUTDIR/skin1 .. skin6.
#include "Draw.h"
#include "DrawKit.h"
#include "Theme.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStringEncoder>
#include <cstdio>
#include <string>

using namespace skingen;

namespace {

std::string rgb(const QColor &c) {
    return std::to_string(c.red()) + " " + std::to_string(c.green()) + " " + std::to_string(c.blue());
}

class Ini {
public:
    void section(const char *name) { text_ += std::string(text_.empty() ? "" : "\r\n") + "[" + name + "]\r\n"; }
    void key(const std::string &k, const std::string &v) { text_ += k + "=" + v + "\r\n"; }
    void key(const std::string &k, int v) { key(k, std::to_string(v)); }
    void colour(const std::string &k, const QColor &c) { key(k, rgb(c)); }
    void edges(int l, int r, int t, int b) {
        key("LeftWidth", l);
        key("RightWidth", r);
        key("TopHeight", t);
        key("BottomHeight", b);
    }
    const std::string &text() const { return text_; }

private:
    std::string text_;
};

bool save(const QImage &img, const QString &dir, const char *file) {
    if (img.isNull())
        return true;
    if (!img.convertToFormat(QImage::Format_RGB32).save(dir + "/" + QString::fromLatin1(file), "BMP")) {
        std::fprintf(stderr, "skingen: cannot write %s\n", file);
        return false;
    }
    return true;
}

// Draws and saves every bitmap of the skin; `textBack` tells whether it has a caption text plate.
bool writeImages(const Theme &t, const QString &dir, bool &textBack) {
    bool ok = true;
    auto img = [&](const char *file, const QImage &image) { ok = save(image, dir, file) && ok; };
    img("button.bmp", pushButton(t));
    img("check.bmp", checkBox(t, false));
    img("radio.bmp", checkBox(t, true));
    img("groupedge.bmp", groupEdge(t));
    img("groupplate.bmp", groupPlate(t));
    img("sunkedge.bmp", sunkEdge(t));
    img("combo.bmp", comboButton(t));
    img("scrollbar.bmp", scrollArrows(t));
    img("hscroll.bmp", scrollTrack(t, true));
    img("vscroll.bmp", scrollTrack(t, false));
    img("hthumb.bmp", scrollThumb(t, true));
    img("vthumb.bmp", scrollThumb(t, false));
    img("menubar.bmp", menuBar(t));
    img("menubg.bmp", menuBackground(t));
    img("menuitem.bmp", menuItem(t));
    img("header.bmp", headerBar(t));
    img("tabs.bmp", tabs(t));
    img("tabpane.bmp", tabPane(t));
    img("progress.bmp", progressBar(t));
    img("chunk.bmp", progressChunk(t));
    img("top.bmp", frameTop(t));
    img("left.bmp", frameSide(t, true));
    img("right.bmp", frameSide(t, false));
    img("bottom.bmp", frameBottom(t));
    QImage back = captionTextBack(t);
    textBack = !back.isNull();
    img("textback.bmp", back);
    img("close.bmp", captionButton(t, CaptionGlyph::Close));
    img("max.bmp", captionButton(t, CaptionGlyph::Maximise));
    img("min.bmp", captionButton(t, CaptionGlyph::Minimise));
    // The frame and caption drawn again at twice the size, for screens scaled by 2: the program takes
    // "<name>@2x.bmp" beside "<name>.bmp" when it is exactly twice as large. Other readers see more entries.
    stripScale = 2;
    img("top@2x.bmp", frameTop(t));
    img("left@2x.bmp", frameSide(t, true));
    img("right@2x.bmp", frameSide(t, false));
    img("bottom@2x.bmp", frameBottom(t));
    img("textback@2x.bmp", captionTextBack(t));
    img("close@2x.bmp", captionButton(t, CaptionGlyph::Close));
    img("max@2x.bmp", captionButton(t, CaptionGlyph::Maximise));
    img("min@2x.bmp", captionButton(t, CaptionGlyph::Minimise));
    stripScale = 1;
    return ok;
}

// The window frame: its sides, the caption text and the menu bar.
void writePersonality(Ini &ini, const Theme &t, bool textBack) {
    ini.section("Personality");
    ini.key("Top", "top.bmp");
    ini.key("TopTopHeight", captionEnd(t));
    ini.key("TopBotHeight", captionEnd(t));
    ini.key("TopFrame", 2);
    ini.key("TopStretch", t.deco == Deco::Bamboo ? 0 : 1);
    ini.key("TopTrans", 1);
    for (const char *side : {"Left", "Right"}) {
        ini.key(side, std::string(side) == "Left" ? "left.bmp" : "right.bmp");
        ini.key(std::string(side) + "Frame", 2);
        ini.key(std::string(side) + "Stretch", 1);
        ini.key(std::string(side) + "Trans", 0);
    }
    ini.key("Bottom", "bottom.bmp");
    ini.key("BottomTopHeight", t.border + 4);
    ini.key("BottomBotHeight", t.border + 4);
    ini.key("BottomFrame", 2);
    ini.key("BottomTrans", 1);
    if (textBack) {
        ini.key("TextBack", "textback.bmp");
        ini.key("Textbackground", 1);
        ini.key("TXTBackleft", 18);
        ini.key("TXTBackRight", 18);
    }
    ini.key("TextShift", t.textShift);
    ini.key("TextShiftVert", 0);
    ini.key("TextAlignment", t.textAlign);
    ini.key("TextRightClip", t.capBtnRight + 3 * (t.capBtnW + t.capBtnGap) + 6);
    for (auto [k, c] : {std::pair{"ActiveText", t.capText}, std::pair{"InActiveText", t.capTextI}}) {
        ini.key(std::string(k) + "R", c.red());
        ini.key(std::string(k) + "G", c.green());
        ini.key(std::string(k) + "B", c.blue());
    }
    ini.key("menuBar", "menubar.bmp");
    ini.key("TileMenu", 0);
}

// Push, check and radio buttons, then the caption buttons.
void writeButtons(Ini &ini, const Theme &t) {
    int edge = std::max(4, t.radius + 3);
    ini.section("Buttons");
    ini.key("Bitmap", "button.bmp");
    ini.key("CheckButton", "check.bmp");
    ini.key("RadioButton", "radio.bmp");
    ini.edges(edge, edge, edge, edge);
    ini.key("Trans", t.radius > 0 ? 1 : 0);
    ini.key("Tile", 0);
    ini.colour("NormalColour2", t.text);
    ini.colour("MouseOverColour2", t.text);
    ini.colour("PressedColour2", t.text);
    ini.key("CheckButtonFrame", 8);
    ini.key("RadioButtonFrame", 8);

    // Caption buttons from the right: close, maximise, minimise. Xcoord is the distance of the button's left
    // edge from the window's right edge.
    struct Cap {
        const char *section, *file;
        int action;
    } caps[] = {{"Button.Close", "close.bmp", 0}, {"Button.Max", "max.bmp", 1}, {"Button.Min", "min.bmp", 2}};
    int x = t.capBtnRight;
    for (const Cap &c : caps) {
        x += t.capBtnW;
        ini.section(c.section);
        ini.key("ButtonImage", c.file);
        ini.key("Action", c.action);
        ini.key("Align", 1);
        ini.key("Xcoord", x);
        ini.key("Ycoord", (t.captionH - t.capBtnH) / 2);
        ini.key("frame", 3);
        x += t.capBtnGap;
    }
}

// The control parts: their images, edges and text colours.
void writeParts(Ini &ini, const Theme &t) {
    bool round = t.radius > 0;
    bool dark = t.deco == Deco::Night;
    auto part = [&](const char *section, const char *file, int l, int r, int tp, int b, bool trans) {
        ini.section(section);
        ini.key("Image", file);
        ini.edges(l, r, tp, b);
        ini.key("Trans", trans ? 1 : 0);
        ini.key("Tile", 0);
    };
    part("ComboButton", "combo.bmp", 4, 4, 4, 4, round);
    ini.colour("NormalColour2", t.text);
    part("Scrollbar", "scrollbar.bmp", 3, 3, 3, 3, false);
    part("HorzScroll", "hscroll.bmp", 4, 4, 2, 2, false);
    part("VertScroll", "vscroll.bmp", 2, 2, 4, 4, false);
    part("HorzScrollThumb", "hthumb.bmp", 6, 6, 4, 4, false);
    ini.key("FrameCount", 3);
    part("VertScrollThumb", "vthumb.bmp", 4, 4, 6, 6, false);
    ini.key("FrameCount", 3);
    part("MenuBackground", "menubg.bmp", 3, 3, 3, 3, false);
    part("MenuItem", "menuitem.bmp", 5, 5, 5, 5, true);
    ini.colour("NormalColour2", t.menuText);
    ini.colour("MouseOverColour2", t.menuSelText);
    ini.colour("PressedColour2", dark ? QColor(Qt::white) : t.menuSelText);
    part("Headerbar", "header.bmp", 3, 3, 3, 4, false);
    ini.key("Frame", 5);
    ini.colour("NormalColour2", dark ? t.chromeText : t.text);
    part("Tabs", "tabs.bmp", 6, 6, 6, 4, true);
    ini.colour("NormalColour2", t.text);
    part("Tab.Pane", "tabpane.bmp", 2, 2, 2, 2, false);
    ini.section("Progress");
    ini.key("Bitmap", "progress.bmp");
    ini.key("Style", 1);
    ini.edges(4, 4, 4, 4);
    ini.key("Trans", round ? 1 : 0);
    ini.key("Tile", 0);
    part("Progress.Chunk", "chunk.bmp", 3, 3, 3, 3, false);
    ini.key("Frame", 1);
    part("SunkEdge", "sunkedge.bmp", 4, 4, 4, 4, round);
    part("GroupBox", "groupplate.bmp", 7, 7, 5, 5, round);
    ini.colour("NormalColour2", t.groupPlateText);
    ini.key("BackgroundAlignment", 0);
    ini.key("BackgroundLeftShift", 8);
    part("GroupBoxEdge", "groupedge.bmp", 7, 7, 7, 7, true);
}

void writeColours(Ini &ini, const Theme &t) {
    ini.section("Colours");
    ini.colour("WindowText", t.text);
    ini.colour("ButtonFace", t.window);
    ini.colour("Scrollbar", t.deco == Deco::Night ? t.chromeTrack : t.faceBottom);
    ini.colour("HilightText", t.highlightText);
    ini.colour("Hilight", t.highlight);
    ini.colour("Menubar", t.menuBarBottom);
    ini.colour("Menu", t.menuBg);
    ini.colour("MenuText", t.menuText);
    ini.colour("ButtonText", t.text);
    ini.colour("ButtonHilight", t.faceTop);
    ini.colour("Buttonlight", t.faceTop);
    ini.colour("ButtonShadow", t.edge);
    ini.colour("ButtonDkShadow", t.edge.darker(140));
    ini.colour("MenuBarText", t.menuBarText);
    ini.colour("TitleTextActive", t.capText);
    ini.colour("TitleTextNoActive", t.capTextI);
    ini.section("Customcolors");
    ini.colour("Color0", t.base);
    ini.colour("Color1", t.disabled);
}

bool writeSkin(const Theme &t, const QString &dir) {
    bool textBack = false;
    bool ok = writeImages(t, dir, textBack);

    QStringEncoder toGbk("GBK");
    QByteArray name = toGbk.encode(QString::fromUtf8(t.nameUtf8));
    Ini ini;
    ini.section("TitlebarSkin");
    ini.key("SkinName", std::string(name.constData(), name.size()));
    ini.section("Fonts");
    ini.key("FontHeight", t.fontHeight);
    writePersonality(ini, t, textBack);
    writeButtons(ini, t);
    writeParts(ini, t);
    writeColours(ini, t);

    QFile f(dir + "/skin.ini");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(ini.text().data(), static_cast<qint64>(ini.text().size())) != static_cast<qint64>(ini.text().size())) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(f.fileName()));
        return false;
    }
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts and painting only; no display needed
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen OUTDIR\n");
        return 2;
    }
    QString out = QString::fromLocal8Bit(argv[1]);
    for (const Theme &t : allThemes()) {
        QString dir = out + "/" + QString::fromLatin1(t.folder);
        QDir().mkpath(dir);
        for (const QString &old : QDir(dir).entryList(QDir::Files))
            QFile::remove(dir + "/" + old); // a folder holds exactly one skin's files
        if (!writeSkin(t, dir))
            return 1;
    }
    return 0;
}
