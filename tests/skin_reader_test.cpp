// SPDX-License-Identifier: GPL-3.0-or-later
// The package reader: header and version blocks, name list rules, size table, entries, damaged packages.
#include "MessageCapture.h"
#include "SkinPacker.h"
#include "skins/format/TSkinReader.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace velmora;

namespace {

void put32(std::string &s, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
}

// A decoded package written by hand: header, block filled with `fill`, list, sizes, data.
std::string decodedPackage(std::int32_t version, int block, const std::string &list,
                           const std::vector<std::int32_t> &sizes, const std::string &data, char fill = '\0') {
    std::string s;
    put32(s, version);
    put32(s, static_cast<std::int32_t>(list.size()));
    put32(s, 0x11111111);
    put32(s, 0x22222222);
    s.append(static_cast<std::size_t>(block), fill);
    s += list;
    for (std::int32_t v : sizes)
        put32(s, v);
    return s + data;
}

std::string stored(const std::string &decoded) {
    return skinpack::compressPackage(decoded);
}

struct ReaderTest : ::testing::Test {
    test::MessageCapture boxes;
    TSkinReader reader;

    bool read(const std::string &storedBytes) {
        ByteStream pkg(storedBytes);
        return reader.ReadPackage(pkg);
    }
    std::string entry(const std::string &name) {
        ByteStream out(std::string("junk"));
        reader.GetEntry(name, out);
        EXPECT_EQ(out.position(), 0u);
        return out.bytes();
    }
    std::vector<std::string> plainBoxes() const {
        std::vector<std::string> texts;
        for (const ShownMessage &m : boxes.shown()) {
            EXPECT_EQ(m.kind, ShownMessage::Plain);
            EXPECT_EQ(m.buttons, mbOK);
            texts.push_back(m.text);
        }
        return texts;
    }
};

} // namespace

TEST_F(ReaderTest, Version20000HasTheListRightAfterTheHeader) {
    ASSERT_TRUE(read(stored(decodedPackage(20000, 0, "A.bmp\r\nskin.INI\r\n", {3, 4}, "abcwxyz"))));
    EXPECT_EQ(reader.version(), 20000);
    EXPECT_EQ(reader.names(), (std::vector<std::string>{"a.bmp", "skin.ini"}));
    EXPECT_EQ(entry("a.bmp"), "abc");
    EXPECT_EQ(entry("SKIN.ini"), "wxyz"); // any letter case finds it
    EXPECT_EQ(entry("missing.bmp"), "");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ReaderTest, Version70000SkipsItsBlockWhateverItHolds) {
    // The block is filled with line ends and NULs: read as a list they would give other names.
    ASSERT_TRUE(read(stored(decodedPackage(70000, 69, "x.bmp\r\n", {2}, "ok", '\n'))));
    EXPECT_EQ(reader.names(), std::vector<std::string>{"x.bmp"});
    EXPECT_EQ(entry("x.bmp"), "ok");
    for (auto [version, block] : {std::pair{30000, 256}, {40000, 80}, {50000, 48}, {60000, 117}}) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(read(stored(decodedPackage(version, block, "y\r\n", {1}, "Q", '\r'))));
        EXPECT_EQ(entry("y"), "Q");
    }
}

