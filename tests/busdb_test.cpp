// SPDX-License-Identifier: GPL-3.0-or-later
// The bus database tool: CSV import round trip and its all-or-nothing failures, the demo data, the stock
// client reading what the tool writes, and the built tool's query output and exit codes.
#include "BusDb.h"
#include "CsvReader.h"
#include "TestDb.h"
#include "TestPaths.h"

#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "text/Gbk.h"

#include <QFile>
#include <QProcess>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace velmora;
using velmora::test::G;
using velmora::test::TempWorkDir;

namespace {

void writeFile(const std::string &path, const std::string &text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

bool exists(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Every row of every table, in a fixed order, plus the schema: equal dumps mean equal databases.
std::string dump(const std::string &file) {
    TSQLiteDatabase db(file, dbKey);
    std::string out;
    for (const char *sql : {"SELECT type, name, sql FROM sqlite_master ORDER BY name", "SELECT * FROM sheng ORDER BY 1",
                            "SELECT * FROM city ORDER BY 1, 2, 3",
                            "SELECT * FROM bus ORDER BY 1, 2, 3, 4, 5, 6, 7, 8, 9", "SELECT * FROM uconf ORDER BY 1"}) {
        auto t = db.QueryTable(sql);
        out += std::string(sql) + "\n";
        for (; !t->AtEnd(); t->MoveNext()) {
            for (int j = 0; j < t->ColumnCount(); ++j)
                out += t->ColumnText(j) + "|";
            out += "\n";
        }
    }
    return out;
}

std::unique_ptr<TSQLiteTable> query(const std::string &file, const std::string &gbkSql) {
    TSQLiteDatabase db(file, dbKey);
    return db.QueryTable(gbkSql);
}

std::string importError(const std::string &file, const std::string &dir) {
    try {
        busdb::importCsv(file, dir);
    } catch (const busdb::Error &e) {
        return e.what();
    }
    return "<no error>";
}

// A small, valid set of the four files.
void writeGoodCsv(const std::string &dir) {
    ::mkdir(dir.c_str(), 0700);
    writeFile(dir + "/sheng.csv", "sheng\n广东\n浙江\n");
    writeFile(dir + "/city.csv", "\xEF\xBB\xBFscity,id,city\r\n广东,7,广州\r\n浙江,8,杭州\r\n");
    writeFile(dir + "/bus.csv", "id,cid,lm,start,bz,sj,pj,sh,xh\n"
                                "501,7,1路,火车站-->天河站,空调车,首班 6:00 末班 22:00,票价 "
                                "2元,\"火车站,体育中心,天河\",\"天河,体育中心,火车站\"\n"
                                "502,7,夜2路,动物园站-->客村站,夜班线,,票价 2元,\"动物园,南京路，西藏路口,客村\",\n"
                                "601,8,K5路,西湖站-->城站,,,,\"西湖,城站\",\"城站,西湖\"\n");
    writeFile(dir + "/uconf.csv", "id,city,cid\n1,广州,7\n");
}

} // namespace

TEST(BusDbImport, RoundTripKeepsChineseTextsAsGbk) {
    TempWorkDir dir;
    std::string file = dir.path("t.dbf"), csv = dir.path("csv");
    busdb::createDatabase(file);
    writeGoodCsv(csv);
    busdb::ImportCounts c = busdb::importCsv(file, csv);
    EXPECT_EQ(c.provinces, 2);
    EXPECT_EQ(c.cities, 2);
    EXPECT_EQ(c.lines, 3);
    EXPECT_EQ(c.settings, 1);

    auto t = query(file, sql::selectCitiesOf(G("广东")));
    ASSERT_EQ(t->RowCount(), 1);
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("city")), G("广州"));
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("id")), "7");

    t = query(file, sql::selectLinesByStation("7", G("体育中心")));
    ASSERT_EQ(t->RowCount(), 1);
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("lm")), G("1路"));
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("sh")), G("火车站,体育中心,天河"));
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("sj")), G("首班 6:00 末班 22:00"));

    // A full-width comma stays inside a station name; the empty xh is an empty text.
    t = query(file, sql::selectLinesByStation("7", G("南京路，西藏路口")));
    ASSERT_EQ(t->RowCount(), 1);
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("xh")), "");
    EXPECT_EQ(t->ColumnKindAt(t->ColumnIndex("xh")), kindText);

    t = query(file, sql::selectStoredCity());
    ASSERT_EQ(t->RowCount(), 1);
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("city")), G("广州"));
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("cid")), "7");

    // A second import of the stored city replaces the row instead of failing on its key.
    std::string more = dir.path("more");
    ::mkdir(more.c_str(), 0700);
    writeFile(more + "/uconf.csv", "id,city,cid\n1,杭州,8\n");
    busdb::importCsv(file, more);
    t = query(file, sql::selectStoredCity());
    ASSERT_EQ(t->RowCount(), 1);
    EXPECT_EQ(t->ColumnText(t->ColumnIndex("city")), G("杭州"));
}

