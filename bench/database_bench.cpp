// SPDX-License-Identifier: GPL-3.0-or-later
// The database layer against the raw floor: SQLCipher alone doing the same work in the same run.
//   build/bench/bench_database
#include "RawFloor.h"
#include "SeedDb.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Schema.h"
#include "text/Gbk.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

using namespace velmora;

namespace {

constexpr int kLines = 3000;

// A database holding the stored city and one city of kLines lines with realistic text sizes.
const std::string &benchFile() {
    static QTemporaryDir dir;
    static std::string file = [] {
        std::string f = dir.path().toStdString() + "/bench.dbf";
        TSQLiteDatabase::CreateFile(f, dbKey);
        TSQLiteDatabase db(f, dbKey);
        createSchema(db);
        bench::storeCity(db, gbk("北京"), "1");
        std::vector<bench::BusRow> lines;
        for (int i = 0; i < kLines; ++i)
            lines.push_back(bench::syntheticLine(std::to_string(i), "7", i));
        bench::insertLines(db, lines);
        return f;
    }();
    return file;
}

void layerQuery(const std::string &file, const std::string &sql) {
    TSQLiteDatabase db(file, dbKey);
    auto table = db.QueryTable(sql);
    benchmark::DoNotOptimize(table->RowCount());
}

void BM_Raw_StoredCity(benchmark::State &state) {
    for (auto _ : state)
        rawQuery(benchFile(), "SELECT * FROM uconf where id=1");
}
void BM_Layer_StoredCity(benchmark::State &state) {
    for (auto _ : state)
        layerQuery(benchFile(), "SELECT * FROM uconf where id=1");
}
void BM_Raw_CityLines3000(benchmark::State &state) {
    for (auto _ : state)
        rawQuery(benchFile(), "SELECT * FROM bus where cid='7'");
}
void BM_Layer_CityLines3000(benchmark::State &state) {
    for (auto _ : state)
        layerQuery(benchFile(), "SELECT * FROM bus where cid='7'");
}

BENCHMARK(BM_Raw_StoredCity)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Layer_StoredCity)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raw_CityLines3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layer_CityLines3000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
