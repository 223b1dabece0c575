// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzTargets.h"

#include "SkinPacker.h"
#include "skins/format/SkinNotice.h"
#include "skins/format/SkinParser.h"
#include "skins/format/TLZH.h"
#include "skins/format/TQuickIni.h"
#include "skins/format/TSkinReader.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace velmora::fuzz {

namespace {
constexpr std::int32_t kFuzzMaxDecoded = 1 << 17; // keeps one run short; the real bound is only refused

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
        std::abort();
    }
}

std::int32_t int32At(const std::uint8_t *p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}
} // namespace

void setUp() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);          // lives for the process
    setSkinNoticeSink([](const std::string &) {}); // a notice per rejected input would only slow the run
}

int unpack(const std::uint8_t *data, std::size_t size) {
    if (size >= 4) {
        std::int32_t n = int32At(data);
        std::string out = "x";
        if (n > TLZH::kMaxDecodedSize) {
            bool thrown = false;
            try {
                TLZH::Unpack(n, data + 4, size - 4, out);
            } catch (const ElzhException &) {
                thrown = true;
            }
            check(thrown && out == "x", "a length above the bound is refused untouched");
        } else {
            n %= kFuzzMaxDecoded;
            std::size_t used = TLZH::Unpack(n, data + 4, size - 4, out);
            check(used <= size - 4, "consumed no more than the input");
            std::size_t want = n > 0 ? static_cast<std::size_t>(n) : 0;
            check(out.size() >= 1 + want && out.size() < 1 + want + 60, "output length is N plus at most a match");
        }
    }
    std::string raw(reinterpret_cast<const char *>(data), size);
    std::string stream = skinpack::lzhufEncode(raw);
    std::string back;
    TLZH::Unpack(static_cast<std::int32_t>(raw.size()), reinterpret_cast<const std::uint8_t *>(stream.data()),
                 stream.size(), back);
    check(back == raw, "encoder and decoder round-trip");
    return 0;
}

namespace {
void readOne(const std::string &stored) {
    TSkinReader reader;
    reader.setMaxDecodedSize(kFuzzMaxDecoded);
    if (!reader.ReadPackage(stored))
        return;
    std::size_t total = 0;
    for (std::int32_t s : reader.sizes())
        total += static_cast<std::size_t>(s);
    check(total <= reader.entryData().size(), "entries lie inside the entry data");
    check(reader.count() <= 1001, "at most 1001 entries");
    for (const std::string &name : reader.names()) {
        ByteStream out;
        reader.GetEntry(name, out);
        check(out.position() == 0, "entry stream at position 0");
    }
    ParsedSkin skin;
    check(parseSkin(ByteStream(stored), skin), "a package that reads also parses");
}
} // namespace

int readPackage(const std::uint8_t *data, std::size_t size) {
    std::string input(reinterpret_cast<const char *>(data), size);
    readOne(input);
    // The decoded layout is where the header, list and size rules live; reach it without the fuzzer having
    // to find valid bit streams.
    readOne(skinpack::compressPackage(input));
    return 0;
}

int quickIni(const std::uint8_t *data, std::size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    TQuickIni ini;
    ByteStream s(text);
    ini.LoadFromStream(s);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    static const char *keys[] = {"Image", "TopHeight", "Action", "color", "", "Tile", "ActiveText"};
    for (const std::string &sec : sections) {
        for (const char *key : keys) {
            std::string v = ini.ReadString(sec, key, "def");
            check(!v.empty(), "a value is never empty");
            ini.ReadInteger(sec, key, -1);
            readColourText(ini, sec, key, QColor());
        }
        readColour3(ini, sec, "ActiveText");
    }
    std::int32_t v;
    parseIniInteger(text, v);
    parseColourText(text);
    return 0;
}

} // namespace velmora::fuzz