TEST_F(ReaderTest, NameListLineEndsNulAndEmptyNames) {
    EXPECT_EQ(splitNameList("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitNameList("a\rb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitNameList("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitNameList("a\r\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitNameList("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitNameList("\r\n"), std::vector<std::string>{""});
    EXPECT_EQ(splitNameList(""), std::vector<std::string>{});
    EXPECT_EQ(splitNameList(std::string("a b\r\nc\0d\r\ne", 12)), (std::vector<std::string>{"a b", "c"}));

    // An empty name still takes its size from the table; names are lower-cased A..Z only.
    std::string gbkName = "\xC6\xA4\xB7\xF4"
                          "A.BMP"; // GBK bytes are left alone
    ASSERT_TRUE(read(stored(decodedPackage(20000, 0, "one\r\n\r\n" + gbkName + "\r\n", {1, 2, 3},
                                           "1223"
                                           "33"))));
    EXPECT_EQ(reader.names(), (std::vector<std::string>{"one", "",
                                                        "\xC6\xA4\xB7\xF4"
                                                        "a.bmp"}));
    EXPECT_EQ(entry(""), "22");
    EXPECT_EQ(entry(gbkName), "333");
}

TEST_F(ReaderTest, FindEntryTakesTheFirstNameHoldingTheFragment) {
    ASSERT_TRUE(read(stored(decodedPackage(20000, 0, "a.bmp\r\nFirst.Ini\r\nsecond.ini\r\n", {1, 2, 3}, "abbccc"))));
    ByteStream out(std::string("old"));
    std::string name = "unchanged";
    reader.FindEntry(".ini", out, name);
    EXPECT_EQ(out.bytes(), "bb");
    EXPECT_EQ(name, "first.ini");
    reader.FindEntry(".INI", out, name); // the fragment is not lower-cased
    EXPECT_EQ(out.bytes(), "");
    EXPECT_EQ(name, "first.ini");
}

TEST_F(ReaderTest, UnsupportedVersionsAndEmptyPackagesShowTheOlderSkinMessage) {
    EXPECT_FALSE(read(stored(decodedPackage(10000, 0, "", {}, ""))));
    EXPECT_FALSE(read(""));                         // nothing at all: N = 0, version 0
    EXPECT_FALSE(read(std::string("\x02\x00", 2))); // shorter than the length field
    EXPECT_FALSE(read(stored("abc")));              // decodes to 3 bytes: the missing byte reads as zero
    std::string negative = stored(decodedPackage(20000, 0, "", {}, ""));
    negative[3] = '\x80';
    EXPECT_FALSE(read(negative)); // a negative decoded length decodes to nothing: version 0
    // Declared lengths above the bound: the version is still checked first.
    EXPECT_FALSE(read(std::string("\x01\x00\x00\x04", 4)));
    EXPECT_FALSE(read(std::string("\xFF\xFF\xFF\x7F", 4)));
    std::vector<std::string> texts = plainBoxes();
    ASSERT_EQ(texts.size(), 7u);
    for (const std::string &t : texts)
        EXPECT_EQ(t, "This is Older Skin File\rPlease update to new version !");
}

TEST_F(ReaderTest, DamagedPackagesAreRefusedWithAMessage) {
    std::string many;
    for (int i = 0; i < 1002; ++i)
        many += "n\r\n";
    std::vector<std::string> bad = {
        stored(decodedPackage(20000, 0, many, std::vector<std::int32_t>(1002, 0), "")), // too many names
        stored(decodedPackage(20000, 0, "a\r\nb\r\n", {2, 3}, "abcd")),                 // sizes run past data
        stored(decodedPackage(20000, 0, "a\r\n", {-1}, "abc")),                         // negative size
        stored(decodedPackage(20000, 0, "a\r\nb\r\n", {1}, "")),                        // size table cut short
        stored(decodedPackage(70000, 10, "", {}, "")),                                  // version block cut short
        stored(std::string("\x20\x4E", 2)), // a known version in 2 bytes: the header itself is cut short
    };
    // A name list longer than the package, and a negative list length.
    std::string cut = decodedPackage(20000, 0, "a\r\n", {1}, "x");
    cut[4] = 100;
    bad.push_back(stored(cut));
    cut[7] = '\x80';
    bad.push_back(stored(cut));
    // A known version with a decoded length above the bound.
    std::string huge = stored(decodedPackage(20000, 0, "a\r\n", {1}, "x"));
    huge.replace(0, 4, std::string("\x01\x00\x00\x04", 4));
    bad.push_back(huge);

    for (std::size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(read(bad[i]));
        EXPECT_EQ(reader.count(), 0);
    }
    std::vector<std::string> texts = plainBoxes();
    ASSERT_EQ(texts.size(), bad.size());
    for (const std::string &t : texts)
        EXPECT_EQ(t, TSkinReader::kDamagedMessage);

    // Exactly 1001 names and sizes that use up the data exactly are fine.
    std::string list;
    for (int i = 0; i < 1001; ++i)
        list += "e" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(
        read(stored(decodedPackage(20000, 0, list, std::vector<std::int32_t>(1001, 1), std::string(1001, 'z')))));
    EXPECT_EQ(entry("e1000"), "z");
}

TEST_F(ReaderTest, ALongListIsReadInPartsWithoutMiscountingItsLineEnds) {
    // The list is decoded 64 KiB at a time: a CR LF across that boundary still ends one name.
    const std::string longName(65535, 'A');
    ASSERT_TRUE(read(stored(decodedPackage(20000, 0, longName + "\r\nb\r\n", {1, 1}, "xy"))));
    EXPECT_EQ(reader.names(), (std::vector<std::string>{std::string(65535, 'a'), "b"}));
    EXPECT_EQ(entry("b"), "y");
}

TEST_F(ReaderTest, BytesAfterTheLastEntryAreKeptAndIgnored) {
    ASSERT_TRUE(read(stored(decodedPackage(20000, 0, "a\r\n", {2}, "abEXTRA"))));
    EXPECT_EQ(entry("a"), "ab");
    EXPECT_EQ(reader.entryData(), "abEXTRA");
}

// Reads a package in this process and exits 0 when it was refused with one message and peak memory grew by
// less than `limitMb`.
[[noreturn]] void refuseCheaply(const std::string &package, long limitMb) {
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    test::MessageCapture boxes;
    TSkinReader reader;
    const bool read = reader.ReadPackage(std::string_view(package));
    getrusage(RUSAGE_SELF, &after);
    const long grownMb = (after.ru_maxrss - before.ru_maxrss) / 1024;
    std::fprintf(stderr, "read %d, %zu boxes, grew %ld MB\n", int(read), boxes.shown().size(), grownMb);
    std::exit(!read && boxes.shown().size() == 1 && grownMb < limitMb ? 0 : 1);
}

// A list of 16 million line breaks packs into a few hundred kilobytes; the reader must refuse it at the 1,002nd
// name, not split the whole list first (which takes gigabytes). Peak memory is measured in a child process.
TEST(ReaderLimits, AHugeNameListIsRefusedWithoutSplittingIt) {
    const std::string bomb = stored(decodedPackage(20000, 0, std::string(16 << 20, '\n'), {}, ""));
    EXPECT_EXIT(refuseCheaply(bomb, 32), ::testing::ExitedWithCode(0), "");
}

// A few bytes (under 32) that declare 64 MiB: a known header, one entry as large as the rest, then nothing but the zero
// bits read past the end. Such a length is more than the stream can expand to, so it is refused before decoding on.
TEST(ReaderLimits, ALengthTheStreamCannotHoldIsRefusedWithoutDecodingIt) {
    std::string pkg = stored(decodedPackage(20000, 0, "a\r\n", {TLZH::kMaxDecodedSize - 23}, ""));
    pkg.replace(0, 4, std::string("\x00\x00\x00\x04", 4));
    ASSERT_LT(pkg.size(), 32u);
    EXPECT_EXIT(refuseCheaply(pkg, 8), ::testing::ExitedWithCode(0), "");
}
