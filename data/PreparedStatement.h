// SPDX-License-Identifier: GPL-3.0-or-later
// A statement compiled once and run with bound values, so data never becomes SQL text.
#pragma once

#include "data/SQLiteDatabase.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class PreparedStatement {
public:
    PreparedStatement(TSQLiteDatabase &db, const std::string &sql);
    // Binds parameter `index` (from 1) to a text; the bytes are copied.
    PreparedStatement &text(int index, std::string_view value);
    PreparedStatement &integer(int index, long long value);
    PreparedStatement &real(int index, double value);
    // Runs a statement that returns no rows and resets it for the next values.
    void run();
    // Steps a query: true with a row to read, false (and reset for the next values) after the last one.
    bool next();
    // A column of the current row as text; "" for NULL.
    std::string columnText(int index) const;
    // The names of the columns the statement yields, as written in it; known before any row is read.
    std::vector<std::string> columnNames() const;
    // The first column of the first row, "" when there is none; resets the statement.
    std::string firstText();

private:
    TSQLiteDatabase &db_;
    StatementPtr stmt_;
};

} // namespace velmora
