// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WidgetText.h"

#include "text/Gbk.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace velmora {

namespace {
constexpr const char *kBytes = "velmoraCaptionBytes";
constexpr const char *kShown = "velmoraCaptionShown";

QByteArray bytesOf(std::string_view gbk) {
    return QByteArray(gbk.data(), qsizetype(gbk.size()));
}

// Keeps the bytes next to the text they were shown as, so a later change by other means is noticed.
void remember(QWidget *w, const std::string &gbkText, const QString &shown) {
    w->setProperty(kBytes, bytesOf(gbkText));
    w->setProperty(kShown, shown);
}

std::string recall(const QWidget *w, const QString &shownNow) {
    if (w->property(kShown).toString() == shownNow && w->property(kBytes).isValid())
        return w->property(kBytes).toByteArray().toStdString();
    return toGbk(shownNow);
}
} // namespace

void setCaption(QLabel *label, const std::string &gbkText) {
    QString shown = fromGbk(gbkText);
    label->setText(shown);
    remember(label, gbkText, shown);
}

void setCaption(QGroupBox *box, const std::string &gbkText) {
    QString shown = fromGbk(gbkText);
    box->setTitle(shown);
    remember(box, gbkText, shown);
}

std::string caption(const QLabel *label) {
    return recall(label, label->text());
}

std::string caption(const QGroupBox *box) {
    return recall(box, box->title());
}

void appendItem(QComboBox *combo, const std::string &text) {
    // A list that gets its first item selects it on its own; a selection comes only from the user here.
    const QSignalBlocker quiet(combo);
    const int before = combo->currentIndex();
    combo->addItem(fromGbk(text), bytesOf(text));
    if (combo->currentIndex() != before)
        combo->setCurrentIndex(before);
}

std::string itemText(const QComboBox *combo, int index) {
    if (index < 0 || index >= combo->count())
        return {};
    return combo->itemData(index, GbkBytesRole).toByteArray().toStdString();
}

QString shownText(std::string_view gbk) {
    return fromGbk(gbk);
}

QVariant gbkItemData(std::string_view gbk, int role) {
    if (role == Qt::DisplayRole)
        return fromGbk(gbk);
    if (role == GbkBytesRole)
        return bytesOf(gbk);
    return {};
}

std::string typedText(const QLineEdit *edit) {
    return toGbk(edit->text());
}

} // namespace velmora
