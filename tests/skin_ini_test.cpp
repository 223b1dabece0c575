// SPDX-License-Identifier: GPL-3.0-or-later
// The INI reader's rules and the colour readers.
#include "skins/format/TQuickIni.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
TQuickIni load(const std::string &text) {
    TQuickIni ini;
    ByteStream s(text);
    ini.LoadFromStream(s);
    return ini;
}
} // namespace

TEST(QuickIni, LinesEndsCommentsAndTrimming) {
    TQuickIni ini = load(std::string("  [Main]  \r\n\tA = 1 \rB=2\n\n; C=3\r\n;\r\n  ;D=4\r\nE\x01=\x02 5\x1f\r\n"
                                     "F=6\0G=7\r\n",
                                     62));
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"[Main]", "A = 1", "B=2", "E\x01=\x02 5", "F=6"}));
    EXPECT_EQ(ini.ReadString("Main", "A", "d"), "1");
    EXPECT_EQ(ini.ReadString("Main", "B", "d"), "2");
    EXPECT_EQ(ini.ReadString("Main", "C", "d"), "d"); // comments hold "=" but stay comments
    EXPECT_EQ(ini.ReadString("Main", "D", "d"), "d");
    EXPECT_EQ(ini.ReadString("Main", "E", "d"), "5");
    EXPECT_EQ(ini.ReadString("Main", "G", "d"), "d"); // after the NUL
}

TEST(QuickIni, LoadsFromTheStreamPositionAndReplacesEarlierText) {
    TQuickIni ini = load("[Old]\r\nk=1\r\n");
    ByteStream s(std::string("[Old]\r\nk=1\r\n[New]\r\nk=2"));
    s.setPosition(11);
    ini.LoadFromStream(s);
    EXPECT_EQ(ini.ReadString("Old", "k", "none"), "none");
    EXPECT_EQ(ini.ReadString("New", "k", "none"), "2");
}

TEST(QuickIni, SectionsAndKeysMatchWithoutCaseButHeadersMatchWhole) {
    TQuickIni ini = load("[ Spaced ]\r\nk=1\r\n[BUTTONS]\r\ntopheight = 7\r\nTOPHEIGHT=8\r\n[buttons]\r\nk=9\r\n"
                         "[Empty]\r\n[Next]\r\nz=1\r\n");
    EXPECT_EQ(ini.ReadString("Spaced", "k", "d"), "d");
    EXPECT_EQ(ini.ReadString(" Spaced ", "k", "d"), "1");
    EXPECT_EQ(ini.ReadInteger("Buttons", "TopHeight", 0), 7); // first key wins
    EXPECT_EQ(ini.ReadString("buttons", "k", "d"), "d");      // the first header with the name decides
    EXPECT_EQ(ini.ReadString("Empty", "z", "d"), "d");        // a key of the next section is not seen
    EXPECT_EQ(ini.ReadString("Missing", "z", "d"), "d");
    EXPECT_EQ(load("").ReadString("Any", "k", "d"), "d");

    std::vector<std::string> sections{"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Spaced", "BUTTONS", "buttons", "Empty", "Next"}));
}

TEST(QuickIni, FirstDuplicateKeyDecidesAlsoWhenEmpty) {
    TQuickIni ini = load("[S]\r\nImage =  \r\nImage=real.bmp\r\nx\r\nNoEq\r\n = v\r\nk = a = b \r\n");
    EXPECT_EQ(ini.ReadString("S", "Image", "def"), "def");
    EXPECT_EQ(ini.ReadString("S", "k", "def"), "a = b");
    EXPECT_EQ(ini.ReadString("S", "NoEq", "def"), "def");
    EXPECT_EQ(ini.ReadString("S", "", "def"), "def"); // "x" has no "=", so its empty key decides with nothing
}

TEST(QuickIni, ReadIntegerForms) {
    TQuickIni ini = load("[N]\r\nhex=0x1F\r\nHEX=0X1f\r\ndollar=$1F\r\nplus=+5\r\nminus=-5\r\nmixed=12ab\r\n"
                         "max=2147483647\r\nmin=-2147483648\r\nover=2147483648\r\nunder=-2147483649\r\n"
                         "pattern=0xFFFFFFFF\r\nnine=0x100000000\r\nbare=0x\r\nsign=-\r\nneghex=-$10\r\n"
                         "inner=1 2\r\nlong=000000000000000000042\r\n");
    EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "dollar", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 5);
    EXPECT_EQ(ini.ReadInteger("N", "minus", 0), -5);
    EXPECT_EQ(ini.ReadInteger("N", "mixed", -7), -7);
    EXPECT_EQ(ini.ReadInteger("N", "max", 0), 2147483647);
    EXPECT_EQ(ini.ReadInteger("N", "min", 0), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "over", -7), -7);
    EXPECT_EQ(ini.ReadInteger("N", "under", -7), -7);
    EXPECT_EQ(ini.ReadInteger("N", "pattern", 0), -1);
    EXPECT_EQ(ini.ReadInteger("N", "nine", -7), -7);
    EXPECT_EQ(ini.ReadInteger("N", "bare", -7), -7);
    EXPECT_EQ(ini.ReadInteger("N", "sign", -7), -7);
    EXPECT_EQ(ini.ReadInteger("N", "neghex", 0), -16);
    EXPECT_EQ(ini.ReadInteger("N", "inner", -7), -7);
    EXPECT_EQ(ini.ReadInteger("N", "long", 0), 42);
    EXPECT_EQ(ini.ReadInteger("N", "missing", 99), 99);
}

TEST(QuickIni, ColourTexts) {
    auto rgb = [](const QColor &c) { return std::vector<int>{c.red(), c.green(), c.blue()}; };
    EXPECT_EQ(rgb(parseColourText("227 224 213")), (std::vector<int>{227, 224, 213}));
    EXPECT_EQ(rgb(parseColourText("255")), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(rgb(parseColourText("300 0 0")), (std::vector<int>{44, 0, 0}));
    EXPECT_EQ(rgb(parseColourText("1,2")), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(rgb(parseColourText("(1; 2; 3; 4)")), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(rgb(parseColourText("99999999999999999999 1 2")),
              (std::vector<int>{99999999999999999999ULL % 256, 1, 2}));
    EXPECT_EQ(rgb(parseColourText("")), (std::vector<int>{0, 0, 0}));

    TQuickIni ini = load("[Colours]\r\nButtonFace=1 2 3\r\nEmpty=\r\n"
                         "[Personality]\r\nActiveTextR=256\r\nActiveTextG=0x10\r\nActiveTextB=$FF\r\n"
                         "InActiveTextR=1\r\nInActiveTextG=-1\r\nInActiveTextB=1\r\n");
    EXPECT_EQ(rgb(readColourText(ini, "Colours", "ButtonFace", Qt::red)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(readColourText(ini, "Colours", "Empty", Qt::red), QColor(Qt::red));
    std::optional<QColor> active = readColour3(ini, "Personality", "ActiveText");
    ASSERT_TRUE(active);
    EXPECT_EQ(rgb(*active), (std::vector<int>{0, 16, 255}));
    EXPECT_FALSE(readColour3(ini, "Personality", "InActiveText"));
    EXPECT_FALSE(readColour3(ini, "Personality", "Missing"));
}
