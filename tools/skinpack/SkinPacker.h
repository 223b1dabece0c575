// SPDX-License-Identifier: GPL-3.0-or-later
// Writing skin packages: the LZHUF encoder and the package layout. Used by the skinpack tool at build time and
// by the tests; the program itself only reads packages.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::skinpack {

// The LZHUF bit stream of data, with the decoder's parameters; without the leading length.
std::string lzhufEncode(std::string_view data);

// A stored package: the decoded length as 32-bit little-endian, then the bit stream.
std::string compressPackage(std::string_view decoded);

struct Entry {
    std::string name; // stored as given; the reader lower-cases it
    std::string bytes;
};

// The decoded package: header, a version block of zeros, the name list (CR LF after each name), the size table
// and the entries' bytes. Throws std::invalid_argument for an unknown version, a name holding CR, LF or NUL,
// or more entries than the reader's size table holds.
std::string buildDecodedPackage(std::int32_t version, const std::vector<Entry> &entries);

// The regular files of a folder, sorted by name. Throws std::runtime_error when it cannot be read.
std::vector<Entry> readFolder(const std::string &dir);

} // namespace velmora::skinpack
