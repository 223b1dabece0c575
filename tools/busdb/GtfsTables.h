// SPDX-License-Identifier: GPL-3.0-or-later
// What the feed reader keeps of a GTFS feed, by index, for mapping its routes to bus lines.
#pragma once

#include "Gtfs.h"

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::busdb::gtfs {

struct Stop {
    std::string name; // GBK, commas made full-width
    std::string parent;
    long line;
    int shown;       // the stop whose name is shown: its parent station, or itself
    double lat, lon; // NaN when the feed gives no usable position
};

struct Route {
    std::string id, lm, bz; // GBK
    std::string op;         // GBK: the agency's name, empty when unknown
    std::string utf8Id;
    std::vector<int> trips;
    std::vector<int> fares;
};

struct Trip {
    int route;
    int direction; // -1 when the feed gives none
    std::uint32_t count = 0;
    std::uint32_t firstSequence = UINT32_MAX;
    int firstStop = -1;
    std::uint32_t lastSequence = 0;
    int lastStop = -1;
    int firstDeparture = -1; // seconds after midnight of the service day
    std::uint64_t fingerprint = 0;
    int slot = -1; // where its stops go in the second pass, when it represents a direction
    int frequencyFirst = -1, frequencyLast = -1;
};

struct Fare {
    double price;
    std::string currency;
};

// One stop of a representative trip.
struct Call {
    std::uint32_t sequence;
    int stop;
    long line;
};

// A route's trips shown as its two directions (-1: none), and the direction shown first (-1: all trips).
struct Representatives {
    int trip[2];
    int firstDirection;
    // Without direction_id: one trip of every other stop sequence, read to tell whether any runs the way back.
    std::vector<int> patterns;
};

struct Tables {
    std::vector<Stop> stops;
    std::vector<Route> routes;
    std::vector<Trip> trips;
    std::vector<Fare> fares;
    std::vector<Representatives> representatives; // one per route
    std::vector<std::vector<Call>> slotCalls;     // the stops of each representative trip, in sequence order
    std::vector<int> placeOf;                     // per stop: its place number among the stops of its name

    const std::string &shownName(int stop) const { return stops[std::size_t(stops[std::size_t(stop)].shown)].name; }
};

// Chooses each route's representative trips and gives each a slot for its stops; counts trips without stop
// times and notes routes left out in `result`.
void chooseRepresentatives(Tables &tables, GtfsRead &result);

// One line per route that has a representative, once the slotCalls hold their stops and placeOf is set.
void appendLines(const Tables &tables, std::vector<GtfsLine> &lines);

// Groups the stops the lines call at into places per shown name (GtfsMeta.cpp): sets placeOf and the places.
void assignPlaces(Tables &tables, GtfsRead &result);

// The trip shown as a route's way back (xh), -1 for none: the representative of direction 1, or without
// direction_id the chosen second sequence, unless it does not run back and another sequence does (then the
// most common such one).
int wayBack(const Tables &tables, std::size_t route);

// The kind of a route's line (LineKind), from its representative trips and, without direction_id, its other
// stop sequences.
int lineKind(const Tables &tables, std::size_t route);

// The place numbers of a representative trip's stations, comma-separated; blank when every one is 1.
std::string placeList(const Tables &tables, int trip);

} // namespace velmora::busdb::gtfs
