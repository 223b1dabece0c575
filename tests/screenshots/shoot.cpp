// SPDX-License-Identifier: GPL-3.0-or-later
// Screenshots of the main window: start-up, a station query, a station-to-station query and a transfer plan.
//   shoot_mainwindow <output folder> [database file]
// Without a database file a small sample city is made; the stations queried are taken from the first line.
#include "TestDb.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "platform/Application.h"
#include "route/Planner.h"
#include "text/Gbk.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

using namespace velmora;

namespace {

void makeSample(const std::string &file) {
    static const char *const stations[] = {"天安门东", "王府井", "东单",     "建国门",   "北京站口",
                                           "崇文门",   "磁器口", "天坛北门", "红桥路口", "法华寺",
                                           "东四",     "灯市口", "美术馆",   "沙滩",     "景山东门"};
    std::vector<std::string> rows = {"INSERT INTO uconf VALUES (1, '北京', '1')"};
    for (int i = 0; i < 14; ++i) {
        std::string sh, xh;
        auto at = [i](int s) { return stations[(i * 4 + s * (1 + i % 2)) % 15]; };
        for (int s = 0; s < 9; ++s)
            sh += std::string(s ? "," : "") + at(s);
        for (int s = 8; s >= 0; --s)
            xh += std::string(s < 8 ? "," : "") + at(s);
        std::string n = std::to_string(i + 1);
        rows.push_back("INSERT INTO bus VALUES ('" + std::to_string(1000 + i) + "','1','" + n + "路','" + at(0) +
                       "-->" + at(8) + "','无人售票 空调车','首车5:30 末车23:00','票价1元 刷卡0.4元','" + sh + "','" +
                       (i % 4 == 3 ? std::string() : xh) + "')");
    }
    velmora::test::makeBusDb(file, rows);
}

// The stations of the start city's first line, from the database the window uses.
std::vector<std::string> firstLineStations(const std::string &cityId) {
    TSQLiteDatabase db(dbFileName, dbKey);
    auto t = db.QueryTable(sql::selectAllLines(cityId));
    std::vector<std::string> out;
    if (t->RowCount() == 0)
        return out;
    std::string sh = t->ColumnText(t->ColumnIndex("sh"));
    std::size_t from = 0;
    for (std::size_t at; (at = sh.find(',', from)) != std::string::npos; from = at + 1)
        out.push_back(sh.substr(from, at - from));
    out.push_back(sh.substr(from));
    return out;
}

// A station that the first line's first station reaches with one change at best, so the plan has two rides.
std::string changeDestination(const std::string &cityId, const std::string &origin) {
    TSQLiteDatabase db(dbFileName, dbKey);
    auto index = route::TransferIndex::fromDatabase(db, cityId);
    for (int s = 0; s < index->stationCount(); ++s) {
        auto plans = route::planTrips(*index, origin, index->stationName(s));
        if (!plans.empty() && plans.front().changes() == 1)
            return index->stationName(s);
    }
    return {};
}

void save(QWidget *w, const QString &path) {
    QTest::qWait(200);
    if (!w->grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char **argv) {
    Application app(argc, argv);
    installFontSubstitutions();
    if (argc < 2) {
        std::fprintf(stderr, "usage: shoot_mainwindow <output folder> [database file]\n");
        return 2;
    }
    QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    velmora::test::TempWorkDir work;
    if (argc > 2)
        QFile::copy(QString::fromLocal8Bit(argv[2]), QStringLiteral("tolvi.dbf"));
    else
        makeSample("tolvi.dbf");

    CreateForms();
    Form1->show();
    if (!QTest::qWaitForWindowExposed(Form1))
        std::fprintf(stderr, "the main window was not shown\n");
    save(Form1, out + "/startup.png");

    std::vector<std::string> stations = firstLineStations(Form1->cityId);
    if (stations.size() < 2) {
        std::fprintf(stderr, "the start city has no line with two stations\n");
        return 1;
    }
    Form1->N3Click();
    Form1->q1->setText(fromGbk(stations[1]));
    runHandler([] { Form1->Button1Click(); });
    save(Form1, out + "/station-query.png");

    Form1->N4Click();
    Form1->q1->setText(fromGbk(stations.front()));
    Form1->q2->setText(fromGbk(stations.back()));
    runHandler([] { Form1->Button1Click(); });
    save(Form1, out + "/station-to-station-query.png");

    std::string destination = changeDestination(Form1->cityId, stations.front());
    if (destination.empty()) {
        std::fprintf(stderr, "no station is one change away from the first station\n");
        return 1;
    }
    Form1->N14Click();
    Form1->q1->setText(fromGbk(stations.front()));
    Form1->q2->setText(fromGbk(destination));
    runHandler([] { Form1->Button1Click(); });
    save(Form1, out + "/transfer-query.png");
    return 0;
}
