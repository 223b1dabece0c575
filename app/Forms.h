// SPDX-License-Identifier: GPL-3.0-or-later
// The program's three windows, created at start in this order and living until the process ends.
#pragma once

namespace velmora {
class TForm1;
class TForm2;
class TForm3;

extern TForm1 *Form1; // main window
extern TForm2 *Form2; // city switch dialog
extern TForm3 *Form3; // About dialog

// Creates the three windows in order, each running its creation handler.
void CreateForms();

// Starts the About page (the web engine) once the main window has been painted for the first time, so the
// engine never holds up the first sight of the program.
void StartPageAfterFirstPaint();
} // namespace velmora
