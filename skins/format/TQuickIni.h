// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's INI text, read with the skin engine's own rules: first header and first key win, values trimmed,
// letters compared without case (A..Z only), and nothing converted from its code page.
#pragma once

#include "text/ByteStream.h"

#include <QColor>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

class TQuickIni {
public:
    // Parses the text from the stream's position to its end (or its first NUL), replacing what was loaded.
    void LoadFromStream(ByteStream &stream);
    void LoadFromText(std::string_view text);

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
    // Every section's name, in order.
    void ReadSections(std::vector<std::string> &list) const;

    const std::vector<std::string> &lines() const { return lines_; }

private:
    std::vector<std::string> lines_;                           // kept lines, trimmed
    std::vector<std::pair<std::string, std::size_t>> headers_; // header line and its index in lines_
};

// Reads an INI integer: decimal within 32 bits, or "0x", "0X", "$" and up to 8 hex digits taken as a 32-bit
// pattern, either with an optional sign. False for anything else, the empty text included.
bool parseIniInteger(std::string_view text, std::int32_t &value);

// A colour text: three decimal numbers separated by any non-digits; missing components are 0, each modulo 256.
QColor parseColourText(std::string_view text);

// A colour text read from the INI, or the default when the key is missing or empty.
QColor readColourText(const TQuickIni &ini, std::string_view section, std::string_view key, const QColor &def);

// A colour given by the keys name + "R", "G", "B"; only when all three are present and not negative.
std::optional<QColor> readColour3(const TQuickIni &ini, std::string_view section, std::string_view name);

} // namespace velmora
