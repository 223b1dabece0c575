// A skin command from the menu to the repainted windows, for each stored skin, against the floor of only
// decoding that skin's package (same run).
#include "platform/Application.h"
#include "skins/SkinData.h"
#include "skins/SkinManage.h"
#include "skins/TSkinReader.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

TSkinStore &store() {
    static TSkinStore *s = [] {
        auto *st = new TSkinStore;
        st->LoadFromResource(kSkinStoreResource);
        return st;
    }();
    return *s;
}

// A window like the main one: group boxes, edits, a button and a grid with rows.
QWidget *window() {
    static QWidget *w = [] {
        auto *win = new QWidget;
        win->setFixedSize(664, 588);
        auto *g1 = new QGroupBox(QStringLiteral("当前城市: 北京"), win);
        g1->setGeometry(24, 16, 617, 73);
        (new QLineEdit(g1))->setGeometry(112, 26, 113, 24);
        (new QLineEdit(g1))->setGeometry(272, 26, 113, 24);
        (new QPushButton(QStringLiteral("查 询"), g1))->setGeometry(440, 16, 92, 41);
        auto *g2 = new QGroupBox(QStringLiteral("查询结果"), win);
        g2->setGeometry(24, 104, 617, 209);
        auto *model = new QStandardItemModel(40, 3, win);
        for (int r = 0; r < 40; ++r)
            for (int c = 0; c < 3; ++c)
                model->setItem(r, c, new QStandardItem(QStringLiteral("天安门东-->红桥路口")));
        auto *grid = new QTableView(g2);
        grid->setModel(model);
        grid->setGeometry(16, 24, 585, 169);
        auto *g3 = new QGroupBox(QStringLiteral("路线详细信息"), win);
        g3->setGeometry(24, 328, 617, 235);
        return win;
    }();
    return w;
}

void BM_SkinCommand(benchmark::State &state) {
    static TSkinData engine;
    int index = static_cast<int>(state.range(0));
    if (!engine.Active()) {
        engine.LoadFromStore(store(), 1);
        engine.SetActive(true);
        window()->show();
        QTest::qWaitForWindowExposed(window());
    }
    for (auto _ : state) {
        engine.LoadFromStore(store(), index);
        TSkinManage::instance().firePending(); // the refresh the timer would run 250 ms later
        window()->repaint();
    }
}

void BM_DecodeFloor(benchmark::State &state) {
    const std::string &bytes = store().Store[static_cast<int>(state.range(0))]->DataStream().bytes();
    for (auto _ : state) {
        TSkinReader reader;
        benchmark::DoNotOptimize(reader.ReadPackage(bytes));
    }
}

} // namespace

BENCHMARK(BM_DecodeFloor)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkinCommand)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    Application app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
