// SPDX-License-Identifier: GPL-3.0-or-later
// Station search on a 100,000-line city: a pasted 10,000-character text against a one-character text, and
// SQLCipher alone (its own LIKE) running the same statements as the floor.
//   build/bench/bench_search
#include "RatioReporter.h"
#include "RawFloor.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "text/Gbk.h"
#include "tools/busdb/BusDb.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

using namespace velmora;

namespace {

const std::string &cityFile() {
    static QTemporaryDir dir;
    static std::string file = [] {
        std::string f = dir.path().toStdString() + "/search.dbf";
        busdb::generateDatabase(f, 1, 100000);
        return f;
    }();
    return file;
}

// 0: a character no line has; 1: a character most lines have; 2: 10,000 characters.
std::string queryText(int which) {
    if (which == 0)
        return "Z";
    if (which == 1)
        return gbk("桥");
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += gbk("桥");
    return text;
}

void BM_Layer_Search(benchmark::State &state) {
    const std::string sql = sql::selectLinesByStation("1", queryText(int(state.range(0))));
    const std::string &file = cityFile();
    for (auto _ : state) {
        TSQLiteDatabase db(file, dbKey);
        benchmark::DoNotOptimize(db.QueryTable(sql)->RowCount());
    }
}
void BM_Raw_Search(benchmark::State &state) {
    const std::string sql = sql::selectLinesByStation("1", queryText(int(state.range(0))));
    const std::string &file = cityFile();
    for (auto _ : state)
        rawQuery(file, sql);
}

BENCHMARK(BM_Layer_Search)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Raw_Search)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2);

void printRatios(const RunTimes &t) {
    // Real time, and CPU time, which other work on a shared machine disturbs less.
    auto ratio = [&t](const char *name, const std::string &a, const std::string &b) {
        if (t.count(a) && t.count(b))
            std::printf("%-52s %6.2fx real %6.2fx cpu\n", name, t.at(a).first / t.at(b).first,
                        t.at(a).second / t.at(b).second);
    };
    ratio("10,000 characters / 1 character found nowhere", "BM_Layer_Search/2", "BM_Layer_Search/0");
    ratio("10,000 characters / 1 character found in most lines", "BM_Layer_Search/2", "BM_Layer_Search/1");
    for (const char *arg : {"0", "1", "2"})
        ratio((std::string("layer / SQLCipher alone, text ") + arg).c_str(), std::string("BM_Layer_Search/") + arg,
              std::string("BM_Raw_Search/") + arg);
}

} // namespace

int main(int argc, char **argv) {
    return runBenchmarks(argc, argv, printRatios);
}
