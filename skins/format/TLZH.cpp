// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/format/TLZH.h"

#include "skins/format/LzhufCode.h"

#include <algorithm>
#include <memory>
#include <new>

namespace velmora {

namespace {

using namespace lzhuf;

// MSB-first bit reader; bytes past the end of the input read as zero.
class BitReader {
public:
    BitReader(const unsigned char *p, std::size_t n) : p_(p), end_(p + n), start_(p) {}

    inline unsigned bit() {
        if (count_ == 0)
            refill();
        unsigned b = static_cast<unsigned>(buf_ >> 63);
        buf_ <<= 1;
        --count_;
        return b;
    }
    inline unsigned byte() {
        if (count_ < 8)
            refill();
        unsigned b = static_cast<unsigned>(buf_ >> 56);
        buf_ <<= 8;
        count_ -= 8;
        return b;
    }
    // The held bits, left-aligned, at least 32 of them (zeros past the end of the input).
    inline std::uint64_t peek() {
        if (count_ < 32)
            refill();
        return buf_;
    }
    // Takes n bits of those peek() showed.
    inline void skip(int n) {
        buf_ <<= n;
        count_ -= n;
    }
    // Input bytes whose bits have been taken, whole or in part; never more than the input holds.
    std::size_t consumed() const {
        std::size_t used = loaded_ - static_cast<std::size_t>(count_ / 8);
        std::size_t real = static_cast<std::size_t>(end_ - start_);
        return used < real ? used : real;
    }

private:
    inline void refill() {
        if (end_ - p_ >= 8) {
            // Eight bytes below the held bits; those that do not fit whole are placed again by the next refill,
            // as the same bits at the same place.
            std::uint64_t v = 0;
            for (int i = 0; i < 8; ++i)
                v = (v << 8) | p_[i];
            buf_ |= v >> count_;
            const int take = (64 - count_) >> 3;
            p_ += take;
            loaded_ += static_cast<std::size_t>(take);
            count_ += 8 * take;
            return;
        }
        while (count_ <= 56) {
            std::uint64_t b = p_ < end_ ? *p_++ : 0;
            ++loaded_;
            buf_ |= b << (56 - count_);
            count_ += 8;
        }
    }

    const unsigned char *p_;
    const unsigned char *end_;
    const unsigned char *start_;
    std::uint64_t buf_ = 0; // held bits, left-aligned
    int count_ = 0;
    std::size_t loaded_ = 0; // bytes placed in the buffer, zeros past the end included
};

} // namespace

// Working storage of one decoding, allocated as one block and freed on every way out.
struct TLZHDecoder::State {
    State(const unsigned char *in, std::size_t inSize) : bits(in, inSize) {
        std::memset(ring, ' ', kFirstPos);
        std::memset(ring + kFirstPos, 0, kRingSize - kFirstPos);
        tree.start();
    }
    Tree tree;
    unsigned char ring[kRingSize];
    BitReader bits;
    unsigned r = kFirstPos;

