// SPDX-License-Identifier: GPL-3.0-or-later
// busdb import: the four tables from UTF-8 CSV files, checked row by row, in one transaction.
#include "BusDb.h"
#include "CsvReader.h"
#include "DbFile.h"
#include "GbkText.h"
#include "GtfsFields.h"

#include "data/PreparedStatement.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Schema.h"
#include "data/Transaction.h"

#include <algorithm>
#include <filesystem>

#include <map>
#include <set>
#include <vector>

namespace velmora::busdb {

namespace {

bool fileExists(const std::string &path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool isInteger(std::string_view s) {
    if (s.empty() || s.size() > 18)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Stations in a line's list: comma-separated, none when blank.
std::size_t stationCount(std::string_view list) {
    return list.empty() ? 0 : std::size_t(std::count(list.begin(), list.end(), ',')) + 1;
}

// A place list is blank or one whole number from 1 per station.
bool validPlaces(std::string_view list, std::size_t stations) {
    if (list.empty())
        return true;
    std::size_t count = 0;
    for (std::size_t from = 0; from <= list.size(); ++count) {
        std::size_t comma = std::min(list.find(',', from), list.size());
        std::string_view number = list.substr(from, comma - from);
        if (!isInteger(number) || std::stoll(std::string(number)) < 1)
            return false;
        from = comma + 1;
    }
    return count == stations;
}

// One CSV file of a table: every column of the table must be in the header, and nothing else.
class TableFile {
public:
    TableFile(const std::string &path, const std::string &name, const std::vector<std::string> &columns)
        : reader_(CsvReader::openFile(path, name)), columns_(columns) {
        std::string all;
        for (const std::string &c : columns)
            all += (all.empty() ? "" : ", ") + c;
        for (const std::string &h : reader_->header())
            if (std::find(columns.begin(), columns.end(), h) == columns.end())
                reader_->fail(1, "unknown column " + h + " (the columns are " + all + ")");
        for (const std::string &c : columns)
            positions_.push_back(reader_->requireColumn(c));
        values_.resize(columns.size());
    }

    // Reads the next row and converts every value to GBK; values() holds them in the table's column order.
    bool next() {
        if (!reader_->next(row_))
            return false;
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (!converter_.convert(row_[positions_[i]], values_[i]))
                reader_->fail(row_.line(), columns_[i], converter_.problem());
        return true;
    }
    const std::string &value(std::size_t i) const { return values_[i]; }
    std::string_view utf8(std::size_t i) const { return row_[positions_[i]]; }
    [[noreturn]] void fail(const std::string &what) const { reader_->fail(row_.line(), what); }

private:
    std::unique_ptr<CsvReader> reader_;
    std::vector<std::string> columns_;
    std::vector<int> positions_;
    CsvRow row_;
    GbkConverter converter_;
    std::vector<std::string> values_;
};

// What the database holds, so every row can be checked against the rows it refers to, and what was added.
struct Import {
    TSQLiteDatabase &db;
    std::set<std::string> provinces;
    std::map<std::string, std::string> cityNames; // id -> name
    ImportCounts counts;

    explicit Import(TSQLiteDatabase &database) : db(database) {
        auto t = db.QueryTable("SELECT sheng FROM sheng");
        for (; !t->AtEnd(); t->MoveNext())
            provinces.insert(t->ColumnText(0));
        t = db.QueryTable("SELECT id, city FROM city");
        for (; !t->AtEnd(); t->MoveNext())
            cityNames[t->ColumnText(0)] = t->ColumnText(1);
    }

    void provincesFrom(const std::string &path) {
        TableFile f(path, "sheng.csv", {"sheng"});
        PreparedStatement insert(db, "INSERT INTO sheng (sheng) VALUES (?1)");
        while (f.next()) {
            if (f.value(0).empty())
                f.fail("empty province name");
            if (!provinces.insert(f.value(0)).second)
                f.fail("province " + std::string(f.utf8(0)) + " is already there");
            insert.text(1, f.value(0)).run();
            ++counts.provinces;
        }
    }

    void citiesFrom(const std::string &path) {
        TableFile f(path, "city.csv", {"id", "city", "scity"});
        PreparedStatement insert(db, "INSERT INTO city (id, city, scity) VALUES (?1, ?2, ?3)");
        while (f.next()) {
            if (f.value(0).empty() || f.value(1).empty())
                f.fail("empty city id or name");
            if (!provinces.count(f.value(2)))
                f.fail("province " + std::string(f.utf8(2)) + " is not in sheng");
            if (!cityNames.emplace(f.value(0), f.value(1)).second)
                f.fail("city id " + std::string(f.utf8(0)) + " is already there");
            insert.text(1, f.value(0)).text(2, f.value(1)).text(3, f.value(2)).run();
            ++counts.cities;
        }
    }

    void linesFrom(const std::string &path) {
        TableFile f(path, "bus.csv", {"id", "cid", "lm", "start", "bz", "sj", "pj", "sh", "xh"});
        PreparedStatement insert(db, "INSERT INTO bus (id, cid, lm, start, bz, sj, pj, sh, xh) "
                                     "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
        while (f.next()) {
            if (f.value(0).empty() || f.value(2).empty())
                f.fail("empty line id or name");
            if (!cityNames.count(f.value(1)))
                f.fail("city id " + std::string(f.utf8(1)) + " is not in city");
            for (int i = 0; i < 9; ++i)
                insert.text(i + 1, f.value(std::size_t(i)));
            insert.run();
            ++counts.lines;
        }
    }

    void settingsFrom(const std::string &path) {
        TableFile f(path, "uconf.csv", {"id", "city", "cid"});
        // The stored setting: a row replaces the row with the same id.
        PreparedStatement insert(db, "INSERT OR REPLACE INTO uconf (id, city, cid) VALUES (?1, ?2, ?3)");
        while (f.next()) {
            if (!isInteger(f.value(0)))
                f.fail("id " + std::string(f.utf8(0)) + " is not a whole number");
            auto it = cityNames.find(f.value(2));
            if (it == cityNames.end())
                f.fail("city id " + std::string(f.utf8(2)) + " is not in city");
            if (it->second != f.value(1))
                f.fail("city " + std::string(f.utf8(1)) + " does not match city id " + std::string(f.utf8(2)));
            insert.integer(1, std::stoll(f.value(0))).text(2, f.value(1)).text(3, f.value(2)).run();
            ++counts.settings;
        }
    }

    void lineKindsFrom(const std::string &path) {
        TableFile f(path, "busmeta.csv", {"id", "kind", "operator", "shplace", "xhplace"});
        PreparedStatement line(db, "SELECT sh, xh FROM bus WHERE id=?1");
        PreparedStatement there(db, "SELECT count(*) FROM busmeta WHERE id=?1");
        PreparedStatement insert(db, "INSERT INTO busmeta (id, kind, operator, shplace, xhplace) "
                                     "VALUES (?1, ?2, ?3, ?4, ?5)");
        while (f.next()) {
            if (!line.text(1, f.value(0)).next())
                f.fail("line id " + std::string(f.utf8(0)) + " is not in bus");
            const std::string sh = line.columnText(0), xh = line.columnText(1);
            line.firstText(); // resets it
            if (there.text(1, f.value(0)).firstText() != "0")
                f.fail("line id " + std::string(f.utf8(0)) + " already has a row in busmeta");
            if (f.value(1).size() != 1 || f.value(1)[0] < '0' || f.value(1)[0] > '2')
                f.fail("kind " + std::string(f.utf8(1)) + " is not 0 (both ways), 1 (one way) or 2 (loop)");
            if (!validPlaces(f.value(3), stationCount(sh)))
                f.fail("shplace must be blank or one place number from 1 per station of sh (" +
                       std::to_string(stationCount(sh)) + ")");
            if (!validPlaces(f.value(4), stationCount(xh)))
                f.fail("xhplace must be blank or one place number from 1 per station of xh (" +
                       std::to_string(stationCount(xh)) + ")");
            insert.text(1, f.value(0)).integer(2, f.value(1)[0] - '0').text(3, f.value(2));
            insert.text(4, f.value(3)).text(5, f.value(4)).run();
            ++counts.lineKinds;
        }
    }

    void placesFrom(const std::string &path) {
        TableFile f(path, "place.csv", {"cid", "name", "place", "lat", "lon"});
        PreparedStatement there(db, "SELECT count(*) FROM place WHERE cid=?1 AND name=?2 AND place=?3");
        PreparedStatement insert(db, "INSERT INTO place (cid, name, place, lat, lon) VALUES (?1, ?2, ?3, ?4, ?5)");
        while (f.next()) {
            if (!cityNames.count(f.value(0)))
                f.fail("city id " + std::string(f.utf8(0)) + " is not in city");
            if (f.value(1).empty())
                f.fail("empty station name");
            if (!isInteger(f.value(2)) || std::stoll(f.value(2)) < 1)
                f.fail("place " + std::string(f.utf8(2)) + " is not a whole number from 1");
            double lat = 0, lon = 0;
            if (!parseDegrees(f.value(3), 90, lat) || !parseDegrees(f.value(4), 180, lon))
                f.fail("lat, lon must be decimal degrees (-90..90, -180..180)");
            const long long place = std::stoll(f.value(2));
            if (there.text(1, f.value(0)).text(2, f.value(1)).integer(3, place).firstText() != "0")
                f.fail("place " + std::string(f.utf8(2)) + " of " + std::string(f.utf8(1)) + " is already there");
            insert.text(1, f.value(0)).text(2, f.value(1)).integer(3, place).real(4, lat).real(5, lon).run();
            ++counts.places;
        }
    }
};

} // namespace

ImportCounts importCsv(const std::string &file, const std::string &dir) {
    requireFile(file);
    const std::string sheng = dir + "/sheng.csv", city = dir + "/city.csv", bus = dir + "/bus.csv",
                      uconf = dir + "/uconf.csv", busmeta = dir + "/busmeta.csv", place = dir + "/place.csv";
    const bool routeTables = fileExists(busmeta) || fileExists(place);
    if (!fileExists(sheng) && !fileExists(city) && !fileExists(bus) && !fileExists(uconf) && !routeTables)
        throw Error(dir + ": none of sheng.csv, city.csv, bus.csv, uconf.csv, busmeta.csv, place.csv is there");

    TSQLiteDatabase db(file, dbKey);
    Transaction transaction(db);
    Import import(db);
    if (fileExists(sheng))
        import.provincesFrom(sheng);
    if (fileExists(city))
        import.citiesFrom(city);
    if (fileExists(bus))
        import.linesFrom(bus);
    if (fileExists(uconf))
        import.settingsFrom(uconf);
    if (routeTables) {
        createRouteTables(db);
        import.counts.routeTables = true;
    }
    if (fileExists(busmeta))
        import.lineKindsFrom(busmeta);
    if (fileExists(place))
        import.placesFrom(place);
    transaction.commit();
    return import.counts;
}

} // namespace velmora::busdb
