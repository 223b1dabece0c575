// SPDX-License-Identifier: GPL-3.0-or-later
// busdb import: the optional line kinds and places beside the four tables, and their checks.
#include "BusDb.h"
#include "Error.h"
#include "TestDb.h"

#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "text/Gbk.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;
using velmora::test::G;
using velmora::test::TempWorkDir;

namespace {
void write(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string rows(const std::string &file, const char *sql) {
    TSQLiteDatabase db(file, dbKey);
    auto t = db.QueryTable(sql);
    std::string out;
    for (; !t->AtEnd(); t->MoveNext()) {
        for (int j = 0; j < t->ColumnCount(); ++j)
            out += gbkToUtf8(t->ColumnText(j)) + "|";
        out += "\n";
    }
    return out;
}

// A city with one line of three stations, then a folder holding only `name` with `text`.
std::string importOnly(TempWorkDir &dir, const std::string &file, const std::string &name, const std::string &text) {
    static int folders = 0;
    const std::string csv = dir.path("csv" + std::to_string(++folders));
    ::mkdir(csv.c_str(), 0700);
    write(csv + "/" + name, text);
    try {
        busdb::importCsv(file, csv);
    } catch (const busdb::Error &e) {
        return e.what();
    }
    return "<no error>";
}
} // namespace

TEST(BusDbImport, LineKindsAndPlacesComeFromTheirOwnFiles) {
    TempWorkDir dir;
    const std::string file = dir.path("t.dbf");
    velmora::test::makeBusDb(file, {"INSERT INTO sheng VALUES ('广东')", "INSERT INTO city VALUES ('7','广州','广东')",
                                    "INSERT INTO bus VALUES ('501','7','1路','','','','','甲,乙,甲','')"});
    const std::string before = rows(file, "SELECT name FROM sqlite_master ORDER BY name");

    // Each failure names file, line and what is wrong, and leaves the database as it was (no new tables).
    const std::pair<const char *, const char *> failures[] = {
        {"id,kind,operator,shplace,xhplace\n999,0,,,\n", "busmeta.csv line 2: line id 999 is not in bus"},
        {"id,kind,operator,shplace,xhplace\n501,3,,,\n", "busmeta.csv line 2: kind 3 is not 0"},
        {"id,kind,operator,shplace,xhplace\n501,2,,\"1,2\",\n", "busmeta.csv line 2: shplace must be blank or"},
        {"id,kind,operator,shplace,xhplace\n501,2,,\"1,0,1\",\n", "busmeta.csv line 2: shplace must be blank or"},
        {"id,kind,operator,shplace,xhplace\n501,2,,,\n501,0,,,\n", "busmeta.csv line 3: line id 501 already"},
    };
    for (const auto &[text, message] : failures) {
        EXPECT_EQ(importOnly(dir, file, "busmeta.csv", text).rfind(message, 0), 0u) << text;
        EXPECT_EQ(rows(file, "SELECT name FROM sqlite_master ORDER BY name"), before);
    }
    EXPECT_EQ(importOnly(dir, file, "place.csv", "cid,name,place,lat,lon\n7,甲,1,ab,113\n")
                  .rfind("place.csv line 2: lat, lon must be decimal degrees", 0),
              0u);
    EXPECT_EQ(importOnly(dir, file, "place.csv", "cid,name,place,lat,lon\n7,甲,1,23,113\n7,甲,1,23.5,113\n")
                  .rfind("place.csv line 3: place 1 of 甲 is already there", 0),
              0u);

    EXPECT_EQ(importOnly(dir, file, "busmeta.csv", "id,kind,operator,shplace,xhplace\n501,2,城巴,\"1,2,1\",\n"),
              "<no error>");
    EXPECT_EQ(importOnly(dir, file, "place.csv", "lon,lat,place,name,cid\n113.25,23.125,1,甲,7\n113.5,23.5,2,甲,7\n"),
              "<no error>");
    EXPECT_EQ(rows(file, "SELECT * FROM busmeta"), "501|2|城巴|1,2,1||\n");
    EXPECT_EQ(rows(file, "SELECT * FROM place ORDER BY place"), "7|甲|1|23.125|113.25|\n7|甲|2|23.5|113.5|\n");
}
