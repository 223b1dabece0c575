// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Schema.h"

#include "data/SQLiteDatabase.h"

namespace velmora {

namespace {
// The columns, whose short pinyin names are fixed by the existing database files:
//   sheng  sheng   a province's name
//   city   id      the city's id, which bus.cid and uconf.cid hold
//          city    the city's name
//          scity   the province it lies in, a sheng.sheng
//   bus    id      the line's id, also the last part of its web page's address
//          cid     the city's id, a city.id
//          lm      the line's name (luming, route name)
//          start   its first and last stop, as one text
//          bz      notes (beizhu)
//          sj      service hours (shijian, time)
//          pj      fare (piaojia)
//          sh      the stations going out (shangxing, up), comma-separated; the station queries search this one
//          xh      the stations coming back (xiaxing, down), comma-separated; may be blank
//   uconf  id      always 1: the one row of the user's setting
//          city    the chosen city's name, a city.city
//          cid     the chosen city's id, a city.id
// All texts are GBK.
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

// busmeta, one row per bus.id (a line without a row is ridden both ways, every station at place 1):
//   id       the line, a bus.id
//   operator the company that runs it
// place, one row per distinct stop of a station name in a city:
//   cid, name  the city and the station's name as bus.sh / bus.xh spell it
//   place      its number among the stops of that name (from 1)
//   lat, lon   where it is
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
