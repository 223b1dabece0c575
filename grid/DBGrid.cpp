// SPDX-License-Identifier: GPL-3.0-or-later
#include "grid/DBGrid.h"

#include "platform/Application.h"
#include "platform/Shell.h"
#include "platform/WidgetText.h"
#include "text/Gbk.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace velmora {

TDataSetModel::TDataSetModel(TClientDataSet *dataSet, QObject *parent)
    : QAbstractTableModel(parent), dataSet_(dataSet) {
    dataSet_->setObserver(this);
}

TDataSetModel::~TDataSetModel() {
    dataSet_->setObserver(nullptr);
}

int TDataSetModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TDataSetModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant TDataSetModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case GbkBytesRole:
        return gbkItemData(dataSet_->value(index.row(), index.column()), role);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::ToolTipRole:
        return dataSet_->rowOverflows(index.row()) ? rowText(index.row()) : QVariant();
    default:
        return {};
    }
}

QString TDataSetModel::rowText(int row) const {
    QStringList values;
    for (int f = 0; f < columns_; ++f)
        values << gbkItemData(dataSet_->value(row, f), Qt::DisplayRole).toString();
    return values.join(QStringLiteral("  "));
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case GbkBytesRole:
        return gbkItemData(dataSet_->fields()[std::size_t(section)].name, role);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::FontRole:
        return titleFont_;
    default:
        return {};
    }
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TDataSetModel::flushAppended() {
    if (appended_ <= rows_)
        return;
    beginInsertRows(QModelIndex(), rows_, appended_ - 1);
    rows_ = appended_;
    endInsertRows();
}

void TDataSetModel::structureReset() {
    beginResetModel();
    rows_ = appended_ = 0;
    columns_ = dataSet_->active() ? int(dataSet_->fields().size()) : 0;
    endResetModel();
}

void TDataSetModel::rowAppended(int row) {
    if (!flushPosted_) {
        flushPosted_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                flushPosted_ = false;
                flushAppended();
            },
            Qt::QueuedConnection);
    }
    appended_ = row + 1;
}

void TDataSetModel::rowChanged(int row) {
    // A row the views do not know yet is read in full when it reaches them.
    if (columns_ > 0 && row < rows_)
        emit dataChanged(index(row, 0), index(row, columns_ - 1), {Qt::DisplayRole});
}

void TDataSetModel::scrolled() {
    flushAppended();
    int recNo = dataSet_->recNo();
    if (recNo >= 1)
        emit currentRowMoved(recNo - 1);
}

TDBGrid::TDBGrid(TClientDataSet *dataSet, QWidget *parent)
    : QTableView(parent), model_(new TDataSetModel(dataSet, this)) {
    setModel(model_);
    setUpBehaviour();
    setUpTitleRow();
    connect(model_, &QAbstractItemModel::modelReset, this, &TDBGrid::applyColumnWidths);
    connect(model_, &TDataSetModel::currentRowMoved, this, &TDBGrid::followDataSet);
}

void TDBGrid::setUpBehaviour() {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false); // Tab leaves the grid for the next control
    setDragEnabled(false);
    setAcceptDrops(false);
    verticalHeader()->hide(); // no row indicator
}

void TDBGrid::setUpTitleRow() {
    QHeaderView *titles = horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Fixed);
    titles->setSectionsMovable(false);
    titles->setSectionsClickable(false);
    titles->setHighlightSections(false);
    titles->setSortIndicatorShown(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setStretchLastSection(false);
}

int TDBGrid::columnWidthFor(int size) const {
    constexpr int overhang = 0;
    int digit = QFontMetrics(font()).horizontalAdvance(QLatin1Char('0'));
    return (digit - overhang) * size + overhang + 4;
}

void TDBGrid::applyColumnWidths() {
    // Row height follows the grid's font, as the cells are drawn in it.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 4);
    const auto &fields = model_->dataSet()->fields();
    for (std::size_t i = 0; i < fields.size() && int(i) < model_->columnCount(); ++i)
        horizontalHeader()->resizeSection(int(i), columnWidthFor(fields[i].size));
}

void TDBGrid::followDataSet(int row) {
    QModelIndex target = model_->index(row, 0);
    if (!target.isValid() || currentIndex().row() == row)
        return;
    following_ = true;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    following_ = false;
    scrollTo(target);
}

void TDBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid())
        return;
    TClientDataSet *ds = model_->dataSet();
    runHandler([ds, row = current.row()] { ds->MoveTo(row + 1); });
}

void TDBGrid::mousePressEvent(QMouseEvent *event) {
    // Only the left button picks a row; other buttons just focus the grid.
    if (event->button() != Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TDBGrid::keyPressEvent(QKeyEvent *event) {
    if (!event->matches(QKeySequence::Copy)) {
        QTableView::keyPressEvent(event);
        return;
    }
    // The whole current row, its cells separated by tabs, as the details' copy item puts text on the
    // clipboard: Unicode for other programs and the GBK bytes.
    event->accept();
    QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    QStringList cells;
    for (int column = 0; column < model_->columnCount(); ++column)
        cells << model_->index(current.row(), column).data(Qt::DisplayRole).toString();
    runHandler([&cells] { setClipboardGbk(toGbk(cells.join(QLatin1Char('\t')))); });
}

void TDBGrid::mouseReleaseEvent(QMouseEvent *event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid())
        return;
    if (CellClick)
        runHandler([this] { CellClick(); });
}

QItemSelectionModel::SelectionFlags TDBGrid::selectionCommand(const QModelIndex &index, const QEvent *event) const {
    // The current row is always the one selected row: no toggling or deselecting with modifier keys.
    if (event && event->type() == QEvent::MouseButtonRelease)
        return QItemSelectionModel::NoUpdate;
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

} // namespace velmora
