// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Schema.h"

#include "data/SQLiteDatabase.h"

namespace velmora {

namespace {
const char *const kSchema[] = {
    "CREATE TABLE sheng (sheng TEXT NOT NULL)",
    "CREATE TABLE city (id TEXT NOT NULL, city TEXT NOT NULL, scity TEXT NOT NULL)",
    "CREATE TABLE bus (id TEXT NOT NULL, cid TEXT NOT NULL, lm TEXT, start TEXT, bz TEXT, sj TEXT, pj TEXT, "
    "sh TEXT, xh TEXT)",
    "CREATE TABLE uconf (id INTEGER PRIMARY KEY, city TEXT, cid TEXT)",
    "CREATE INDEX bus_cid ON bus (cid)",
    "CREATE INDEX city_scity ON city (scity)",
    nullptr,
};
} // namespace

const char *const *schemaStatements() {
    return kSchema;
}

void createSchema(TSQLiteDatabase &db) {
    for (const char *const *s = kSchema; *s; ++s)
        db.RunSql(*s);
}

} // namespace velmora
