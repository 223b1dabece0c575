// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer planning: building a city's index and planning on it, against SQLCipher alone reading the same
// city's sh and xh in the same run.
//   build/bench/bench_route --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
// Cities: the demo's largest (北京, 1,100 lines) and generated cities of 3,000 and 20,000 lines. Each generated
// city gets two extra lines whose end stations no other line serves, so planning between them needs two changes.
#include "BusDb.h"
#include "RatioReporter.h"
#include "RawFloor.h"
#include "TestPaths.h"

#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "route/Planner.h"
#include "text/Gbk.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>

using namespace velmora;

namespace {

struct City {
    std::string file, cityId, from, to; // from and to GBK
};

std::vector<std::string> stationsOf(const std::string &sh) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t at; (at = sh.find(',', from)) != std::string::npos; from = at + 1)
        out.push_back(sh.substr(from, at - from));
    out.push_back(sh.substr(from));
    return out;
}

// Adds two lines: 郊甲站 then the first line's stations, and then the stations of a line that shares none of
// them, then 郊乙站. No ride joins the two, so every plan between 郊甲站 and 郊乙站 changes twice.
void addOutskirts(const std::string &file) {
    TSQLiteDatabase db(file, dbKey);
    auto rows = db.QueryTable("SELECT sh FROM bus where cid='1' LIMIT 200");
    const std::string a = rows->ColumnText(0);
    const std::vector<std::string> first = stationsOf(a);
    std::string b;
    for (rows->MoveNext(); !rows->AtEnd() && b.empty(); rows->MoveNext()) {
        const std::vector<std::string> other = stationsOf(rows->ColumnText(0));
        if (std::none_of(other.begin(), other.end(),
                         [&](const std::string &s) { return std::find(first.begin(), first.end(), s) != first.end(); }))
            b = rows->ColumnText(0);
    }
    db.RunSql(gbk("INSERT INTO bus VALUES ('900001','1','郊1路','','','','','郊甲站,") + quoteSql(a) + "','')");
    db.RunSql(gbk("INSERT INTO bus VALUES ('900002','1','郊2路','','','','','") + quoteSql(b) + gbk(",郊乙站','')"));
}

QTemporaryDir &scratch() {
    static QTemporaryDir dir;
    return dir;
}

const City &city(int which) {
    static City cities[3];
    City &c = cities[which];
    if (c.file.empty()) {
        if (which == 0) {
            c = {scratch().path().toStdString() + "/demo.dbf", "1", gbk("育才小学"), gbk("火车站")};
            busdb::buildFromCsv(c.file, std::string(velmora::test::kSourceDir) + "/data/demo");
        } else {
            const long lines = which == 1 ? 3000 : 20000;
            c = {scratch().path().toStdString() + "/gen" + std::to_string(lines) + ".dbf", "1", gbk("郊甲站"),
                 gbk("郊乙站")};
            busdb::generateDatabase(c.file, 1, lines);
            addOutskirts(c.file);
        }
    }
    return c;
}

std::unique_ptr<route::TransferIndex> build(const City &c) {
    TSQLiteDatabase db(c.file, dbKey);
    return route::TransferIndex::fromDatabase(db, c.cityId);
}

