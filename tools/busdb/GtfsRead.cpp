// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a GTFS feed for its mapping to bus lines (GtfsLines.cpp). stop_times.txt is streamed twice: the first
// pass keeps a few numbers per trip (stop count, first stop and departure, a fingerprint of its stops), which
// choose each route's representative trips; the second keeps the stops of those trips only. Memory follows
// trips, not rows.
#include "CsvReader.h"
#include "GbkText.h"
#include "Gtfs.h"
#include "GtfsFeed.h"
#include "GtfsFields.h"
#include "GtfsTables.h"

#include "text/Gbk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <unordered_map>

namespace velmora::busdb {

namespace {

using gtfs::Call;
using gtfs::Fare;
using gtfs::Route;
using gtfs::Stop;
using gtfs::Trip;

class FeedReader {
public:
    FeedReader(const std::string &path, bool replace) : feed_(path), converter_(replace) {}

    GtfsRead read() {
        readAgencies();
        readStops();
        readRoutes();
        readTrips();
        countStopTimes();
        readFrequencies();
        readFares();
        gtfs::chooseRepresentatives(tables_, result_);
        collectStations();
        gtfs::assignPlaces(tables_, result_);
        gtfs::appendLines(tables_, result_.lines);
        result_.nearForms = converter_.nearForms();
        result_.replacements = converter_.replacements();
        if (result_.lines.empty())
            throw Error("nothing to import: no route of the feed has trips with stop times");
        return std::move(result_);
    }

private:
    // A text of the feed as GBK, or the import stops naming file, line, column and character.
    std::string text(CsvReader &r, const CsvRow &row, int column, const char *columnName) {
        std::string out;
        if (!converter_.convert(row[column], out))
            r.fail(row.line(), columnName, converter_.problem());
        return out;
    }

    void readAgencies() {
        auto r = feed_.open("agency.txt");
        int id = r->column("agency_id"), name = r->requireColumn("agency_name");
        for (CsvRow row; r->next(row); ++result_.agencies) {
            agencyNames_.push_back(text(*r, row, name, "agency_name"));
            if (!agencies_.add(row[id], int(agencyNames_.size()) - 1))
                r->fail(row.line(), "agency_id " + std::string(row[id]) + " appears twice");
        }
    }

    void readStops() {
        auto r = feed_.open("stops.txt");
        int id = r->requireColumn("stop_id"), name = r->requireColumn("stop_name"),
            parent = r->column("parent_station"), lat = r->column("stop_lat"), lon = r->column("stop_lon");
        for (CsvRow row; r->next(row); ++result_.stops) {
            // "," separates stations in a line's list, so a comma inside a name becomes the full-width one.
            std::string utf8 = replaceAll(row[name].empty() ? row[id] : row[name], ",", "，");
            std::string gbkName;
            if (!converter_.convert(utf8, gbkName))
                r->fail(row.line(), "stop_name", converter_.problem());
            double position[2];
            if (!parsePosition(row[lat], row[lon], position))
                position[0] = position[1] = std::nan("");
            tables_.stops.push_back({std::move(gbkName), std::string(row[parent]), row.line(),
                                     int(tables_.stops.size()), position[0], position[1]});
            if (!stopIds_.add(row[id], int(tables_.stops.size()) - 1))
                r->fail(row.line(), "stop_id " + std::string(row[id]) + " appears twice");
        }
        for (Stop &s : tables_.stops) {
            if (s.parent.empty())
                continue;
            s.shown = stopIds_.find(s.parent);
            if (s.shown < 0)
                r->fail(s.line, "parent_station " + s.parent + " is not in stops.txt");
        }
    }

    void readRoutes() {
        auto r = feed_.open("routes.txt");
        int id = r->requireColumn("route_id"), shortName = r->column("route_short_name"),
            longName = r->column("route_long_name"), desc = r->column("route_desc"), agency = r->column("agency_id");
        if (shortName < 0 && longName < 0)
            throw Error("routes.txt: missing column route_short_name (or route_long_name)");
        for (CsvRow row; r->next(row); ++result_.routes) {
            Route route;
            route.utf8Id = std::string(row[id]);
            if (route.utf8Id.empty())
                r->fail(row.line(), "empty route_id");
            route.id = text(*r, row, id, "route_id");
            route.lm = !row[shortName].empty() ? text(*r, row, shortName, "route_short_name")
                                               : text(*r, row, longName, "route_long_name");
            if (route.lm.empty())
                r->fail(row.line(), "route " + route.utf8Id + " has neither route_short_name nor route_long_name");
            route.bz = text(*r, row, desc, "route_desc");
            int a = row[agency].empty() ? (agencyNames_.size() == 1 ? 0 : -1) : agencies_.find(row[agency]);
            if (a >= 0)
                route.op = agencyNames_[std::size_t(a)];
            if (route.bz.empty()) {
                if (a < 0 && !row[agency].empty())
                    r->fail(row.line(), "agency_id " + std::string(row[agency]) + " is not in agency.txt");
                route.bz = route.op;
            }
            tables_.routes.push_back(std::move(route));
            if (!routeIds_.add(row[id], int(tables_.routes.size()) - 1))
                r->fail(row.line(), "route_id " + std::string(row[id]) + " appears twice");
        }
        if (tables_.routes.empty())
            throw Error("routes.txt: the feed has no routes");
    }

