// SPDX-License-Identifier: GPL-3.0-or-later
// Skin package decoding and encoding on a 1 MB package of bitmaps and INI text, against a plain copy of the
// decoded bytes as the floor. Reports MB/s of decoded output and the ratio to the copy.
#include "SkinPacker.h"
#include "skins/format/SkinNotice.h"
#include "skins/format/SkinParser.h"
#include "skins/format/SkinStore.h"
#include "skins/format/TLZH.h"
#include "skins/format/TSkinReader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;

namespace {

// A skin-like mix: 24-bit bitmaps with gradients, flat areas, magenta and noise, plus INI text; about 1 MB.
std::string bitmap(int w, int h, std::mt19937 &rng) {
    std::string px;
    int style = static_cast<int>(rng() % 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char r, g, b;
            switch (style) {
            case 0:
                r = static_cast<unsigned char>(x * 255 / w);
                g = static_cast<unsigned char>(y * 255 / h);
                b = 128;
                break;
            case 1:
                r = 255;
                g = 0;
                b = 255;
                if ((x / 7 + y / 5) % 3 == 0) {
                    r = 200;
                    g = 190;
                    b = 180;
                }
                break;
            case 2:
                r = g = b = static_cast<unsigned char>(200 + (x + y) % 8);
                break;
            default:
                r = static_cast<unsigned char>(rng());
                g = static_cast<unsigned char>(r / 2 + rng() % 8);
                b = 90;
                break;
            }
            px += static_cast<char>(b);
            px += static_cast<char>(g);
            px += static_cast<char>(r);
        }
        px.append(static_cast<std::size_t>((4 - (w * 3) % 4) % 4), '\0');
    }
    std::string bmp = "BM";
    bmp.append(52, '\0'); // header contents do not matter for the codec
    return bmp + px;
}

const std::string &decodedPackage() {
    static const std::string pkg = [] {
        std::mt19937 rng(42);
        std::vector<skinpack::Entry> entries;
        std::string ini;
        std::size_t total = 0;
        for (int i = 0; total < 1000000; ++i) {
            std::string name = "part" + std::to_string(i) + ".bmp";
            std::string b = bitmap(20 + static_cast<int>(rng() % 180), 10 + static_cast<int>(rng() % 60), rng);
            total += b.size();
            ini += "[Part" + std::to_string(i) + "]\r\nImage=" + name +
                   "\r\nLeftWidth=3\r\nRightWidth=3\r\n"
                   "Trans=1\r\nNormalColour2=227 224 213\r\n";
            entries.push_back({name, std::move(b)});
        }
        entries.push_back({"skin.ini", ini});
        std::string d = skinpack::buildDecodedPackage(70000, entries);
        d.resize(1 << 20, '\0');
        return d;
    }();
    return pkg;
}

const std::string &storedPackage() {
    static const std::string s = skinpack::compressPackage(decodedPackage());
    return s;
}

// Seconds for one plain copy of the given decoded bytes, the best of 200: the floor the decoder is compared with.
double copySeconds(const std::string &src) {
    std::string out(src.size(), '\0');
    double t = 1e9;
    for (int i = 0; i < 200; ++i) {
        auto a = std::chrono::steady_clock::now();
        std::memcpy(out.data(), src.data(), src.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
        t = std::min(t, std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count());
    }
    return t;
}

double copySeconds() {
    static const double best = copySeconds(decodedPackage());
    return best;
}

// Reports the time per iteration as a multiple of the copy floor.
struct FloorRatio {
    benchmark::State &state;
    double floor = copySeconds();
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    ~FloorRatio() {
        double per = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                     static_cast<double>(state.iterations());
        state.counters["x_copy"] = per / floor;
    }
};

// Decoded inputs of one kind each, stored as the packer stores them: INI-like text, binary noise over a small
// alphabet (bitmap rows), and the program's own six skins.
std::vector<std::string> decodedOfKind(int kind) {
    std::mt19937 rng(7);
    std::vector<std::string> out;
    if (kind == 0) {
        std::string t;
        for (int i = 0; t.size() < (1u << 20); ++i)
            t += "[Button" + std::to_string(i) + "]\r\nButtonImage=btn" + std::to_string(rng() % 50) +
                 ".bmp\r\nAction=" + std::to_string(rng() % 7) + "\r\nXcoord=" + std::to_string(rng() % 300) +
                 "\r\nNormalColour2=227 224 213\r\n";
        out.push_back(t);
    } else if (kind == 1) {
        std::string b(1u << 20, '\0');
        for (char &c : b)
            c = static_cast<char>(rng() % 24 * 11);
        out.push_back(b);
    } else {
        TSkinStore store;
        store.LoadFromResource(kSkinStoreResource);
        for (int i = 0; i < store.Store.Count(); ++i) {
            const std::string &pkg = store.Store[i]->DataStream().bytes();
            std::int32_t n = 0;
            std::memcpy(&n, pkg.data(), 4); // the stored skins are whole packages, little-endian like the host
            std::string d;
            TLZH::Unpack(n, reinterpret_cast<const unsigned char *>(pkg.data()) + 4, pkg.size() - 4, d);
            out.push_back(d);
        }
    }
    return out;
}

void BM_DecodeKind(benchmark::State &state) {
    const std::vector<std::string> decoded = decodedOfKind(static_cast<int>(state.range(0)));
    std::vector<std::string> stored;
    std::string all;
    for (const std::string &d : decoded) {
        stored.push_back(skinpack::lzhufEncode(d));
        all += d;
    }
    FloorRatio ratio{state, copySeconds(all)};
    for (auto _ : state)
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            std::string out;
            TLZH::Unpack(static_cast<std::int32_t>(decoded[i].size()),
                         reinterpret_cast<const unsigned char *>(stored[i].data()), stored[i].size(), out);
            benchmark::DoNotOptimize(out.data());
        }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(all.size()));
}

