// SPDX-License-Identifier: GPL-3.0-or-later
// Console output plus ratios against the floors measured in the same run, and the main() of the benchmarks.
#pragma once

#include "platform/Application.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <string>
#include <utility>

// Real and CPU time of each benchmark ("name" or "name/args"): the plain run, or the median of repetitions.
using RunTimes = std::map<std::string, std::pair<double, double>>;

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::function<void(const RunTimes &)> printRatios) : printRatios_(std::move(printRatios)) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.aggregate_name.empty() || r.aggregate_name == "median") {
                std::string key = r.run_name.function_name;
                if (!r.run_name.args.empty())
                    key += "/" + r.run_name.args;
                times_[key] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
            }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        printRatios_(times_);
    }

private:
    std::function<void(const RunTimes &)> printRatios_;
    RunTimes times_;
};

// main() of a benchmark program: runs the selected benchmarks, then prints the ratios.
inline int runBenchmarks(int argc, char **argv, std::function<void(const RunTimes &)> printRatios) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(printRatios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

// main() of a benchmark program that needs the program's application object and fonts.
inline int runWindowBenchmarks(int argc, char **argv, std::function<void(const RunTimes &)> printRatios) {
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    return runBenchmarks(argc, argv, std::move(printRatios));
}