    void readTrips() {
        auto r = feed_.open("trips.txt");
        int route = r->requireColumn("route_id"), id = r->requireColumn("trip_id"), dir = r->column("direction_id");
        for (CsvRow row; r->next(row); ++result_.trips) {
            int routeIndex = routeIds_.find(row[route]);
            if (routeIndex < 0)
                r->fail(row.line(), "trip " + std::string(row[id]) + " names route " + std::string(row[route]) +
                                        ", which is not in routes.txt");
            std::string_view d = row[dir];
            if (!(d.empty() || d == "0" || d == "1"))
                r->fail(row.line(), "direction_id", "\"" + std::string(d) + "\" is not 0, 1 or empty");
            tables_.trips.push_back({routeIndex, d.empty() ? -1 : d[0] - '0'});
            if (!tripIds_.add(row[id], int(tables_.trips.size()) - 1))
                r->fail(row.line(), "trip_id " + std::string(row[id]) + " appears twice");
            tables_.routes[std::size_t(routeIndex)].trips.push_back(int(tables_.trips.size()) - 1);
        }
    }

    // The columns of stop_times.txt and the last trip looked up (a trip's rows usually come together).
    struct StopTimeColumns {
        int trip, stop, sequence, arrival, departure;
        std::string lastTripId;
        int lastTrip = -1;
    };

    StopTimeColumns stopTimeColumns(CsvReader &r) {
        return {r.requireColumn("trip_id"),
                r.requireColumn("stop_id"),
                r.requireColumn("stop_sequence"),
                r.column("arrival_time"),
                r.column("departure_time"),
                {},
                -1};
    }

    int tripOf(CsvReader &r, const CsvRow &row, StopTimeColumns &c) {
        std::string_view id = row[c.trip];
        if (c.lastTrip < 0 || id != c.lastTripId) {
            c.lastTrip = tripIds_.find(id);
            if (c.lastTrip < 0)
                r.fail(row.line(), "trip_id " + std::string(id) + " is not in trips.txt");
            c.lastTripId.assign(id);
        }
        return c.lastTrip;
    }

    void countStopTimes() {
        auto r = feed_.open("stop_times.txt");
        StopTimeColumns c = stopTimeColumns(*r);
        unordered_.assign(tables_.trips.size(), 0);
        for (CsvRow row; r->next(row); ++result_.stopTimes) {
            const int trip = tripOf(*r, row, c);
            Trip &t = tables_.trips[std::size_t(trip)];
            int stop = stopIds_.find(row[c.stop]);
            if (stop < 0)
                r->fail(row.line(), "stop_id " + std::string(row[c.stop]) + " is not in stops.txt");
            std::uint32_t sequence;
            if (!parseCount(row[c.sequence], sequence))
                r->fail(row.line(), "stop_sequence", "\"" + std::string(row[c.sequence]) + "\" is not a whole number");
            int arrival = parseTime(row[c.arrival]), departure = parseTime(row[c.departure]);
            if (arrival == -2)
                r->fail(row.line(), "arrival_time", "malformed time \"" + std::string(row[c.arrival]) + "\" (H:MM:SS)");
            if (departure == -2)
                r->fail(row.line(), "departure_time",
                        "malformed time \"" + std::string(row[c.departure]) + "\" (H:MM:SS)");
            // A sequence number below the trip's highest so far may repeat an earlier one: such a trip is
            // checked in the second pass. One equal to the highest is a repeat now.
            if (t.count > 0 && sequence <= t.lastSequence) {
                if (sequence == t.lastSequence)
                    sequenceTwice(*r, row.line(), sequence);
                unordered_[std::size_t(trip)] = 1;
            }
            ++t.count;
            // Order-free, so rows may come in any order; equal stops at equal sequence numbers, equal print.
            t.fingerprint += mix((std::uint64_t(sequence) << 32) ^ std::uint64_t(stop));
            if (sequence < t.firstSequence) {
                t.firstSequence = sequence;
                t.firstStop = stop;
                t.firstDeparture = departure >= 0 ? departure : arrival;
            }
            if (t.lastStop < 0 || sequence >= t.lastSequence) {
                t.lastSequence = sequence;
                t.lastStop = stop;
            }
        }
    }

