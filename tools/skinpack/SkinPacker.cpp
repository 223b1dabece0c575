#include "SkinPacker.h"

#include "skins/LzhufCode.h"
#include "skins/PackageFormat.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

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

constexpr int kNil = kRingSize; // "no node" in the match finder's trees

// LZSS match finder: one binary search tree per first byte over the strings starting at the ring's positions.
struct Encoder {
    unsigned char text[kRingSize + kMaxMatch - 1];
    int left[kRingSize + 1];
    int right[kRingSize + 257];
    int up[kRingSize + 1];
    int matchLength = 0;
    int matchPosition = 0; // distance - 1
    Tree tree;

    void initTrees() {
        for (int i = kRingSize + 1; i <= kRingSize + 256; ++i)
            right[i] = kNil;
        for (int i = 0; i < kRingSize; ++i)
            up[i] = kNil;
    }

    // Inserts the string at r and finds the longest match for it, preferring the nearest on ties.
    void insert(int r) {
        int cmp = 1;
        const unsigned char *key = &text[r];
        int p = kRingSize + 1 + key[0];
        right[r] = left[r] = kNil;
        matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (right[p] != kNil) {
                    p = right[p];
                } else {
                    right[p] = r;
                    up[r] = p;
                    return;
                }
            } else {
                if (left[p] != kNil) {
                    p = left[p];
                } else {
                    left[p] = r;
                    up[r] = p;
                    return;
                }
            }
            int i = 1;
            for (; i < kMaxMatch; ++i)
                if ((cmp = key[i] - text[p + i]) != 0)
                    break;
            if (i > kThreshold) {
                int distance = ((r - p) & (kRingSize - 1)) - 1;
                if (i > matchLength) {
                    matchPosition = distance;
                    if ((matchLength = i) >= kMaxMatch)
                        break;
                } else if (i == matchLength && distance < matchPosition) {
                    matchPosition = distance;
                }
            }
        }
        // A full-length match: r takes p's place in the tree.
        up[r] = up[p];
        left[r] = left[p];
        right[r] = right[p];
        up[left[p]] = r;
        up[right[p]] = r;
        if (right[up[p]] == p)
            right[up[p]] = r;
        else
            left[up[p]] = r;
        up[p] = kNil;
    }

    void remove(int p) {
        if (up[p] == kNil)
            return;
        int q;
        if (right[p] == kNil) {
            q = left[p];
        } else if (left[p] == kNil) {
            q = right[p];
        } else {
            q = left[p];
            if (right[q] != kNil) {
                do
                    q = right[q];
                while (right[q] != kNil);
                right[up[q]] = left[q];
                up[left[q]] = up[q];
                left[q] = left[p];
                up[left[p]] = q;
            }
            right[q] = right[p];
            up[right[p]] = q;
        }
        up[q] = up[p];
        if (right[up[p]] == p)
            right[up[p]] = q;
        else
            left[up[p]] = q;
        up[p] = kNil;
    }

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
    out.reserve(data.size() / 2 + 64);
    auto enc = std::make_unique<Encoder>();
    BitWriter bits(out);
    enc->tree.start();
    enc->initTrees();

    const auto *src = reinterpret_cast<const unsigned char *>(data.data());
    std::size_t next = 0;
    auto more = [&] { return next < data.size(); };

    int s = 0;
    int r = kFirstPos;
    std::memset(enc->text, ' ', kFirstPos);
    std::memset(enc->text + kFirstPos, 0, sizeof enc->text - kFirstPos);
    int len = 0;
    for (; len < kMaxMatch && more(); ++len)
        enc->text[r + len] = src[next++];
    for (int i = 1; i <= kMaxMatch; ++i)
        enc->insert(r - i);
    enc->insert(r);
    do {
        if (enc->matchLength > len)
            enc->matchLength = len;
        if (enc->matchLength <= kThreshold) {
            enc->matchLength = 1;
            enc->encodeSymbol(bits, enc->text[r]);
        } else {
            enc->encodeSymbol(bits, 255 - kThreshold + enc->matchLength);
            enc->encodePosition(bits, enc->matchPosition);
        }
        int last = enc->matchLength;
        int i = 0;
        for (; i < last && more(); ++i) {
            unsigned char c = src[next++];
            enc->remove(s);
            enc->text[s] = c;
            if (s < kMaxMatch - 1)
                enc->text[s + kRingSize] = c;
            s = (s + 1) & (kRingSize - 1);
            r = (r + 1) & (kRingSize - 1);
            enc->insert(r);
        }
        while (i++ < last) {
            enc->remove(s);
            s = (s + 1) & (kRingSize - 1);
            r = (r + 1) & (kRingSize - 1);
            if (--len)
                enc->insert(r);
        }
    } while (len > 0);
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
