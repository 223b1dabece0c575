// SPDX-License-Identifier: GPL-3.0-or-later
// The database layer against the real encrypted engine.
#include "TestDb.h"
#include "data/PreparedStatement.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

using namespace velmora;
using velmora::test::TempWorkDir;

namespace {

std::string messageOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const ESQLiteException &e) {
        return e.message();
    }
    return "<no exception>";
}

class Db : public ::testing::Test {
protected:
    TempWorkDir dir;
    std::string file = dir.path("t.dbf");
    void SetUp() override {
        TSQLiteDatabase::CreateFile(file, dbKey);
        TSQLiteDatabase db(file, dbKey);
        db.RunSql("CREATE TABLE t (i INTEGER, f REAL, s TEXT, b BLOB, n, low integer, v VARCHAR(10), bo BOOLEAN)");
    }
};

} // namespace

TEST(ResultCodes, FixedTextsAndUnknownCodes) {
    EXPECT_EQ(ResultCodeText(0), "Successful result");
    EXPECT_EQ(ResultCodeText(19), "Abort due to contraint violation");
    EXPECT_EQ(ResultCodeText(26), "File opened that is not a database file");
    EXPECT_EQ(ResultCodeText(100), "sqlite3_step() has another row ready");
    EXPECT_EQ(ResultCodeText(101), "sqlite3_step() has finished executing");
    EXPECT_EQ(ResultCodeText(27), "Unknown SQLite Error Code \"27\"");
    EXPECT_EQ(ResultCodeText(-1), "Unknown SQLite Error Code \"-1\"");
    EXPECT_EQ(ResultCodeText(99), "Unknown SQLite Error Code \"99\"");
}

TEST(Open, MissingFileFailsAtOnceAndIsNotCreated) {
    TempWorkDir dir;
    EXPECT_EQ(messageOf([] { TSQLiteDatabase db(dbFileName, dbKey); }),
              "Failed to open database \"tolvi.dbf\" : unable to open database file");
    EXPECT_FALSE(QFile::exists("tolvi.dbf"));
}

TEST(Open, RelativeNameResolvesAgainstTheWorkingDirectoryOfTheMoment) {
    TempWorkDir first;
    velmora::test::makeBusDb(dbFileName, {"INSERT INTO sheng VALUES ('甲')"});
    {
        TempWorkDir second; // another folder is current now: the same name is another (missing) file
        EXPECT_NE(messageOf([] { TSQLiteDatabase db(dbFileName, dbKey); }), "<no exception>");
    }
    TSQLiteDatabase db(dbFileName, dbKey);
    EXPECT_EQ(db.QueryTable("SELECT * FROM sheng")->RowCount(), 1);
}

TEST(Open, OnlyTheFirstFourKeyBytesCount) {
    TempWorkDir dir;
    velmora::test::makeBusDb(dbFileName, {"INSERT INTO sheng VALUES ('甲')"});
    TSQLiteDatabase same(dbFileName, "kemuXXXX");
    EXPECT_EQ(same.QueryTable("SELECT * FROM sheng")->RowCount(), 1);
    TSQLiteDatabase shortKey(dbFileName, "kemu");
    EXPECT_EQ(shortKey.QueryTable("SELECT * FROM sheng")->RowCount(), 1);

    // A wrong key is noticed at the first statement, as the engine reports it.
    TSQLiteDatabase wrong(dbFileName, "kemX3106482R");
    std::string m = messageOf([&] { wrong.QueryTable("SELECT * FROM sheng"); });
    EXPECT_EQ(m.rfind("Error executing SQL.\rError [26]: File opened that is not a database file.\r\"error\": ", 0), 0u)
        << m;
}

