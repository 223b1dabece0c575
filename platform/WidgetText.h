// SPDX-License-Identifier: GPL-3.0-or-later
// The one place where the program's GBK bytes become texts that widgets show, and back. A text set here keeps
// its exact bytes beside what the widget shows, so it goes back to the database or the clipboard as it came,
// even when the bytes are not valid GBK and show as something else.
#pragma once

#include <QVariant>
#include <string>
#include <string_view>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace velmora {

// The item role that holds an item's GBK bytes (as a QByteArray), beside its shown text.
constexpr int GbkBytesRole = Qt::UserRole;

void setCaption(QLabel *label, const std::string &gbkText);
void setCaption(QGroupBox *box, const std::string &gbkText);

// The bytes last set through setCaption; when the shown text was changed some other way, that text as GBK.
std::string caption(const QLabel *label);
std::string caption(const QGroupBox *box);

// Appends an item holding `text` (GBK) without selecting it: a list with no selection keeps none.
void appendItem(QComboBox *combo, const std::string &text);

// The GBK text of item `index`, or empty when there is no such item.
std::string itemText(const QComboBox *combo, int index);

// What a model gives for `role` of an item whose text is `gbk`: the shown text, its bytes, or nothing.
QVariant gbkItemData(std::string_view gbk, int role);

// What a widget shows for GBK bytes that need not come back as they were: a suggestion, which comes back as the
// typed text. Touches no widget, so a worker thread may make the texts.
QString shownText(std::string_view gbk);

// The text typed into a line edit, as GBK; characters GBK cannot hold become "?".
std::string typedText(const QLineEdit *edit);

} // namespace velmora
