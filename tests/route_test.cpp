// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer plans on small networks whose answers are known by hand, the city index's cache, and busdb route.
#include "BusDb.h"
#include "TestDb.h"
#include "TestPaths.h"

#include "data/SQLiteDatabase.h"
#include "route/IndexCache.h"
#include "route/PlanTexts.h"
#include "route/Planner.h"
#include "route/Service.h"
#include "text/Gbk.h"

#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

using namespace velmora;
using namespace velmora::route;
using velmora::test::G;

namespace {

// Lines as {name, sh, xh}, UTF-8; `kinds` per line where given.
TransferIndex network(const std::vector<std::array<const char *, 3>> &lines, std::vector<LineKind> kinds = {}) {
    TransferIndex index;
    int id = 1;
    kinds.resize(lines.size(), LineKind::Unknown);
    for (const auto &l : lines)
        index.addLine({std::to_string(id), G(l[0]), G("首班 6:00"), G("票价 2元")}, G(l[1]), G(l[2]),
                      kinds[std::size_t(id++ - 1)]);
    index.finish();
    return index;
}

// Each plan as "lines|stations|remark", UTF-8.
std::vector<std::string> plans(const TransferIndex &index, const char *from, const char *to, int maxChanges = 2,
                               int atMinute = -1) {
    PlanOptions options;
    options.maxChanges = maxChanges;
    options.atMinute = atMinute;
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

TEST(Planner, LoopLinesRideForwardRoundTheLoopAndOneWayLinesOnlyAlongTheUpList) {
    auto index = network({{"环1", "A,B,C,D,A", "Z,Y"}}); // starts and ends at A: a loop, its down list unused
    EXPECT_EQ(plans(index, "D", "A"), Texts{"环1|D-->A|直达 共1站"});
    EXPECT_EQ(plans(index, "A", "C"), Texts{"环1|A-->C|直达 共2站"});
    EXPECT_EQ(plans(index, "D", "B"), Texts{"环1|D-->B|直达 共2站"});
    EXPECT_EQ(plans(index, "C", "B"), Texts{"环1|C-->B|直达 共3站"}); // never backwards
    EXPECT_TRUE(plans(index, "Z", "Y").empty());
    index = network({{"环2", "A,B,C", ""}, {"单1", "P,Q,R", ""}, {"单2", "P,Q,R", "R,S,P"}},
                    {LineKind::Loop, LineKind::OneWay, LineKind::BothWays});
    EXPECT_EQ(plans(index, "C", "A"), Texts{"环2|C-->A|直达 共1站"});
    EXPECT_EQ(plans(index, "B", "A"), Texts{"环2|B-->A|直达 共2站"});
    EXPECT_EQ(plans(index, "R", "P"), Texts{"单2|R-->P|直达 共2站"}); // 单1 has no way back
    EXPECT_EQ(plans(index, "Q", "R"), Texts{"单1/单2|Q-->R|直达 共1站"});
}

TEST(Planner, TypedTextsMeanEveryStationContainingThem) {
    auto index =
        network({{"1路", " 火车站东 ,学校", "x,y"}, {"2路", "火车站南,学校", "x,y"}, {"3路", "火车站,医院", "x,y"}});
    EXPECT_EQ(plans(index, "火车站", "医院"), Texts{"3路|火车站-->医院|直达 共1站"});
    // 火车站 is a station, and so are the stations containing it.
    EXPECT_EQ(plans(index, "火车站", "学校"),
              (Texts{"1路|火车站东-->学校|直达 共1站", "2路|火车站南-->学校|直达 共1站"}));
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

TEST(Planner, KeepsOnlyPlansNoOtherBeatsOrderedByMinutesWithAlternativesWithinATenth) {
    // 长 rides 20 stops (50 min); 短 then 接 ride 10 and 1 (32.5 min with the change); 慢 then 接 is worse;
    // 近 then 接2 (35 min) is within a tenth of that on other stations.
    auto stations = [](const char *from, const char *prefix, int between, const char *to) {
        std::string list = from;
        for (int k = 1; k <= between; ++k)
            list += std::string(",") + prefix + std::to_string(k);
        return list + "," + to;
    };
    const std::string longer = stations("A", "L", 19, "B"), shorter = stations("A", "C", 9, "C"),
                      slower = stations("A", "M", 12, "C"), near = stations("A", "E", 10, "F");
    auto index = network({{"长", longer.c_str(), "x,y"},
                          {"短", shorter.c_str(), "x,y"},
                          {"接", "C,B", "x,y"},
                          {"慢", slower.c_str(), "x,y"},
                          {"近", near.c_str(), "x,y"},
                          {"接2", "F,B", "x,y"}});
    EXPECT_EQ(plans(index, "A", "B"),
              (Texts{"短→接|A-->C-->B|换乘1次 共11站", "近→接2|A-->F-->B|换乘1次 共12站", "长|A-->B|直达 共20站"}));
    // The direct ride stays even when the cap leaves room for one plan.
    PlanOptions one;
    one.maxPlans = 1;
    auto found = planTrips(index, G("A"), G("B"), one);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].legs.size(), 1u);
}

TEST(Planner, NeverRidesAwayAndBackNorChangesToALineThatPassedEarlier) {
    // 甲 to Y then 乙 back would pass X twice; 丙 passes A before X, so changing to it at X is no plan.
    auto index = network({{"甲", "A,X,Y", "x,y"}, {"乙", "Y,X,D", "x,y"}, {"丙", "A,Q,R,S,T,U,V,X,E", "x,y"}},
                         {LineKind::OneWay, LineKind::OneWay, LineKind::OneWay});
    EXPECT_EQ(plans(index, "A", "D"), Texts{"甲→乙|A-->X-->D|换乘1次 共2站"});
    EXPECT_EQ(plans(index, "A", "E"), Texts{"丙|A-->E|直达 共8站"});
}

TEST(Planner, OverlappingTextsStillFindTheirPlans) {
    auto index = network({{"X线", "甲站,乙站,换乘点", "x,y"}, {"Y线", "换乘点,丁站", "x,y"}});
    EXPECT_EQ(plans(index, "站", "丁站"), Texts{"X线→Y线|乙站-->换乘点-->丁站|换乘1次 共2站"});
    EXPECT_EQ(plans(index, "乙站", "站"), Texts{"X线→Y线|乙站-->换乘点-->丁站|换乘1次 共2站"});
}

TEST(Planner, ParallelLinesFormOneRowWithEachInTheDetails) {
    std::vector<std::array<const char *, 3>> lines;
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i)
        names.push_back("L" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    for (const auto &n : names)
        lines.push_back({n.c_str(), "A,B", "x,y"});
    lines.push_back({"M", "A,Z,B", "x,y"}); // other stations: not parallel
    auto index = network(lines);
    auto found = planTrips(index, "A", "B");
    ASSERT_EQ(found.size(), 1u);
    const std::string row = planLines(index, found[0]), detail = gbkToUtf8(planDetail(index, found[0]));
    EXPECT_EQ(row.substr(0, 12), "L00/L01/L02/");
    EXPECT_EQ(row.size(), 60 * 4 - 1u);
    EXPECT_NE(detail.find("或 L59: A --> B"), std::string::npos);
    EXPECT_EQ(detail.find("M:"), std::string::npos);
}

TEST(Planner, WalksBetweenNearStationsButKeepsFarOnesOfOneNameApart) {
    TransferIndex index;
    index.addLine({"1", G("1路"), "", ""}, G("A,东站,B"), "", LineKind::OneWay);
    index.addLine({"2", G("2路"), "", ""}, G("西站,C"), "", LineKind::OneWay);
    index.addLine({"3", G("3路"), "", ""}, G("B,村口"), "", LineKind::OneWay, "1,1");
    index.addLine({"4", G("4路"), "", ""}, G("村口,D"), "", LineKind::OneWay, "2,1"); // the other 村口
    index.addPlace(G("东站"), 1, 30.0, 120.0);
    index.addPlace(G("西站"), 1, 30.0, 120.002); // about 190 m east
    index.addPlace(G("村口"), 1, 30.1, 120.0);
    index.addPlace(G("村口"), 2, 30.2, 120.0);
    index.finish();
    auto found = planTrips(index, G("A"), G("C"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(gbkToUtf8(planStations(index, found[0])), "A-->东站-->西站-->C");
    EXPECT_EQ(gbkToUtf8(planRemark(found[0])), "换乘1次 共2站 步行约4分钟");
    EXPECT_NE(gbkToUtf8(planDetail(index, found[0])).find("从 东站 到 西站 步行约4分钟 换乘"), std::string::npos);
    EXPECT_TRUE(planTrips(index, G("A"), G("D")).empty());
    EXPECT_EQ(index.matchStations(G("村口")).size(), 2u);
}

// Walking P to Q beats riding on to Q, but only the ride may walk on: Q to R is the one walk to line 2.
TEST(Planner, WalksOnFromARideEvenWhenAWalkReachedItsEndSooner) {
    TransferIndex index;
    index.addLine({"1", G("1路"), "", ""}, "A,P,Q", "", LineKind::OneWay);
    index.addLine({"2", G("2路"), "", ""}, "R,D", "", LineKind::OneWay);
    index.addPlace("P", 1, 30.0, 120.0);
    index.addPlace("Q", 1, 30.0, 120.001);  // about 100 m east of P
    index.addPlace("R", 1, 30.0, 120.0047); // about 360 m east of Q, too far from P
    index.finish();
    const auto found = planTrips(index, "A", "D");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(planStations(index, found[0]), "A-->Q-->R-->D");
    EXPECT_EQ(found[0].stops, 3);
    EXPECT_GT(found[0].walkTenths, 0);
}

TEST(Planner, MatchesTraditionalAndSimplifiedAndPinyinExactNamesFirst) {
    auto index = network({{"1路", "黃大仙站,銅鑼灣,黃大仙", "x,y"}, {"2路", "解放广场,中山路", "x,y"}});
    auto names = [&index](const char *text) {
        std::string out;
        for (int s : index.matchStations(G(text)))
            out += gbkToUtf8(index.stationName(s)) + ",";
        return out;
    };
    EXPECT_EQ(names("黃大仙"), "黃大仙,黃大仙站,");
    EXPECT_EQ(names("黄大仙"), "黃大仙,黃大仙站,");
    EXPECT_EQ(names("铜锣湾"), "銅鑼灣,");
    EXPECT_EQ(names("jfgc"), "解放广场,");
    EXPECT_EQ(names("JieFangGuangChang"), "解放广场,");
    EXPECT_EQ(names("zsl"), "中山路,");
    EXPECT_EQ(names("xyz"), "");
}

TEST(Planner, MarksPlansOutOfServiceAndRanksThemLast) {
    TransferIndex index;
    index.addLine({"1", G("早"), G("首班 5:00 末班 9:00"), ""}, G("A,B"), "", LineKind::OneWay);
    index.addLine({"2", G("晚"), G("首班 6:30 末班 23:30"), ""}, G("A,X,Y,B"), "", LineKind::OneWay);
    index.addLine({"3", G("夜"), G("首班 22:00 末班 1:30"), ""}, G("A,P,Q,R,S,B"), "", LineKind::OneWay);
    index.finish();
    PlanOptions at;
    at.maxPlans = 10;
    auto remarks = [&](int minute) {
        at.atMinute = minute;
        std::string out;
        for (const Plan &p : planTrips(index, G("A"), G("B"), at))
            out += gbkToUtf8(planLines(index, p) + " " + planRemark(p)) + ";";
        return out;
    };
    EXPECT_EQ(remarks(8 * 60), "早 直达 共1站;"); // the others are slower by more than a tenth
    EXPECT_EQ(remarks(23 * 60), "晚 直达 共3站;早 直达 共1站 末班已过;");
    // Out of service, 晚 is no nearer the fastest ride than a tenth: only the running 夜 and the fastest, 早.
    EXPECT_EQ(remarks(30), "夜 直达 共5站;早 直达 共1站 未到首班;");
    int first = 0, last = 0;
    EXPECT_TRUE(serviceHours(G("首班 22:00 末班 1:30"), first, last));
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(22 * 60, 90));
    EXPECT_FALSE(serviceHours(G("全天"), first, last));
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
    velmora::test::runSql("t.dbf", {"UPDATE bus SET sj='首班 6:00 末班 20:00' WHERE id='2'"});
    EXPECT_EQ(run({"--city", "5", "甲", "丁", "--at", "21:15"}, out, err), 0);
    EXPECT_EQ(out, "1路→5路\t甲-->丙-->丁\t换乘1次 共3站 末班已过\n");
    EXPECT_EQ(run({"--city", "5", "甲", "丁", "--at", "7:5"}, out, err), 2);
}

TEST(BusdbRoute, OnTheDemoOverlappingTextsFindTheBestPlanAndRowsStayFew) {
    velmora::test::TempWorkDir dir;
    busdb::buildFromCsv("demo.dbf", std::string(velmora::test::kSourceDir) + "/data/demo");
    auto rows = [](const char *city, const char *from, const char *to) {
        std::vector<const char *> args{"busdb", "route", "demo.dbf", "--city", city, from, to};
        std::ostringstream o, e;
        busdb::runCli(int(args.size()), args.data(), o, e);
        Texts lines;
        std::istringstream in(o.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    };
    // 旅游2线 runs 体育中心, 新华书店, 会展中心: riding it from 体育中心 beats changing onto it at 新华书店.
    EXPECT_EQ(rows("海口", "体育中心", "心"), Texts{"旅游2线\t体育中心-->会展中心\t直达 共2站"});
    const Texts beijing = rows("北京", "育才小学", "解放广场");
    EXPECT_GE(beijing.size(), 1u);
    EXPECT_LE(beijing.size(), 10u);
}

TEST(PlanIndex, ReadsLineKindsAndPlacesFromTheirTablesWhenPresent) {
    velmora::test::TempWorkDir dir;
    velmora::test::makeBusDb("k.dbf", {"INSERT INTO bus VALUES ('1','1','单','','','','','A,B,C','')",
                                       "INSERT INTO bus VALUES ('2','1','环','','','','','P,Q,R','')",
                                       "INSERT INTO bus VALUES ('3','1','远','','','','','村,Y','')"});
    auto plansIn = [](const char *from, const char *to) {
        TSQLiteDatabase db("k.dbf", dbKey);
        auto index = TransferIndex::fromDatabase(db, "1");
        Texts out;
        for (const Plan &p : planTrips(*index, G(from), G(to)))
            out.push_back(gbkToUtf8(planLines(*index, p) + "|" + planStations(*index, p)));
        return out;
    };
    EXPECT_EQ(plansIn("C", "A"), Texts{"单|C-->A"}); // no tables: both ways
    velmora::test::runSql(
        "k.dbf",
        {"CREATE TABLE busmeta (id TEXT PRIMARY KEY, kind INTEGER NOT NULL DEFAULT 0, operator TEXT NOT NULL "
         "DEFAULT '', shplace TEXT NOT NULL DEFAULT '', xhplace TEXT NOT NULL DEFAULT '')",
         "CREATE TABLE place (cid TEXT NOT NULL, name TEXT NOT NULL, place INTEGER NOT NULL, lat REAL NOT NULL, "
         "lon REAL NOT NULL, PRIMARY KEY (cid, name, place))",
         "INSERT INTO busmeta VALUES ('1', 1, '', '', '')", "INSERT INTO busmeta VALUES ('2', 2, '', '', '')",
         "INSERT INTO busmeta VALUES ('3', 0, '', '2,1', '')", "INSERT INTO place VALUES ('1','C',1,30,120)",
         "INSERT INTO place VALUES ('1','P',1,30,120.001)"});
    EXPECT_EQ(plansIn("C", "A"), Texts{});
    EXPECT_EQ(plansIn("R", "Q"), Texts{"环|R-->Q"});
    EXPECT_EQ(plansIn("B", "Q"), Texts{"单→环|B-->C-->P-->Q"}); // about 100 m on foot
    TSQLiteDatabase db("k.dbf", dbKey);
    auto index = TransferIndex::fromDatabase(db, "1");
    EXPECT_EQ(index->matchStations(G("村")).size(), 1u); // 远 stops at the second 村, the only one on a line
    EXPECT_EQ(planTrips(*index, G("Y"), G("村")).size(), 1u);
}