TEST_F(Db, StatementFailuresHaveTheLayersLayout) {
    TSQLiteDatabase db(file, dbKey);
    EXPECT_EQ(messageOf([&] { db.RunSql(""); }), "Could not prepare SQL statement");
    EXPECT_EQ(messageOf([&] { db.RunSql("  -- only a comment"); }), "Could not prepare SQL statement");
    EXPECT_EQ(messageOf([&] { db.QueryTable(""); }), "Could not prepare SQL statement");
    EXPECT_EQ(messageOf([&] { db.QueryTable("SELECT * FROM nowhere"); }),
              "Error executing SQL.\rError [1]: SQL error or missing database.\r\"error\": no such table: nowhere");
    // A literal left open by a quote.
    EXPECT_EQ(messageOf([&] {
                  db.QueryTable("select * from t where s like '%a'b%'");
              }).rfind("Error executing SQL.\rError [1]: SQL error or missing database.\r\"error\": ", 0),
              0u);
    std::string m = messageOf([&] { db.RunSql("SELECT 1"); });
    EXPECT_EQ(m.rfind("Error executing SQL statement", 0), 0u) << m;
    // The connection stays usable after a failure.
    db.RunSql("INSERT INTO t (i) VALUES (1)");
    EXPECT_EQ(db.QueryTable("SELECT * FROM t")->RowCount(), 1);
}

TEST_F(Db, OnlyTheFirstOfTwoStatementsRuns) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("INSERT INTO t (i) VALUES (1); INSERT INTO t (i) VALUES (2)");
    EXPECT_EQ(db.QueryTable("SELECT * FROM t")->RowCount(), 1);
    db.RunSql("UPDATE t SET i = 5 WHERE i = 42"); // matches nothing: no error
    auto table = db.QueryTable("SELECT i FROM t; DELETE FROM t");
    EXPECT_EQ(table->RowCount(), 1);
    EXPECT_EQ(db.QueryTable("SELECT * FROM t")->RowCount(), 1);
}

TEST_F(Db, ConstraintViolationIsReportedWithItsCode) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("CREATE TABLE u (k INTEGER PRIMARY KEY)");
    db.RunSql("INSERT INTO u VALUES (1)");
    std::string m = messageOf([&] { db.RunSql("INSERT INTO u VALUES (1)"); });
    EXPECT_EQ(m.rfind("Error executing SQL statement.\rError [19]: Abort due to contraint violation.\r\"error\": ", 0),
              0u)
        << m;
}

TEST_F(Db, EmptyResult) {
    TSQLiteDatabase db(file, dbKey);
    auto table = db.QueryTable("SELECT * FROM t");
    EXPECT_EQ(table->RowCount(), 0);
    EXPECT_EQ(table->ColumnCount(), 0);
    EXPECT_TRUE(table->AtEnd());
    EXPECT_FALSE(table->MoveNext());
    EXPECT_EQ(messageOf([&] { table->ColumnIndex("sheng"); }), "Field sheng Not found. Empty dataset");
}

TEST_F(Db, CursorAndColumnLookup) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("INSERT INTO t (i, s) VALUES (1, 'a')");
    db.RunSql("INSERT INTO t (i, s) VALUES (2, 'b')");
    auto table = db.QueryTable("SELECT i, s, s AS lm FROM t");
    EXPECT_EQ(table->ColumnIndex("i"), 0);
    EXPECT_EQ(table->ColumnIndex("S"), 1); // the first of two equal names wins
    EXPECT_EQ(table->ColumnIndex("Lm"), 2);
    EXPECT_EQ(table->ColumnIndex("lM"), 2);
    EXPECT_EQ(messageOf([&] { table->ColumnIndex("Nope"); }), "Field not found in dataset: Nope");
    EXPECT_EQ(table->ColumnText(1), "a");
    EXPECT_TRUE(table->MoveNext());
    EXPECT_EQ(table->ColumnText(1), "b");
    EXPECT_TRUE(table->MoveNext());
    EXPECT_TRUE(table->AtEnd());
    EXPECT_FALSE(table->MoveNext());
    EXPECT_EQ(messageOf([&] { table->ColumnText(0); }), "Table is at End of File");
    EXPECT_EQ(messageOf([&] { table->ColumnInteger(0); }), "Table is at End of File");
    EXPECT_EQ(messageOf([&] { table->ColumnBlob(0); }), "Table is at End of File");
}

