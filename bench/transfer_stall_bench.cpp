// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's longest event-loop stall while a 100,000-line city's plan index is built and plans are
// computed (exact names, then one-character texts), against the longest stall of the same window left idle for
// as long, in the same run. Also prints what the same work takes when run on the calling thread, the time the
// window would block for without the background thread.
//   scripts/with-display.sh build/bench/bench_transfer_stall
#include "app/TForm1.h"
#include "app/TransferWorker.h"
#include "data/SQLiteDatabase.h"
#include "platform/Application.h"
#include "route/IndexCache.h"
#include "text/Gbk.h"
#include "tools/busdb/BusDb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

using namespace velmora;

namespace {

// The longest gap between ticks of a 1 ms timer while `work` runs the event loop until it returns true.
struct StallMeter {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    StallMeter() {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
    }
    // Returns the longest stall in ms; `elapsedMs` gets how long the run took.
    double run(const std::function<void()> &start, const std::function<bool()> &done, double &elapsedMs) {
        longest = 0;
        clock.start();
        last = 0;
        timer.start();
        start();
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        timer.stop();
        longest = std::max(longest, clock.nsecsElapsed() - last);
        elapsedMs = double(clock.nsecsElapsed()) / 1e6;
        return double(longest) / 1e6;
    }
};

void touch(const std::string &file) {
    // A new modification time: the window's index no longer stands for the file and is built again.
    ::utimensat(AT_FDCWD, file.c_str(), nullptr, 0);
}

double msSince(const QElapsedTimer &t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    Application app(argc, argv);
    installFontSubstitutions();
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    std::printf("generating a 100,000-line city...\n");
    busdb::generateDatabase(dbFileName, 1, 100000);

    QElapsedTimer t;
    t.start();
    TForm1 *form = createForm<TForm1>(); // the stored city's lines fill the grid: the specified, synchronous query
    const double createMs = msSince(t);
    form->show();
    QCoreApplication::processEvents();

    const std::string from = gbk("人民路口"), to = gbk("滨江广场"), one = gbk("桥"), other = gbk("园");
    StallMeter meter;
    // Exact names, then one-character texts (which match most stations), each waited for.
    auto twoPlans = [&](double &elapsed) {
        int step = 0;
        return meter.run(
            [&] {
                form->q1->setText(fromGbk(from));
                form->q2->setText(fromGbk(to));
                form->Button1Click();
            },
            [&] {
                if (form->transferPending())
                    return false;
                if (step++ > 0)
                    return true;
                form->q1->setText(fromGbk(one));
                form->q2->setText(fromGbk(other));
                form->Button1Click();
                return false;
            },
            elapsed);
    };
    form->N14Click();
    // First: the plans replace the grid's 100,000 rows, which the view takes its time to let go of.
    double firstElapsed = 0, planElapsed = 0, idleElapsed = 0;
    touch(dbFileName);
    const double firstStall = twoPlans(firstElapsed);
    // Then the index and plans alone: the file changed, so the index is built again.
    touch(dbFileName);
    const double planStall = twoPlans(planElapsed);
    // A one-character query superseded at once by an exact one: the exact plans should not wait for it.
    double supersedeElapsed = 0;
    const double supersedeStall = meter.run(
        [&] {
            form->q1->setText(fromGbk(one));
            form->q2->setText(fromGbk(other));
            form->Button1Click();
            form->q1->setText(fromGbk(from));
            form->q2->setText(fromGbk(to));
            form->Button1Click();
        },
        [&] { return !form->transferPending(); }, supersedeElapsed);
    QElapsedTimer idle;
    const double idleStall =
        meter.run([&] { idle.start(); }, [&] { return msSince(idle) >= planElapsed; }, idleElapsed);

    // The same work on this thread, as the window did it before.
    touch(dbFileName);
    route::IndexCache cache;
    t.restart();
    auto index = cache.get(dbFileName, dbKey, "1");
    const double buildMs = msSince(t);
    t.restart();
    const std::size_t exact = route::planTrips(*index, from, to).size();
    const double exactMs = msSince(t);
    t.restart();
    const std::size_t partial = route::planTrips(*index, one, other).size();
    const double partialMs = msSince(t);

    std::printf("window created (stored city's 100,000 lines in the grid, synchronous): %.0f ms\n", createMs);
    std::printf("first plans, replacing the grid's 100,000 rows: %.0f ms in all, longest stall %.1f ms\n", firstElapsed,
                firstStall);
    std::printf("index build + two plans off the window's thread: %.0f ms in all, longest stall %.1f ms\n", planElapsed,
                planStall);
    std::printf("exact plans shown %.0f ms after superseding a one-character query (longest stall %.1f ms)\n",
                supersedeElapsed, supersedeStall);
    std::printf("idle window for as long (floor): longest stall %.1f ms\n", idleStall);
    std::printf("stall ratio: %.2f x idle floor\n", idleStall > 0 ? planStall / idleStall : 0.0);
    std::printf("same work on the calling thread: build %.0f ms, exact plan %.1f ms (%zu plans), "
                "one-character plan %.1f ms (%zu plans)\n",
                buildMs, exactMs, exact, partialMs, partial);
    delete form;
    return 0;
}
