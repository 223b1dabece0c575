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

// kind: 0 both ways, 1 one way (ridden only along sh), 2 loop (sh ridden forward only, round the loop).
// shplace / xhplace: comma-separated 1-based place numbers, one per station of sh / xh; blank (or a list of
// the wrong length) means place 1 for every station. Stops of one name more than 1 km apart are different
// places; coordinates are WGS84 degrees.
const char *const kRouteTables[] = {
    "CREATE TABLE IF NOT EXISTS busmeta (id TEXT PRIMARY KEY, kind INTEGER NOT NULL DEFAULT 0, "
    "operator TEXT NOT NULL DEFAULT '', shplace TEXT NOT NULL DEFAULT '', xhplace TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS place (cid TEXT NOT NULL, name TEXT NOT NULL, place INTEGER NOT NULL, "
    "lat REAL NOT NULL, lon REAL NOT NULL, PRIMARY KEY (cid, name, place))",
    nullptr,
};
} // namespace

const char *const *routeTableStatements() {
    return kRouteTables;
}

void createRouteTables(TSQLiteDatabase &db) {
    for (const char *const *s = kRouteTables; *s; ++s)
        db.RunSql(*s);
}

const char *const *schemaStatements() {
    return kSchema;
}

void createSchema(TSQLiteDatabase &db) {
    for (const char *const *s = kSchema; *s; ++s)
        db.RunSql(*s);
}

} // namespace velmora