    // Decodes one symbol into dst; returns the bytes written (1 to kMaxMatch).
    inline unsigned step(unsigned char *dst) {
        // Down the tree on the held bits, taken from the reader once at the end (32 at a time: no tree whose root
        // count stays below 0x8000 is that deep, but the walk does not rely on it).
        unsigned c = tree.child[kRoot];
        std::uint64_t held = bits.peek();
        int used = 0;
        while (c < static_cast<unsigned>(kNodes)) {
            if (used == 32) {
                bits.skip(used);
                held = bits.peek();
                used = 0;
            }
            c = tree.child[c + static_cast<unsigned>(held >> 63)];
            held <<= 1;
            ++used;
        }
        bits.skip(used);
        c -= kNodes;
        tree.update(static_cast<int>(c));
        if (c < 256) {
            dst[0] = static_cast<unsigned char>(c);
            ring[r] = static_cast<unsigned char>(c);
            r = (r + 1) & (kRingSize - 1);
            return 1;
        }
        // Position: the upper 6 bits through the fixed code, then the rest of the 12 bits plain.
        held = bits.peek();
        const unsigned first = static_cast<unsigned>(held >> 56);
        const int width = 8 + kPositionCode.bits[first] - 2; // the byte, then as many more bits as its code leaves
        bits.skip(width);
        const unsigned pos = (static_cast<unsigned>(kPositionCode.upper[first]) << 6) |
                             (static_cast<unsigned>(held >> (64 - width)) & 0x3F);
        const unsigned distance = pos + 1, len = c - (255 - kThreshold);
        const unsigned from = (r - distance) & (kRingSize - 1);
        // Byte k of a match is the byte `distance` before it: from the ring while k < distance, else a byte of
        // this same match. Whole-block copies where that allows; the stored-to-then-read chain is the slow part.
        if (distance >= len && from + len <= kRingSize) {
            std::memcpy(dst, ring + from, len);
        } else if (distance == 1) {
            std::memset(dst, ring[from], len);
        } else {
            for (unsigned k = 0; k < len; ++k)
                dst[k] = k < distance ? ring[(from + k) & (kRingSize - 1)] : dst[k - distance];
        }
        if (r + len <= kRingSize) {
            std::memcpy(ring + r, dst, len);
        } else {
            const unsigned head = kRingSize - r;
            std::memcpy(ring + r, dst, head);
            std::memcpy(ring, dst + head, len - head);
        }
        r = (r + len) & (kRingSize - 1);
        return len;
    }
};

TLZHDecoder::TLZHDecoder(std::int32_t N, const unsigned char *in, std::size_t inSize) {
    if (N > TLZH::kMaxDecodedSize)
        throw ElzhException(TLZH::kTooLargeMessage);
    try {
        state_ = std::make_unique<State>(in, inSize);
    } catch (const std::bad_alloc &) {
        throw ElzhException(TLZH::kNoMemoryMessage);
    }
    want_ = N > 0 ? static_cast<std::size_t>(N) : 0;
    try {
        const std::uint64_t room = std::min<std::uint64_t>(want_ + kMaxMatch, TLZH::maxExpansion(inSize));
        out_.reserve(static_cast<std::size_t>(room));
    } catch (const std::bad_alloc &) {
        throw ElzhException(TLZH::kNoMemoryMessage);
    }
}

TLZHDecoder::~TLZHDecoder() = default;

bool TLZHDecoder::decodeTo(std::size_t size) {
    const std::size_t target = size < want_ ? size : want_;
    // Symbols go to a small block first and are appended into the reserved room, so memory follows what is
    // really decoded, not what the package declares.
    constexpr std::size_t kBlock = 16384;
    unsigned char block[kBlock + kMaxMatch];
    try {
        while (out_.size() < target) {
            const std::size_t room = std::min(kBlock, target - out_.size());
            std::size_t n = 0;
            while (n < room)
                n += state_->step(block + n);
            out_.append(reinterpret_cast<const char *>(block), n);
        }
    } catch (const std::bad_alloc &) {
        throw ElzhException(TLZH::kNoMemoryMessage);
    }
    return out_.size() >= size;
}

std::size_t TLZHDecoder::consumed() const {
    return state_->bits.consumed();
}

std::size_t TLZH::Unpack(std::int32_t N, const unsigned char *in, std::size_t inSize, std::string &out) {
    TLZHDecoder decoder(N, in, inSize);
    if (N <= 0)
        return 0;
    decoder.decodeAll();
    if (out.empty())
        out.swap(decoder.output());
    else
        out += decoder.output();
    return decoder.consumed();
}
void TLZH::Unpack(std::int32_t N, ByteStream &in, ByteStream &out) {
    const std::size_t start = in.position();
    const unsigned char *p = reinterpret_cast<const unsigned char *>(in.data()) + start;
    std::size_t used = Unpack(N, p, in.size() - start, out.bytes());
    in.setPosition(start + used);
    out.setPosition(out.size());
}

} // namespace velmora
