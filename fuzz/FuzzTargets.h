// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz targets' bodies as plain functions: the libFuzzer programs call them, and a regular test replays the
// corpus through them with the regular compiler. Each aborts on a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::fuzz {

// Answers message boxes silently; call once before the targets.
void setUp();

// First 4 bytes: N (kept below 128 KiB unless it lies above the decoder's bound); the rest: the bit stream.
// Also round-trips the input through the packer's encoder.
int unpack(const std::uint8_t *data, std::size_t size);

// The input as a stored package, and the input packed as a decoded package; whatever reads is parsed as a skin.
int readPackage(const std::uint8_t *data, std::size_t size);

// The input as INI text: every section, a set of keys, integers and colours.
int quickIni(const std::uint8_t *data, std::size_t size);

} // namespace velmora::fuzz
