// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The program file's name without directory, cut before its first ".", first character unchanged and
// the rest lower-cased.
QString titleFromProgramPath(const QString &programPath);

// The title of the running program (the caption of the error box and the plain message box).
QString applicationTitle();

} // namespace velmora
