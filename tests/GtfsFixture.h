// SPDX-License-Identifier: GPL-3.0-or-later
// What the GTFS import tests share: a small valid feed to vary, feeds written as folders or zips, the
// database dumped, a city's lines read back as UTF-8, and a fixture with a fresh database.
#pragma once

#include "BusDb.h"
#include "CsvReader.h"
#include "Gtfs.h"
#include "TestDb.h"

#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "text/Gbk.h"

#include <QDir>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <zip.h>

namespace velmora::test {

using namespace velmora::busdb;

using Files = std::map<std::string, std::string>;

// A small valid feed: route R1 with both directions, route R2 without direction_id.
inline Files baseFeed() {
    return {
        {"agency.txt", "agency_id,agency_name,agency_url,agency_timezone\nA,城市公交,http://x,Asia/Shanghai\n"},
        {"stops.txt", "stop_id,stop_name,parent_station\nS1,火车站,\nS2,人民广场,\nS3,体育中心,\nS4,动物园,\n"},
        {"routes.txt", "route_id,agency_id,route_short_name,route_long_name,route_desc,route_type\n"
                       "R1,A,1路,火车站-动物园,,3\nR2,A,,环城快线,空调车,3\n"},
        {"trips.txt", "route_id,service_id,trip_id,direction_id\nR1,S,T1,0\nR1,S,T2,1\nR2,S,T3,\n"},
        {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                           "T1,6:00:00,6:00:00,S1,1\nT1,6:10:00,6:10:00,S2,2\nT1,6:20:00,6:20:00,S4,3\n"
                           "T2,7:00:00,7:00:00,S4,1\nT2,7:10:00,7:10:00,S2,2\nT2,7:20:00,7:20:00,S1,3\n"
                           "T3,8:00:00,8:00:00,S2,1\nT3,8:10:00,8:10:00,S3,2\n"},
    };
}

inline void writeFeed(const std::string &dir, const Files &files) {
    QDir().mkpath(QString::fromStdString(dir));
    for (const auto &[name, text] : files)
        std::ofstream(dir + "/" + name, std::ios::binary) << text;
}

// Zips a feed, its files inside a folder as many publishers do.
inline void writeZip(const std::string &zipPath, const Files &files) {
    int error = 0;
    zip_t *z = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto &[name, text] : files) {
        zip_source_t *src = zip_source_buffer(z, text.data(), text.size(), 0);
        ASSERT_GE(zip_file_add(z, ("feed/" + name).c_str(), src, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

inline Files readFolder(const std::string &dir) {
    Files files;
    for (const QString &name : QDir(QString::fromStdString(dir)).entryList({"*.txt"}, QDir::Files)) {
        std::ifstream f(dir + "/" + name.toStdString(), std::ios::binary);
        files[name.toStdString()] = std::string(std::istreambuf_iterator<char>(f), {});
    }
    return files;
}

inline std::string dump(const std::string &file) {
    TSQLiteDatabase db(file, dbKey);
    std::string out;
    for (const char *sql : {"SELECT * FROM sheng ORDER BY 1", "SELECT * FROM city ORDER BY 1, 2, 3",
                            "SELECT * FROM bus ORDER BY 1, 2, 3, 4, 5, 6, 7, 8, 9", "SELECT * FROM uconf ORDER BY 1"}) {
        auto t = db.QueryTable(sql);
        for (; !t->AtEnd(); t->MoveNext()) {
            for (int j = 0; j < t->ColumnCount(); ++j)
                out += t->ColumnText(j) + "|";
            out += "\n";
        }
        out += "--\n";
    }
    return out;
}

inline std::map<std::string, std::map<std::string, std::string>> linesOf(const std::string &file,
                                                                         const std::string &cid) {
    TSQLiteDatabase db(file, dbKey);
    auto t = db.QueryTable(sql::selectAllLines(cid));
    std::map<std::string, std::map<std::string, std::string>> lines;
    for (; !t->AtEnd(); t->MoveNext())
        for (const char *c : {"lm", "start", "bz", "sj", "pj", "sh", "xh"})
            lines[t->ColumnText(t->ColumnIndex("id"))][c] = gbkToUtf8(t->ColumnText(t->ColumnIndex(c)));
    return lines;
}

class Gtfs : public ::testing::Test {
protected:
    TempWorkDir dir;
    std::string file = dir.path("t.dbf");
    GtfsTarget target{"江苏", "南京", ""};
    void SetUp() override { createDatabase(file); }

    GtfsImport run(const Files &files, bool replace = false) {
        std::string feed = dir.path("feed" + std::to_string(++feeds));
        writeFeed(feed, files);
        return importGtfs(file, feed, target, replace);
    }
    std::string failure(const Files &files, bool replace = false) {
        try {
            run(files, replace);
        } catch (const Error &e) {
            return e.what();
        }
        return "<no error>";
    }
    int feeds = 0;
};

} // namespace velmora::test
