// SPDX-License-Identifier: GPL-3.0-or-later
// A growable in-memory byte buffer with one read and write position; skin packages and their entries pass in it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace velmora {

class ByteStream {
public:
    ByteStream() = default;
    explicit ByteStream(std::string bytes) : data_(std::move(bytes)) {}

    std::size_t size() const { return data_.size(); }
    std::size_t position() const { return pos_; }
    void setPosition(std::size_t pos) { pos_ = std::min(pos, data_.size()); }
    bool atEnd() const { return pos_ >= data_.size(); }

    // Reads up to n bytes from the position; returns how many were read.
    std::size_t read(void *out, std::size_t n) {
        std::size_t k = std::min(n, data_.size() - pos_);
        if (k)
            std::memcpy(out, data_.data() + pos_, k);
        pos_ += k;
        return k;
    }
    // Reads one byte; -1 at the end.
    int readByte() { return pos_ < data_.size() ? static_cast<unsigned char>(data_[pos_++]) : -1; }

    // Writes at the position, overwriting and growing as needed.
    void write(const void *in, std::size_t n) {
        if (pos_ + n > data_.size())
            data_.resize(pos_ + n);
        if (n)
            std::memcpy(data_.data() + pos_, in, n);
        pos_ += n;
    }
    void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }
    void writeByte(unsigned char b) { write(&b, 1); }

    void clear() {
        data_.clear();
        pos_ = 0;
    }
    void reserve(std::size_t n) { data_.reserve(n); }

    const std::string &bytes() const { return data_; }
    std::string &bytes() { return data_; }
    const char *data() const { return data_.data(); }

private:
    std::string data_;
    std::size_t pos_ = 0;
};

} // namespace velmora