void BM_Decode(benchmark::State &state) {
    copySeconds();
    FloorRatio ratio{state};
    const std::string &stored = storedPackage();
    const auto *p = reinterpret_cast<const unsigned char *>(stored.data()) + 4;
    const auto n = static_cast<std::int32_t>(decodedPackage().size());
    for (auto _ : state) {
        std::string out;
        TLZH::Unpack(n, p, stored.size() - 4, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * n);
    state.counters["packed/decoded"] = static_cast<double>(stored.size()) / n;
}

void BM_CopyFloor(benchmark::State &state) {
    const std::string &src = decodedPackage();
    for (auto _ : state) {
        std::string out;
        out.resize(src.size());
        std::memcpy(out.data(), src.data(), src.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(src.size()));
}

void BM_Encode(benchmark::State &state) {
    const std::string &src = decodedPackage();
    copySeconds();
    FloorRatio ratio{state};
    for (auto _ : state) {
        std::string s = skinpack::lzhufEncode(src);
        benchmark::DoNotOptimize(s.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(src.size()));
}

void BM_ReadAndParse(benchmark::State &state) {
    ByteStream stored(storedPackage());
    copySeconds();
    FloorRatio ratio{state};
    for (auto _ : state) {
        ParsedSkin skin;
        benchmark::DoNotOptimize(parseSkin(stored, skin));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(decodedPackage().size()));
}

// Damaged and extreme packages of at most 2 MB, each declaring the largest decoded length the reader takes.
std::string withHeader(std::int32_t version, const std::string &list, const std::vector<std::int32_t> &sizes) {
    auto put32 = [](std::string &s, std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            s.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
    };
    std::string s;
    put32(s, version);
    put32(s, static_cast<std::int32_t>(list.size()));
    put32(s, 0);
    put32(s, 0);
    s += list;
    for (std::int32_t v : sizes)
        put32(s, v);
    return s;
}

constexpr std::size_t kLargest = TLZH::kMaxDecodedSize;

const std::string &craftedPackage(int which) {
    static std::map<int, std::string> made;
    std::string &pkg = made[which];
    if (!pkg.empty())
        return pkg;
    std::string d;
    switch (which) {
    case 0: // the whole package a name list of line breaks
        d = withHeader(20000, std::string(kLargest - 16, '\n'), {});
        break;
    case 1: // one name as long as the package
        d = withHeader(20000, std::string(kLargest - 16, 'a'), {});
        break;
    case 2: { // one entry filling the package: accepted
        std::string head = withHeader(20000, "big\r\n", {0});
        std::int32_t size = static_cast<std::int32_t>(kLargest - head.size());
        d = withHeader(20000, "big\r\n", {size}) + std::string(static_cast<std::size_t>(size), 'x');
        break;
    }
    case 3: { // an entry longer than the data: refused only at the end
        std::string head = withHeader(20000, "big\r\n", {0});
        std::int32_t size = static_cast<std::int32_t>(kLargest - head.size());
        d = withHeader(20000, "big\r\n", {size + 100}) + std::string(static_cast<std::size_t>(size), 'x');
        break;
    }
    case 6: { // 20 bytes: a known header and one entry declaring 64 MiB, then only the zero bits past the end
        pkg = skinpack::compressPackage(withHeader(20000, "a\r\n", {static_cast<std::int32_t>(kLargest - 23)}));
        pkg.replace(0, 4, std::string("\0\0\0\x04", 4));
        return pkg;
    }
    case 5: { // one name of nearly the whole package and one empty entry: accepted
        std::string name(kLargest - 16 - 2 - 4, 'a');
        d = withHeader(20000, name + "\r\n", {0});
        break;
    }
    default: // four bytes declaring the largest length; the rest decodes from zero bits
        d.clear();
        pkg = std::string("\0\0\0\x04", 4);
        return pkg;
    }
    pkg = skinpack::compressPackage(d);
    return pkg;
}

// Peak memory growth of one read, in a child process so earlier reads do not hide it.
double readPeakMb(const std::string &pkg) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    pid_t child = ::fork();
    if (child == 0) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        TSkinReader reader;
        reader.ReadPackage(std::string_view(pkg));
        getrusage(RUSAGE_SELF, &after);
        long grown = after.ru_maxrss - before.ru_maxrss;
        ssize_t w = ::write(fds[1], &grown, sizeof grown);
        ::_exit(w == sizeof grown ? 0 : 1);
    }
    long grown = -1;
    ::close(fds[1]);
    if (::read(fds[0], &grown, sizeof grown) != sizeof grown)
        grown = -1;
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    return static_cast<double>(grown) / 1024.0;
}

void BM_CraftedPackage(benchmark::State &state) {
    const std::string &pkg = craftedPackage(static_cast<int>(state.range(0)));
    setSkinNoticeSink([](const std::string &) {});
    bool accepted = false;
    for (auto _ : state) {
        TSkinReader reader;
        accepted = reader.ReadPackage(std::string_view(pkg));
    }
    state.counters["peak_MB"] = readPeakMb(pkg);
    setSkinNoticeSink(nullptr);
    state.counters["stored_MB"] = static_cast<double>(pkg.size()) / (1 << 20);
    state.counters["accepted"] = accepted;
}

} // namespace

BENCHMARK(BM_CraftedPackage)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeKind)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndParse)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
