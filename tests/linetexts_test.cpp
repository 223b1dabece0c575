// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's texts: query text per mode, detail text and caption, count caption, link addresses.
#include "TestDb.h"
#include "app/LineTexts.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::G;

TEST(QueryText, EachModeByteForByte) {
    EXPECT_EQ(queryTextFor(1, "1", "5", ""), "select * from bus where cid='1' and lm like '%5%'");
    EXPECT_EQ(queryTextFor(2, "1", G("西单"), "x"), G("select * from bus where cid='1' and sh like '%西单%'"));
    EXPECT_EQ(queryTextFor(3, "12", G("西单"), G("东单")),
              G("select * from bus where cid='12' and sh like '%西单%' and sh like '%东单%'"));
    EXPECT_EQ(queryTextFor(3, "1", "A", ""), "select * from bus where cid='1' and sh like '%A%' and sh like '%%'");
    // Before start-up set a mode there is no text: the run lists all lines of the city.
    EXPECT_EQ(queryTextFor(0, "1", "5", ""), "");
}

TEST(QueryText, TrimsControlBytesButKeepsTheIdeographicSpace) {
    EXPECT_EQ(queryTextFor(1, "1", " 5 ", ""), "select * from bus where cid='1' and lm like '%5%'");
    EXPECT_EQ(queryTextFor(1, "1", "\t\r\n 5\x01", ""), "select * from bus where cid='1' and lm like '%5%'");
    EXPECT_EQ(queryTextFor(1, "1", "   ", ""), "select * from bus where cid='1' and lm like '%%'");
    EXPECT_EQ(queryTextFor(2, "1", G("5　"), ""), G("select * from bus where cid='1' and sh like '%5　%'"));
    EXPECT_EQ(queryTextFor(3, "1", " a", " b "), "select * from bus where cid='1' and sh like '%a%' and sh like '%b%'");
}

TEST(QueryText, QuotesAreDoubledWildcardsKept) {
    EXPECT_EQ(queryTextFor(1, "1", "O'Hare", ""), "select * from bus where cid='1' and lm like '%O''Hare%'");
    EXPECT_EQ(queryTextFor(3, "1", "'", "x' or '1'='1"),
              "select * from bus where cid='1' and sh like '%''%' and sh like '%x'' or ''1''=''1%'");
    EXPECT_EQ(queryTextFor(1, "1", "1%2_", ""), "select * from bus where cid='1' and lm like '%1%2_%'");
}

TEST(DetailText, PiecesInOrder) {
    EXPECT_EQ(detailText(G("空调"), "6:00-22:00", G("2元"), "A,B,C", "C,B,A"),
              G("空调　　6:00-22:00　　2元\r\n\r\nA -- B -- C\r\n\r\n下行:　　C -- B -- A"));
}

TEST(DetailText, DownDirectionOnlyWhenNotBlank) {
    EXPECT_EQ(detailText("b", "s", "p", "X", ""), G("b　　s　　p\r\n\r\nX\r\n\r\n"));
    // Blank after trimming: no heading, but the blanks themselves stay.
    EXPECT_EQ(detailText("b", "s", "p", "X", "  \t"), G("b　　s　　p\r\n\r\nX\r\n\r\n  \t"));
    // The ideographic space is not blank.
    EXPECT_EQ(detailText("", "", "", "", G("　")), G("　　　　\r\n\r\n\r\n\r\n下行:　　　"));
}

TEST(DetailText, OnlyTheAsciiCommaIsReplaced) {
    EXPECT_EQ(detailText("", "", "", G("X，Y"), ""), G("　　　　\r\n\r\nX，Y\r\n\r\n"));
    EXPECT_EQ(detailText("", "", "", ",,", ","), G("　　　　\r\n\r\n --  -- \r\n\r\n下行:　　 -- "));
}

TEST(DetailCaption, CityLineAndEndsWithTrailingSpace) {
    EXPECT_EQ(detailCaption(G("北京"), G("1路"), G("A站-->B站")), G("北京 1路　　A站-->B站 "));
    EXPECT_EQ(detailCaption("", "", ""), G(" 　　 "));
    std::string longName = G("一二三四五六七八九十一二三四五"); // 30 bytes: whole in the caption
    EXPECT_EQ(detailCaption("c", longName, "s"), "c " + longName + G("　　") + "s ");
}

TEST(CountCaption, DecimalWithoutPadding) {
    EXPECT_EQ(countCaption(1), G("查询结果: 1条公交"));
    EXPECT_EQ(countCaption(12), G("查询结果: 12条公交"));
    EXPECT_EQ(countCaption(3000), G("查询结果: 3000条公交"));
}

TEST(Addresses, LinePageAndHomePage) {
    EXPECT_EQ(lineAddress("http://bus.example.com", "1024"), "http://bus.example.com/i.php/1024.html");
    EXPECT_EQ(homeAddress("http://bus.example.com"), "http://bus.example.com/");
    // Whatever the id holds, the page stays one segment under the site.
    EXPECT_EQ(lineAddress("http://h", "../x?y#z"), "http://h/i.php/..%2Fx%3Fy%23z.html");
    EXPECT_EQ(lineAddress("http://h", "a b%"), "http://h/i.php/a%20b%25.html");
    EXPECT_EQ(lineAddress("http://h", G("路")), "http://h/i.php/%C2%B7.html");
    EXPECT_EQ(lineAddress("http://h", "@evil.com"), "http://h/i.php/%40evil.com.html");
}
