// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the LZHUF code shared by the decoder and the packer's encoder: the parameters, the fixed prefix
// code of a match position's upper 6 bits, and the adaptive Huffman tree of the symbols.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace velmora::lzhuf {

constexpr int kRingSize = 4096;                        // ring buffer, positions modulo 4096
constexpr int kMaxMatch = 60;                          // longest match
constexpr int kThreshold = 2;                          // a match is longer than this
constexpr int kFirstPos = kRingSize - kMaxMatch;       // 4036: first byte written; 0..4035 are spaces
constexpr int kSymbols = 256 - kThreshold + kMaxMatch; // 314: literals 0..255, lengths 3..60
constexpr int kNodes = kSymbols * 2 - 1;               // 627 nodes of the tree
constexpr int kRoot = kNodes - 1;                      // 626
constexpr std::uint16_t kMaxFreq = 0x8000;             // root count that triggers a rebuild

// The upper 6 bits of a position (0..63) take 3 to 8 bits: 1 value of length 3, 3 of 4, 8 of 5, 12 of 6,
// 24 of 7 and 16 of 8, assigned canonically in increasing order of value.
struct PositionCode {
    std::array<std::uint8_t, 64> length{}; // bits of the code of each upper value
    std::array<std::uint8_t, 64> code{};   // the code, left-aligned in a byte
    std::array<std::uint8_t, 256> upper{}; // decoding: the upper value whose code begins a byte
    std::array<std::uint8_t, 256> bits{};  // decoding: that code's length
};

constexpr PositionCode makePositionCode() {
    PositionCode t{};
    constexpr int counts[6] = {1, 3, 8, 12, 24, 16};
    int value = 0;
    unsigned next = 0; // next canonical code at the current length
    for (int len = 3, n = 0; n < 6; ++len, ++n) {
        for (int k = 0; k < counts[n]; ++k, ++value, ++next) {
            t.length[value] = static_cast<std::uint8_t>(len);
            t.code[value] = static_cast<std::uint8_t>(next << (8 - len));
            for (unsigned b = 0; b < (1u << (8 - len)); ++b) {
                t.upper[t.code[value] | b] = static_cast<std::uint8_t>(value);
                t.bits[t.code[value] | b] = static_cast<std::uint8_t>(len);
            }
        }
        next <<= 1;
    }
    return t;
}

inline constexpr PositionCode kPositionCode = makePositionCode();

// The adaptive Huffman tree: nodes 0..626 in order of increasing count (the sibling property), leaves marked by
// a child index of 627 + symbol; every symbol's count starts at 1.
struct Tree {
    std::uint16_t freq[kNodes + 1];          // counts; the last is a sentinel that stops the reordering scan
    std::uint16_t parent[kNodes + kSymbols]; // parent of each node, then of each leaf (627 + symbol)
    std::uint16_t child[kNodes];             // a node's first child (the second is child + 1), or 627 + symbol

    void start() {
        for (int i = 0; i < kSymbols; ++i) {
            freq[i] = 1;
            child[i] = static_cast<std::uint16_t>(i + kNodes);
            parent[i + kNodes] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
            freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
            child[j] = static_cast<std::uint16_t>(i);
            parent[i] = parent[i + 1] = static_cast<std::uint16_t>(j);
        }
        freq[kNodes] = 0xFFFF;
        parent[kRoot] = 0;
    }

    // Rebuilds the tree from the leaves with their counts halved, rounding up.
    void rebuild() {
        int j = 0;
        for (int i = 0; i < kNodes; ++i) {
            if (child[i] >= kNodes) {
                freq[j] = static_cast<std::uint16_t>((freq[i] + 1) / 2);
                child[j] = child[i];
                ++j;
            }
        }
        for (int i = 0, n = kSymbols; n < kNodes; i += 2, ++n) {
            std::uint16_t f = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
            int k = n - 1;
            while (f < freq[k])
                --k;
            ++k;
            std::size_t moved = static_cast<std::size_t>(n - k) * sizeof(std::uint16_t);
            std::memmove(&freq[k + 1], &freq[k], moved);
            freq[k] = f;
            std::memmove(&child[k + 1], &child[k], moved);
            child[k] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0; i < kNodes; ++i) {
            int k = child[i];
            if (k >= kNodes)
                parent[k] = static_cast<std::uint16_t>(i);
            else
                parent[k] = parent[k + 1] = static_cast<std::uint16_t>(i);
        }
    }

    // The last node after `from` whose count is below k; freq is sorted, so a long run of equal counts (a
    // stream of zero bits walks into one at every step) is crossed by halving instead of node by node.
    inline int lastBelow(std::uint16_t k, int from) const {
        int l = from;
        for (int n = 0; n < 4; ++n)
            if (k <= freq[++l])
                return l - 1;
        int hi = kNodes; // freq[kNodes] is the sentinel 0xFFFF, never below k
        while (hi - l > 1) {
            const int mid = (l + hi) / 2;
            (freq[mid] < k ? l : hi) = mid;
        }
        return l;
    }

    // Counts one more occurrence of a symbol, swapping nodes upward to keep the counts in order.
    inline void update(int symbol) {
        if (freq[kRoot] == kMaxFreq)
            rebuild();
        int c = parent[symbol + kNodes];
        do {
            std::uint16_t k = ++freq[c];
            int l = c + 1;
            if (k > freq[l]) {
                l = lastBelow(k, l);
                freq[c] = freq[l];
                freq[l] = k;

                int i = child[c];
                parent[i] = static_cast<std::uint16_t>(l);
                if (i < kNodes)
                    parent[i + 1] = static_cast<std::uint16_t>(l);
                int j = child[l];
                child[l] = static_cast<std::uint16_t>(i);
                parent[j] = static_cast<std::uint16_t>(c);
                if (j < kNodes)
                    parent[j + 1] = static_cast<std::uint16_t>(c);
                child[c] = static_cast<std::uint16_t>(j);
                c = l;
            }
            c = parent[c];
        } while (c != 0);
    }
};

} // namespace velmora::lzhuf
