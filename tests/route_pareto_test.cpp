// The planner against a brute force over every plan of up to three rides, on random networks.
#include "platform/Gbk.h"
#include "route/Planner.h"

#include <algorithm>
#include <array>
#include <climits>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace velmora::route;

namespace {

// A random network over stations S0..S<stations-1> (fewer than ten, so no name contains another).
TransferIndex randomNetwork(std::mt19937 &rng, int stations, int lineCount) {
    TransferIndex index;
    for (int l = 0; l < lineCount; ++l) {
        auto text = [&] {
            std::string t;
            for (int k = 2 + int(rng() % 5); k > 0; --k)
                t += (t.empty() ? "S" : ",S") + std::to_string(rng() % stations);
            return t;
        };
        const std::string up = text(), down = rng() % 2 ? text() : "";
        index.addLine({"", "L" + std::to_string(l), "", ""}, up, down, LineKind(int(rng() % 4) - 1));
    }
    index.finish();
    return index;
}

struct Ride {
    int run, boardAt, alightAt;
};
using Rides = std::vector<Ride>;

// Every plan of up to three rides from `at` keeping the planner's rules, tried one by one; `found` gets each
// plan reaching `to` with its estimated time.
void everyPlan(const TransferIndex &index, int at, int to, Rides &plan, std::vector<std::pair<Rides, int>> &found) {
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
                if (stops[std::size_t(a)] == to) {
                    int tenths = kChangeTenths * (int(plan.size()) - 1);
                    for (const Ride &e : plan)
                        tenths += kTenthsPerStop * (e.alightAt - e.boardAt);
                    found.emplace_back(plan, tenths);
                }
                if (plan.size() < 3)
                    everyPlan(index, stops[std::size_t(a)], to, plan, found);
                plan.pop_back();
            }
        }
    }
}

} // namespace

// Against every plan of up to three rides: the best time per number of changes that beats fewer changes is
// returned, and every returned plan keeps the rules, beats fewer changes and is within a tenth of its best.
TEST(Planner, AgreesWithAnExhaustiveSearchOnRandomNetworks) {
    std::mt19937 rng(12);
    for (int round = 0; round < 3000; ++round) {
        const int stations = 9;
        const TransferIndex index = randomNetwork(rng, stations, 4 + round % 10);
        const std::string from = "S" + std::to_string(rng() % stations), to = "S" + std::to_string(rng() % stations);
        const auto o = index.matchStations(from), d = index.matchStations(to);
        Rides plan;
        std::vector<std::pair<Rides, int>> all;
        if (o.size() == 1 && d.size() == 1 && o != d)
            everyPlan(index, o[0], d[0], plan, all);
        std::array<int, 4> best{INT_MAX, INT_MAX, INT_MAX, INT_MAX};
        for (const auto &[rides, tenths] : all)
            best[rides.size()] = std::min(best[rides.size()], tenths);
        PlanOptions options;
        options.maxPlans = 1000;
        const auto found = planTrips(index, from, to, options);
        std::set<std::vector<int>> ridden;
        for (const Plan &p : found) {
            const std::size_t k = p.legs.size();
            Rides rides;
            std::vector<int> stations;
            for (const Leg &leg : p.legs) {
                rides.push_back({leg.run, leg.boardAt, leg.boardAt + leg.stops});
                stations.insert(stations.end(), index.stops().begin() + leg.boardAt,
                                index.stops().begin() + leg.boardAt + leg.stops + 1);
            }
            EXPECT_TRUE(ridden.insert(stations).second) << "round " << round;
            EXPECT_TRUE(std::any_of(all.begin(), all.end(),
                                    [&](const auto &e) {
                                        return e.second == p.tenths &&
                                               std::equal(e.first.begin(), e.first.end(), rides.begin(), rides.end(),
                                                          [](const Ride &x, const Ride &y) {
                                                              return x.run == y.run && x.boardAt == y.boardAt &&
                                                                     x.alightAt == y.alightAt;
                                                          });
                                    }))
                << "round " << round;
            EXPECT_LE(p.tenths * 10, best[k] * 11) << "round " << round;
            for (std::size_t j = 1; j < k; ++j)
                EXPECT_LT(p.tenths, best[j]) << "round " << round;
        }
        for (std::size_t k = 1, fewer = INT_MAX; k <= 3; fewer = std::min<std::size_t>(fewer, best[k]), ++k)
            if (std::size_t(best[k]) < fewer) {
                EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                                        [&](const Plan &p) { return p.legs.size() == k && p.tenths == best[k]; }))
                    << "round " << round << " rides " << k;
            }
    }
}
