// SPDX-License-Identifier: GPL-3.0-or-later
// The raw floor of a query: SQLCipher alone opening, keying, stepping through every row reading every column,
// finalising and closing, as the program's layer does for the same statement.
#pragma once

#include "data/SQLiteDatabase.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <sqlcipher/sqlite3.h>
#include <string>

inline void rawQuery(const std::string &file, const std::string &sql) {
    velmora::ensureCodecDefaults();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_key(db, velmora::dbKey, 4);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    std::size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        int n = sqlite3_column_count(stmt);
        for (int j = 0; j < n; ++j) {
            const unsigned char *t = sqlite3_column_text(stmt, j);
            bytes += t ? std::strlen(reinterpret_cast<const char *>(t)) : 0;
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    benchmark::DoNotOptimize(bytes);
}
