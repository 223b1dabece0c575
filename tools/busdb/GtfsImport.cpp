// SPDX-License-Identifier: GPL-3.0-or-later
// busdb import-gtfs: the feed's lines replace a city's lines, in one transaction.
#include "DbFile.h"
#include "Error.h"
#include "Gtfs.h"

#include "data/PreparedStatement.h"
#include "data/SQLiteDatabase.h"
#include "data/Schema.h"
#include "data/Transaction.h"
#include "text/Gbk.h"

#include <sstream>

namespace velmora::busdb {

namespace {
std::string gbkArgument(const std::string &utf8, const char *what) {
    std::string out;
    if (utf8.empty())
        throw Error(std::string(what) + " must not be empty");
    if (!utf8ToGbk(utf8, out))
        throw Error(std::string(what) + " " + utf8 + " holds a character that GBK cannot hold");
    return out;
}

// The target's texts as GBK, checked before anything is read.
struct GbkTarget {
    std::string province, city, givenId;
};

GbkTarget gbkTarget(const GtfsTarget &target) {
    GbkTarget out{gbkArgument(target.province, "--province"), gbkArgument(target.city, "--city"), {}};
    if (!target.cityId.empty())
        out.givenId = gbkArgument(target.cityId, "--city-id");
    return out;
}

// The id of a city that is not there yet: the one given, unless another city holds it, else the next free one.
std::string newCityId(TSQLiteDatabase &db, const GbkTarget &gbk, const GtfsTarget &target) {
    if (gbk.givenId.empty()) {
        const std::string highest =
            PreparedStatement(db, "SELECT coalesce(max(CAST(id AS INTEGER)), 0) FROM city").firstText();
        return std::to_string(std::stoll(highest) + 1);
    }
    std::string holder = PreparedStatement(db, "SELECT city FROM city WHERE id=?1").text(1, gbk.givenId).firstText();
    if (!holder.empty())
        throw Error("city id " + target.cityId + " already belongs to " + gbkToUtf8(holder));
    return gbk.givenId;
}

// Finds the city of the target, adding its province and the city itself when missing.
void resolveCity(TSQLiteDatabase &db, const GbkTarget &gbk, const GtfsTarget &target, GtfsImport &result) {
    if (PreparedStatement(db, "SELECT count(*) FROM sheng WHERE sheng=?1").text(1, gbk.province).firstText() == "0") {
        PreparedStatement(db, "INSERT INTO sheng (sheng) VALUES (?1)").text(1, gbk.province).run();
        result.newProvince = true;
    }
    std::string id = PreparedStatement(db, "SELECT id FROM city WHERE city=?1 AND scity=?2")
                         .text(1, gbk.city)
                         .text(2, gbk.province)
                         .firstText();
    if (!id.empty() && !gbk.givenId.empty() && id != gbk.givenId)
        throw Error("city " + target.city + " already has id " + gbkToUtf8(id) + ", not " + target.cityId);
    if (id.empty()) {
        id = newCityId(db, gbk, target);
        PreparedStatement(db, "INSERT INTO city (id, city, scity) VALUES (?1, ?2, ?3)")
            .text(1, id)
            .text(2, gbk.city)
            .text(3, gbk.province)
            .run();
        result.newCity = true;
    }
    result.cityId = id;
}

// The kinds, operators and places of the city's lines. The rows of the lines being replaced go first, except
// where another city's line has the same id (busmeta has one row per id; the newer import's row serves both).
void replaceRouteTables(TSQLiteDatabase &db, GtfsImport &result) {
    const std::string &id = result.cityId;
    createRouteTables(db);
    PreparedStatement(db, "DELETE FROM busmeta WHERE id IN (SELECT id FROM bus WHERE cid=?1) "
                          "AND id NOT IN (SELECT id FROM bus WHERE cid<>?1)")
        .text(1, id)
        .run();
    PreparedStatement(db, "DELETE FROM place WHERE cid=?1").text(1, id).run();
    PreparedStatement shared(db, "SELECT count(*) FROM bus WHERE id=?1 AND cid<>?2");
    PreparedStatement meta(db, "INSERT OR REPLACE INTO busmeta (id, kind, operator, shplace, xhplace) "
                               "VALUES (?1, ?2, ?3, ?4, ?5)");
    for (const GtfsLine &l : result.feed.lines) {
        result.sharedIds += shared.text(1, l.id).text(2, id).firstText() != "0";
        meta.text(1, l.id).integer(2, l.kind).text(3, l.op).text(4, l.shPlaces).text(5, l.xhPlaces).run();
    }
    PreparedStatement place(db, "INSERT INTO place (cid, name, place, lat, lon) VALUES (?1, ?2, ?3, ?4, ?5)");
    for (const GtfsPlace &p : result.feed.places)
        place.text(1, id).text(2, p.name).integer(3, p.place).real(4, p.lat).real(5, p.lon).run();
}

// Replaces every line of the city with the feed's, and makes the city the stored one when there is none.
void replaceLines(TSQLiteDatabase &db, const std::string &city, GtfsImport &result) {
    const std::string &id = result.cityId;
    result.linesRemoved =
        std::stol(PreparedStatement(db, "SELECT count(*) FROM bus WHERE cid=?1").text(1, id).firstText());
    replaceRouteTables(db, result);
    PreparedStatement(db, "DELETE FROM bus WHERE cid=?1").text(1, id).run();
    PreparedStatement insert(db, "INSERT INTO bus (id, cid, lm, start, bz, sj, pj, sh, xh) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    for (const GtfsLine &l : result.feed.lines)
        insert.text(1, l.id)
            .text(2, id)
            .text(3, l.lm)
            .text(4, l.start)
            .text(5, l.bz)
            .text(6, l.sj)
            .text(7, l.pj)
            .text(8, l.sh)
            .text(9, l.xh)
            .run();
    // A database without a stored city opens on the imported one.
    if (PreparedStatement(db, "SELECT count(*) FROM uconf WHERE id=1").firstText() == "0") {
        PreparedStatement(db, "INSERT INTO uconf (id, city, cid) VALUES (1, ?1, ?2)").text(1, city).text(2, id).run();
        result.storedCitySet = true;
    }
}
} // namespace

GtfsImport importGtfs(const std::string &file, const std::string &feedPath, const GtfsTarget &target, bool replace) {
    requireFile(file);
    const GbkTarget gbk = gbkTarget(target);

    // The whole feed is read before the database is touched.
    GtfsImport result;
    result.feed = readGtfs(feedPath, replace);

    TSQLiteDatabase db(file, dbKey);
    Transaction transaction(db);
    resolveCity(db, gbk, target, result);
    replaceLines(db, gbk.city, result);
    transaction.commit();
    return result;
}

std::string gtfsSummary(const GtfsImport &r, const GtfsTarget &target) {
    const GtfsRead &f = r.feed;
    std::ostringstream out;
    out << "read: " << f.agencies << " agencies, " << f.routes << " routes, " << f.stops << " stops, " << f.trips
        << " trips, " << f.stopTimes << " stop times, " << f.frequencies << " frequencies, " << f.fares << " fares\n";
    out << "wrote: " << f.lines.size() << " lines of " << target.city << " (city id " << gbkToUtf8(r.cityId) << ")";
    if (r.linesRemoved)
        out << ", replacing " << r.linesRemoved;
    out << '\n';
    long kinds[3] = {0, 0, 0};
    for (const GtfsLine &l : f.lines)
        ++kinds[l.kind];
    out << "kinds: " << kinds[0] << " both ways, " << kinds[1] << " one way, " << kinds[2] << " loops; "
        << f.places.size() << " places\n";
    if (f.stopsWithoutPosition && !f.places.empty())
        out << f.stopsWithoutPosition << " stops without a usable stop_lat, stop_lon count as place 1 of their name\n";
    if (r.sharedIds)
        out << r.sharedIds << " route ids are also line ids of another city; their kind and places serve both\n";
    if (r.newProvince)
        out << "added province " << target.province << '\n';
    if (r.newCity)
        out << "added city " << target.city << " to " << target.province << '\n';
    if (r.storedCitySet)
        out << "stored city: " << target.city << " (uconf had none)\n";
    if (f.nearForms)
        out << "wrote " << f.nearForms << " characters that GBK cannot hold as a near form (base letters, \"·\")\n";
    if (f.replacements)
        out << "replaced " << f.replacements << " characters that GBK cannot hold with \"？\"\n";
    if (f.tripsWithoutStopTimes)
        out << "skipped " << f.tripsWithoutStopTimes << " trips without stop times\n";
    for (const std::string &s : f.skipped)
        out << "skipped " << s << '\n';
    return out.str();
}

} // namespace velmora::busdb
