// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers are told about the main window beyond Qt's defaults: the links as links with a press
// action, group boxes without the controls the program never shows, and the query boxes named by what the
// query mode asks in them.
#pragma once

#include <QGroupBox>

class QLineEdit;

namespace velmora {

// A group box whose controls hidden by hideFromScreenReaders are left out of its children for screen readers;
// otherwise what Qt makes of a group box (its title is its name).
class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
};

// Registers the links' and group boxes' interfaces, once per process.
void installAccessibility();

// Keeps `widget` out of the screen readers' tree (a control that only program code uses).
void hideFromScreenReaders(QWidget *widget);

// Names the two boxes for query mode `mode` (1 line, 2 station, 3 station-to-station, 4 transfer plans).
void nameQueryBoxes(QLineEdit *first, QLineEdit *second, int mode);

} // namespace velmora
