// SPDX-License-Identifier: GPL-3.0-or-later
// The data grid over the record set: a read-only table view with a title row, whole-row selection and fixed
// column widths, which moves the record set's current row and reports clicks on data cells.
// A click on a closed grid (no fields, no rows) does nothing: there is no row to move to or to show.
#pragma once

#include "grid/ClientDataSet.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <functional>

namespace velmora {

// Shows a record set's fields as columns and its rows as rows, and follows its changes.
class TDataSetModel : public QAbstractTableModel, public TClientDataSet::Observer {
    Q_OBJECT
public:
    explicit TDataSetModel(TClientDataSet *dataSet, QObject *parent = nullptr);
    ~TDataSetModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    TClientDataSet *dataSet() const { return dataSet_; }
    void setTitleFont(const QFont &font) { titleFont_ = font; }

signals:
    // The record set's current row (0-based) after a move; not given while a row is being appended.
    void currentRowMoved(int row);

private:
    // Rows appended during one handler reach the views together, before the current row moves or at the next
    // turn of the event loop, so a long fill does not lay the views out once per row.
    void flushAppended();
    // A row's values, shown whole as the tooltip of a row that holds more than its columns show.
    QString rowText(int row) const;
    void structureReset() override;
    void rowAppended(int row) override;
    void rowChanged(int row) override;
    void scrolled() override;

    TClientDataSet *dataSet_;
    int rows_ = 0;     // rows the views know of
    int appended_ = 0; // rows the record set has; more than rows_ while a flush is pending
    int columns_ = 0;
    bool flushPosted_ = false; // at most one flush waits in the event queue
    QFont titleFont_;
};

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    TDBGrid(TClientDataSet *dataSet, QWidget *parent = nullptr);

    TDataSetModel *dataModel() const { return model_; }
    // Width of a column for a field of `size` bytes: digit "0" width times the size, plus 4 (no overhang here).
    int columnWidthFor(int size) const;

    // The cell-click notification: the left button released over a data cell.
    std::function<void()> CellClick;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;
    // Ctrl+C copies the current row, every cell, tab-separated.
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    // Read-only, whole-row, single selection; no sorting, dragging, wrapping or row indicator.
    void setUpBehaviour();
    // Fixed, left-aligned titles that neither move, sort nor stretch.
    void setUpTitleRow();
    void applyColumnWidths();
    void followDataSet(int row);

    TDataSetModel *model_;
    bool following_ = false;
};

} // namespace velmora
