// SPDX-License-Identifier: GPL-3.0-or-later
#include "city/ListItems.h"

#include <QComboBox>
#include <QPainter>

namespace velmora {

namespace {
constexpr int kItemHeight = 13;
constexpr int kTextIndent = 2;
} // namespace

void setUpPlainList(QComboBox *combo) {
    combo->setEditable(false);
    combo->setItemDelegate(new PlainItemDelegate(combo));
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
