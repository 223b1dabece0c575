// SPDX-License-Identifier: GPL-3.0-or-later
// The LZHUF decoder against the packer's encoder, and against streams written by hand.
#include "SkinPacker.h"
#include "skins/format/LzhufCode.h"
#include "skins/format/TLZH.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmora;

namespace {

std::string decode(std::int32_t n, const std::string &stream) {
    ByteStream in(stream), out;
    TLZH::Unpack(n, in, out);
    return out.bytes();
}

std::string randomBytes(std::size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(rng() % static_cast<unsigned>(alphabet));
    return s;
}

// Text-like data with repeats at many distances, like an INI file next to bitmaps.
std::string structuredBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    static const char *words[] = {"[Buttons]\r\n", "LeftWidth=",       "TopHeight=",
                                  "Image=",        ".bmp\r\n",         "   ",
                                  "\xff\x00\xff",  "\x10\x20\x30\x40", "Colour2=227 224 213\r\n"};
    std::string s;
    while (s.size() < n) {
        unsigned k = rng() % 12;
        if (k < 9)
            s += std::string(words[k], std::char_traits<char>::length(words[k]) + (k == 6 ? 1 : 0));
        else if (k == 9 && s.size() > 100)
            s += s.substr(rng() % (s.size() - 60), 3 + rng() % 58); // a copy from anywhere in the window
        else
            s += static_cast<char>(rng());
    }
    s.resize(n);
    return s;
}

void expectRoundTrip(const std::string &data) {
    std::string stream = skinpack::lzhufEncode(data);
    std::string back = decode(static_cast<std::int32_t>(data.size()), stream);
    ASSERT_EQ(back.size(), data.size());
    EXPECT_TRUE(back == data) << "first difference at "
                              << std::mismatch(back.begin(), back.end(), data.begin()).first - back.begin();
}

} // namespace

TEST(Lzh, RoundTripsRandomAndStructuredDataOfEdgeSizes) {
    for (std::size_t n : {0u, 1u, 2u, 3u, 59u, 60u, 61u, 4035u, 4036u, 4095u, 4096u, 4097u, 8193u, 70000u}) {
        SCOPED_TRACE(n);
        expectRoundTrip(randomBytes(n, static_cast<unsigned>(n)));
        expectRoundTrip(randomBytes(n, static_cast<unsigned>(n) + 1, 4)); // small alphabet: many short matches
        expectRoundTrip(structuredBytes(n, static_cast<unsigned>(n)));
    }
}

TEST(Lzh, RoundTripsOneMegabyte) {
    expectRoundTrip(randomBytes(1 << 20, 7));
    expectRoundTrip(structuredBytes(1 << 20, 8));
}

TEST(Lzh, RoundTripsRepetitiveDataThroughManyTreeRebuilds) {
    // One symbol dominating drives the root count to 0x8000 again and again; long runs give 60-byte matches,
    // also matches that overlap the bytes being written and the initial spaces.
    expectRoundTrip(std::string(1 << 20, 'a'));
    expectRoundTrip(std::string(300000, ' '));
    std::string pattern;
    for (int i = 0; i < 200000; ++i)
        pattern += static_cast<char>("abcab"[i % 5]);
    expectRoundTrip(pattern);
    std::string runs;
    std::mt19937 rng(3);
    while (runs.size() < 500000)
        runs.append(1 + rng() % 200, static_cast<char>(rng() % 3));
    expectRoundTrip(runs);
}

TEST(Lzh, RoundTripsEveryByteValue) {
    std::string all;
    for (int rep = 0; rep < 40; ++rep)
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(rep % 2 ? 255 - b : b);
    expectRoundTrip(all);
}

TEST(Lzh, PositionCodeIsAPrefixCodeCoveringEveryByte) {
    const auto &t = lzhuf::kPositionCode;
    EXPECT_EQ(t.length[0], 3);
    EXPECT_EQ(t.code[1], 0x20);
    EXPECT_EQ(t.code[4], 0x50);
    EXPECT_EQ(t.code[12], 0x90);
    EXPECT_EQ(t.code[24], 0xC0);
    EXPECT_EQ(t.code[48], 0xF0);
    EXPECT_EQ(t.code[63], 0xFF);
    for (int b = 0; b < 256; ++b) {
        int v = t.upper[b];
        EXPECT_EQ(b >> (8 - t.length[v]), t.code[v] >> (8 - t.length[v])) << b;
        EXPECT_EQ(t.bits[b], t.length[v]);
    }
}

TEST(Lzh, AllZeroStreamDecodesTheFirstLeafAndAnEarlyEndReadsZeros) {
    // In the initial tree, nine zero bits lead to the literal 't'; a missing input is the same as zero bytes.
    std::string zeros = decode(300, std::string(400, '\0'));
    EXPECT_EQ(zeros[0], 't');
    EXPECT_EQ(decode(300, ""), zeros);
    EXPECT_EQ(decode(300, std::string(3, '\0')), zeros);
    // A cut stream decodes its prefix and then goes on with zero bits until N bytes are out.
    std::string data = "The quick brown fox jumps over the lazy dog";
    std::string stream = skinpack::lzhufEncode(data);
    std::string back = decode(static_cast<std::int32_t>(data.size()) + 10, stream);
    EXPECT_EQ(back.substr(0, data.size()), data);
    EXPECT_GE(back.size(), data.size() + 10);
}

TEST(Lzh, MatchIsCopiedWholePastN) {
    std::string data(60, ' ');
    std::string stream = skinpack::lzhufEncode(data); // one 60-byte match into the initial spaces
    EXPECT_EQ(decode(1, stream), data);
}

TEST(Lzh, NegativeOrHugeLengthDecodesNothing) {
    std::string stream = skinpack::lzhufEncode("abc");
    EXPECT_EQ(decode(0, stream), "");
    EXPECT_EQ(decode(-5, stream), "");
    ByteStream in(stream), out;
    EXPECT_THROW(TLZH::Unpack(TLZH::kMaxDecodedSize + 1, in, out), ElzhException);
    try {
        TLZH::Unpack(TLZH::kMaxDecodedSize + 1, in, out);
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), TLZH::kTooLargeMessage);
    }
    EXPECT_EQ(out.size(), 0u);
}

TEST(Lzh, ReadsFromTheInputPositionAndAppendsToTheOutput) {
    std::string stream = skinpack::lzhufEncode("hello");
    ByteStream in("XYZ" + stream), out(std::string("pre"));
    in.setPosition(3);
    TLZH::Unpack(5, in, out);
    EXPECT_EQ(out.bytes(), "prehello");
    EXPECT_EQ(in.position(), in.size());
}
