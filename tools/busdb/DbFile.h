// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' side of the database layer: an existing file to open, and the layer's messages for a terminal.
#pragma once

#include <exception>
#include <string>

namespace velmora::busdb {

// Opens an existing bus database; a clear message when the file is missing.
void requireFile(const std::string &file);

// The program's messages are GBK; the terminal's are UTF-8, one line per part.
std::string layerMessage(const std::exception &e);

} // namespace velmora::busdb
