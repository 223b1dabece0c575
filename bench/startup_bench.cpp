// Time from process start to the main window first painted, with its start-up query done.
//   scripts/with-display.sh build/bench/bench_startup [runs]
// Starts the start-up probe again and again in a folder holding a generated database whose stored city has
// 1,000 lines (or the demo database, when the build made one) and reads the time until the probe reports its
// first paint. The same probe showing an empty window gives the toolkit's own start-up, for comparison.
#include "TestPaths.h"
#include "data/SQLiteDatabase.h"
#include "data/Schema.h"
#include "platform/Gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;
using namespace velmora;

namespace {

void makeDb(const std::string &file, int lines) {
    TSQLiteDatabase::CreateFile(file, dbKey);
    TSQLiteDatabase db(file, dbKey);
    createSchema(db);
    db.RunSql(gbk("INSERT INTO uconf VALUES (1, '北京', '1')"));
    db.RunSql("BEGIN");
    for (int i = 0; i < lines; ++i) {
        std::string n = std::to_string(i), stations;
        for (int s = 0; s < 25; ++s)
            stations += (s ? "," : "") + gbk("站点") + n + "_" + std::to_string(s);
        db.RunSql("INSERT INTO bus VALUES ('" + n + "', '1', '" + n + gbk("路") + "', '" + gbk("甲站-->乙站") + "', '" +
                  gbk("空调车") + "', '" + gbk("首班 6:00 末班 22:00") + "', '" + gbk("票价 2元") + "', '" + stations +
                  "', '" + stations + "')");
    }
    db.RunSql("COMMIT");
}

// Milliseconds from spawning the probe to its "painted" line; negative when it failed.
double timeOne(const char *probe, bool bare) {
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char *args[] = {const_cast<char *>(probe), const_cast<char *>(bare ? "--bare" : nullptr), nullptr};
    auto start = std::chrono::steady_clock::now();
    pid_t pid;
    int rc = posix_spawn(&pid, probe, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return -1;
    }
    char buf[64];
    ssize_t n = read(out[0], buf, sizeof buf);
    auto end = std::chrono::steady_clock::now();
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n < 7 || std::string(buf, 7) != "painted")
        return -1;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void report(const char *what, std::vector<double> t) {
    if (t.empty()) {
        std::printf("%-34s failed\n", what);
        return;
    }
    std::sort(t.begin(), t.end());
    std::printf("%-34s median %7.1f ms   min %7.1f ms   (%zu runs)\n", what, t[t.size() / 2], t.front(), t.size());
}

} // namespace

int main(int argc, char **argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QTemporaryDir dir;
    std::string db = dir.path().toStdString() + "/" + dbFileName;
    std::string demo = std::string(velmora::test::kBinaryDir) + "/tolvi.dbf";
    bool useDemo = QFileInfo::exists(QString::fromStdString(demo));
    if (useDemo)
        QFile::copy(QString::fromStdString(demo), QString::fromStdString(db));
    else
        makeDb(db, 1000);
    QDir::setCurrent(dir.path());

    std::vector<double> program, bare;
    for (int i = 0; i < runs; ++i) {
        double t = timeOne(PROBE_PATH, false);
        if (t >= 0)
            program.push_back(t);
        t = timeOne(PROBE_PATH, true);
        if (t >= 0)
            bare.push_back(t);
    }
    std::printf("database: %s\n", useDemo ? "demo tolvi.dbf" : "generated, stored city with 1,000 lines");
    report("main window painted, query done", program);
    report("empty toolkit window painted", bare);
    return program.empty() ? 1 : 0;
}
