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

} // namespace velmora
