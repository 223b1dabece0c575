// SPDX-License-Identifier: GPL-3.0-or-later
// The query run of the main window, end to end, against SQLCipher alone running the same statement.
//   scripts/with-display.sh build/bench/bench_mainwindow
// Button200Click covers the connection, materialising the result, filling the record set and grid, building
// the detail texts and showing row 1. The floor opens, keys, prepares, steps every row reading every column,
// finalises and closes. The ratios are printed at the end.
#include "TestPaths.h"
#include "app/TForm1.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Schema.h"
#include "grid/ClientDataSet.h"
#include "platform/Application.h"
#include "text/Gbk.h"

#include "RatioReporter.h"
#include "RawFloor.h"
#include "SeedDb.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstring>
#include <map>
#include <sqlcipher/sqlite3.h>

using namespace velmora;

namespace {

struct City {
    const char *id;
    int lines;
};
constexpr City kBig{"7", 3000};
constexpr City kDemoSized{"8", 1000}; // stands in for the demo's largest city when there is no demo database

std::string demoDb() {
    std::string f = std::string(velmora::test::kBinaryDir) + "/tolvi.dbf";
    return QFileInfo::exists(QString::fromStdString(f)) ? f : std::string();
}

// A database with the stored city and two generated cities of realistic line texts.
std::string makeDb(const std::string &file) {
    TSQLiteDatabase::CreateFile(file, dbKey);
    TSQLiteDatabase db(file, dbKey);
    createSchema(db);
    bench::storeCity(db, gbk("北京"), "7");
    std::vector<bench::BusRow> lines;
    for (City c : {kBig, kDemoSized})
        for (int i = 0; i < c.lines; ++i)
            lines.push_back(bench::syntheticLine(std::to_string(lines.size()), c.id, i));
    bench::insertLines(db, lines);
    return file;
}

// Two working folders: one with the generated cities, one with a copy of the demo database (if there is one).
// The window opens "tolvi.dbf" in the working folder, so a benchmark picks its database by changing folder.
struct Fixture {
    QTemporaryDir generated, demo;
    TForm1 *form = nullptr;
    std::string demoCityId;
    bool haveDemo = false;

    Fixture() {
        makeDb(path(generated));
        std::string demoFile = demoDb();
        if (!demoFile.empty()) {
            haveDemo = QFile::copy(QString::fromStdString(demoFile), QString::fromStdString(path(demo)));
            QDir::setCurrent(demo.path());
            TSQLiteDatabase db(dbFileName, dbKey);
            auto t = db.QueryTable("SELECT cid, count(*) AS n FROM bus GROUP BY cid ORDER BY n DESC LIMIT 1");
            demoCityId = t->ColumnText(0);
        } else {
            demoCityId = kDemoSized.id;
        }
        QDir::setCurrent(generated.path());
        form = createForm<TForm1>();
        form->show();
        QCoreApplication::processEvents();
    }
    static std::string path(const QTemporaryDir &d) { return d.path().toStdString() + "/" + dbFileName; }
    const QTemporaryDir &demoDir() const { return haveDemo ? demo : generated; }
};

Fixture &fixture() {
    static Fixture f;
    return f;
}

void runIn(benchmark::State &state, const QTemporaryDir &dir, const std::string &cityId, bool paint) {
    Fixture &f = fixture();
    QDir::setCurrent(dir.path());
    for (auto _ : state) {
        f.form->cityId = cityId;
        f.form->Button200Click();
        if (paint)
            f.form->repaint(); // the grid and the details drawn once, as the next paint would
    }
    state.counters["rows"] = f.form->ClientDataSet1->recordCount();
}

void BM_Raw_3000(benchmark::State &state) {
    ensureCodecDefaults();
    std::string file = Fixture::path(fixture().generated);
    for (auto _ : state)
        rawQuery(file, std::string("SELECT * FROM bus where cid='") + kBig.id + "'");
}
void BM_Button200_3000(benchmark::State &state) {
    runIn(state, fixture().generated, kBig.id, false);
}
void BM_Button200Painted_3000(benchmark::State &state) {
    runIn(state, fixture().generated, kBig.id, true);
}
void BM_Raw_DemoLargest(benchmark::State &state) {
    ensureCodecDefaults();
    Fixture &f = fixture();
    std::string file = Fixture::path(f.demoDir());
    for (auto _ : state)
        rawQuery(file, "SELECT * FROM bus where cid='" + f.demoCityId + "'");
}
void BM_Button200_DemoLargest(benchmark::State &state) {
    runIn(state, fixture().demoDir(), fixture().demoCityId, false);
}

BENCHMARK(BM_Raw_3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Button200_3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Button200Painted_3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raw_DemoLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Button200_DemoLargest)->Unit(benchmark::kMillisecond);

// Prints the usual table, then each run's time over its floor.
void printRatios(const RunTimes &times) {
    auto ratio = [&](const char *name, const char *floor) {
        auto n = times.find(name), f = times.find(floor);
        if (n != times.end() && f != times.end() && f->second.first > 0 && f->second.second > 0)
            std::printf("%-28s %.2f x %s (cpu %.2f x)\n", name, n->second.first / f->second.first, floor,
                        n->second.second / f->second.second);
    };
    ratio("BM_Button200_3000", "BM_Raw_3000");
    ratio("BM_Button200Painted_3000", "BM_Raw_3000");
    ratio("BM_Button200_DemoLargest", "BM_Raw_DemoLargest");
    std::printf("demo database: %s\n", demoDb().empty() ? "none (generated 1,000-line city)" : demoDb().c_str());
}

} // namespace

int main(int argc, char **argv) {
    return runWindowBenchmarks(argc, argv, printRatios);
}
