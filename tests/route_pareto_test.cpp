// SPDX-License-Identifier: GPL-3.0-or-later
// The planner against a brute force over every plan of up to three rides, on random networks.
#include "BusDb.h"
#include "Gtfs.h"
#include "RouteBruteForce.h"
#include "TestDb.h"
#include "TestPaths.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "route/Planner.h"
#include "text/Gbk.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sstream>

using namespace velmora::route;
using namespace velmora::route::test;

namespace {

// A random network over stations S0..S<stations-1> (fewer than ten, so no name contains another); with
// `places`, the stations lie at random within about 800 m, so some are a walk apart.
TransferIndex randomNetwork(std::mt19937 &rng, int stations, int lineCount, bool places) {
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
    for (int s = 0; s < stations && places; ++s)
        index.addPlace("S" + std::to_string(s), 1, 30 + double(rng() % 800) / 111320,
                       120 + double(rng() % 800) / 96400);
    index.finish();
    return index;
}

} // namespace

// Against every plan of up to three rides, half the networks with walks between near stations.
TEST(Planner, AgreesWithAnExhaustiveSearchOnRandomNetworks) {
    std::mt19937 rng(12);
    int missing = 0;
    for (int round = 0; round < 3000; ++round) {
        const int stations = 9;
        const TransferIndex index = randomNetwork(rng, stations, 4 + round % 10, round % 2);
        const std::string from = "S" + std::to_string(rng() % stations), to = "S" + std::to_string(rng() % stations);
        missing += expectParetoPlans(index, from, to, 3, "round " + std::to_string(round));
    }
    // Over several seeds about one round in a thousand misses a best; far more means the search broke.
    EXPECT_LE(missing, 6) << missing << " bests missing in 3,000 rounds";
    std::printf("bests missing: %d in 3,000 rounds\n", missing);
}

namespace {

// Whether `stations` ride forward along a comma-separated list (round it, for a loop).
bool rideAlong(const std::vector<std::string> &list, const std::vector<std::string> &stations, bool loop) {
    const std::size_t n = list.size();
    for (std::size_t start = 0; start < n; ++start) {
        std::size_t k = 0;
        while (k < stations.size() && (loop || start + k < n) && list[(start + k) % n] == stations[k])
            ++k;
        if (k == stations.size())
            return true;
    }
    return false;
}

std::vector<std::string> names(const std::string &list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ',');)
        out.push_back(name);
    return out;
}

} // namespace

// A real network with loops: plans on sampled pairs ride every line along its lists, and agree with every plan
// of up to two rides.
TEST(PlannerOnARealNetwork, RidesLinesForwardAndKeepsTheBestPlansOnYamanashi) {
    const std::string feed = std::string(velmora::test::kSourceDir) + "/../shared/data/gtfs/yamanashi.zip";
    if (!std::filesystem::exists(feed))
        GTEST_SKIP() << "no " << feed << ": the real-network check is skipped";
    velmora::test::TempWorkDir dir;
    velmora::busdb::createDatabase("y.dbf");
    velmora::busdb::importGtfs("y.dbf", feed, {"Yamanashi", "Kofu", ""}, true);
    velmora::TSQLiteDatabase db("y.dbf", velmora::dbKey);
    const std::string city = db.QueryTable("SELECT id FROM city")->ColumnText(0);
    const auto index = TransferIndex::fromDatabase(db, city);
    // By line id: sh, xh and the stored kind ("" when the database has none for the line).
    std::map<std::string, std::array<std::string, 3>> lists;
    const bool kinds = db.QueryTable("SELECT 1 FROM sqlite_master WHERE name='busmeta'")->RowCount() > 0;
    for (auto rows = db.QueryTable(kinds ? "SELECT bus.id, sh, xh, busmeta.kind FROM bus LEFT JOIN busmeta ON "
                                           "busmeta.id = bus.id"
                                         : "SELECT id, sh, xh, '' FROM bus");
         !rows->AtEnd(); rows->MoveNext())
        lists[rows->ColumnText(0)] = {rows->ColumnText(1), rows->ColumnText(2), rows->ColumnText(3)};
    int loops = 0;
    for (const auto &run : index->runs())
        loops += run.loop;
    EXPECT_GT(loops, 0);
    std::mt19937 rng(5);
    int planned = 0;
    for (int pair = 0; pair < 60; ++pair) {
        const std::string from = index->stationName(int(rng() % unsigned(index->stationCount())));
        const std::string to = index->stationName(int(rng() % unsigned(index->stationCount())));
        EXPECT_EQ(expectParetoPlans(*index, from, to, 2, velmora::gbkToUtf8(from + " -> " + to)), 0);
        const auto plans = planTrips(*index, from, to);
        planned += !plans.empty();
        for (const Plan &p : plans)
            for (const Leg &leg : p.legs) {
                const auto &[sh, xh, kind] = lists[index->line(leg.line).id];
                std::vector<std::string> rode, up = names(sh), back(up.rbegin(), up.rend());
                for (int at = leg.boardAt; at <= leg.boardAt + leg.stops; ++at)
                    rode.push_back(index->stationName(index->stops()[std::size_t(at)]));
                // As stored: one way along sh, a loop round sh, both ways along sh and xh (sh back if blank).
                const bool loop = kind == "2" || (kind.empty() && up.size() > 2 && up.front() == up.back());
                if (loop && up.size() > 1 && up.front() == up.back())
                    up.pop_back();
                EXPECT_TRUE(rideAlong(up, rode, loop) ||
                            (!loop && kind != "1" && rideAlong(xh.empty() ? back : names(xh), rode, false)))
                    << velmora::gbkToUtf8(index->line(leg.line).name);
            }
    }
    EXPECT_GT(planned, 20); // most sampled pairs are joined within three rides
}
