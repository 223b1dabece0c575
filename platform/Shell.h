// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's open operation and the clipboard.
#pragma once

#include <string>

namespace velmora {

// Asks the desktop to open an address in the default browser; a failure is silent.
void shellOpen(const std::string &address);

// Replaces the clipboard's contents: Unicode text for other programs and the GBK bytes, NUL-terminated,
// under "text/plain;charset=GBK". Throws "Cannot open clipboard" when there is none.
void setClipboardGbk(const std::string &gbkText);

} // namespace velmora
