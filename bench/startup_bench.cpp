// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, side by side in one run:
//   scripts/with-display.sh build/bench/bench_startup [runs]
// The program (bench/startup_probe: the real forms, the real start of the About page) against the floor
// (bench/startup_floor: a plain Qt Widgets main window with a 1,100-row table, no web engine), both started
// again and again in a folder holding the demo database (北京, 1,100 lines; a generated one when the build made
// none). Reports the time from process start to the first paint of the filled main window, the time until the
// About page's request reaches a local server, and the memory (RSS summed over the process and its children)
// at first paint and one second after the page request.
#include "SeedDb.h"
#include "TestPaths.h"
#include "data/SQLiteDatabase.h"
#include "data/Schema.h"
#include "text/Gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;
using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

void makeDb(const std::string &file, int lines) {
    TSQLiteDatabase::CreateFile(file, dbKey);
    TSQLiteDatabase db(file, dbKey);
    createSchema(db);
    bench::storeCity(db, gbk("北京"), "1");
    std::vector<bench::BusRow> rows;
    for (int i = 0; i < lines; ++i)
        rows.push_back(bench::syntheticLine(std::to_string(i), "1", i));
    bench::insertLines(db, rows);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Resident memory of `root` and all its descendants, in MiB, and how many processes that is.
std::pair<double, int> treeRss(pid_t root) {
    std::map<pid_t, pid_t> parent;
    if (DIR *proc = opendir("/proc")) {
        while (dirent *e = readdir(proc)) {
            pid_t pid = std::atoi(e->d_name);
            if (pid <= 0)
                continue;
            std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
            std::string line;
            std::getline(stat, line);
            std::size_t close = line.rfind(')');
            if (close == std::string::npos)
                continue;
            char state;
            int ppid = 0;
            if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2)
                parent[pid] = ppid;
        }
        closedir(proc);
    }
    double kib = 0;
    int count = 0;
    for (auto [pid, ppid] : parent) {
        pid_t p = pid;
        while (p > 1 && p != root)
            p = parent.count(p) ? parent[p] : 0;
        if (p != root)
            continue;
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0)
                kib += std::atof(line.c_str() + 6);
        ++count;
    }
    return {kib / 1024.0, count};
}

struct Run {
    double paintMs = -1, requestMs = -1, paintMiB = 0, requestMiB = 0;
    int paintProcs = 0, requestProcs = 0;
};

// A listening socket on the loopback that plays the About page's server.
struct PageServer {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    PageServer() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        bind(fd, reinterpret_cast<sockaddr *>(&a), len);
        listen(fd, 8);
        getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~PageServer() { close(fd); }
    // Waits for the About page's request and answers it; false after `ms` without one. Other connections (a
    // previous run's late ones, speculative ones) are closed unanswered.
    bool answerOne(int ms) {
        const auto until = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count());
            pollfd p{fd, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, left) <= 0)
                return false;
            int c = accept(fd, nullptr, nullptr);
            char buf[4096];
            ssize_t n = 0;
            pollfd q{c, POLLIN, 0};
            if (poll(&q, 1, 2000) > 0)
                n = read(c, buf, sizeof buf);
            const bool page = n > 0 && std::string(buf, std::size_t(n)).find("/bustj.php") != std::string::npos;
            const char reply[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 21\r\n"
                                 "Connection: close\r\n\r\n<html>velmora</html>\n";
            if (page)
                (void)!write(c, reply, sizeof reply - 1);
            close(c);
            if (page)
                return true;
        }
    }
    // Closes whatever connections are still waiting.
    void drain() {
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, 0) > 0)
            close(accept(fd, nullptr, nullptr));
    }
};

Run runOnce(const char *program, const char *arg, PageServer *server) {
    Run run;
    int out[2];
    if (pipe(out) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP); // the whole tree can be ended at once
    char *args[] = {const_cast<char *>(program), const_cast<char *>(arg), nullptr};
    if (server)
        server->drain();
    const auto start = Clock::now();
    pid_t pid;
    int rc = posix_spawn(&pid, program, &actions, &attr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close(out[1]);
    if (rc == 0) {
        char buf[64];
        ssize_t n = read(out[0], buf, sizeof buf);
        if (n >= 7 && std::string(buf, 7) == "painted") {
            run.paintMs = msSince(start);
            // As the process measured itself at that moment: no child exists before the page starts.
            run.paintMiB = std::atof(std::string(buf + 7, std::size_t(n - 7)).c_str()) / 1024.0;
            run.paintProcs = 1;
            if (server && server->answerOne(20000)) {
                run.requestMs = msSince(start);
                usleep(1000 * 1000);
                std::tie(run.requestMiB, run.requestProcs) = treeRss(pid);
            }
        }
        killpg(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    close(out[0]);
    return run;
}

double median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F> std::vector<double> pick(const std::vector<Run> &runs, F field) {
    std::vector<double> out;
    for (const Run &r : runs)
        if (field(r) >= 0)
            out.push_back(field(r));
    return out;
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
        makeDb(db, 1100);
    QDir::setCurrent(dir.path());
    if (geteuid() == 0 && !getenv("QTWEBENGINE_DISABLE_SANDBOX"))
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1); // measure the page as a user would get it

    PageServer server;
    const std::string host = "127.0.0.1:" + std::to_string(server.port);
    std::vector<Run> program, floor;
    for (int i = 0; i < runs; ++i) {
        program.push_back(runOnce(PROBE_PATH, host.c_str(), &server));
        floor.push_back(runOnce(FLOOR_PATH, nullptr, nullptr));
    }
    auto paint = [](const Run &r) { return r.paintMs; };
    auto request = [](const Run &r) { return r.requestMs; };
    auto paintMem = [](const Run &r) { return r.paintMs < 0 ? -1 : r.paintMiB; };
    auto requestMem = [](const Run &r) { return r.requestMs < 0 ? -1 : r.requestMiB; };
    const double p = median(pick(program, paint)), f = median(pick(floor, paint));
    const double pm = median(pick(program, paintMem)), fm = median(pick(floor, paintMem));
    const double rm = median(pick(program, requestMem));
    std::printf("database: %s; medians of %d runs each\n", useDemo ? "demo tolvi.dbf" : "generated, 1,100 lines", runs);
    std::printf("painted, filled main window   program %7.1f ms   floor %7.1f ms   ratio %.2f\n", p, f, p / f);
    std::printf("About page request sent       program %7.1f ms after start\n", median(pick(program, request)));
    std::printf("memory at first paint         program %7.1f MiB  floor %7.1f MiB  ratio %.2f  (%d process(es))\n", pm,
                fm, pm / fm, program.front().paintProcs);
    std::printf("memory after the page request program %7.1f MiB  ratio to floor %.2f  (%d processes)\n", rm, rm / fm,
                program.front().requestProcs);
    return p < 0 ? 1 : 0;
}