TEST(BusDbImport, AnyBadRowLeavesTheDatabaseAsItWasAndNamesFileAndLine) {
    TempWorkDir dir;
    std::string file = dir.path("t.dbf"), csv = dir.path("csv");
    busdb::createDatabase(file);
    writeGoodCsv(csv);
    busdb::importCsv(file, csv);
    const std::string before = dump(file);

    const std::string busHeader = "id,cid,lm,start,bz,sj,pj,sh,xh\n";
    const std::string goodLine = "900,8,9路,a-->b,,,,\"a,b\",\"b,a\"\n";
    struct Case {
        const char *name;
        std::string file;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"short row", "bus.csv", busHeader + goodLine + "901,8,10路\n", "bus.csv line 3: 3 fields, the header has 9"},
        {"character outside GBK", "city.csv", "id,city,scity\n20,宁波,浙江\n21,温州😀,浙江\n",
         "city.csv line 3, column city: character \"😀\" (U+1F600) cannot be held in GBK"},
        {"invalid UTF-8", "sheng.csv", "sheng\n江苏\n\xC3\x28\n", "sheng.csv line 3, column sheng: invalid UTF-8"},
        {"NUL in a field", "bus.csv", busHeader + goodLine + std::string("904,8,x,,,,,\"a\0b\",\n", 19),
         "bus.csv line 3, column sh: NUL byte (U+0000) at byte 2"},
        {"missing column", "bus.csv", "id,cid,lm,start,bz,sj,pj,sh\n1,8,x,,,,,\n", "bus.csv: missing column xh"},
        {"unknown column", "city.csv", "id,city,scity,note\n", "city.csv line 1: unknown column note"},
        {"unknown province", "city.csv", "id,city,scity\n22,长沙,湖南\n",
         "city.csv line 2: province 湖南 is not in sheng"},
        {"unknown city", "bus.csv", busHeader + goodLine + goodLine + "902,99,x,,,,,,\n",
         "bus.csv line 4: city id 99 is not in city"},
        {"duplicate city id", "city.csv", "id,city,scity\n7,佛山,广东\n",
         "city.csv line 2: city id 7 is already there"},
        {"duplicate province", "sheng.csv", "sheng\n广东\n", "sheng.csv line 2: province 广东 is already there"},
        {"stored city mismatch", "uconf.csv", "id,city,cid\n1,杭州,7\n", "uconf.csv line 2: city 杭州 does not match"},
        {"open quote", "bus.csv", busHeader + goodLine + "903,8,\"x,,,,,,\n",
         "bus.csv line 3: a quoted field is not closed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string bad = dir.path(std::string("bad-") + std::to_string(&c - cases));
        ::mkdir(bad.c_str(), 0700);
        // Good rows of other tables come first, so the failure happens after writes.
        if (c.file != "sheng.csv")
            writeFile(bad + "/sheng.csv", "sheng\n江苏\n");
        writeFile(bad + "/" + c.file, c.text);
        std::string message = importError(file, bad);
        EXPECT_EQ(message.substr(0, c.expected.size()), c.expected) << message;
        EXPECT_EQ(dump(file), before);
    }
}

TEST(BusDbImport, RefusesToOverwriteOrToCreateByAccident) {
    TempWorkDir dir;
    std::string file = dir.path("t.dbf");
    writeFile(file, "not a database");
    EXPECT_THROW(busdb::createDatabase(file), busdb::Error);
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "not a database");

    std::string csv = dir.path("csv");
    writeGoodCsv(csv);
    EXPECT_EQ(importError(dir.path("missing.dbf"), csv).substr(0, 10), "no databas");
    EXPECT_FALSE(exists(dir.path("missing.dbf")));
    std::string empty = dir.path("empty");
    ::mkdir(empty.c_str(), 0700);
    busdb::createDatabase(dir.path("u.dbf"));
    EXPECT_NE(importError(dir.path("u.dbf"), empty).find("none of sheng.csv"), std::string::npos);
}