    void readFrequencies() {
        if (!feed_.has("frequencies.txt"))
            return;
        auto r = feed_.open("frequencies.txt");
        int trip = r->requireColumn("trip_id"), start = r->requireColumn("start_time"),
            end = r->requireColumn("end_time"), headway = r->requireColumn("headway_secs");
        for (CsvRow row; r->next(row); ++result_.frequencies) {
            int t = tripIds_.find(row[trip]);
            if (t < 0)
                r->fail(row.line(), "trip_id " + std::string(row[trip]) + " is not in trips.txt");
            int from = parseTime(row[start]), to = parseTime(row[end]);
            std::uint32_t step;
            if (from < 0)
                r->fail(row.line(), "start_time", "malformed time \"" + std::string(row[start]) + "\" (H:MM:SS)");
            if (to < 0)
                r->fail(row.line(), "end_time", "malformed time \"" + std::string(row[end]) + "\" (H:MM:SS)");
            if (!parseCount(row[headway], step) || step == 0)
                r->fail(row.line(), "headway_secs", "\"" + std::string(row[headway]) + "\" is not a positive number");
            // Departures run from start_time every headway while before end_time.
            int last = to > from ? from + (to - from - 1) / int(step) * int(step) : from;
            Trip &tr = tables_.trips[std::size_t(t)];
            tr.frequencyFirst = tr.frequencyFirst < 0 ? from : std::min(tr.frequencyFirst, from);
            tr.frequencyLast = std::max(tr.frequencyLast, last);
        }
    }

    void readFares() {
        if (!feed_.has("fare_attributes.txt") && !feed_.has("fare_rules.txt"))
            return;
        IdMap fareIds;
        if (feed_.has("fare_attributes.txt"))
            readFareAttributes(fareIds);
        if (!feed_.has("fare_rules.txt")) {
            // One fare and no rules: the fare of every route.
            if (tables_.fares.size() == 1)
                for (Route &route : tables_.routes)
                    route.fares.push_back(0);
            return;
        }
        auto rules = feed_.open("fare_rules.txt");
        int fare = rules->requireColumn("fare_id"), route = rules->column("route_id");
        for (CsvRow row; rules->next(row);) {
            int f = fareIds.find(row[fare]);
            if (f < 0)
                rules->fail(row.line(), "fare_id " + std::string(row[fare]) + " is not in fare_attributes.txt");
            if (row[route].empty())
                continue; // zone fares name no route
            int ri = routeIds_.find(row[route]);
            if (ri < 0)
                rules->fail(row.line(), "route_id " + std::string(row[route]) + " is not in routes.txt");
            std::vector<int> &list = tables_.routes[std::size_t(ri)].fares;
            if (std::find(list.begin(), list.end(), f) == list.end())
                list.push_back(f);
        }
    }

    void readFareAttributes(IdMap &fareIds) {
        auto r = feed_.open("fare_attributes.txt");
        int id = r->requireColumn("fare_id"), price = r->requireColumn("price"),
            currency = r->requireColumn("currency_type");
        for (CsvRow row; r->next(row); ++result_.fares) {
            std::string p(row[price]);
            char *end = nullptr;
            double value = std::strtod(p.c_str(), &end);
            if (p.empty() || *end || value < 0)
                r->fail(row.line(), "price", "\"" + p + "\" is not a price");
            tables_.fares.push_back({value, text(*r, row, currency, "currency_type")});
            if (!fareIds.add(row[id], int(tables_.fares.size()) - 1))
                r->fail(row.line(), "fare_id " + std::string(row[id]) + " appears twice");
        }
    }

    void collectStations() {
        auto r = feed_.open("stop_times.txt");
        StopTimeColumns c = stopTimeColumns(*r);
        // The numbers of the trips whose rows came out of order and that no direction shows, to be checked too.
        std::unordered_map<int, std::vector<Call>> unorderedCalls;
        for (CsvRow row; r->next(row);) {
            const int trip = tripOf(*r, row, c);
            const int slot = tables_.trips[std::size_t(trip)].slot;
            if (slot < 0 && !unordered_[std::size_t(trip)])
                continue;
            std::uint32_t sequence = 0;
            parseCount(row[c.sequence], sequence); // checked in the first pass
            const Call call{sequence, slot < 0 ? -1 : stopIds_.find(row[c.stop]), row.line()};
            (slot < 0 ? unorderedCalls[trip] : tables_.slotCalls[std::size_t(slot)]).push_back(call);
        }
        for (auto &calls : tables_.slotCalls)
            sortAndCheck(*r, calls);
        for (auto &[trip, calls] : unorderedCalls)
            sortAndCheck(*r, calls);
    }

    static void sortAndCheck(CsvReader &r, std::vector<Call> &calls) {
        std::stable_sort(calls.begin(), calls.end(),
                         [](const Call &a, const Call &b) { return a.sequence < b.sequence; });
        for (std::size_t i = 1; i < calls.size(); ++i)
            if (calls[i].sequence == calls[i - 1].sequence)
                sequenceTwice(r, calls[i].line, calls[i].sequence);
    }

    [[noreturn]] static void sequenceTwice(CsvReader &r, long line, std::uint32_t sequence) {
        r.fail(line, "stop_sequence " + std::to_string(sequence) + " appears twice in one trip");
    }

    GtfsFeed feed_;
    GbkConverter converter_;
    GtfsRead result_;
    IdMap agencies_, stopIds_, routeIds_, tripIds_;
    std::vector<char> unordered_; // per trip: its stop times came with a sequence number below an earlier one
    std::vector<std::string> agencyNames_;
    gtfs::Tables tables_;
};

} // namespace

GtfsRead readGtfs(const std::string &feedPath, bool replace) {
    FeedReader reader(feedPath, replace);
    return reader.read();
}

} // namespace velmora::busdb
