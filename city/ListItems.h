// SPDX-License-Identifier: GPL-3.0-or-later
// Selection-only drop-down lists whose items are drawn as the program draws every text; their items are set and
// read through platform/WidgetText.h.
#pragma once

#include <QStyledItemDelegate>

class QComboBox;

namespace velmora {

// Makes `combo` a selection-only list with 13-pixel items, each drawn as its plain text 2 pixels from the left.
void setUpPlainList(QComboBox *combo);

// Draws an item as its plain text, 2 pixels from its left edge, on the item's background; 13 pixels high.
class PlainItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace velmora
