// SPDX-License-Identifier: GPL-3.0-or-later
// GTFS import: the reference sample feed, one small feed per mapping rule and per bad-feed case, zip feeds,
// the city's lines replaced in one transaction, and re-import giving the same database.
#include "GtfsFixture.h"
#include "TestPaths.h"

#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "text/Gbk.h"

#include <QDir>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <zip.h>

using namespace velmora;
using namespace velmora::busdb;
using velmora::test::G;
using velmora::test::TempWorkDir;
using namespace velmora::test;

namespace {

std::string sampleFeed() {
    return std::string(velmora::test::kSourceDir) + "/../shared/gtfs/sample-feed-1";
}

bool exists(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

TEST_F(Gtfs, SampleFeedReadsBackThroughTheProgramsQueries) {
    if (!exists(sampleFeed()))
        GTEST_SKIP() << "no sample feed beside the repository";
    GtfsImport r = importGtfs(file, sampleFeed(), target, false);
    EXPECT_EQ(r.feed.routes, 5);
    EXPECT_EQ(r.feed.stops, 9);
    EXPECT_EQ(r.feed.trips, 11);
    EXPECT_EQ(r.feed.stopTimes, 28);
    EXPECT_EQ(r.cityId, "1");
    EXPECT_TRUE(r.newProvince && r.newCity && r.storedCitySet);

    auto lines = linesOf(file, "1");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines["CITY"]["lm"], "40");
    EXPECT_EQ(lines["CITY"]["sh"], "Stagecoach Hotel & Casino (Demo),North Ave / N A Ave (Demo),North Ave / D Ave N "
                                   "(Demo),Doing Ave / D Ave N (Demo),E Main St / S Irving St (Demo)");
    EXPECT_EQ(lines["CITY"]["xh"], "E Main St / S Irving St (Demo),Doing Ave / D Ave N (Demo),North Ave / D Ave N "
                                   "(Demo),North Ave / N A Ave (Demo),Stagecoach Hotel & Casino (Demo)");
    EXPECT_EQ(lines["CITY"]["start"], "Stagecoach Hotel & Casino (Demo)-->E Main St / S Irving St (Demo)");
    // Frequencies: every 30 minutes until before 22:00.
    EXPECT_EQ(lines["CITY"]["sj"], "首班 06:00 末班 21:30");
    EXPECT_EQ(lines["CITY"]["pj"], "");
    EXPECT_EQ(lines["AB"]["pj"], "票价 1.25 USD");
    EXPECT_EQ(lines["AAMV"]["pj"], "票价 5.25 USD");
    EXPECT_EQ(lines["AAMV"]["sj"], "首班 08:00 末班 13:00");
    EXPECT_EQ(lines["AB"]["bz"], "Demo Transit Authority");
    // No direction_id and one stop sequence: no second direction.
    EXPECT_EQ(lines["STBA"]["xh"], "");
    EXPECT_EQ(lines["STBA"]["sj"], "首班 06:00 末班 21:30");

    TSQLiteDatabase db(file, dbKey);
    auto t = db.QueryTable(sql::selectLinesByStation("1", "Bullfrog"));
    std::set<std::string> found;
    for (; !t->AtEnd(); t->MoveNext())
        found.insert(t->ColumnText(t->ColumnIndex("id")));
    EXPECT_EQ(found, (std::set<std::string>{"AB", "BFC"}));
    EXPECT_EQ(db.QueryTable(sql::selectLinesByStations("1", "Doing Ave", "Stagecoach"))->RowCount(), 1);
}

// The ids of a city's lines in the order the program's default query returns them.
std::vector<std::string> engineOrder(const std::string &file, const std::string &cid) {
    TSQLiteDatabase db(file, dbKey);
    std::vector<std::string> ids;
    for (auto t = db.QueryTable(sql::selectAllLines(cid)); !t->AtEnd(); t->MoveNext())
        ids.push_back(t->ColumnText(t->ColumnIndex("id")));
    return ids;
}

TEST_F(Gtfs, ReimportAndZipGiveTheSameDatabase) {
    if (!exists(sampleFeed()))
        GTEST_SKIP() << "no sample feed beside the repository";
    // Another city's lines must survive.
    test::runSql(file, {"INSERT INTO sheng VALUES ('江苏')", "INSERT INTO city VALUES ('5', '苏州', '江苏')",
                        "INSERT INTO bus (id, cid, lm, sh) VALUES ('9', '5', '9路', 'a,b')"});
    GtfsImport first = importGtfs(file, sampleFeed(), target, false);
    EXPECT_EQ(first.cityId, "6"); // the next free id
    EXPECT_FALSE(first.newProvince);
    const std::string once = dump(file);
    const std::vector<std::string> order = engineOrder(file, "6");

    GtfsImport again = importGtfs(file, sampleFeed(), target, false);
    EXPECT_EQ(again.linesRemoved, 5);
    EXPECT_EQ(again.cityId, "6");
    EXPECT_FALSE(again.newCity || again.newProvince || again.storedCitySet);
    EXPECT_EQ(dump(file), once);
    EXPECT_EQ(engineOrder(file, "6"), order);

    std::string zip = dir.path("sample.zip");
    writeZip(zip, readFolder(sampleFeed()));
    importGtfs(file, zip, target, false);
    EXPECT_EQ(dump(file), once);
    EXPECT_EQ(engineOrder(file, "5"), std::vector<std::string>{"9"});
}

TEST_F(Gtfs, MapsRoutesToLines) {
    Files f = baseFeed();
    // Rows out of order, sequence numbers with gaps; a longer trip of direction 0 wins, a tie keeps the first.
    f["trips.txt"] = "route_id,service_id,trip_id,direction_id\nR1,S,T1,0\nR1,S,T2,1\nR2,S,T3,\n"
                     "R1,S,T4,0\nR1,S,T5,1\nR1,S,T6,0\n";
    f["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                          "T1,6:20:00,6:20:00,S4,30\nT1,6:00:00,6:00:00,S1,5\nT1,6:10:00,6:10:00,S2,17\n"
                          "T4,5:40:00,5:45:00,S1,1\nT4,,,S3,2\nT4,6:00:00,6:00:00,S2,3\nT4,6:30:00,,S4,4\n"
                          "T2,7:00:00,7:00:00,S4,1\nT2,7:20:00,7:20:00,S1,3\n"
                          "T5,7:00:00,7:00:00,S2,1\nT5,7:20:00,7:20:00,S1,3\n"
                          "T6,25:10:00,25:10:00,S1,1\nT6,25:20:00,25:20:00,S4,2\n"
                          "T3,8:00:00,8:00:00,S2,1\nT3,8:10:00,8:10:00,S3,2\n";
    GtfsImport r = run(f);
    EXPECT_EQ(r.feed.lines.size(), 2u);
    auto lines = linesOf(file, r.cityId);
    EXPECT_EQ(lines["R1"]["lm"], "1路");
    EXPECT_EQ(lines["R1"]["sh"], "火车站,体育中心,人民广场,动物园");
    EXPECT_EQ(lines["R1"]["xh"], "动物园,火车站");
    EXPECT_EQ(lines["R1"]["start"], "火车站-->动物园");
    // Departures from direction 0's first station: 5:45, 6:00 and 25:10 (shown as the next day's 01:10).
    EXPECT_EQ(lines["R1"]["sj"], "首班 05:45 末班 01:10");
    EXPECT_EQ(lines["R1"]["bz"], "城市公交");
    EXPECT_EQ(lines["R1"]["pj"], "");
    EXPECT_EQ(lines["R2"]["lm"], "环城快线"); // no short name: the long one, nothing added
    EXPECT_EQ(lines["R2"]["bz"], "空调车");
    EXPECT_EQ(lines["R2"]["sh"], "人民广场,体育中心");
}

TEST_F(Gtfs, RoutesWithoutDirectionsTakeTheirTwoMostCommonStopSequences) {
    Files f = baseFeed();
    f["trips.txt"] = "route_id,service_id,trip_id\nR1,S,A1\nR1,S,B1\nR1,S,C1\nR1,S,B2\nR1,S,C2\nR1,S,A2\n"
                     "R1,S,D1\nR2,S,T3\n";
    // Patterns: A twice, B twice, C twice (B and C first seen after A), D once with the most stops.
    f["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                          "A1,6:00:00,6:00:00,S1,1\nA1,6:10:00,6:10:00,S2,2\n"
                          "B1,6:30:00,6:30:00,S2,1\nB1,6:40:00,6:40:00,S1,2\n"
                          "C1,6:00:00,6:00:00,S3,1\nC1,6:10:00,6:10:00,S4,2\n"
                          "B2,7:30:00,7:30:00,S2,1\nB2,7:40:00,7:40:00,S1,2\n"
                          "C2,7:00:00,7:00:00,S3,1\nC2,7:10:00,7:10:00,S4,2\n"
                          "A2,9:00:00,9:00:00,S1,1\nA2,9:10:00,9:10:00,S2,2\n"
                          "D1,9:00:00,9:00:00,S1,1\nD1,9:10:00,9:10:00,S2,2\nD1,9:20:00,9:20:00,S4,3\n"
                          "T3,8:00:00,8:00:00,S2,1\nT3,8:10:00,8:10:00,S3,2\n";
    GtfsImport r = run(f);
    auto lines = linesOf(file, r.cityId);
    EXPECT_EQ(lines["R1"]["sh"], "火车站,人民广场");
    EXPECT_EQ(lines["R1"]["xh"], "人民广场,火车站");
    // Every trip of the route leaving from the first station counts: A1, A2 and D1.
    EXPECT_EQ(lines["R1"]["sj"], "首班 06:00 末班 09:00");
}

TEST_F(Gtfs, StationNamesFaresAndFileShapes) {
    Files f = baseFeed();
    // BOM, CRLF, quoted fields with commas and quotes; a platform shows its station's name.
    f["stops.txt"] = "\xEF\xBB\xBFstop_id,stop_name,parent_station\r\n"
                     "S1,\"北京路,中山路口\",\r\nS2,人民广场,\r\nS3,体育中心,\r\nS4,\"动物园 \"\"北门\"\"\",\r\n"
                     "P,站台 2,S2\r\n";
    f["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                          "T1,6:00:00,6:00:00,S1,1\nT1,6:10:00,6:10:00,P,2\nT1,6:20:00,6:20:00,S4,3\n"
                          "T3,8:00:00,8:00:00,S2,1\nT3,8:10:00,8:10:00,S3,2";
    f["routes.txt"] = "route_id,agency_id,route_short_name,route_long_name,route_desc,route_type\n"
                      "R1,A,1路,,,3\nR2,A,2路,,,3\nR3,A,3路,,,3\n";
    f["trips.txt"] = "route_id,service_id,trip_id,direction_id\nR1,S,T1,0\nR2,S,T3,\nR3,S,T9,\n";
    f["fare_attributes.txt"] = "fare_id,price,currency_type\ncheap,2.00,CNY\nfar,4,CNY\nusd,1.75,USD\n";
    f["fare_rules.txt"] = "fare_id,route_id,origin_id\ncheap,R1,\nfar,R1,\nusd,R2,\ncheap,,Z1\n";
    GtfsImport r = run(f);
    auto lines = linesOf(file, r.cityId);
    EXPECT_EQ(lines["R1"]["sh"], "北京路，中山路口,人民广场,动物园 \"北门\"");
    EXPECT_EQ(lines["R1"]["xh"], "");
    EXPECT_EQ(lines["R1"]["pj"], "票价 2-4元");
    EXPECT_EQ(lines["R2"]["pj"], "票价 1.75 USD");
    // A route without trips is left out and said so.
    EXPECT_EQ(lines.count("R3"), 0u);
    ASSERT_EQ(r.feed.skipped.size(), 1u);
    EXPECT_EQ(r.feed.skipped[0], "route R3: no trips with stop times");
    EXPECT_EQ(r.feed.tripsWithoutStopTimes, 1);
    EXPECT_NE(gtfsSummary(r, target).find("skipped route R3: no trips with stop times"), std::string::npos);

    // The one fare of a feed without rules is every route's.
    f.erase("fare_rules.txt");
    f["fare_attributes.txt"] = "fare_id,price,currency_type\nflat,1,CNY\n";
    r = run(f);
    EXPECT_EQ(linesOf(file, r.cityId)["R2"]["pj"], "票价 1元");
}

TEST_F(Gtfs, CharactersOutsideGbkStopTheImportUnlessReplaced) {
    Files f = baseFeed();
    // "€" too: the converter's one-byte 80 for it is not GBK.
    f["stops.txt"] = "stop_id,stop_name\nS1,火车站\nS2,Hősök・tere\nS3,体育中心\nS4,动物园😀€\xC3\n";
    const std::string before = dump(file);
    EXPECT_EQ(failure(f), "stops.txt line 3, column stop_name: character \"ő\" (U+0151) cannot be held in GBK");
    EXPECT_EQ(dump(file), before);
    // Base letters and the middle dot first; only then the two-byte "？", which keeps a byte cut between
    // double-byte characters (a one-byte "?" made the grid cut the next character in half).
    GtfsImport r = run(f, true);
    EXPECT_EQ(r.feed.nearForms, 3);
    EXPECT_EQ(r.feed.replacements, 3);
    EXPECT_EQ(linesOf(file, r.cityId)["R1"]["sh"], "火车站,Hosok·tere,动物园？？？");
    const std::string summary = gtfsSummary(r, target);
    EXPECT_NE(summary.find("wrote 3 characters that GBK cannot hold as a near form"), std::string::npos);
    EXPECT_NE(summary.find("replaced 3 characters that GBK cannot hold with \"？\""), std::string::npos);
}

// Every trip is checked, not only those chosen to show a line: a repeat next to its first, or after others.
TEST_F(Gtfs, AStopSequenceTwiceStopsTheImportInAnyTrip) {
    Files f = baseFeed();
    f["trips.txt"] += "R1,S,T4,0\n"; // fewer stops than T1: not the trip shown
    const std::string rows = f["stop_times.txt"];
    f["stop_times.txt"] = rows + "T4,9:00:00,9:00:00,S1,1\nT4,9:10:00,9:10:00,S2,1\n";
    EXPECT_EQ(failure(f), "stop_times.txt line 11: stop_sequence 1 appears twice in one trip");
    f["stop_times.txt"] = rows + "T4,9:00:00,9:00:00,S2,5\nT4,9:10:00,9:10:00,S1,7\nT4,9:20:00,9:20:00,S4,5\n";
    EXPECT_EQ(failure(f), "stop_times.txt line 12: stop_sequence 5 appears twice in one trip");
}

TEST_F(Gtfs, BadFeedsNameFileAndLineAndChangeNothing) {
    // A city with lines that a failed import must not lose.
    test::runSql(file, {"INSERT INTO sheng VALUES ('江苏')", "INSERT INTO city VALUES ('3', '南京', '江苏')",
                        "INSERT INTO bus (id, cid, lm, sh) VALUES ('1', '3', '1路', 'a,b')"});
    const std::string before = dump(file);
    struct Case {
        const char *name;
        std::string file;
        std::string text; // empty: the file is left out
        std::string expected;
    };
    const std::string stHeader = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n";
    const std::string st = stHeader + "T1,6:00:00,6:00:00,S1,1\nT1,6:10:00,6:10:00,S2,2\n";
    const Case cases[] = {
        {"missing file", "stops.txt", "", "missing required file stops.txt"},
        {"missing column", "trips.txt", "route_id,service_id\nR1,S\n", "trips.txt: missing column trip_id"},
        {"trip of an unknown route", "trips.txt", "route_id,service_id,trip_id\nR1,S,T1\nR9,S,T2\n",
         "trips.txt line 3: trip T2 names route R9, which is not in routes.txt"},
        {"stop time of an unknown trip", "stop_times.txt", st + "T7,6:20:00,6:20:00,S1,3\n",
         "stop_times.txt line 4: trip_id T7 is not in trips.txt"},
        {"stop time of an unknown stop", "stop_times.txt", st + "T1,6:20:00,6:20:00,S9,3\n",
         "stop_times.txt line 4: stop_id S9 is not in stops.txt"},
        {"malformed time", "stop_times.txt", st + "T1,6:20,6:20,S3,3\n",
         "stop_times.txt line 4, column arrival_time: malformed time \"6:20\" (H:MM:SS)"},
        {"minutes past 59", "stop_times.txt", st + "T1,6:20:00,6:60:00,S3,3\n",
         "stop_times.txt line 4, column departure_time: malformed time"},
        {"bad stop_sequence", "stop_times.txt", st + "T1,6:20:00,6:20:00,S3,x\n",
         "stop_times.txt line 4, column stop_sequence: \"x\" is not a whole number"},
        {"stop_sequence twice", "stop_times.txt", st + "T1,6:20:00,6:20:00,S3,2\n",
         "stop_times.txt line 4: stop_sequence 2 appears twice in one trip"},
        {"unknown parent station", "stops.txt", "stop_id,stop_name,parent_station\nS1,a,\nS2,b,X\n",
         "stops.txt line 3: parent_station X is not in stops.txt"},
        {"bad direction", "trips.txt", "route_id,service_id,trip_id,direction_id\nR1,S,T1,2\n",
         "trips.txt line 2, column direction_id: \"2\" is not 0, 1 or empty"},
        {"route without a name", "routes.txt", "route_id,route_short_name,route_long_name\nR1,,\n",
         "routes.txt line 2: route R1 has neither route_short_name nor route_long_name"},
        {"no routes", "routes.txt", "route_id,route_short_name\n", "routes.txt: the feed has no routes"},
        {"no stop times", "stop_times.txt", stHeader, "nothing to import: no route of the feed has trips"},
        {"empty file", "agency.txt", "\n", "agency.txt: empty file, no header row"},
        {"NUL in a name", "stops.txt", std::string("stop_id,stop_name\nS1,a\nS2,b\0c\n", 30),
         "stops.txt line 3, column stop_name: NUL byte (U+0000) at byte 2"},
        {"broken quoting", "stops.txt", "stop_id,stop_name\nS1,\"a\nS2,b\n",
         "stops.txt line 2: a quoted field is not closed"},
        {"unknown fare", "fare_rules.txt", "fare_id,route_id\nzz,R1\n", "fare_rules.txt line 2: fare_id zz is not in"},
        {"bad frequency", "frequencies.txt", "trip_id,start_time,end_time,headway_secs\nT1,6:00:00,7:00:00,0\n",
         "frequencies.txt line 2, column headway_secs"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Files f = baseFeed();
        if (c.text.empty())
            f.erase(c.file);
        else
            f[c.file] = c.text;
        std::string message = failure(f);
        EXPECT_EQ(message.substr(0, c.expected.size()), c.expected) << message;
        EXPECT_EQ(dump(file), before);
    }
    EXPECT_EQ(failure({}), "missing required file agency.txt");
}

TEST_F(Gtfs, CityIdsAreKeptOrChecked) {
    test::runSql(file, {"INSERT INTO sheng VALUES ('江苏')", "INSERT INTO city VALUES ('12', '苏州', '江苏')",
                        "INSERT INTO uconf VALUES (1, '苏州', '12')"});
    target.cityId = "12";
    const std::string before = dump(file);
    EXPECT_EQ(failure(baseFeed()), "city id 12 already belongs to 苏州");
    EXPECT_EQ(dump(file), before);
    target.cityId = "320100";
    GtfsImport r = run(baseFeed());
    EXPECT_EQ(r.cityId, "320100");
    EXPECT_FALSE(r.storedCitySet); // the stored city stays as it was
    target.cityId = "7";
    EXPECT_EQ(failure(baseFeed()), "city 南京 already has id 320100, not 7");
    target.cityId = "";
    EXPECT_EQ(run(baseFeed()).cityId, "320100");
    EXPECT_EQ(linesOf(file, "320100").size(), 2u);
}

TEST_F(Gtfs, ToolPrintsWhatItImported) {
    std::string feed = dir.path("zipped.zip");
    writeZip(feed, baseFeed());
    std::ostringstream out, err;
    const char *argv[] = {"busdb", "import-gtfs", file.c_str(), feed.c_str(), "--province", "江苏", "--city", "南京"};
    EXPECT_EQ(runCli(8, argv, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "read: 1 agencies, 2 routes, 4 stops, 3 trips, 8 stop times, 0 frequencies, 0 fares\n"
                         "wrote: 2 lines of 南京 (city id 1)\n"
                         "kinds: 1 both ways, 1 one way, 0 loops; 0 places\n"
                         "added province 江苏\nadded city 南京 to 江苏\nstored city: 南京 (uconf had none)\n");
    const char *bad[] = {"busdb", "import-gtfs", file.c_str(), feed.c_str(), "--city", "南京"};
    EXPECT_EQ(runCli(6, bad, out, err), 2);
    EXPECT_NE(err.str().find("--province is required"), std::string::npos);
}
