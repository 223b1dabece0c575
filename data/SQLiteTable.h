// SPDX-License-Identifier: GPL-3.0-or-later
// One query's whole result, read into memory; walked with a forward-only cursor.
#pragma once

#include "text/ByteStream.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace velmora {

class TSQLiteDatabase;

// The engine's storage classes, used as column kinds.
enum ColumnKind : int { kindInteger = 1, kindFloat = 2, kindText = 3, kindBlob = 4, kindNull = 5 };

class TSQLiteTable {
public:
    // Runs `sql` on the connection and materialises every row; raises and leaves nothing behind on failure.
    TSQLiteTable(TSQLiteDatabase &db, const std::string &sql);

    std::int32_t RowCount() const { return rowCount_; }
    std::int32_t ColumnCount() const { return columnCount_; }
    bool AtEnd() const { return currentRow_ >= rowCount_; }
    bool MoveNext();

    // Case-insensitive; the first of two equal names wins.
    int ColumnIndex(const std::string &name) const;
    std::string ColumnText(int index) const;
    std::int64_t ColumnInteger(int index) const;
    double ColumnFloat(int index) const;
    // The cell's stream, still owned by the table, or null for an absent cell.
    ByteStream *ColumnBlob(int index) const;
    std::string ColumnBlobText(int index) const;

    int ColumnKindAt(int index) const { return columnKinds_.at(std::size_t(index)); }

private:
    using Cell = std::variant<std::monostate, std::int64_t, double, std::string, ByteStream>;
    const Cell &CellAt(int index) const;
    void CheckNotAtEnd() const;

    std::int32_t rowCount_ = 0;
    std::int32_t columnCount_ = 0;
    std::int32_t currentRow_ = 0;
    std::vector<std::string> columnNames_;
    std::vector<int> columnKinds_;
    // Row-major; blob streams keep a read position, which reading moves.
    mutable std::vector<Cell> cells_;
};

// A double as decimal text in general form with at most 15 significant digits ("2.5", "3", "1E20").
std::string floatText(double value);

} // namespace velmora
