// SPDX-License-Identifier: GPL-3.0-or-later
// The parsed skin: a package made by the skinpack tool from a folder, read back through the reader and the INI.
#include "MessageCapture.h"
#include "SkinPacker.h"
#include "TestPaths.h"
#include "skins/format/SkinParser.h"
#include "skins/format/TSkinReader.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace velmora;

namespace {

std::string bmp(int w, int h, QRgb fill, QRgb corner = 0) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    if (corner)
        img.setPixel(0, 0, corner);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return bytes.toStdString();
}

const char *kIni = "; a test skin\r\n"
                   "[TitlebarSkin]\r\nSkinName = Test Skin \r\n"
                   "[Fonts]\r\nfontheight=16\r\n"
                   "[Colours]\r\nButtonText=10 20 30\r\nButtonFace=1 2 3\r\n"
                   "[Personality]\r\nLeft=C:\\skins\\Side.bmp\r\nLeftTopHeight=5\r\nLeftFrame=2\r\nLeftStretch=4\r\n"
                   "Top=frame.BMP\r\nActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\nmenuBar=gone.bmp\r\n"
                   "TileMenu=5\r\n"
                   "[Buttons]\r\nBitmap=side.bmp\r\nTile=2\r\nCheckButton=check.bmp\r\nRadioButtonFrame=7\r\n"
                   "[ButtonClose]\r\nButtonImage=wide.bmp\r\nAction=0\r\nXcoord=-20\r\n"
                   "[ButtonHidden]\r\nButtonImage=side.bmp\r\nAction=-1\r\n"
                   "[ButtonShown]\r\nButtonImage=side.bmp\r\nAction=-1\r\nVisibility=0\r\nframe=2\r\n"
                   "[Button.Radio]\r\nButtonImage=side.bmp\r\n"
                   "[Tabs]\r\nImage=side.bmp\r\nBorder=empty.bmp\r\nTile=1\r\nNormalColour2=200 0 0\r\n"
                   "[Tab.Pane]\r\nImage=side.bmp\r\nLeftWidth=9\r\nTopHeight=3\r\n"
                   "[Progress]\r\nBitmap=side.bmp\r\nStyle=1\r\nTile=3\r\n"
                   "[Headerbar]\r\nImage=side.bmp\r\n"
                   "[ComboButton]\r\nStyle=2\r\n"
                   "[HorzScrollThumb]\r\nImage=side.bmp\r\nFrameCount=4\r\n"
                   "[ColourA]\r\ncolor=9 8 7\r\n[Colours2]\r\n"
                   "[Customcolors]\r\nColor3=4 5 6\r\n";

struct SkinFolder {
    QTemporaryDir dir;
    std::string path() const { return dir.path().toStdString(); }
    void write(const std::string &name, const std::string &bytes) {
        std::ofstream f(path() + "/" + name, std::ios::binary);
        f << bytes;
    }
};

ByteStream readFile(const std::string &file) {
    std::ifstream f(file, std::ios::binary);
    return ByteStream(std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()));
}

// Writes the test skin's folder and packs it with the skinpack tool into `out`.
void packTestSkin(SkinFolder &folder, std::string &out) {
    ASSERT_TRUE(folder.dir.isValid());
    folder.write("skin.ini", kIni);
    folder.write("Side.bmp", bmp(8, 6, qRgb(0, 128, 0), qRgb(255, 0, 255)));
    folder.write("frame.bmp", bmp(4, 4, qRgb(1, 1, 1)));
    folder.write("check.bmp", bmp(26, 13, qRgb(2, 2, 2)));
    folder.write("wide.bmp", bmp(40, 10, qRgb(3, 3, 3)));
    folder.write("empty.bmp", "");
    out = folder.path() + "/out.skn";
    const std::string cmd = std::string(test::kBinaryDir) + "/tools/skinpack/skinpack --version 20000 '" +
                            folder.path() + "' '" + out + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
}

