// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Exception.h"
#include "text/Gbk.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Trim, RemovesBytesUpToSpaceButKeepsIdeographicSpace) {
    EXPECT_EQ(trimBytes(" \t5\r\n "), "5");
    EXPECT_EQ(trimBytes(std::string("\x01\x20"
                                    "a b\x1f",
                                    6)),
              "a b");
    EXPECT_EQ(trimBytes("   "), "");
    EXPECT_EQ(trimBytes(""), "");
    // A1 A1 is the ideographic space of GBK and is a character, not a blank.
    EXPECT_EQ(trimBytes(" \xa1\xa1x\xa1\xa1 "), "\xa1\xa1x\xa1\xa1");
}

TEST(Gbk, LiteralsBecomeGbkBytes) {
    EXPECT_EQ(gbk("北京"), "\xb1\xb1\xbe\xa9");
    EXPECT_EQ(gbk("　"), "\xa1\xa1");
    EXPECT_EQ(gbk("ab"), "ab");
    EXPECT_THROW(gbk("\xf0\x9f\x98\x80"), Exception); // an emoji has no GBK form
}

TEST(Gbk, WidgetBoundaryRoundTrips) {
    std::string bytes = gbk("站站查询：到");
    EXPECT_EQ(toGbk(fromGbk(bytes)), bytes);
    EXPECT_EQ(fromGbk(gbk("下行:　　")), QString::fromUtf8("下行:　　"));
    // A value cut inside a double-byte character still shows that something was there.
    EXPECT_EQ(fromGbk(std::string("A\xb1", 2)), QString::fromUtf8("A\xef\xbf\xbd"));
    EXPECT_EQ(toGbk(QString::fromUtf8("😀")), "?");
}

TEST(Gbk, StrictConversionReportsTheCharacter) {
    std::string out;
    qsizetype bad = -1;
    EXPECT_TRUE(utf8ToGbk("1路", out, &bad));
    EXPECT_EQ(out, "1\xc2\xb7");
    EXPECT_FALSE(utf8ToGbk("ab\xf0\x9f\x98\x80", out, &bad));
    EXPECT_EQ(bad, 2);
    EXPECT_TRUE(utf8ToGbk("?", out));
    EXPECT_EQ(out, "?");
}

TEST(Bytes, ReplaceCaseAndQuotes) {
    EXPECT_EQ(replaceAll("X,Y,Z", ",", " -- "), "X -- Y -- Z");
    EXPECT_EQ(replaceAll(",,", ",", ",,"), ",,,,");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
    // Only A..Z and a..z change; GBK bytes that happen to fall in the letter range inside a character are
    // left to the caller's rule (byte by byte).
    EXPECT_EQ(lowerAscii("AbC\xc1\xd2Z"), "abc\xc1\xd2z");
    EXPECT_EQ(upperAscii("lm_1"), "LM_1");
}
