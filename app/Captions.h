// Captions of labels and group boxes as the program holds them: GBK bytes, kept exactly as set, while the
// widget shows the Unicode text.
#pragma once

#include <QWidget>
#include <string>

class QGroupBox;
class QLabel;

namespace velmora {

void setCaption(QLabel *label, const std::string &gbkText);
void setCaption(QGroupBox *box, const std::string &gbkText);

// The bytes last set through setCaption; when the shown text was changed some other way, that text as GBK.
std::string caption(const QLabel *label);
std::string caption(const QGroupBox *box);

} // namespace velmora
