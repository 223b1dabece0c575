// SPDX-License-Identifier: GPL-3.0-or-later
// The bus database tool's operations, callable from tests; main.cpp only hands over the command line.
#pragma once

#include <iosfwd>
#include <string>

namespace velmora::busdb {

// Makes an empty bus database (the four tables and their indexes) under the program's key.
// Refuses to overwrite an existing file.
void createDatabase(const std::string &file);

struct ImportCounts {
    long provinces = 0;
    long cities = 0;
    long lines = 0;
    long settings = 0;
    bool routeTables = false; // busmeta.csv or place.csv was there
    long lineKinds = 0;       // busmeta rows
    long places = 0;
};

// Loads sheng.csv, city.csv, bus.csv, uconf.csv, busmeta.csv and place.csv (each optional, at least one; the
// last two make their tables when missing) from `dir` into an existing
// database, in one transaction: on any error the database is left as it was and Error names file and line.
ImportCounts importCsv(const std::string &file, const std::string &dir);

// Builds a new database from the CSV files in `csvDir`, replacing `file` only once the build succeeded.
ImportCounts buildFromCsv(const std::string &file, const std::string &csvDir);

// Runs one statement through the program's query layer and writes the rows as tab-separated UTF-8 with a
// header of column names. Returns the exit code: 0, or 1 after writing the layer's message to `err`.
int runQuery(const std::string &file, const std::string &utf8Sql, std::ostream &out, std::ostream &err);

// Writes a synthetic database of `cities` cities with `linesPerCity` lines each, replacing `file`.
void generateDatabase(const std::string &file, long cities, long linesPerCity);

// Where the package installs the demo CSV files, from the folder that holds busdb's bin folder.
inline constexpr const char *kDemoDirFromPrefix = "share/velmora/demo";
// The folder busdb demo reads without --from: kDemoDirFromPrefix under the prefix busdb runs from
// (/usr/share/velmora/demo for /usr/bin/busdb).
std::string defaultDemoDir();

// Runs the tool on a command line; returns the process exit code.
int runCli(int argc, const char *const *argv, std::ostream &out, std::ostream &err);

} // namespace velmora::busdb
