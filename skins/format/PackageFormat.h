// SPDX-License-Identifier: GPL-3.0-or-later
// Layout constants of a decoded skin package, shared by the reader and the packer.
#pragma once

#include <cstdint>

namespace velmora::skinpkg {

constexpr int kHeaderSize = 16;   // version code, name list length, two words never read
constexpr int kMaxEntries = 1001; // the size table's capacity

// Bytes of the version block after the header, or -1 for a version the reader does not know.
constexpr int versionBlockSize(std::int32_t version) {
    switch (version) {
    case 20000:
        return 0;
    case 30000:
        return 256;
    case 40000:
        return 80;
    case 50000:
        return 48;
    case 60000:
        return 117;
    case 70000:
        return 69;
    default:
        return -1;
    }
}

} // namespace velmora::skinpkg
