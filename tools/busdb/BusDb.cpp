// SPDX-License-Identifier: GPL-3.0-or-later
// busdb create, demo, query and generate.
#include "BusDb.h"
#include "DbFile.h"
#include "Error.h"

#include "data/PreparedStatement.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Schema.h"
#include "data/Transaction.h"
#include "text/Gbk.h"

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <random>
#include <unistd.h>
#include <vector>

namespace velmora::busdb {

namespace {

bool exists(const std::string &path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// Builds into a file beside `file` and moves it over `file` only when `build` succeeded, so a failed build
// leaves no half-made database behind and an old one stays in place.
template <typename Build> void buildReplacing(const std::string &file, Build build) {
    const std::string temp = file + ".building";
    ::unlink(temp.c_str());
    try {
        createDatabase(temp);
        build(temp);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    if (std::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw Error("cannot replace " + file);
    }
}

// Tabs and line breaks inside values would break the rows apart.
std::string escapeCell(const std::string &utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string defaultDemoDir() {
    // Found from the program's own file, so a package unpacked anywhere (or moved) finds its own CSV files,
    // and no path of the build is compiled in.
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        throw Error("cannot find the folder busdb is installed in (" + ec.message() +
                    "); give the demo CSV folder with --from DIR");
    return (self.parent_path().parent_path() / kDemoDirFromPrefix).lexically_normal().string();
}

void createDatabase(const std::string &file) {
    if (exists(file))
        throw Error(file + " already exists; busdb create does not overwrite a file");
    TSQLiteDatabase::CreateFile(file, dbKey);
    try {
        TSQLiteDatabase db(file, dbKey);
        Transaction transaction(db);
        createSchema(db);
        transaction.commit();
    } catch (...) {
        ::unlink(file.c_str());
        throw;
    }
}

ImportCounts buildFromCsv(const std::string &file, const std::string &csvDir) {
    ImportCounts counts;
    buildReplacing(file, [&](const std::string &temp) { counts = importCsv(temp, csvDir); });
    return counts;
}

int runQuery(const std::string &file, const std::string &utf8Sql, std::ostream &out, std::ostream &err) {
    std::string sql;
    qsizetype bad = 0;
    if (!utf8ToGbk(utf8Sql, sql, &bad)) {
        err << "busdb: the statement holds a character that GBK cannot hold (at character " << bad + 1 << ")\n";
        return 1;
    }
    try {
        // Opening never creates a file, so a mistyped name fails here with the layer's message.
        TSQLiteDatabase db(file, dbKey);
        // The result table knows its column names only when there is a row; the statement knows them always.
        std::vector<std::string> names = PreparedStatement(db, sql).columnNames();
        std::unique_ptr<TSQLiteTable> table = db.QueryTable(sql);
        std::string line;
        for (std::size_t j = 0; j < names.size(); ++j)
            line += (j ? "\t" : "") + escapeCell(gbkToUtf8(names[j]));
        if (!names.empty())
            out << line << '\n';
        for (; !table->AtEnd(); table->MoveNext()) {
            line.clear();
            for (int j = 0; j < table->ColumnCount(); ++j)
                line += (j ? "\t" : "") + escapeCell(gbkToUtf8(table->ColumnText(j)));
            out << line << '\n';
        }
        out.flush();
        return 0;
    } catch (const std::exception &e) {
        err << layerMessage(e) << '\n';
        return 1;
    }
}

void generateDatabase(const std::string &file, long cities, long linesPerCity) {
    if (cities < 1 || linesPerCity < 0)
        throw Error("--cities must be at least 1 and --lines at least 0");
    // A fixed seed: the same arguments give the same database, so benchmark runs compare.
    std::mt19937 rng(7);
    auto pick = [&rng](std::size_t n) { return std::size_t(rng() % n); };
    const std::vector<std::string> roads = {"人民", "解放", "中山", "建设", "胜利", "和平", "新华", "文化", "长江",
                                            "黄河", "光明", "朝阳", "东风", "延安", "青年", "学府", "环城", "滨江"};
    const std::vector<std::string> places = {"路口", "小区", "医院", "公园", "中学",
                                             "市场", "新村", "桥",   "广场", "大厦"};
    const std::vector<std::string> sides = {"", "东", "西", "南", "北"};
    std::vector<std::string> pool;
    for (const auto &r : roads)
        for (const auto &s : sides)
            for (const auto &p : places)
                pool.push_back(gbk(r + s + p));
    const std::string remarks[] = {gbk("空调车"), gbk("无人售票"), gbk("普通车"), gbk("夜班线")};
    const std::string times = gbk("首班 6:00 末班 22:00"), fare = gbk("票价 2元"), arrow = "-->";

    buildReplacing(file, [&](const std::string &temp) {
        TSQLiteDatabase db(temp, dbKey);
        Transaction transaction(db);
        PreparedStatement province(db, "INSERT INTO sheng (sheng) VALUES (?1)");
        PreparedStatement city(db, "INSERT INTO city (id, city, scity) VALUES (?1, ?2, ?3)");
        PreparedStatement line(db, "INSERT INTO bus (id, cid, lm, start, bz, sj, pj, sh, xh) "
                                   "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
        const std::string provinceWord = gbk("省"), cityWord = gbk("市"), lineWord = gbk("路");
        long lineId = 1;
        std::vector<std::size_t> stops;
        for (long c = 1; c <= cities; ++c) {
            std::string provinceName = gbk("测试") + std::to_string((c - 1) / 10 + 1) + provinceWord;
            if ((c - 1) % 10 == 0)
                province.text(1, provinceName).run();
            std::string cid = std::to_string(c);
            city.text(1, cid).text(2, gbk("测试") + cid + cityWord).text(3, provinceName).run();
            for (long l = 1; l <= linesPerCity; ++l, ++lineId) {
                stops.resize(12 + pick(19));
                for (auto &s : stops)
                    s = pick(pool.size());
                std::string sh, xh;
                for (std::size_t k = 0; k < stops.size(); ++k) {
                    sh += (k ? "," : "") + pool[stops[k]];
                    xh += (k ? "," : "") + pool[stops[stops.size() - 1 - k]];
                }
                line.text(1, std::to_string(lineId)).text(2, cid).text(3, std::to_string(l) + lineWord);
                line.text(4, pool[stops.front()] + arrow + pool[stops.back()]).text(5, remarks[pick(4)]);
                line.text(6, times).text(7, fare).text(8, sh).text(9, xh).run();
            }
        }
        PreparedStatement setting(db, "INSERT INTO uconf (id, city, cid) VALUES (1, ?1, '1')");
        setting.text(1, gbk("测试1市")).run();
        transaction.commit();
    });
}

} // namespace velmora::busdb
