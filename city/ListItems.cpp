#include "city/ListItems.h"

#include "platform/Gbk.h"

#include <QComboBox>
#include <QPainter>
#include <QSignalBlocker>

namespace velmora {

namespace {
constexpr int kItemHeight = 13;
constexpr int kTextIndent = 2;
} // namespace

void setUpPlainList(QComboBox *combo) {
    combo->setEditable(false);
    combo->setItemDelegate(new PlainItemDelegate(combo));
}

void appendItem(QComboBox *combo, const std::string &text) {
    // A list that gets its first item selects it on its own; a selection comes only from the user here.
    const QSignalBlocker quiet(combo);
    const int before = combo->currentIndex();
    // The item keeps its exact bytes, so a text goes back to the database as it came, whatever it shows as.
    combo->addItem(fromGbk(text), QByteArray(text.data(), qsizetype(text.size())));
    if (combo->currentIndex() != before)
        combo->setCurrentIndex(before);
}

std::string itemText(const QComboBox *combo, int index) {
    if (index < 0 || index >= combo->count())
        return {};
    return combo->itemData(index).toByteArray().toStdString();
}

void PlainItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &pal = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
    painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(kTextIndent, 0, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize PlainItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight);
}

} // namespace velmora
