// SPDX-License-Identifier: GPL-3.0-or-later
// The skin packages' decompressor: LZSS over a 4096-byte ring with adaptively Huffman-coded symbols (LZHUF).
#pragma once

#include "text/ByteStream.h"
#include "text/Exception.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

class ElzhException : public Exception {
public:
    using Exception::Exception;
};

class TLZH {
public:
    // No skin package comes near this; a larger decoded length marks a damaged package, not a memory request.
    static constexpr std::int32_t kMaxDecodedSize = 64 * 1024 * 1024;

    static constexpr const char *kNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
    static constexpr const char *kFreeMemoryMessage = "LZH : Error freeing memory for dictionary tables";
    static constexpr const char *kTooLargeMessage = "LZH : Decoded length out of range";

    // The most that inSize bytes of code can decode to: a match of 60 bytes costs at least 10 bits (a symbol of
    // one bit, a position of nine), plus the overrun of a last match. More than this is only reached by reading
    // the zero bits past the end of the input.
    static constexpr std::uint64_t maxExpansion(std::size_t inSize) {
        return static_cast<std::uint64_t>(inSize) * 8 / 10 * 60 + 60 + 59;
    }

    // Decodes from the input's position until at least N bytes are appended to the output; a match is copied
    // whole, so up to 59 bytes more may follow. Input past its end reads as zero bits. A negative N decodes
    // nothing; an N above kMaxDecodedSize raises ElzhException. The input is left after the bytes consumed.
    static void Unpack(std::int32_t N, ByteStream &in, ByteStream &out);

    // The same over plain memory: appends to out, returns the number of input bytes consumed.
    static std::size_t Unpack(std::int32_t N, const unsigned char *in, std::size_t inSize, std::string &out);
};

// The same decoding a part at a time, so that a reader can stop as soon as the bytes so far show a damaged
// package, instead of first decoding all that the package declares. The output's room is reserved once, for the
// declared length or what the input can expand to if that is less, so it is not copied as it grows; the pages
// are only touched as they are written.
class TLZHDecoder {
public:
    // Limits as in TLZH::Unpack; ElzhException when the working storage cannot be had. `in` must outlive this.
    TLZHDecoder(std::int32_t N, const unsigned char *in, std::size_t inSize);
    ~TLZHDecoder();

    // Decodes on until at least `size` bytes are out or the declared length is reached; true when `size` are.
    bool decodeTo(std::size_t size);
    void decodeAll() { decodeTo(want_); }
    bool finished() const { return out_.size() >= want_; }
    std::size_t declared() const { return want_; }

    const std::string &output() const { return out_; }
    std::string &output() { return out_; }
    std::size_t consumed() const; // input bytes whose bits have been used so far

private:
    struct State;
    std::unique_ptr<State> state_;
    std::size_t want_ = 0;
    std::string out_;
};

} // namespace velmora
