// SPDX-License-Identifier: GPL-3.0-or-later
// The database layer against the raw floor: SQLCipher alone doing the same work in the same run.
//   build/bench/bench_database
#include "RawFloor.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Schema.h"
#include "platform/Gbk.h"

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
        db.RunSql(gbk("INSERT INTO uconf VALUES (1, '北京', '1')"));
        db.RunSql("BEGIN");
        for (int i = 0; i < kLines; ++i) {
            std::string n = std::to_string(i);
            std::string stations;
            for (int s = 0; s < 25; ++s)
                stations += (s ? "," : "") + gbk("站点") + n + "_" + std::to_string(s);
            db.RunSql("INSERT INTO bus VALUES ('" + n + "', '7', '" + n + gbk("路") + "', '" + gbk("甲站-->乙站") +
                      "', '" + gbk("空调车") + "', '" + gbk("首班 6:00 末班 22:00") + "', '" + gbk("票价 2元") +
                      "', '" + stations + "', '" + stations + "')");
        }
        db.RunSql("COMMIT");
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
