// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer plans on small networks whose answers are known by hand, the city index's cache, and busdb route.
#include "BusDb.h"
#include "TestDb.h"

#include "data/SQLiteDatabase.h"
#include "platform/Gbk.h"
#include "route/IndexCache.h"
#include "route/PlanTexts.h"
#include "route/Planner.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>
#include <tuple>

using namespace velmora;
using namespace velmora::route;
using velmora::test::G;

namespace {

// Lines as {name, sh, xh}, UTF-8.
TransferIndex network(const std::vector<std::array<const char *, 3>> &lines) {
    TransferIndex index;
    int id = 1;
    for (const auto &l : lines)
        index.addLine({std::to_string(id++), G(l[0]), G("首班 6:00"), G("票价 2元")}, G(l[1]), G(l[2]));
    index.finish();
    return index;
}

// Each plan as "lines|stations|remark", UTF-8.
std::vector<std::string> plans(const TransferIndex &index, const char *from, const char *to, int maxChanges = 2) {
    PlanOptions options;
    options.maxChanges = maxChanges;
    std::vector<std::string> out;
    for (const Plan &p : planTrips(index, G(from), G(to), options))
        out.push_back(gbkToUtf8(planLines(index, p) + "|" + planStations(index, p) + "|" + planRemark(p)));
    return out;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(Planner, RidesOnlyForwardAndABlankDownListRunsTheUpListBack) {
    auto index = network({{"1路", "A,B,C", "D,E"}, {"2路", "P,Q,R", " "}});
    EXPECT_EQ(plans(index, "A", "C"), Texts{"1路|A-->C|直达 共2站"});
    EXPECT_TRUE(plans(index, "C", "A").empty()); // the down list does not pass A and C
    EXPECT_EQ(plans(index, "E", "D"), Texts{});
    EXPECT_EQ(plans(index, "D", "E"), Texts{"1路|D-->E|直达 共1站"});
    EXPECT_EQ(plans(index, "R", "P"), Texts{"2路|R-->P|直达 共2站"});
}

TEST(Planner, LoopLinesRideForwardBetweenAnyOccurrences) {
    auto index = network({{"环1", "A,B,C,D,A", "Z,Y"}});
    EXPECT_EQ(plans(index, "D", "A"), Texts{"环1|D-->A|直达 共1站"});
    EXPECT_EQ(plans(index, "A", "C"), Texts{"环1|A-->C|直达 共2站"});
    EXPECT_TRUE(plans(index, "D", "B").empty());
}

TEST(Planner, TypedTextsMeanTheNamedStationElseEveryStationContainingThem) {
    auto index =
        network({{"1路", " 火车站东 ,学校", "x,y"}, {"2路", "火车站南,学校", "x,y"}, {"3路", "火车站,医院", "x,y"}});
    EXPECT_EQ(plans(index, "火车站", "医院"), Texts{"3路|火车站-->医院|直达 共1站"});
    EXPECT_EQ(plans(index, "火车站", "学校"), Texts{}); // 火车站 is a station: only it is meant
    EXPECT_EQ(plans(index, "站东", "学校"), Texts{"1路|火车站东-->学校|直达 共1站"});
    EXPECT_EQ(plans(index, " 火车站 ", "医院").size(), 1u); // blanks around the text do not count
    index = network({{"1路", "火车站东,学校", "x,y"}, {"2路", "火车站南,学校", "x,y"}});
    EXPECT_EQ(plans(index, "火车站", "学校"),
              (Texts{"1路|火车站东-->学校|直达 共1站", "2路|火车站南-->学校|直达 共1站"}));
    EXPECT_TRUE(plans(index, "火车_", "学校").empty()); // no wildcards
    EXPECT_TRUE(plans(index, "机场", "学校").empty());
    EXPECT_TRUE(plans(index, "学校", "学校").empty());
    EXPECT_TRUE(plans(index, "", "学校").empty());
}

TEST(Planner, ChangesAtStationsOfTheSameNameWithoutRidingALineTwice) {
    auto index = network({{"1路", "A,B,C,D", "x,y"}, {"2路", "B,X,C", "x,y"}, {"3路", "X,E", "x,y"}});
    EXPECT_EQ(plans(index, "A", "E"), Texts{"1路→2路→3路|A-->B-->X-->E|换乘2次 共3站"});
    EXPECT_EQ(plans(index, "A", "E", 1), Texts{});
    // 1路 A-->B, 2路 B-->C, 1路 C-->D would ride 1路 twice: only the direct plan.
    EXPECT_EQ(plans(index, "A", "D"), Texts{"1路|A-->D|直达 共3站"});
}

TEST(Planner, OrdersByChangesThenStopsThenNamesKeepingTheBestPerSequence) {
    auto index = network({{"9路", "A,M,N,B", "x,y"},
                          {"8路", "A,K,B", "x,y"},
                          {"2路", "A,C", "x,y"},
                          {"1路", "A,C", "x,y"},
                          {"5路", "C,B", "x,y"},
                          {"6路", "A,D,E,C2", "x,y"},
                          {"7路", "D,B", "x,y"}});
    EXPECT_EQ(plans(index, "A", "B"),
              (Texts{"8路|A-->B|直达 共2站", "9路|A-->B|直达 共3站", "1路→5路|A-->C-->B|换乘1次 共2站",
                     "2路→5路|A-->C-->B|换乘1次 共2站", "6路→7路|A-->D-->B|换乘1次 共2站"}));
}

TEST(Planner, KeepsAtMostFiftyPlans) {
    std::vector<std::array<const char *, 3>> lines;
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i)
        names.push_back("L" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (const auto &n : names)
        lines.push_back({n.c_str(), "A,B", "x,y"});
    auto index = network(lines);
    Texts got = plans(index, "A", "B");
    ASSERT_EQ(got.size(), 50u);
    EXPECT_EQ(got.front(), "L00|A-->B|直达 共1站");
    EXPECT_EQ(got.back(), "L49|A-->B|直达 共1站");
}

namespace {

// Plans reduced to (changes, stops, lines joined by "|"), ordered as the planner orders them.
using PlanKeys = std::vector<std::tuple<int, int, std::string>>;
// Per line, each ride (from, to) with its fewest stops.
using Rides = std::vector<std::map<std::pair<int, int>, int>>;

// A random network of `lineCount` lines over stations S0..S<stations-1> into `index`; returns each line's rides.
Rides randomNetwork(std::mt19937 &rng, TransferIndex &index, int stations, int lineCount) {
    Rides rides(static_cast<std::size_t>(lineCount));
    for (int l = 0; l < lineCount; ++l) {
        auto list = [&] {
            std::vector<int> r(2 + rng() % 5);
            for (int &st : r)
                st = int(rng() % stations);
            return r;
        };
        // The down list: its own stations, left blank, the up list reversed, or that less its last station.
        const int kind = int(rng() % 4);
        std::vector<int> up = list(), down = kind == 0 ? list() : std::vector<int>(up.rbegin(), up.rend());
        if (kind == 3 && down.size() > 2)
            down.pop_back();
        auto text = [](const std::vector<int> &r) {
            std::string t;
            for (int st : r)
                t += (t.empty() ? "S" : ",S") + std::to_string(st);
            return t;
        };
        index.addLine({"", "L" + std::to_string(l), "", ""}, text(up), kind == 1 ? " " : text(down));
        for (const auto &r : {up, down})
            for (std::size_t i = 0; i < r.size(); ++i)
                for (std::size_t j = i + 1; j < r.size(); ++j)
                    if (r[i] != r[j]) {
                        auto [it, added] = rides[std::size_t(l)].try_emplace({r[i], r[j]}, int(j - i));
                        it->second = std::min(it->second, int(j - i));
                    }
    }
    index.finish();
    return rides;
}

// Every sequence of up to three distinct lines from `o` to `d`, the best per sequence, the first `cap`.
PlanKeys exhaustivePlans(const Rides &rides, int o, int d, std::size_t cap) {
    const int lineCount = int(rides.size());
    PlanKeys expected;
    auto name = [](int l) { return "L" + std::to_string(l); };
    for (int a = 0; a < lineCount; ++a)
        for (const auto &[r1, s1] : rides[std::size_t(a)]) {
            if (r1.first != o || o == d)
                continue;
            if (r1.second == d)
                expected.emplace_back(0, s1, name(a));
        }
    std::map<std::string, std::tuple<int, int, std::string>> best;
    auto keep = [&](int changes, int stops, const std::string &lines) {
        auto [it, added] = best.try_emplace(lines, changes, stops, lines);
        if (std::get<1>(it->second) > stops)
            it->second = {changes, stops, lines};
    };
    for (int a = 0; a < lineCount && o != d; ++a)
        for (const auto &[r1, s1] : rides[std::size_t(a)])
            for (int b = 0; b < lineCount && r1.first == o && r1.second != d; ++b)
                for (const auto &[r2, s2] : rides[std::size_t(b)]) {
                    if (b == a || r2.first != r1.second)
                        continue;
                    if (r2.second == d)
                        keep(1, s1 + s2, name(a) + "|" + name(b));
                    else if (r2.second != o)
                        for (int c = 0; c < lineCount; ++c)
                            for (const auto &[r3, s3] : rides[std::size_t(c)])
                                if (c != a && c != b && r3.first == r2.second && r3.second == d)
                                    keep(2, s1 + s2 + s3, name(a) + "|" + name(b) + "|" + name(c));
                }
    for (const auto &entry : best)
        expected.push_back(entry.second);
    std::sort(expected.begin(), expected.end());
    expected.resize(std::min(expected.size(), cap));
    return expected;
}

PlanKeys plannedKeys(const TransferIndex &index, int o, int d, std::size_t cap) {
    PlanOptions options;
    options.maxPlans = cap;
    PlanKeys got;
    for (const Plan &p : planTrips(index, "S" + std::to_string(o), "S" + std::to_string(d), options)) {
        std::string lines;
        for (const Leg &leg : p.legs)
            lines += (lines.empty() ? "" : "|") + index.line(leg.line).name;
        got.emplace_back(p.changes(), p.stops, lines);
    }
    return got;
}

} // namespace

// Every sequence of up to three lines tried by brute force must give the same plans as the pruned search.
TEST(Planner, AgreesWithAnExhaustiveSearchOnRandomNetworks) {
    std::mt19937 rng(12);
    for (int round = 0; round < 200; ++round) {
        const int stations = 10, lineCount = 8;
        TransferIndex index;
        const Rides rides = randomNetwork(rng, index, stations, lineCount);
        const int o = int(rng() % stations), d = int(rng() % stations);
        const std::size_t cap = 1 + rng() % 12;
        ASSERT_EQ(plannedKeys(index, o, d, cap), exhaustivePlans(rides, o, d, cap)) << "round " << round;
    }
}

TEST(Planner, TheDetailsListEachRideAndWhereToChange) {
    auto index = network({{"1路", "A,B,C", "x,y"}, {"5路", "C,D", "x,y"}});
    auto found = planTrips(index, "A", "D");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(gbkToUtf8(planDetail(index, found[0])), "1路: A --> C，坐2站　　首班 6:00　　票价 2元\r\n"
                                                      "在 C 换乘\r\n"
                                                      "5路: C --> D，坐1站　　首班 6:00　　票价 2元\r\n"
                                                      "\r\n换乘1次 共3站");
}

TEST(PlanIndex, IsKeptUntilTheCityOrTheFileChanges) {
    velmora::test::TempWorkDir dir;
    velmora::test::makeBusDb("tolvi.dbf", {"INSERT INTO bus VALUES ('7','1','1路','','','','','A,B','')",
                                           "INSERT INTO bus VALUES ('8','2','2路','','','','','C,D','')"});
    IndexCache cache;
    auto first = cache.get("tolvi.dbf", dbKey, "1");
    ASSERT_EQ(first->lineCount(), 1);
    EXPECT_EQ(first->line(0).id, "7");
    EXPECT_EQ(cache.get("tolvi.dbf", dbKey, "1"), first);
    EXPECT_EQ(cache.get("tolvi.dbf", dbKey, "2")->line(0).name, G("2路"));
    auto again = cache.get("tolvi.dbf", dbKey, "1");
    EXPECT_NE(again, first);
    velmora::test::runSql("tolvi.dbf", {"INSERT INTO bus VALUES ('9','1','3路','','','','','B,E','')"});
    EXPECT_EQ(cache.get("tolvi.dbf", dbKey, "1")->lineCount(), 2);
    EXPECT_THROW(cache.get("missing.dbf", dbKey, "1"), Exception);
}

TEST(BusdbRoute, PrintsThePlansOfACityByNameOrId) {
    velmora::test::TempWorkDir dir;
    velmora::test::makeBusDb("t.dbf", {"INSERT INTO city VALUES ('5','海城','海省')",
                                       "INSERT INTO bus VALUES ('1','5','1路','','','','','甲,乙,丙','')",
                                       "INSERT INTO bus VALUES ('2','5','5路','','','','','丙,丁','')"});
    auto run = [](std::vector<const char *> args, std::string &out, std::string &err) {
        args.insert(args.begin(), {"busdb", "route", "t.dbf"});
        std::ostringstream o, e;
        int code = busdb::runCli(int(args.size()), args.data(), o, e);
        out = o.str();
        err = e.str();
        return code;
    };
    std::string out, err;
    EXPECT_EQ(run({"--city", "海城", "甲", "丁"}, out, err), 0);
    EXPECT_EQ(out, "1路→5路\t甲-->丙-->丁\t换乘1次 共3站\n");
    EXPECT_EQ(run({"--city", "5", "甲", "丁", "--max-changes", "0"}, out, err), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("no plan"), std::string::npos);
    EXPECT_EQ(run({"--city", "山城", "甲", "丁"}, out, err), 1);
    EXPECT_EQ(run({"--city", "5", "甲", "丁", "--max-changes", "3"}, out, err), 2);
    EXPECT_EQ(run({"--city", "5", "甲", "丁", "--max-changes", ""}, out, err), 2);
}