TEST_F(Db, KindsFromDeclaredTypes) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("INSERT INTO t VALUES ('12', 2.5, 'x', x'00ff', 7, 42, 'v', 1)");
    auto table = db.QueryTable("SELECT t.*, 1 + 1 AS expr, 3.0 AS whole FROM t");
    EXPECT_EQ(table->ColumnKindAt(0), kindInteger);
    EXPECT_EQ(table->ColumnKindAt(1), kindFloat);
    EXPECT_EQ(table->ColumnKindAt(2), kindText);
    EXPECT_EQ(table->ColumnKindAt(3), kindBlob);
    EXPECT_EQ(table->ColumnKindAt(4), kindInteger); // no declared type: the first row's value decides
    EXPECT_EQ(table->ColumnKindAt(5), kindText);    // lower-case "integer" is not "INTEGER"
    EXPECT_EQ(table->ColumnKindAt(6), kindText);
    EXPECT_EQ(table->ColumnKindAt(7), kindInteger);
    EXPECT_EQ(table->ColumnKindAt(8), kindInteger);
    EXPECT_EQ(table->ColumnKindAt(9), kindFloat);

    EXPECT_EQ(table->ColumnText(0), "12");
    EXPECT_EQ(table->ColumnText(1), "2.5");
    EXPECT_EQ(table->ColumnText(9), "3");
    EXPECT_EQ(table->ColumnInteger(1), 2);
    EXPECT_DOUBLE_EQ(table->ColumnFloat(0), 12.0);
    EXPECT_EQ(table->ColumnText(5), "42");
    EXPECT_EQ(messageOf([&] { table->ColumnInteger(5); }), "Not an integer or numeric field");
    EXPECT_EQ(messageOf([&] { table->ColumnFloat(2); }), "Not an integer or numeric field");
    EXPECT_EQ(messageOf([&] { table->ColumnBlob(2); }), "Not a Blob field");
    EXPECT_EQ(table->ColumnText(3), std::string("\x00\xff", 2));
    ByteStream *blob = table->ColumnBlob(3);
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(blob->size(), 2u);
    EXPECT_EQ(blob->position(), 2u); // left at its end by the text read above
}

TEST_F(Db, IntegerColumnHoldingTextReadsAsTheEnginesConversion) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("INSERT INTO t (i) VALUES ('abc')");
    db.RunSql("INSERT INTO t (i) VALUES ('7x')");
    auto table = db.QueryTable("SELECT i FROM t");
    EXPECT_EQ(table->ColumnText(0), "0");
    table->MoveNext();
    EXPECT_EQ(table->ColumnText(0), "7");
}

TEST_F(Db, NullReadsAsEmptyZeroOrNoneInEveryKind) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("INSERT INTO t VALUES (1, 1.5, 's', x'01', 1, 1, 'v', 1)");
    db.RunSql("INSERT INTO t VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    auto table = db.QueryTable("SELECT * FROM t");
    table->MoveNext();
    for (int c = 0; c < table->ColumnCount(); ++c) {
        EXPECT_EQ(table->ColumnText(c), "") << c;
        EXPECT_EQ(table->ColumnInteger(c), 0) << c;
        EXPECT_EQ(table->ColumnFloat(c), 0.0) << c;
        EXPECT_EQ(table->ColumnBlob(c), nullptr) << c;
    }
}

TEST_F(Db, EmptyBlobIsAbsentAndTextStopsAtZero) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("INSERT INTO t (b, s) VALUES (x'', 'ab' || char(0) || 'cd')");
    auto table = db.QueryTable("SELECT b, s FROM t");
    EXPECT_EQ(table->ColumnBlob(0), nullptr);
    EXPECT_EQ(table->ColumnText(0), "");
    EXPECT_EQ(table->ColumnText(1), "ab");
}