TEST(BusDbDemo, MeetsTheDemoCounts) {
    TempWorkDir dir;
    std::string file = dir.path("demo.dbf");
    busdb::buildFromCsv(file, std::string(velmora::test::kSourceDir) + "/data/demo");
    auto count = [&](const std::string &utf8Sql) {
        auto t = query(file, G(utf8Sql.c_str()));
        return std::stol(t->ColumnText(0));
    };
    EXPECT_GE(count("SELECT count(*) FROM sheng"), 6);
    EXPECT_GE(count("SELECT count(*) FROM city"), 20);
    EXPECT_GE(count("SELECT count(*) FROM bus"), 2000);
    EXPECT_GE(count("SELECT max(n) FROM (SELECT count(*) n FROM bus GROUP BY cid)"), 1000);
    EXPECT_GE(count("SELECT count(*) FROM sheng WHERE sheng NOT IN (SELECT scity FROM city)"), 1);
    EXPECT_GE(count("SELECT count(*) FROM city WHERE id NOT IN (SELECT cid FROM bus)"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM city WHERE scity NOT IN (SELECT sheng FROM sheng)"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM bus WHERE sh = '' OR lm = '' OR start NOT LIKE '%-->%'"), 0);
    EXPECT_GE(count("SELECT count(*) FROM bus WHERE xh = ''"), 1);
    // Byte-wise: the engine's like reads GBK as if it were UTF-8 and can step over a full-width comma.
    EXPECT_GE(count("SELECT count(*) FROM bus WHERE instr(CAST(sh AS BLOB), CAST('，' AS BLOB)) > 0"), 2);
    for (const char *kind : {"夜%", "快速公交%", "旅游%", "K%"})
        EXPECT_GE(count(std::string("SELECT count(*) FROM bus WHERE lm LIKE '") + kind + "'"), 1) << kind;
    EXPECT_EQ(count("SELECT count(*) FROM bus WHERE sh LIKE '%''%' OR lm LIKE '%''%'"), 0);

    // The stored city has lines, and the program's own queries find several lines at a station and between two.
    auto stored = query(file, sql::selectStoredCity());
    ASSERT_EQ(stored->RowCount(), 1);
    std::string cid = stored->ColumnText(stored->ColumnIndex("cid"));
    EXPECT_EQ(count("SELECT count(*) FROM city WHERE id='" + cid + "' AND city='北京'"), 1);
    EXPECT_GE(query(file, sql::selectAllLines(cid))->RowCount(), 1000);
    EXPECT_GE(query(file, sql::selectLinesByStation(cid, G("西单")))->RowCount(), 5);
    EXPECT_GE(query(file, sql::selectLinesByStations(cid, G("西单"), G("动物园")))->RowCount(), 2);
    EXPECT_GE(query(file, sql::selectLinesByName(cid, G("夜")))->RowCount(), 2);
}

TEST(BusDbGenerate, WritesTheAskedCounts) {
    TempWorkDir dir;
    std::string file = dir.path("big.dbf");
    busdb::generateDatabase(file, 12, 30);
    EXPECT_EQ(query(file, "SELECT count(*) FROM city")->ColumnText(0), "12");
    EXPECT_EQ(query(file, "SELECT count(*) FROM sheng")->ColumnText(0), "2");
    EXPECT_EQ(query(file, sql::selectAllLines("12"))->RowCount(), 30);
    EXPECT_EQ(query(file, sql::selectStoredCity())->ColumnText(2), "1");
    const std::string first = dump(file);
    busdb::generateDatabase(file, 12, 30); // replaces, and the same arguments give the same data
    EXPECT_EQ(dump(file), first);
}

namespace {
struct ToolRun {
    int code;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList &args) {
    QProcess p;
    p.start(BUSDB_PATH, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(BusDbTool, QueryPrintsUtf8RowsAndFailsWithTheLayersMessage) {
    TempWorkDir dir;
    QString file = QString::fromStdString(dir.path("t.dbf"));
    QString csv = QString::fromStdString(dir.path("csv"));
    writeGoodCsv(csv.toStdString());
    EXPECT_EQ(runTool({"create", file}).code, 0);
    EXPECT_EQ(runTool({"import", file, csv}).code, 0);

    ToolRun r = runTool({"query", file, "SELECT id, city FROM city WHERE scity='广东'"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString("id\tcity\n7\t广州\n"));
    r = runTool({"query", file, "SELECT id, lm FROM bus WHERE id='none'"});
    EXPECT_EQ(r.out, QString("id\tlm\n"));
    r = runTool({"query", file, "SELECT 'a\tb' AS x"});
    EXPECT_EQ(r.out, QString("x\na\\tb\n"));

    r = runTool({"query", file, "SELECT * FROM nosuch"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err,
              QString("Error executing SQL.\nError [1]: SQL error or missing database.\n\"error\": no such table: "
                      "nosuch\n"));
    r = runTool({"query", QString::fromStdString(dir.path("none.dbf")), "SELECT 1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith("Failed to open database")) << r.err.toStdString();
    EXPECT_FALSE(exists(dir.path("none.dbf")));

    EXPECT_EQ(runTool({"create", file}).code, 1);
    r = runTool({});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("Usage: busdb"));
    EXPECT_EQ(runTool({"frob"}).code, 2);
    EXPECT_EQ(runTool({"query", file}).code, 2);
    EXPECT_EQ(runTool({"generate", file, "--cities", "x", "--lines", "3"}).code, 2);
    r = runTool({"help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains("busdb import FILE DIR"));
}

TEST(BusDbTool, StockClientReadsWhatTheToolWrites) {
    TempWorkDir dir;
    std::string file = dir.path("t.dbf"), csv = dir.path("csv");
    writeGoodCsv(csv);
    EXPECT_EQ(runTool({"create", QString::fromStdString(file)}).code, 0);
    EXPECT_EQ(runTool({"import", QString::fromStdString(file), QString::fromStdString(csv)}).code, 0);
    QString hex = QByteArray::fromStdString(G("广州")).toHex().toUpper();
    QString out =
        velmora::test::runStockClient(file, "SELECT hex(city) FROM city WHERE id='7'; SELECT count(*) FROM bus;");
    EXPECT_TRUE(out.contains(hex)) << out.toStdString();
    EXPECT_TRUE(out.contains("\n3\n")) << out.toStdString();
}
