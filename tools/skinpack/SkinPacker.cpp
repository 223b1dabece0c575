// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinPacker.h"

#include "skins/format/LzhufCode.h"
#include "skins/format/PackageFormat.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace velmora::skinpack {

namespace {

using namespace lzhuf;

class BitWriter {
public:
    explicit BitWriter(std::string &out) : out_(out) {}
    // Appends the low len bits of code (len <= 32), most significant first.
    void put(std::uint64_t code, int len) {
        acc_ = (acc_ << len) | code;
        count_ += len;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<char>((acc_ >> count_) & 0xFF));
        }
    }
    void flush() {
        if (count_ > 0)
            out_.push_back(static_cast<char>((acc_ << (8 - count_)) & 0xFF));
        count_ = 0;
    }

private:
    std::string &out_;
    std::uint64_t acc_ = 0;
    int count_ = 0;
};

// Matches are searched along hash chains of 3-byte prefixes, nearest first, over the input as the decoder sees
// it: the 4036 spaces of the initial ring followed by the data, with sources at most 4096 bytes back.
class MatchFinder {
public:
    explicit MatchFinder(const std::string &text) : text_(text), prev_(text.size(), -1), head_(kHashSize, -1) {}

    void insert(int i) {
        if (static_cast<std::size_t>(i) + 2 >= text_.size())
            return;
        unsigned h = hash(i);
        prev_[static_cast<std::size_t>(i)] = head_[h];
        head_[h] = i;
    }

    // Longest match for position i (up to maxLen), the nearest of equal length; length 0 when none of 3 or more.
    int find(int i, int maxLen, int &distance) const {
        if (maxLen <= kThreshold || static_cast<std::size_t>(i) + 2 >= text_.size())
            return 0;
        const auto *t = reinterpret_cast<const unsigned char *>(text_.data());
        int best = 0;
        int steps = kMaxChain;
        for (int j = head_[hash(i)]; j >= 0 && i - j <= kRingSize && steps-- > 0;
             j = prev_[static_cast<std::size_t>(j)]) {
            if (t[j + best] != t[i + best])
                continue;
            int n = 0;
            while (n < maxLen && t[j + n] == t[i + n])
                ++n;
            if (n > best) {
                best = n;
                distance = i - j;
                if (n == maxLen)
                    break;
            }
        }
        return best > kThreshold ? best : 0;
    }

private:
    static constexpr int kHashBits = 15;
    static constexpr unsigned kHashSize = 1u << kHashBits;
    static constexpr int kMaxChain = 256;

    unsigned hash(int i) const {
        const auto *t = reinterpret_cast<const unsigned char *>(text_.data()) + i;
        std::uint32_t v = static_cast<std::uint32_t>(t[0]) << 16 | static_cast<std::uint32_t>(t[1]) << 8 | t[2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const std::string &text_;
    std::vector<int> prev_;
    std::vector<int> head_;
};

struct SymbolCoder {
    Tree tree;

    void encodeSymbol(BitWriter &bits, int symbol) {
        // The path from the leaf up to the root; a node's parity is the branch taken to reach it.
        std::uint64_t code = 0;
        int len = 0;
        int k = tree.parent[symbol + kNodes];
        do {
            if (len >= 32) {
                // Counts are capped at 0x8000, which bounds the depth far below this.
                throw std::logic_error("LZHUF tree deeper than 32");
            }
            code |= static_cast<std::uint64_t>(k & 1) << len;
            ++len;
            k = tree.parent[k];
        } while (k != kRoot);
        bits.put(code, len);
        tree.update(symbol);
    }

    void encodePosition(BitWriter &bits, int pos) {
        int upper = pos >> 6;
        bits.put(kPositionCode.code[upper] >> (8 - kPositionCode.length[upper]), kPositionCode.length[upper]);
        bits.put(static_cast<unsigned>(pos & 0x3F), 6);
    }
};

} // namespace

std::string lzhufEncode(std::string_view data) {
    std::string out;
    if (data.empty())
        return out;
    if (data.size() > 0x7FFFFFFF - kRingSize)
        throw std::invalid_argument("data too large");
    out.reserve(data.size() / 2 + 64);
    BitWriter bits(out);
    auto coder = std::make_unique<SymbolCoder>();
    coder->tree.start();

    std::string text(kFirstPos, ' ');
    text.append(data);
    MatchFinder finder(text);
    // Like the decoder's ring, only the last stretch of the initial spaces is offered as a source.
    for (int i = kFirstPos - kMaxMatch; i < kFirstPos; ++i)
        finder.insert(i);

    const int end = static_cast<int>(text.size());
    int i = kFirstPos;
    while (i < end) {
        int distance = 0;
        int len = finder.find(i, std::min(kMaxMatch, end - i), distance);
        if (len == 0) {
            coder->encodeSymbol(bits, static_cast<unsigned char>(text[static_cast<std::size_t>(i)]));
            len = 1;
        } else {
            coder->encodeSymbol(bits, 255 - kThreshold + len);
            coder->encodePosition(bits, distance - 1);
        }
        for (int k = 0; k < len; ++k)
            finder.insert(i + k);
        i += len;
    }
    bits.flush();
    return out;
}

namespace {
void putInt32(std::string &out, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}
} // namespace

std::string compressPackage(std::string_view decoded) {
    if (decoded.size() > 0x7FFFFFFF)
        throw std::invalid_argument("package too large");
    std::string out;
    putInt32(out, static_cast<std::int32_t>(decoded.size()));
    out += lzhufEncode(decoded);
    return out;
}

std::string buildDecodedPackage(std::int32_t version, const std::vector<Entry> &entries) {
    int block = skinpkg::versionBlockSize(version);
    if (block < 0)
        throw std::invalid_argument("unknown package version " + std::to_string(version));
    if (entries.size() > static_cast<std::size_t>(skinpkg::kMaxEntries))
        throw std::invalid_argument("more than 1001 entries");
    std::string names;
    for (const Entry &e : entries) {
        if (e.name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            throw std::invalid_argument("entry name holds a line end or NUL: " + e.name);
        names += e.name;
        names += "\r\n";
    }
    std::string out;
    putInt32(out, version);
    putInt32(out, static_cast<std::int32_t>(names.size()));
    putInt32(out, 0);
    putInt32(out, 0);
    out.append(static_cast<std::size_t>(block), '\0');
    out += names;
    for (const Entry &e : entries)
        putInt32(out, static_cast<std::int32_t>(e.bytes.size()));
    for (const Entry &e : entries)
        out += e.bytes;
    return out;
}

std::vector<Entry> readFolder(const std::string &dir) {
    namespace fs = std::filesystem;
    std::vector<Entry> entries;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec)
        throw std::runtime_error("cannot read folder " + dir + ": " + ec.message());
    for (const fs::directory_entry &d : it) {
        if (!d.is_regular_file())
            continue;
        std::ifstream f(d.path(), std::ios::binary);
        if (!f)
            throw std::runtime_error("cannot open " + d.path().string());
        Entry e;
        e.name = d.path().filename().string();
        e.bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        if (f.bad())
            throw std::runtime_error("cannot read " + d.path().string());
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return entries;
}

} // namespace velmora::skinpack
