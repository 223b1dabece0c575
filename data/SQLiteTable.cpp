// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SQLiteTable.h"

#include "data/SQLiteDatabase.h"
#include "text/Gbk.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace velmora {

namespace {
int kindFromDeclaredType(const char *declared, sqlite3_stmt *stmt, int column) {
    if (!declared)
        return sqlite3_column_type(stmt, column); // 1..5, 5 for NULL
    // Compared whole and case-sensitively: "integer" or "INTEGER(8)" are text columns.
    static const struct {
        const char *name;
        int kind;
    } kTypes[] = {{"INTEGER", kindInteger}, {"BOOLEAN", kindInteger}, {"NUMERIC", kindFloat}, {"FLOAT", kindFloat},
                  {"DOUBLE", kindFloat},    {"REAL", kindFloat},      {"BLOB", kindBlob}};
    for (const auto &t : kTypes)
        if (std::strcmp(declared, t.name) == 0)
            return t.kind;
    return kindText;
}
} // namespace

std::string floatText(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    // %G writes "1E+20" and "1E-05"; show the exponent without sign padding: "1E20", "1E-5".
    std::string s(buf);
    std::size_t e = s.find('E');
    if (e == std::string::npos)
        return s;
    std::string mantissa = s.substr(0, e);
    int exponent = std::atoi(s.c_str() + e + 1);
    return mantissa + "E" + std::to_string(exponent);
}

TSQLiteTable::TSQLiteTable(TSQLiteDatabase &db, const std::string &sql) {
    StatementPtr stmt = db.Prepare(sql);
    sqlite3_stmt *s = stmt.get();
    for (;;) {
        int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY)
            throw ESQLiteException("Could not prepare SQL statement");
        if (rc != SQLITE_ROW) {
            sqlite3_reset(s);
            db.RaiseDbError("Could not retrieve data");
        }
        ++rowCount_;
        if (rowCount_ == 1) {
            columnCount_ = sqlite3_column_count(s);
            columnNames_.reserve(std::size_t(columnCount_));
            for (int j = 0; j < columnCount_; ++j) {
                const char *name = sqlite3_column_name(s, j);
                columnNames_.push_back(upperAscii(name ? name : ""));
            }
            for (int j = 0; j < columnCount_; ++j)
                columnKinds_.push_back(kindFromDeclaredType(sqlite3_column_decltype(s, j), s, j));
        }
        for (int j = 0; j < columnCount_; ++j) {
            if (sqlite3_column_type(s, j) == SQLITE_NULL) {
                cells_.emplace_back();
                continue;
            }
            switch (columnKinds_[std::size_t(j)]) {
            case kindInteger:
                cells_.emplace_back(std::int64_t(sqlite3_column_int64(s, j)));
                break;
            case kindFloat:
                cells_.emplace_back(sqlite3_column_double(s, j));
                break;
            case kindBlob: {
                int n = sqlite3_column_bytes(s, j);
                if (n == 0) {
                    cells_.emplace_back();
                    break;
                }
                const void *p = sqlite3_column_blob(s, j);
                cells_.emplace_back(ByteStream(std::string(static_cast<const char *>(p), std::size_t(n))));
                break;
            }
            default: {
                const char *text = reinterpret_cast<const char *>(sqlite3_column_text(s, j));
                cells_.emplace_back(std::string(text ? text : "")); // up to the first zero byte
                break;
            }
            }
        }
    }
    currentRow_ = 0;
}

bool TSQLiteTable::MoveNext() {
    if (AtEnd())
        return false;
    ++currentRow_;
    return true;
}

int TSQLiteTable::ColumnIndex(const std::string &name) const {
    if (columnNames_.empty())
        throw ESQLiteException("Field " + name + " Not found. Empty dataset");
    std::string upper = upperAscii(name);
    for (std::size_t i = 0; i < columnNames_.size(); ++i)
        if (columnNames_[i] == upper)
            return int(i);
    throw ESQLiteException("Field not found in dataset: " + name);
}

void TSQLiteTable::CheckNotAtEnd() const {
    if (AtEnd())
        throw ESQLiteException("Table is at End of File");
}

const TSQLiteTable::Cell &TSQLiteTable::CellAt(int index) const {
    if (index < 0 || index >= columnCount_)
        throw ESQLiteException("Column index out of range: " + std::to_string(index));
    return cells_[std::size_t(currentRow_) * std::size_t(columnCount_) + std::size_t(index)];
}

std::string TSQLiteTable::ColumnText(int index) const {
    CheckNotAtEnd();
    const Cell &cell = CellAt(index);
    if (std::holds_alternative<std::monostate>(cell))
        return {};
    switch (columnKinds_[std::size_t(index)]) {
    case kindInteger:
        return std::to_string(std::get<std::int64_t>(cell));
    case kindFloat:
        return floatText(std::get<double>(cell));
    case kindBlob:
        return ColumnBlobText(index);
    case kindNull:
        return {};
    default:
        return std::get<std::string>(cell);
    }
}

std::int64_t TSQLiteTable::ColumnInteger(int index) const {
    CheckNotAtEnd();
    const Cell &cell = CellAt(index);
    if (std::holds_alternative<std::monostate>(cell))
        return 0;
    switch (columnKinds_[std::size_t(index)]) {
    case kindInteger:
        return std::get<std::int64_t>(cell);
    case kindFloat: {
        double d = std::get<double>(cell);
        // Truncated toward zero; values beyond the integer range saturate rather than overflow.
        if (!(d > -9.2233720368547758e18))
            return INT64_MIN;
        if (!(d < 9.2233720368547758e18))
            return INT64_MAX;
        return std::int64_t(d);
    }
    default:
        throw ESQLiteException("Not an integer or numeric field");
    }
}

double TSQLiteTable::ColumnFloat(int index) const {
    CheckNotAtEnd();
    const Cell &cell = CellAt(index);
    if (std::holds_alternative<std::monostate>(cell))
        return 0.0;
    switch (columnKinds_[std::size_t(index)]) {
    case kindInteger:
        return double(std::get<std::int64_t>(cell));
    case kindFloat:
        return std::get<double>(cell);
    default:
        throw ESQLiteException("Not an integer or numeric field");
    }
}

ByteStream *TSQLiteTable::ColumnBlob(int index) const {
    CheckNotAtEnd();
    Cell &cell = const_cast<Cell &>(CellAt(index));
    if (std::holds_alternative<std::monostate>(cell))
        return nullptr;
    if (columnKinds_[std::size_t(index)] != kindBlob)
        throw ESQLiteException("Not a Blob field");
    return &std::get<ByteStream>(cell);
}

std::string TSQLiteTable::ColumnBlobText(int index) const {
    ByteStream *stream = ColumnBlob(index);
    if (!stream || stream->size() == 0)
        return {};
    stream->setPosition(0);
    std::string out(stream->size(), '\0');
    stream->read(out.data(), out.size());
    return out;
}

} // namespace velmora
