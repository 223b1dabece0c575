// SPDX-License-Identifier: GPL-3.0-or-later
// The bus database's tables: declared types on every column, so no column's kind depends on its first row,
// and the indexes the program's statements use.
#pragma once

#include <string>

namespace velmora {

class TSQLiteDatabase;

// The statements that create the four tables and their indexes, in order.
const char *const *schemaStatements();

// Creates the tables and indexes on an open, empty database.
void createSchema(TSQLiteDatabase &db);

// The statements that create the two tables beside the four, when missing: per line its kind, operator and
// the places its stations lie at (busmeta), and per station name of a city its places (place). Only the
// transfer planner reads them; a database without them works as before.
const char *const *routeTableStatements();

// Line kinds as busmeta.kind stores them.
enum LineKind { kBothWays = 0, kOneWay = 1, kLoop = 2 };

// Creates busmeta and place when missing.
void createRouteTables(TSQLiteDatabase &db);

} // namespace velmora
