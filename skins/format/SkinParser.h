// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a stored skin package into the parsed skin the engine paints from.
#pragma once

#include "skins/format/ParsedSkin.h"
#include "text/ByteStream.h"

#include <QImage>
#include <string>

namespace velmora {

// Builds the parsed skin from a stored package. On failure (the reader has told the user) returns false and
// leaves out as it was; ElzhException passes through, also leaving out as it was.
bool parseSkin(const ByteStream &package, ParsedSkin &out, const SystemColours &system = SystemColours::classic());

// The file-name part of an INI image value: what follows the last backslash or colon.
std::string imageFileName(const std::string &value);
// Magenta turned to full transparency.
QImage maskMagenta(const QImage &image);

} // namespace velmora
