// SPDX-License-Identifier: GPL-3.0-or-later
// A skin command from the menu to the repainted windows, for each stored skin, against the floor of only
// decoding that skin's package (same run).
//   scripts/with-display.sh build/bench/bench_skin
// BM_MenuSkinCommand triggers the real menu item ("皮肤1" .. "皮肤6") of the main window, which shows a query
// result, with the city dialog skinned and hidden behind it as after its first use; then runs the refresh the
// timer would run 250 ms later and repaints the main window. The ratios to the floor are printed at the end.
#include "RatioReporter.h"
#include "SeedDb.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "data/SQLiteDatabase.h"
#include "data/Schema.h"
#include "platform/Application.h"
#include "skins/engine/SkinManage.h"
#include "skins/format/TSkinReader.h"
#include "text/Gbk.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

using namespace velmora;

namespace {

// The main window over a city of 40 lines, and the city dialog, skinned as a user would have them.
struct Fixture {
    QTemporaryDir dir;
    TForm1 *main = nullptr;
    TForm2 *city = nullptr;

    Fixture() {
        QDir::setCurrent(dir.path());
        TSQLiteDatabase::CreateFile(dbFileName, dbKey);
        {
            TSQLiteDatabase db(dbFileName, dbKey);
            createSchema(db);
            bench::storeCity(db, gbk("北京"), "1");
            db.RunSql(gbk("INSERT INTO sheng VALUES ('北京')"));
            db.RunSql(gbk("INSERT INTO city VALUES ('1', '北京', '北京')"));
            std::vector<bench::BusRow> lines;
            for (int i = 0; i < 40; ++i)
                lines.push_back({std::to_string(i), "1", std::to_string(i) + gbk("路"), gbk("天安门东-->红桥路口"),
                                 gbk("空调车"), gbk("首车5:30 末车23:00"), gbk("票价1元"),
                                 gbk("天安门东,王府井,东单,建国门"), gbk("建国门,东单,王府井,天安门东")});
            bench::insertLines(db, lines);
        }
        main = createForm<TForm1>();
        city = createForm<TForm2>();
        main->show();
        (void)QTest::qWaitForWindowExposed(main);
        city->show(); // skinned when shown; hidden again, it stays among the skinned windows
        (void)QTest::qWaitForWindowExposed(city);
        city->hide();
    }
};

Fixture &fixture() {
    static Fixture *f = new Fixture; // lives until the process ends, as the program's windows do
    return *f;
}

void BM_DecodeFloor(benchmark::State &state) {
    const std::string &bytes =
        fixture().main->SkinStore1->Store[static_cast<int>(state.range(0))]->DataStream().bytes();
    for (auto _ : state) {
        TSkinReader reader;
        benchmark::DoNotOptimize(reader.ReadPackage(bytes));
    }
}

void BM_MenuSkinCommand(benchmark::State &state) {
    Fixture &f = fixture();
    QAction *items[] = {f.main->N11, f.main->N21, f.main->N31, f.main->N41, f.main->N51, f.main->N61};
    QAction *item = items[state.range(0)];
    for (auto _ : state) {
        item->trigger();
        TSkinManage::instance().firePending();
        f.main->repaint();
    }
}

BENCHMARK(BM_DecodeFloor)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuSkinCommand)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// Prints the usual table, then each skin's command time over its decoding floor.
void printRatios(const RunTimes &times) {
    for (int k = 0; k < 6; ++k) {
        auto floor = times.find("BM_DecodeFloor/" + std::to_string(k));
        auto run = times.find("BM_MenuSkinCommand/" + std::to_string(k));
        if (floor != times.end() && run != times.end() && floor->second.first > 0)
            std::printf("skin %d: %.2f ms, %.1f x the decoding floor (%.2f ms)\n", k + 1, run->second.first,
                        run->second.first / floor->second.first, floor->second.first);
    }
}

} // namespace

int main(int argc, char **argv) {
    return runWindowBenchmarks(argc, argv, printRatios);
}