TEST_F(Db, UntypedColumnWhoseFirstValueIsNullHasNullKind) {
    TSQLiteDatabase db(file, dbKey);
    db.RunSql("INSERT INTO t (n) VALUES (NULL)");
    db.RunSql("INSERT INTO t (n) VALUES (5)");
    auto table = db.QueryTable("SELECT n FROM t");
    EXPECT_EQ(table->ColumnKindAt(0), kindNull);
    table->MoveNext();
    EXPECT_EQ(table->ColumnText(0), "");
    EXPECT_EQ(messageOf([&] { table->ColumnInteger(0); }), "Not an integer or numeric field");
}

TEST_F(Db, PreparedQueryBindsValuesAndRunsAgainWithNewOnes) {
    TSQLiteDatabase db(file, dbKey);
    PreparedStatement insert(db, "INSERT INTO t (i, s) VALUES (?1, ?2)");
    insert.integer(1, 1).text(2, "it's").run();
    insert.integer(1, 2).text(2, "x' OR '1'='1").run();
    PreparedStatement query(db, "SELECT i, s FROM t WHERE s=?1");
    ASSERT_TRUE(query.text(1, "it's").next());
    EXPECT_EQ(query.columnText(0), "1");
    EXPECT_FALSE(query.next());
    // A query read to its end takes new values; a value is never SQL text.
    EXPECT_EQ(query.text(1, "x' OR '1'='1").firstText(), "2");
    EXPECT_EQ(query.text(1, "nobody").firstText(), "");
    EXPECT_EQ(PreparedStatement(db, "SELECT n FROM t").firstText(), ""); // NULL
}

TEST(FloatText, GeneralFormWithFifteenDigits) {
    EXPECT_EQ(floatText(2.5), "2.5");
    EXPECT_EQ(floatText(3.0), "3");
    EXPECT_EQ(floatText(-0.125), "-0.125");
    EXPECT_EQ(floatText(0.1 + 0.2), "0.3");
    EXPECT_EQ(floatText(1e20), "1E20");
    EXPECT_EQ(floatText(1.5e-7), "1.5E-7");
    EXPECT_EQ(floatText(123456789012345.0), "123456789012345");
}

TEST_F(Db, LockedDatabaseFailsAtOnceWithCodeFive) {
    sqlite3 *holder = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &holder), SQLITE_OK);
    sqlite3_key(holder, dbKey, 4);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    TSQLiteDatabase db(file, dbKey);
    std::string m = messageOf([&] { db.QueryTable("SELECT * FROM t"); });
    EXPECT_NE(m.find("[5]: The database file is locked."), std::string::npos) << m;
    m = messageOf([&] { db.RunSql("INSERT INTO t (i) VALUES (1)"); });
    EXPECT_NE(m.find("[5]: The database file is locked."), std::string::npos) << m;
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
}

TEST_F(Db, TableOutlivesItsConnection) {
    std::unique_ptr<TSQLiteTable> table;
    {
        TSQLiteDatabase db(file, dbKey);
        db.RunSql("INSERT INTO t (s) VALUES ('kept')");
        table = db.QueryTable("SELECT s FROM t");
    }
    EXPECT_EQ(table->ColumnText(0), "kept");
}

TEST(Interop, StockClientAndLayerReadEachOthersFiles) {
    TempWorkDir dir;
    std::string byClient = dir.path("client.dbf");
    velmora::test::runStockClient(byClient,
                                  "CREATE TABLE sheng (sheng TEXT); INSERT INTO sheng VALUES ('From client');");
    {
        TSQLiteDatabase db(byClient, dbKey);
        auto table = db.QueryTable("SELECT * FROM sheng");
        ASSERT_EQ(table->RowCount(), 1);
        EXPECT_EQ(table->ColumnText(table->ColumnIndex("sheng")), "From client");
    }
    std::string byLayer = dir.path("layer.dbf");
    velmora::test::makeBusDb(byLayer, {"INSERT INTO sheng VALUES ('From layer')"});
    EXPECT_TRUE(velmora::test::runStockClient(byLayer, "SELECT sheng FROM sheng;").contains("From layer"));
}
