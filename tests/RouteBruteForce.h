// Every plan between two stations by brute force, to check the planner against.
#pragma once

#include "route/Planner.h"

#include <algorithm>
#include <array>
#include <climits>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velmora::route::test {

struct Ride {
    int run, boardAt, alightAt;
};
using Rides = std::vector<Ride>;

// Every plan of up to `maxRides` rides from `at` keeping the planner's rules, tried one by one; `found` gets
// each plan reaching a station `to` flags, with its estimated time.
inline void everyPlan(const TransferIndex &index, int at, const std::vector<char> &to, int maxRides, Rides &plan,
                      std::vector<std::pair<Rides, int>> &found) {
    const auto &stops = index.stops();
    auto onPlan = [&](int station, int except) {
        for (const Ride &r : plan)
            for (int p = r.boardAt; p <= r.alightAt; ++p)
                if (stops[std::size_t(p)] == station && station != except)
                    return true;
        return false;
    };
    for (int run = 0; run < int(index.runs().size()); ++run) {
        const auto &r = index.runs()[std::size_t(run)];
        if (!plan.empty() && index.runs()[std::size_t(plan.back().run)].line == r.line)
            continue;
        for (int b = r.begin; b < r.boardEnd; ++b) {
            if (stops[std::size_t(b)] != at)
                continue;
            for (int a = b + 1; a < r.limit(b); ++a) {
                if (stops[std::size_t(a)] == at || onPlan(stops[std::size_t(a)], -1))
                    break;           // riding on only passes it again
                bool passed = false; // a station where the plan stood, passed before boarding here
                const int n = r.boardEnd - r.begin;
                for (const Ride &e : plan)
                    for (int s : {stops[std::size_t(e.boardAt)], stops[std::size_t(e.alightAt)]})
                        for (int q = r.begin; q < r.boardEnd && s != at; ++q)
                            if (stops[std::size_t(q)] == s)
                                passed |= r.loop ? (b - q + n) % n < (a - q + 2 * n) % n : q < b;
                if (passed)
                    continue;
                plan.push_back({run, b, a});
                if (to[std::size_t(stops[std::size_t(a)])]) {
                    int tenths = kChangeTenths * (int(plan.size()) - 1);
                    for (const Ride &e : plan)
                        tenths += kTenthsPerStop * (e.alightAt - e.boardAt);
                    found.emplace_back(plan, tenths);
                }
                if (int(plan.size()) < maxRides)
                    everyPlan(index, stops[std::size_t(a)], to, maxRides, plan, found);
                plan.pop_back();
            }
        }
    }
}

// Checks the planner's plans from `from` to `to` (at most `maxRides` rides) against every plan: the best
// time per number of rides that beats fewer rides is returned, and every returned plan keeps the rules,
// rides other stations than the rest, beats fewer rides and is within a tenth of the best with its rides.
inline void expectParetoPlans(const TransferIndex &index, const std::string &from, const std::string &to, int maxRides,
                              const std::string &what) {
    const auto o = index.matchStations(from), d = index.matchStations(to);
    std::vector<char> isTo(std::size_t(index.stationCount()), 0);
    for (int s : d)
        isTo[std::size_t(s)] = 1;
    Rides plan;
    std::vector<std::pair<Rides, int>> all;
    if (!o.empty() && !d.empty() && o != d)
        for (int s : o)
            everyPlan(index, s, isTo, maxRides, plan, all);
    std::array<int, 4> best{INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    for (const auto &[rides, tenths] : all)
        best[rides.size()] = std::min(best[rides.size()], tenths);
    PlanOptions options;
    options.maxPlans = 1000;
    options.maxChanges = maxRides - 1;
    const auto found = planTrips(index, from, to, options);
    std::set<std::vector<int>> ridden;
    auto same = [](const Ride &x, const Ride &y) {
        return x.run == y.run && x.boardAt == y.boardAt && x.alightAt == y.alightAt;
    };
    for (const Plan &p : found) {
        const std::size_t k = p.legs.size();
        Rides rides;
        std::vector<int> stations;
        for (const Leg &leg : p.legs) {
            rides.push_back({leg.run, leg.boardAt, leg.boardAt + leg.stops});
            stations.insert(stations.end(), index.stops().begin() + leg.boardAt,
                            index.stops().begin() + leg.boardAt + leg.stops + 1);
        }
        EXPECT_TRUE(ridden.insert(stations).second) << what;
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](const auto &e) {
            return e.second == p.tenths && std::equal(e.first.begin(), e.first.end(), rides.begin(), rides.end(), same);
        })) << what;
        EXPECT_LE(p.tenths * 10, best[k] * 11) << what;
        for (std::size_t j = 1; j < k; ++j)
            EXPECT_LT(p.tenths, best[j]) << what;
    }
    for (std::size_t k = 1, fewer = INT_MAX; k <= std::size_t(maxRides);
         fewer = std::min<std::size_t>(fewer, best[k]), ++k)
        if (std::size_t(best[k]) < fewer) {
            EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                                    [&](const Plan &p) { return p.legs.size() == k && p.tenths == best[k]; }))
                << what << " rides " << k;
        }
}

} // namespace velmora::route::test
