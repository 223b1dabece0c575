// SPDX-License-Identifier: GPL-3.0-or-later
// GTFS import speed and memory: stop_times.txt rows per second for the whole import (feed read twice, lines
// written), against the raw floor of libcsv alone parsing the same stop_times.txt in the same run, and the
// import's peak memory on feeds of the same trips with 1 and 2 million stop times.
//   build/bench/bench_gtfs
#include "BusDb.h"
#include "CsvReader.h"
#include "Gtfs.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <csv.h>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora::busdb;

namespace {

// Process CPU seconds: the floor and the import are compared on CPU time, so a busy machine does not skew them.
double cpuNow() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

constexpr int kTrips = 100000, kRoutes = 1000, kStops = 5000;

QTemporaryDir &benchDir() {
    static QTemporaryDir dir;
    return dir;
}

// A feed of kTrips trips over kRoutes routes, `stopsPerTrip` stop times each, rows grouped by trip.
const std::string &feed(int stopsPerTrip) {
    static std::map<int, std::string> made;
    auto it = made.find(stopsPerTrip);
    if (it != made.end())
        return it->second;
    std::string dir = benchDir().path().toStdString() + "/feed" + std::to_string(stopsPerTrip);
    ::mkdir(dir.c_str(), 0700);
    auto open = [&](const char *name) { return std::fopen((dir + "/" + name).c_str(), "w"); };
    std::FILE *f = open("agency.txt");
    std::fprintf(f, "agency_id,agency_name,agency_url,agency_timezone\nA,Bench Transit,http://x,Asia/Shanghai\n");
    std::fclose(f);
    f = open("stops.txt");
    std::fprintf(f, "stop_id,stop_name,stop_lat,stop_lon\n");
    for (int s = 0; s < kStops; ++s)
        std::fprintf(f, "S%d,Stop %d,39.9,116.4\n", s, s);
    std::fclose(f);
    f = open("routes.txt");
    std::fprintf(f, "route_id,agency_id,route_short_name,route_long_name,route_type\n");
    for (int r = 0; r < kRoutes; ++r)
        std::fprintf(f, "R%d,A,%d,,3\n", r, r + 1);
    std::fclose(f);
    f = open("trips.txt");
    std::fprintf(f, "route_id,service_id,trip_id,direction_id\n");
    for (int t = 0; t < kTrips; ++t)
        std::fprintf(f, "R%d,WK,T%06d,%d\n", t % kRoutes, t, (t / kRoutes) % 2);
    std::fclose(f);
    f = open("stop_times.txt");
    std::fprintf(f, "trip_id,arrival_time,departure_time,stop_id,stop_sequence,pickup_type,drop_off_type\n");
    for (int t = 0; t < kTrips; ++t) {
        int route = t % kRoutes, start = 5 * 3600 + (t / kRoutes) * 600;
        for (int k = 0; k < stopsPerTrip; ++k) {
            int at = start + k * 120, stop = (route * 7 + k * 13) % kStops;
            std::fprintf(f, "T%06d,%d:%02d:%02d,%d:%02d:%02d,S%d,%d,0,0\n", t, at / 3600, at / 60 % 60, at % 60,
                         at / 3600, at / 60 % 60, at % 60, stop, k + 1);
        }
    }
    std::fclose(f);
    return made.emplace(stopsPerTrip, dir).first->second;
}

long long rowsOf(int stopsPerTrip) {
    return (long long)kTrips * stopsPerTrip;
}

// The floor: libcsv alone parsing stop_times.txt with callbacks that only count.
double rawSeconds(const std::string &path, long long &rows) {
    auto begin = cpuNow();
    csv_parser p;
    csv_init(&p, CSV_STRICT);
    std::FILE *f = std::fopen(path.c_str(), "rb");
    std::vector<char> buf(256 * 1024);
    rows = 0;
    long long fields = 0;
    auto onField = [](void *, std::size_t, void *data) { ++*static_cast<long long *>(data); };
    auto onRow = [](int, void *) {};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0)
        csv_parse(&p, buf.data(), n, onField, onRow, &fields);
    csv_fini(&p, onField, onRow, &fields);
    csv_free(&p);
    std::fclose(f);
    rows = fields / 7 - 1; // less the header
    return (cpuNow() - begin);
}

void BM_RawLibcsv(benchmark::State &state) {
    const std::string path = feed(20) + "/stop_times.txt";
    long long rows = 0;
    for (auto _ : state)
        rawSeconds(path, rows);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_CsvReader(benchmark::State &state) {
    const std::string path = feed(20) + "/stop_times.txt";
    long long rows = 0, raw = 0;
    double floor = rawSeconds(path, raw);
    double spent = 0;
    for (auto _ : state) {
        auto begin = cpuNow();
        auto reader = CsvReader::openFile(path, "stop_times.txt");
        rows = 0;
        for (CsvRow row; reader->next(row);)
            ++rows;
        spent += (cpuNow() - begin);
    }
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["x_raw"] = spent / double(state.iterations()) / floor;
}

// The whole import: every feed file read, stop_times.txt twice, 1,000 lines written to a new database.
void BM_ImportGtfs(benchmark::State &state) {
    const std::string dir = feed(20);
    long long raw = 0;
    double floor = rawSeconds(dir + "/stop_times.txt", raw);
    double spent = 0;
    int n = 0;
    for (auto _ : state) {
        std::string file = benchDir().path().toStdString() + "/import" + std::to_string(n++) + ".dbf";
        auto begin = cpuNow();
        createDatabase(file);
        GtfsImport r = importGtfs(file, dir, {"Bench", "Bench City", ""}, false);
        spent += (cpuNow() - begin);
        if (r.feed.stopTimes != rowsOf(20) || r.feed.lines.size() != std::size_t(kRoutes))
            state.SkipWithError("wrong import");
        ::unlink(file.c_str());
    }
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rowsOf(20)) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["x_raw"] = spent / double(state.iterations()) / floor;
}

// Peak resident memory of the built tool importing the feed, less that of the tool doing nothing.
long childPeakKb(const std::vector<std::string> &args) {
    pid_t child = ::fork();
    if (child == 0) {
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, 1);
        ::execv(BUSDB_PATH, argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

void BM_ImportPeakMemory(benchmark::State &state) {
    const int stopsPerTrip = int(state.range(0));
    const std::string dir = feed(stopsPerTrip);
    const std::string file = benchDir().path().toStdString() + "/mem.dbf";
    long baseKb = 0, peakKb = 0;
    for (auto _ : state) {
        baseKb = childPeakKb({"busdb", "help"});
        ::unlink(file.c_str());
        createDatabase(file);
        peakKb = childPeakKb({"busdb", "import-gtfs", file, dir, "--province", "Bench", "--city", "Bench City"});
        if (baseKb < 0 || peakKb < 0)
            state.SkipWithError("busdb failed");
    }
    std::FILE *f = std::fopen((dir + "/stop_times.txt").c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    double fileMb = double(std::ftell(f)) / 1e6;
    std::fclose(f);
    state.counters["stop_times"] = double(rowsOf(stopsPerTrip));
    state.counters["trips"] = kTrips;
    state.counters["file_MB"] = fileMb;
    state.counters["tool_idle_MB"] = double(baseKb) / 1024.0;
    state.counters["import_peak_MB"] = double(peakKb) / 1024.0;
    state.counters["growth_MB"] = double(peakKb - baseKb) / 1024.0;
}

} // namespace

BENCHMARK(BM_RawLibcsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CsvReader)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportGtfs)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportPeakMemory)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
