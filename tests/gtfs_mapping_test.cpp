// SPDX-License-Identifier: GPL-3.0-or-later
// GTFS import: the mapping choices a real feed showed to be open, one small feed each.
#include "GtfsFixture.h"

using namespace velmora::test;

TEST_F(Gtfs, ARouteWithDirectionOneOnlyTakesItsServiceTimesFromThatDirection) {
    Files f = baseFeed();
    f["trips.txt"] = "route_id,service_id,trip_id,direction_id\nR1,S,T2,1\nR1,S,T6,1\nR2,S,T3,\n";
    f["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                          "T2,7:00:00,7:00:00,S4,1\nT2,7:10:00,7:10:00,S2,2\nT2,7:20:00,7:20:00,S1,3\n"
                          "T6,9:00:00,9:00:00,S4,1\nT6,9:20:00,9:20:00,S1,2\n"
                          "T3,8:00:00,8:00:00,S2,1\nT3,8:10:00,8:10:00,S3,2\n";
    auto line = linesOf(file, run(f).cityId)["R1"];
    EXPECT_EQ(line["sh"], "动物园,人民广场,火车站");
    EXPECT_EQ(line["xh"], "");
    EXPECT_EQ(line["sj"], "首班 07:00 末班 09:00");
}

TEST_F(Gtfs, DeparturesCountByStationNameNotStopId) {
    Files f = baseFeed();
    // S1b is another stop named like S1 (the other side of the road); T5 starts one station later.
    f["stops.txt"] = "stop_id,stop_name,parent_station\nS1,火车站,\nS1b,火车站,\nS2,人民广场,\nS3,体育中心,\n"
                     "S4,动物园,\n";
    f["trips.txt"] = "route_id,service_id,trip_id,direction_id\nR1,S,T1,0\nR1,S,T4,0\nR1,S,T5,0\nR2,S,T3,\n";
    f["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                          "T1,6:00:00,6:00:00,S1,1\nT1,6:10:00,6:10:00,S2,2\nT1,6:20:00,6:20:00,S4,3\n"
                          "T4,5:30:00,5:30:00,S1b,1\nT4,5:50:00,5:50:00,S4,2\n"
                          "T5,5:00:00,5:00:00,S2,1\nT5,5:10:00,5:10:00,S4,2\n"
                          "T3,8:00:00,8:00:00,S2,1\nT3,8:10:00,8:10:00,S3,2\n";
    EXPECT_EQ(linesOf(file, run(f).cityId)["R1"]["sj"], "首班 05:30 末班 06:00");
}

TEST_F(Gtfs, PricesKeepTheirDecimalsAndNameTheirCurrency) {
    Files f = baseFeed();
    f["fare_attributes.txt"] = "fare_id,price,currency_type\nshort,0.70,EUR\nlong,1.0,EUR\n";
    f["fare_rules.txt"] = "fare_id,route_id\nshort,R1\nlong,R1\n";
    EXPECT_EQ(linesOf(file, run(f).cityId)["R1"]["pj"], "票价 0.7-1 EUR");
}

TEST_F(Gtfs, WithoutDirectionsTheWayBackIsThePatternStartingWhereTheFirstEnds) {
    Files f = baseFeed();
    // A (S1 S2 S4) three times, B (S1 S2, a short turn the same way) twice, C (S4 S2 S1, back) once.
    f["trips.txt"] = "route_id,service_id,trip_id\nR1,S,A1\nR1,S,A2\nR1,S,A3\nR1,S,B1\nR1,S,B2\nR1,S,C1\nR2,S,T3\n";
    std::string st = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n";
    for (const char *a : {"A1", "A2", "A3"})
        st +=
            std::string(a) + ",6:00:00,6:00:00,S1,1\n" + a + ",6:10:00,6:10:00,S2,2\n" + a + ",6:20:00,6:20:00,S4,3\n";
    for (const char *b : {"B1", "B2"})
        st += std::string(b) + ",7:00:00,7:00:00,S1,1\n" + b + ",7:10:00,7:10:00,S2,2\n";
    st += "C1,8:00:00,8:00:00,S4,1\nC1,8:10:00,8:10:00,S2,2\nC1,8:20:00,8:20:00,S1,3\n"
          "T3,8:00:00,8:00:00,S2,1\nT3,8:10:00,8:10:00,S3,2\n";
    f["stop_times.txt"] = st;
    auto line = linesOf(file, run(f).cityId)["R1"];
    EXPECT_EQ(line["sh"], "火车站,人民广场,动物园");
    EXPECT_EQ(line["xh"], "动物园,人民广场,火车站");
}
