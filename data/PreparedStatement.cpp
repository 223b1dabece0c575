// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/PreparedStatement.h"

#include <sqlcipher/sqlite3.h>

namespace velmora {

PreparedStatement::PreparedStatement(TSQLiteDatabase &db, const std::string &sql) : db_(db), stmt_(db.Prepare(sql)) {}

PreparedStatement &PreparedStatement::text(int index, std::string_view value) {
    sqlite3_bind_text(stmt_.get(), index, value.data(), int(value.size()), SQLITE_TRANSIENT);
    return *this;
}

PreparedStatement &PreparedStatement::integer(int index, long long value) {
    sqlite3_bind_int64(stmt_.get(), index, value);
    return *this;
}

PreparedStatement &PreparedStatement::real(int index, double value) {
    sqlite3_bind_double(stmt_.get(), index, value);
    return *this;
}

void PreparedStatement::run() {
    int rc = sqlite3_step(stmt_.get());
    sqlite3_reset(stmt_.get());
    if (rc != SQLITE_DONE)
        db_.RaiseDbError("Error executing SQL statement");
}

bool PreparedStatement::next() {
    int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW)
        return true;
    sqlite3_reset(stmt_.get());
    if (rc != SQLITE_DONE)
        db_.RaiseDbError("Could not retrieve data");
    return false;
}

std::string PreparedStatement::columnText(int index) const {
    const unsigned char *text = sqlite3_column_text(stmt_.get(), index);
    if (!text)
        return {};
    return std::string(reinterpret_cast<const char *>(text), std::size_t(sqlite3_column_bytes(stmt_.get(), index)));
}

std::string PreparedStatement::firstText() {
    std::string value = next() ? columnText(0) : std::string();
    sqlite3_reset(stmt_.get());
    return value;
}

std::vector<std::string> PreparedStatement::columnNames() const {
    std::vector<std::string> names;
    for (int j = 0; j < sqlite3_column_count(stmt_.get()); ++j) {
        const char *name = sqlite3_column_name(stmt_.get(), j);
        names.emplace_back(name ? name : "");
    }
    return names;
}

} // namespace velmora
