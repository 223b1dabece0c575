// SPDX-License-Identifier: GPL-3.0-or-later
// What the planner needs beside a feed's bus rows: each line's kind and the places of station names.
#include "GtfsTables.h"

#include "data/Schema.h"

#include <cmath>
#include <map>
#include <unordered_map>

namespace velmora::busdb::gtfs {

namespace {

constexpr double kSamePlaceMetres = 1000;

bool hasPosition(const Stop &s) {
    return !std::isnan(s.lat) && !std::isnan(s.lon);
}

double metresBetween(double lat1, double lon1, double lat2, double lon2) {
    constexpr double radius = 6371000, toRadians = M_PI / 180;
    const double dLat = (lat2 - lat1) * toRadians, dLon = (lon2 - lon1) * toRadians;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * toRadians) * std::cos(lat2 * toRadians) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * radius * std::asin(std::min(1.0, std::sqrt(h)));
}

// The stops of one name that lie together: every two of them at most 1 km apart.
struct Group {
    std::vector<const Stop *> members;
    double latSum = 0, lonSum = 0;

    bool takes(const Stop &s) const {
        for (const Stop *m : members)
            if (metresBetween(m->lat, m->lon, s.lat, s.lon) > kSamePlaceMetres)
                return false;
        return true;
    }
};

// The position a called stop stands for: its own, else its station's.
const Stop *positioned(const Tables &t, int stop) {
    const Stop &s = t.stops[std::size_t(stop)];
    if (hasPosition(s))
        return &s;
    const Stop &shown = t.stops[std::size_t(s.shown)];
    return hasPosition(shown) ? &shown : nullptr;
}

std::vector<bool> calledStops(const Tables &t) {
    std::vector<bool> called(t.stops.size(), false);
    for (const Representatives &rep : t.representatives)
        for (int trip : rep.trip)
            if (trip >= 0)
                for (const Call &c : t.slotCalls[std::size_t(t.trips[std::size_t(trip)].slot)])
                    called[std::size_t(c.stop)] = true;
    return called;
}

// Whether a trip visits the stations it shares with `order` mostly against that order.
bool runsBack(const Tables &t, const std::unordered_map<std::string_view, int> &order, int trip) {
    int previous = -1, forward = 0, backward = 0;
    for (const Call &c : t.slotCalls[std::size_t(t.trips[std::size_t(trip)].slot)]) {
        auto it = order.find(t.shownName(c.stop));
        if (it == order.end())
            continue;
        if (previous >= 0 && it->second != previous)
            ++(it->second > previous ? forward : backward);
        previous = it->second;
    }
    return backward > forward;
}

} // namespace

void assignPlaces(Tables &t, GtfsRead &result) {
    const std::vector<bool> called = calledStops(t);
    t.placeOf.assign(t.stops.size(), 1);
    // Names in the order their first stop comes in stops.txt, places numbered in the order they are found, so
    // the same feed always gives the same numbers.
    std::map<std::string_view, std::size_t> nameIndex;
    std::vector<std::pair<std::string_view, std::vector<Group>>> names;
    for (std::size_t s = 0; s < t.stops.size(); ++s) {
        if (!called[s])
            continue;
        const Stop *at = positioned(t, int(s));
        if (!at) {
            ++result.stopsWithoutPosition; // counted as place 1 of its name
            continue;
        }
        const std::string &name = t.shownName(int(s));
        auto [it, added] = nameIndex.emplace(name, names.size());
        if (added)
            names.emplace_back(name, std::vector<Group>());
        std::vector<Group> &groups = names[it->second].second;
        std::size_t g = 0;
        while (g < groups.size() && !groups[g].takes(*at))
            ++g;
        if (g == groups.size())
            groups.emplace_back();
        groups[g].members.push_back(at);
        groups[g].latSum += at->lat;
        groups[g].lonSum += at->lon;
        t.placeOf[s] = int(g) + 1;
    }
    for (const auto &[name, groups] : names)
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const double n = double(groups[g].members.size());
            result.places.push_back({std::string(name), int(g) + 1, groups[g].latSum / n, groups[g].lonSum / n});
        }
}

namespace {
std::unordered_map<std::string_view, int> stationOrder(const Tables &t, const std::vector<Call> &calls) {
    std::unordered_map<std::string_view, int> order;
    for (std::size_t k = 0; k < calls.size(); ++k)
        order.emplace(t.shownName(calls[k].stop), int(k));
    return order;
}

const std::vector<Call> &callsOf(const Tables &t, int trip) {
    return t.slotCalls[std::size_t(t.trips[std::size_t(trip)].slot)];
}
} // namespace

int wayBack(const Tables &t, std::size_t route) {
    const Representatives &rep = t.representatives[route];
    if (rep.firstDirection >= 0 || rep.trip[1] < 0)
        return rep.trip[1];
    const auto order = stationOrder(t, callsOf(t, rep.trip[0]));
    if (runsBack(t, order, rep.trip[1]))
        return rep.trip[1];
    for (int trip : rep.patterns) // most common first
        if (runsBack(t, order, trip))
            return trip;
    return rep.trip[1];
}

int lineKind(const Tables &t, std::size_t route) {
    const Representatives &rep = t.representatives[route];
    const std::vector<Call> &calls = t.slotCalls[std::size_t(t.trips[std::size_t(rep.trip[0])].slot)];
    // A loop ends where it starts: the same name at the same place (a terminus of the same name in another
    // village is a one-way or both-ways line).
    const int first = calls.front().stop, last = calls.back().stop;
    if (calls.size() > 1 && t.shownName(first) == t.shownName(last) &&
        t.placeOf[std::size_t(first)] == t.placeOf[std::size_t(last)])
        return kLoop;
    if (rep.firstDirection >= 0) // the feed says the directions: a second one or none
        return rep.trip[1] >= 0 ? kBothWays : kOneWay;
    // Without direction_id: both ways only when some trip runs along the line the other way.
    const int back = wayBack(t, route);
    return back >= 0 && runsBack(t, stationOrder(t, calls), back) ? kBothWays : kOneWay;
}

std::string placeList(const Tables &t, int trip) {
    if (trip < 0)
        return {};
    std::string out;
    bool allFirst = true;
    for (const Call &c : t.slotCalls[std::size_t(t.trips[std::size_t(trip)].slot)]) {
        const int place = t.placeOf[std::size_t(c.stop)];
        allFirst = allFirst && place == 1;
        out += (out.empty() ? "" : ",") + std::to_string(place);
    }
    return allFirst ? std::string() : out;
}

} // namespace velmora::busdb::gtfs
