// SPDX-License-Identifier: GPL-3.0-or-later
// Mapping a feed's routes to bus lines: which trips stand for a route's two directions, and the line's
// stations, service times and fare from them.
#include "GtfsFields.h"
#include "GtfsTables.h"

#include "text/Gbk.h"

#include <algorithm>
#include <map>

namespace velmora::busdb::gtfs {

namespace {

// The most stops wins; on a tie the trip first in trips.txt.
bool better(const Trip &a, int ai, const Trip &b, int bi) {
    return a.count != b.count ? a.count > b.count : ai < bi;
}

// Without direction_id: the most common stop sequence (on a tie the one met first), and as the way back the
// most common other one that starts at the station where it ends, else the next most common; -1 for none.
// `others` gets one trip of every remaining sequence.
int commonPatterns(const Tables &t, const std::vector<int> &used, int &back, std::vector<int> &others) {
    std::map<std::uint64_t, std::pair<int, int>> patterns; // fingerprint -> count, first trip
    for (int trip : used) {
        auto &p = patterns.emplace(t.trips[std::size_t(trip)].fingerprint, std::make_pair(0, trip)).first->second;
        ++p.first;
    }
    std::vector<std::pair<int, int>> ranked;
    for (const auto &p : patterns)
        ranked.push_back(p.second);
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    const int first = ranked[0].second;
    const std::string &end = t.shownName(t.trips[std::size_t(first)].lastStop);
    back = ranked.size() > 1 ? ranked[1].second : -1;
    for (std::size_t k = 1; k < ranked.size(); ++k) {
        if (t.shownName(t.trips[std::size_t(ranked[k].second)].firstStop) == end) {
            back = ranked[k].second;
            break;
        }
    }
    for (std::size_t k = 1; k < ranked.size(); ++k)
        if (ranked[k].second != back)
            others.push_back(ranked[k].second);
    return first;
}

// The representatives of a route from its trips that have stop times.
Representatives representativesOf(const Tables &t, const std::vector<int> &used) {
    bool directions = false;
    for (int trip : used)
        directions = directions || t.trips[std::size_t(trip)].direction >= 0;
    Representatives rep{{-1, -1}, -1, {}};
    if (!directions) {
        rep.trip[0] = commonPatterns(t, used, rep.trip[1], rep.patterns);
        return rep;
    }
    for (int trip : used) {
        int d = t.trips[std::size_t(trip)].direction;
        if (d >= 0 && (rep.trip[d] < 0 ||
                       better(t.trips[std::size_t(trip)], trip, t.trips[std::size_t(rep.trip[d])], rep.trip[d])))
            rep.trip[d] = trip;
    }
    rep.firstDirection = rep.trip[0] >= 0 ? 0 : 1;
    if (rep.trip[0] < 0)
        std::swap(rep.trip[0], rep.trip[1]);
    return rep;
}

std::string stations(const Tables &t, int trip) {
    std::string out;
    if (trip < 0)
        return out;
    for (const Call &call : t.slotCalls[std::size_t(t.trips[std::size_t(trip)].slot)])
        out += (out.empty() ? "" : ",") + t.shownName(call.stop);
    return out;
}

// Service times: departures from direction 0's first station over the direction's trips.
std::string serviceTimes(const Tables &t, const Route &route, const Representatives &rep, const std::string &origin) {
    static const std::string first = gbk("首班 "), last = gbk(" 末班 ");
    int earliest = INT_MAX, latest = -1;
    for (int i : route.trips) {
        const Trip &trip = t.trips[std::size_t(i)];
        if (trip.count == 0 || (rep.firstDirection >= 0 && trip.direction != rep.firstDirection) ||
            t.shownName(trip.firstStop) != origin)
            continue;
        int from = trip.frequencyFirst >= 0 ? trip.frequencyFirst : trip.firstDeparture;
        int to = trip.frequencyFirst >= 0 ? trip.frequencyLast : trip.firstDeparture;
        if (from >= 0) {
            earliest = std::min(earliest, from);
            latest = std::max(latest, to);
        }
    }
    return latest >= 0 ? first + clockText(earliest) + last + clockText(latest) : std::string();
}

// The fare, or the range of fares in the currency of the route's first fare.
std::string fareText(const Tables &t, const Route &route) {
    static const std::string fare = gbk("票价 "), yuan = gbk("元");
    if (route.fares.empty())
        return {};
    const std::string &currency = t.fares[std::size_t(route.fares.front())].currency;
    double low = t.fares[std::size_t(route.fares.front())].price, high = low;
    for (int f : route.fares) {
        if (t.fares[std::size_t(f)].currency != currency)
            continue;
        low = std::min(low, t.fares[std::size_t(f)].price);
        high = std::max(high, t.fares[std::size_t(f)].price);
    }
    std::string amount = priceText(low) + (high > low ? "-" + priceText(high) : "");
    return fare + amount + (currency == "CNY" ? yuan : " " + currency);
}

GtfsLine lineOf(const Tables &t, std::size_t ri) {
    const Route &route = t.routes[ri];
    const Representatives &rep = t.representatives[ri];
    GtfsLine line;
    line.id = route.id;
    line.lm = route.lm;
    line.bz = route.bz;
    line.sh = stations(t, rep.trip[0]);
    const int back = wayBack(t, ri);
    line.xh = stations(t, back);
    const auto &calls = t.slotCalls[std::size_t(t.trips[std::size_t(rep.trip[0])].slot)];
    const std::string &origin = t.shownName(calls.front().stop);
    line.start = origin + "-->" + t.shownName(calls.back().stop);
    line.sj = serviceTimes(t, route, rep, origin);
    line.pj = fareText(t, route);
    line.kind = lineKind(t, ri);
    line.op = route.op;
    line.shPlaces = placeList(t, rep.trip[0]);
    line.xhPlaces = placeList(t, back);
    return line;
}

} // namespace

void chooseRepresentatives(Tables &t, GtfsRead &result) {
    for (const Trip &trip : t.trips)
        result.tripsWithoutStopTimes += trip.count == 0;
    for (const Route &route : t.routes) {
        std::vector<int> used;
        for (int trip : route.trips)
            if (t.trips[std::size_t(trip)].count > 0)
                used.push_back(trip);
        if (used.empty()) {
            result.skipped.push_back("route " + route.utf8Id + ": no trips with stop times");
            t.representatives.push_back({{-1, -1}, -1, {}});
            continue;
        }
        Representatives rep = representativesOf(t, used);
        auto giveSlot = [&t](int r) {
            if (r >= 0 && t.trips[std::size_t(r)].slot < 0)
                t.trips[std::size_t(r)].slot = int(t.slotCalls.size()), t.slotCalls.emplace_back();
        };
        for (int r : rep.trip)
            giveSlot(r);
        for (int r : rep.patterns)
            giveSlot(r);
        t.representatives.push_back(rep);
    }
}

void appendLines(const Tables &t, std::vector<GtfsLine> &lines) {
    for (std::size_t ri = 0; ri < t.routes.size(); ++ri)
        if (t.representatives[ri].trip[0] >= 0)
            lines.push_back(lineOf(t, ri));
}

} // namespace velmora::busdb::gtfs