void BM_Floor(benchmark::State &state) {
    const City &c = city(int(state.range(0)));
    for (auto _ : state)
        rawQuery(c.file, "SELECT sh, xh FROM bus where cid='" + c.cityId + "'");
}
void BM_Build(benchmark::State &state) {
    const City &c = city(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(build(c));
}
void BM_Plan(benchmark::State &state) {
    const City &c = city(int(state.range(0)));
    auto index = build(c);
    std::size_t plans = 0, changes = 0;
    for (auto _ : state) {
        auto found = route::planTrips(*index, c.from, c.to);
        plans = found.size();
        changes = found.empty() ? 0 : std::size_t(found.front().changes());
    }
    state.counters["plans"] = double(plans);
    state.counters["changes"] = double(changes);
}
// One character on each side: every station containing it is an origin or a destination.
void BM_PlanPartial(benchmark::State &state) {
    const City &c = city(int(state.range(0)));
    auto index = build(c);
    const std::string from = gbk("人"), to = gbk("桥");
    std::size_t plans = 0;
    for (auto _ : state)
        plans = route::planTrips(*index, from, to).size();
    state.counters["plans"] = double(plans);
}

// A line of 32,000 stations crossed by 200 short lines: planning must stay linear in the line's length.
const route::TransferIndex &longLine() {
    static const route::TransferIndex index = [] {
        route::TransferIndex built;
        std::string stations;
        for (int k = 0; k < 32000; ++k)
            stations += (k ? ",P" : "P") + std::to_string(k);
        built.addLine({"1", "L", "", ""}, stations, "");
        std::mt19937 rng(3);
        for (int k = 0; k < 200; ++k)
            built.addLine({std::to_string(k + 2), "C" + std::to_string(k), "", ""},
                          "P" + std::to_string(rng() % 32000) + ",Q" + std::to_string(k) + ",P" +
                              std::to_string(rng() % 32000),
                          "");
        built.finish();
        return built;
    }();
    return index;
}
void BM_PlanLongLine(benchmark::State &state) {
    const route::TransferIndex &index = longLine();
    const std::string from = state.range(0) ? "P7" : "P0", to = state.range(0) ? "P3" : "P31999";
    std::size_t plans = 0;
    for (auto _ : state)
        plans = route::planTrips(index, from, to).size();
    state.counters["plans"] = double(plans);
}

// The first match on an index of 27,000 names folds them all (range 0), and spells them too (range 1).
void BM_FirstMatch(benchmark::State &state) {
    static const char *const parts[] = {"人民", "解放", "中山", "建设", "胜利", "和平", "新华", "文化", "長江", "黃河",
                                        "光明", "朝陽", "东风", "延安", "青年", "學府", "环城", "濱江", "大学", "医院",
                                        "公园", "广场", "市场", "新村", "桥",   "路口", "小区", "北",   "南",   "东"};
    const std::string text = state.range(0) ? "rmgc" : gbk("人民");
    for (auto _ : state) {
        state.PauseTiming();
        route::TransferIndex index;
        std::string line;
        for (int n = 0; n < 27000; ++n) {
            line += (line.empty() ? "" : ",") + gbk(std::string(parts[n / 900]) + parts[n / 30 % 30] + parts[n % 30]);
            if (n % 50 == 49) {
                index.addLine({"", "L", "", ""}, line, "");
                line.clear();
            }
        }
        index.finish();
        state.ResumeTiming();
        benchmark::DoNotOptimize(index.matchStations(text));
    }
}

void BM_BuildAndPlan(benchmark::State &state) {
    const City &c = city(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(route::planTrips(*build(c), c.from, c.to));
}

// 0: the demo's largest city; 1: 3,000 lines; 2: 20,000 lines.
BENCHMARK(BM_Floor)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Build)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plan)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAndPlan)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanPartial)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
// 0: end to end by exact names; 1: texts that each name thousands of its stations.
BENCHMARK(BM_PlanLongLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstMatch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Real time ratios, then CPU time ratios, which other work on a shared machine disturbs less.
void printRatios(const RunTimes &times) {
    const char *names[] = {"demo 北京", "3,000 lines", "20,000 lines"};
    for (int k = 0; k < 3; ++k) {
        auto at = [&](const char *bm, bool cpu) {
            auto it = times.find(std::string(bm) + "/" + std::to_string(k));
            return it == times.end() ? 0.0 : cpu ? it->second.second : it->second.first;
        };
        for (bool cpu : {false, true}) {
            const double floor = at("BM_Floor", cpu), both = at("BM_BuildAndPlan", cpu);
            if (floor > 0)
                std::printf("%-14s %s: build %.2f x floor; plan %.3f ms; one-character texts %.3f ms; first plan "
                            "(build, fold names, plan) %.1f ms (%.2f x floor)\n",
                            names[k], cpu ? "cpu " : "real", at("BM_Build", cpu) / floor, at("BM_Plan", cpu),
                            at("BM_PlanPartial", cpu), both, both / floor);
        }
    }
    for (bool cpu : {false, true}) {
        auto at = [&](const char *bm) {
            auto it = times.find(bm);
            return it == times.end() ? 0.0 : cpu ? it->second.second : it->second.first;
        };
        std::printf("32,000-station line %s: end to end %.3f ms; partial texts %.3f ms\n", cpu ? "cpu " : "real",
                    at("BM_PlanLongLine/0"), at("BM_PlanLongLine/1"));
        std::printf("27,000 names %s: first match %.1f ms; first pinyin match %.1f ms\n", cpu ? "cpu " : "real",
                    at("BM_FirstMatch/0"), at("BM_FirstMatch/1"));
    }
}

} // namespace

int main(int argc, char **argv) {
    return runBenchmarks(argc, argv, printRatios);
}
