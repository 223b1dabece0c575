// Selection-only drop-down lists whose items are GBK texts, shown as the program shows every text.
#pragma once

#include <QStyledItemDelegate>
#include <string>

class QComboBox;

namespace velmora {

// Makes `combo` a selection-only list with 13-pixel items, each drawn as its plain text 2 pixels from the left.
void setUpPlainList(QComboBox *combo);

// Appends an item holding `text` (GBK) without selecting it: a list with no selection keeps none.
void appendItem(QComboBox *combo, const std::string &text);

// The GBK text of item `index`, or empty when there is no such item.
std::string itemText(const QComboBox *combo, int index);

// Draws an item as its plain text, 2 pixels from its left edge, on the item's background; 13 pixels high.
class PlainItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace velmora
