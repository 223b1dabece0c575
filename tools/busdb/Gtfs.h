// SPDX-License-Identifier: GPL-3.0-or-later
// GTFS feeds to bus lines: one line per route, with both directions' stations, service times and fare.
#pragma once

#include <string>
#include <vector>

namespace velmora::busdb {

// One bus row and its busmeta row; texts are GBK.
struct GtfsLine {
    std::string id, lm, start, bz, sj, pj, sh, xh;
    int kind = 0;         // LineKind
    std::string op;       // the route's agency name
    std::string shPlaces; // place numbers of sh's stations, comma-separated; blank when all are 1
    std::string xhPlaces;
};

// One place of a station name: where a group of the name's stops lies (their mean position).
struct GtfsPlace {
    std::string name; // GBK, as in sh and xh
    int place;        // 1..n per name
    double lat, lon;
};

struct GtfsRead {
    std::vector<GtfsLine> lines;
    std::vector<GtfsPlace> places;
    long stopsWithoutPosition = 0; // stops of the lines without usable stop_lat, stop_lon
    long agencies = 0, routes = 0, stops = 0, trips = 0, stopTimes = 0, frequencies = 0, fares = 0;
    long tripsWithoutStopTimes = 0;
    long nearForms = 0;               // characters written as a near form: "s" for "š" (only with replace)
    long replacements = 0;            // characters written as "？" (only with replace)
    std::vector<std::string> skipped; // UTF-8: what was left out and why
};

// Reads and maps a feed (folder or .zip). Throws Error naming file and line for a bad feed. With `replace`,
// characters GBK cannot hold become a near form or "？" instead of stopping the import.
GtfsRead readGtfs(const std::string &feedPath, bool replace);

struct GtfsTarget {
    std::string province; // UTF-8, as given on the command line
    std::string city;
    std::string cityId; // empty: the city's own id, or the next free one for a new city
};

struct GtfsImport {
    GtfsRead feed;
    std::string cityId;
    bool newProvince = false, newCity = false, storedCitySet = false;
    long linesRemoved = 0;
    long sharedIds = 0; // route ids that another city's line also has: their busmeta row serves both
};

// Reads the feed, then in one transaction adds the province and city when missing and replaces all lines of
// the city with the feed's. On any failure the database is unchanged.
GtfsImport importGtfs(const std::string &file, const std::string &feedPath, const GtfsTarget &target, bool replace);

// What was imported and skipped, for the terminal.
std::string gtfsSummary(const GtfsImport &result, const GtfsTarget &target);

} // namespace velmora::busdb
