// SPDX-License-Identifier: GPL-3.0-or-later
// How the skin-package code tells the user something (an old or damaged package). The package code knows no
// windows: the user-interface layer installs the program's message box here; until then a notice is one line on
// standard error.
#pragma once

#include <string>

namespace velmora {

using SkinNoticeSink = void (*)(const std::string &text);

// Installs where notices go; nullptr restores the standard-error line.
void setSkinNoticeSink(SkinNoticeSink sink);

// Tells the user `text` (GBK) through the installed sink.
void skinNotice(const std::string &text);

} // namespace velmora
