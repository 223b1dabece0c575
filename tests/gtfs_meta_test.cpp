// SPDX-License-Identifier: GPL-3.0-or-later
// GTFS import: the line kinds, operators and places written beside the bus rows.
#include "GtfsFixture.h"

#include "TestPaths.h"

#include <QFileInfo>
#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {
// busmeta as id -> "kind|operator|shplace|xhplace", texts as UTF-8.
std::map<std::string, std::string> metaOf(const std::string &file) {
    TSQLiteDatabase db(file, dbKey);
    auto t = db.QueryTable("SELECT id, kind, operator, shplace, xhplace FROM busmeta");
    std::map<std::string, std::string> out;
    for (; !t->AtEnd(); t->MoveNext())
        out[t->ColumnText(0)] =
            t->ColumnText(1) + "|" + gbkToUtf8(t->ColumnText(2)) + "|" + t->ColumnText(3) + "|" + t->ColumnText(4);
    return out;
}

std::string placesOf(const std::string &file) {
    TSQLiteDatabase db(file, dbKey);
    auto t = db.QueryTable("SELECT name, place, round(lat, 4), round(lon, 4) FROM place ORDER BY name, place");
    std::string out;
    for (; !t->AtEnd(); t->MoveNext())
        out += gbkToUtf8(t->ColumnText(0)) + " " + t->ColumnText(1) + " " + t->ColumnText(2) + " " + t->ColumnText(3) +
               "\n";
    return out;
}

std::vector<std::string> split(const std::string &list) {
    std::vector<std::string> out;
    for (std::size_t from = 0; !list.empty() && from <= list.size();) {
        std::size_t comma = std::min(list.find(',', from), list.size());
        out.push_back(list.substr(from, comma - from));
        from = comma + 1;
    }
    return out;
}

std::string trips(const std::string &trip, const std::vector<const char *> &stops) {
    std::string out;
    for (std::size_t k = 0; k < stops.size(); ++k)
        out += trip + ",6:00:00,6:00:00," + stops[k] + "," + std::to_string(k + 1) + "\n";
    return out;
}
} // namespace

TEST_F(Gtfs, LineKindsFollowTheDirectionsTheTripsRun) {
    Files f = baseFeed();
    f["routes.txt"] = "route_id,agency_id,route_short_name,route_type\nBOTH,A,1,3\nDIR1,A,2,3\nLOOP,A,3,3\n"
                      "BACK,A,4,3\nSAME,A,5,3\n";
    // BOTH: directions 0 and 1. DIR1: direction 1 only. LOOP: ends where it starts. BACK: no direction_id,
    // its least common sequence runs back; SAME: no direction_id, a short turn the same way only.
    f["trips.txt"] = "route_id,service_id,trip_id,direction_id\nBOTH,S,B0,0\nBOTH,S,B1,1\nDIR1,S,D1,1\n"
                     "LOOP,S,L1,\nBACK,S,K1,\nBACK,S,K2,\nBACK,S,K3,\nBACK,S,K4,\nSAME,S,M1,\nSAME,S,M2,\n";
    f["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n" + trips("B0", {"S1", "S2"}) +
                          trips("B1", {"S2", "S1"}) + trips("D1", {"S4", "S2"}) +
                          trips("L1", {"S1", "S2", "S3", "S1"}) + trips("K1", {"S1", "S2", "S3", "S4"}) +
                          trips("K2", {"S1", "S2", "S3", "S4"}) + trips("K3", {"S2", "S3"}) +
                          trips("K4", {"S3", "S2", "S1"}) + trips("M1", {"S1", "S2", "S3"}) + trips("M2", {"S2", "S3"});
    run(f);
    auto meta = metaOf(file);
    EXPECT_EQ(meta["BOTH"], "0|城市公交||");
    EXPECT_EQ(meta["DIR1"], "1|城市公交||");
    EXPECT_EQ(meta["LOOP"], "2|城市公交||");
    EXPECT_EQ(meta["BACK"], "0|城市公交||");
    // The way back is shown although it is not the second most common sequence nor starts at sh's end.
    EXPECT_EQ(linesOf(file, "1")["BACK"]["xh"], "体育中心,人民广场,火车站");
    EXPECT_EQ(meta["SAME"], "1|城市公交||");
}

TEST_F(Gtfs, StopsOfOneNameMoreThanOneKilometreApartAreDifferentPlaces) {
    Files f = baseFeed();
    // Two 火车站 stops 0.3 km apart are one place; a third 5.5 km away is another. S4 has no position.
    f["stops.txt"] = "stop_id,stop_name,stop_lat,stop_lon\nS1,火车站,32.0000,118.0000\nS2,人民广场,32.0100,118.0\n"
                     "S3,体育中心,32.0200,118.0\nS4,动物园,,\nS5,火车站,32.0030,118.0\nS6,火车站,32.0500,118.0\n";
    f["trips.txt"] = "route_id,service_id,trip_id,direction_id\nR1,S,T1,0\nR1,S,T2,1\nR2,S,T3,\n";
    f["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n" +
                          trips("T1", {"S1", "S2", "S6"}) + trips("T2", {"S6", "S2", "S5"}) + trips("T3", {"S3", "S4"});
    GtfsImport result = run(f);
    EXPECT_EQ(metaOf(file)["R1"], "0|城市公交|1,1,2|2,1,1");
    EXPECT_EQ(metaOf(file)["R2"], "1|城市公交||");
    // In GBK byte order; R1's two ends share a name but not a place, so it is no loop.
    const std::string places = "火车站 1 32.0015 118\n火车站 2 32.05 118\n人民广场 1 32.01 118\n体育中心 1 32.02 118\n";
    EXPECT_EQ(placesOf(file), places);
    EXPECT_EQ(result.feed.stopsWithoutPosition, 1);
    // Importing the city again replaces its rows instead of failing on them.
    run(f);
    EXPECT_EQ(placesOf(file), places);
    EXPECT_EQ(metaOf(file).size(), 2u);
}

// The real network: every place list matches its stations and names a place that is there.
TEST_F(Gtfs, RealFeedPlaceListsNameExistingPlaces) {
    const std::string feed = std::string(kSourceDir) + "/../shared/data/gtfs/yamanashi.zip";
    if (!QFileInfo::exists(QString::fromStdString(feed)))
        GTEST_SKIP() << feed << " is not there";
    GtfsImport r = importGtfs(file, feed, target, true);
    TSQLiteDatabase db(file, dbKey);
    auto t = db.QueryTable("SELECT b.sh, b.xh, m.shplace, m.xhplace FROM bus b JOIN busmeta m ON m.id = b.id");
    std::set<std::pair<std::string, int>> places;
    for (const GtfsPlace &p : r.feed.places)
        places.insert({p.name, p.place});
    int rows = 0;
    for (; !t->AtEnd(); t->MoveNext(), ++rows)
        for (int side : {0, 1}) {
            std::vector<std::string> names = split(t->ColumnText(side)), numbers = split(t->ColumnText(side + 2));
            if (numbers.empty())
                continue;
            ASSERT_EQ(numbers.size(), names.size());
            for (std::size_t k = 0; k < names.size(); ++k)
                EXPECT_TRUE(places.count({names[k], std::stoi(numbers[k])})) << gbkToUtf8(names[k]);
        }
    EXPECT_EQ(rows, long(r.feed.lines.size()));
}
