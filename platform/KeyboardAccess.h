// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard ways to what the mouse reaches, for every window of the program: Return and Enter press a focused
// push button as Space does, and Shift+F10 or the Menu key ask the focused control for its context menu
// (the same request a right click makes, marked as coming from the keyboard).
#pragma once

class QApplication;

namespace velmora {

void installKeyboardAccess(QApplication *app);

} // namespace velmora