void expectPersonality(const ParsedSkin &skin) {
    // Paths are cut at the last backslash or colon, names match in any case; ".BMP" gives no image.
    const SkinFrameSide &left = skin.personality.left;
    ASSERT_FALSE(left.image.isNull());
    EXPECT_EQ(left.image.image.size(), QSize(8, 6));
    EXPECT_EQ(left.topHeight, 5);
    EXPECT_EQ(left.frames, 2);
    EXPECT_EQ(left.stretch, 1);
    EXPECT_EQ(left.trans, 1);
    EXPECT_TRUE(skin.personality.top.image.isNull());
    EXPECT_TRUE(skin.personality.menuBar.isNull());
    EXPECT_EQ(skin.personality.tileMenu, 1);
    ASSERT_TRUE(skin.personality.activeText);
    EXPECT_EQ(*skin.personality.activeText, QColor(1, 2, 3));
    EXPECT_FALSE(skin.personality.inactiveText);

    // Magenta is kept in the image and made transparent in the masked copy.
    EXPECT_EQ(left.image.image.pixel(0, 0) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(qAlpha(left.image.masked.pixel(0, 0)), 0);
    EXPECT_EQ(left.image.masked.pixel(1, 0), qRgb(0, 128, 0));
}

void expectButtons(const ParsedSkin &skin) {
    const SkinButtons &b = skin.buttons;
    EXPECT_TRUE(b.push.present);
    EXPECT_EQ(b.push.frames, 5);
    EXPECT_EQ(b.push.tile, 0);
    EXPECT_EQ(b.push.normalColour, -1);
    EXPECT_EQ(b.push.normalColour2, QColor(10, 20, 30)); // the skin's ButtonText
    EXPECT_EQ(b.checkFrames, 4);                         // 26 / 13 = 2, at least 4
    EXPECT_EQ(b.radioFrames, 7);

    ASSERT_EQ(skin.captionButtons.size(), 2u);
    EXPECT_EQ(skin.captionButtons[0].section, "ButtonClose");
    EXPECT_EQ(skin.captionButtons[0].xcoord, -20);
    EXPECT_EQ(skin.captionButtons[0].frames, 6); // 40 / 10 is wider than 3.8
    EXPECT_EQ(skin.captionButtons[0].combineOp, -1);
    EXPECT_EQ(skin.captionButtons[0].visibility1, 0);
    EXPECT_EQ(skin.captionButtons[1].section, "ButtonShown");
    EXPECT_EQ(skin.captionButtons[1].frames, 2);
    EXPECT_EQ(skin.captionButtons[1].visibility1, -1);
}

void expectPartsAndColours(const ParsedSkin &skin) {
    EXPECT_TRUE(skin.tabs.present);
    EXPECT_EQ(skin.tabs.frames, 5);
    EXPECT_EQ(skin.tabs.tile, 1);
    EXPECT_EQ(skin.tabs.normalColour2, QColor(200, 0, 0));
    EXPECT_EQ(skin.tabs.pressedColour2, QColor(10, 20, 30));
    EXPECT_TRUE(skin.tabBorder.isNull()); // an entry of size 0
    EXPECT_EQ(skin.tabPane.leftWidth, 4);
    EXPECT_EQ(skin.tabPane.topHeight, 3);
    EXPECT_EQ(skin.progress.bar.frames, 1);
    EXPECT_EQ(skin.progress.bar.tile, 1);
    EXPECT_EQ(skin.headerbar.frames, 5);
    EXPECT_FALSE(skin.comboButton.present); // no "Image"
    EXPECT_EQ(skin.horzScrollThumb.part.frames, 4);
    EXPECT_FALSE(skin.track.present);

    EXPECT_EQ(skin.colours.buttonFace, QColor(1, 2, 3));
    EXPECT_EQ(skin.colours.menubar, QColor(1, 2, 3)); // follows ButtonFace
    EXPECT_EQ(skin.colours.hilight, SystemColours::classic().highlight);
    ASSERT_EQ(skin.sectionColours.size(), 2u);
    EXPECT_EQ(skin.sectionColours[0], QColor(9, 8, 7));
    EXPECT_EQ(skin.sectionColours[1], SystemColours::classic().windowText);
    EXPECT_EQ(skin.customColors[3], QColor(4, 5, 6));
    EXPECT_EQ(skin.customColors[0], QColor(255, 255, 255));
}

} // namespace

TEST(SkinParse, FolderPackedBySkinpackParsesWithEveryRule) {
    SkinFolder folder;
    std::string out;
    ASSERT_NO_FATAL_FAILURE(packTestSkin(folder, out));

    ByteStream package = readFile(out);
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadPackage(package));
    EXPECT_EQ(reader.version(), 20000);
    // Files in byte order of their names ("Side" before "check"), names lower-cased by the reader.
    EXPECT_EQ(reader.names(),
              (std::vector<std::string>{"side.bmp", "check.bmp", "empty.bmp", "frame.bmp", "skin.ini", "wide.bmp"}));

    ParsedSkin skin;
    ASSERT_TRUE(parseSkin(package, skin));
    EXPECT_EQ(skin.skinName, "Test Skin");
    EXPECT_EQ(skin.fontHeight, 16);

    ASSERT_NO_FATAL_FAILURE(expectPersonality(skin));
    ASSERT_NO_FATAL_FAILURE(expectButtons(skin));
    expectPartsAndColours(skin);
}

TEST(SkinParse, VersionSeventyThousandAndNoIniGiveDefaults) {
    std::vector<skinpack::Entry> entries = {{"a.bmp", bmp(2, 2, qRgb(9, 9, 9))}};
    ByteStream package(skinpack::compressPackage(skinpack::buildDecodedPackage(70000, entries)));
    ParsedSkin skin;
    ASSERT_TRUE(parseSkin(package, skin));
    EXPECT_EQ(skin.fontHeight, 14);
    EXPECT_FALSE(skin.buttons.push.present);
    EXPECT_TRUE(skin.captionButtons.empty());
    EXPECT_EQ(skin.colours.menubar, SystemColours::classic().buttonFace);
}

TEST(SkinParse, FailureLeavesThePreviousSkin) {
    test::MessageCapture boxes;
    ParsedSkin skin;
    skin.skinName = "previous";
    skin.fontHeight = 99;
    ByteStream empty;
    EXPECT_FALSE(parseSkin(empty, skin));
    std::string damaged = skinpack::compressPackage(skinpack::buildDecodedPackage(20000, {{"x.ini", "[a]"}}));
    damaged.resize(damaged.size() - 1); // still decodes, but the last entry runs past the end
    ByteStream broken(damaged.substr(0, 4) + std::string(damaged.size() - 4, '\0'));
    EXPECT_FALSE(parseSkin(broken, skin));
    EXPECT_EQ(skin.skinName, "previous");
    EXPECT_EQ(skin.fontHeight, 99);
    EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST(SkinParse, SkinpackRefusesBadArguments) {
    const std::string tool = std::string(test::kBinaryDir) + "/tools/skinpack/skinpack";
    EXPECT_NE(std::system((tool + " --version 12345 /tmp /dev/null 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + " /nonexistent/folder /tmp/x.skn 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + " 2>/dev/null").c_str()), 0);
}
