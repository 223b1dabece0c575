// LIKE over GBK text: what the program's station and line searches rely on.
#include "data/GbkLike.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "platform/Gbk.h"
#include "TestDb.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

using namespace velmora;
using velmora::test::G;

TEST(GbkLike, WildcardsCaseAndCharacters) {
    EXPECT_TRUE(gbkLike("%5%", "K5"));
    EXPECT_TRUE(gbkLike("%k5%", "K5"));         // ASCII letters without regard to case
    EXPECT_TRUE(gbkLike("1%2", "1x2"));
    EXPECT_FALSE(gbkLike("1%2", "1x2y"));
    EXPECT_TRUE(gbkLike("%%", ""));
    EXPECT_TRUE(gbkLike("", ""));
    EXPECT_FALSE(gbkLike("", "a"));
    EXPECT_TRUE(gbkLike("_" , G("路")));         // "_" takes a whole double-byte character
    EXPECT_FALSE(gbkLike("__", G("路")));
    EXPECT_TRUE(gbkLike(G("%广场%"), G("人民广场")));
    EXPECT_TRUE(gbkLike(G("%，%"), G("甲，乙")));
    EXPECT_FALSE(gbkLike(G("%a%"), G("甲乙"))); // GBK bytes are never folded as letters
    // A match never starts inside a character: B1 BE is not a character of the text B1B1 BEA9 ("北京").
    EXPECT_FALSE(gbkLike("%\xb1\xbe%", G("北京")));
    EXPECT_TRUE(gbkLike("a\\%b", "a%b", '\\'));
    EXPECT_FALSE(gbkLike("a\\%b", "axb", '\\'));
    // Many "%" against a long text stays quick (no exponential backtracking).
    std::string text(20000, 'a');
    EXPECT_FALSE(gbkLike("%a%a%a%a%a%a%a%a%b%", text));
}

TEST(GbkLike, TheProgramsSearchesFindEverySubstring) {
    test::TempWorkDir dir;
    test::makeBusDb(dbFileName, {"INSERT INTO bus (id, cid, lm, sh) VALUES ('1', '1', '1路', '人民广场,火车站')",
                                 "INSERT INTO bus (id, cid, lm, sh) VALUES ('2', '1', '2路', '甲，乙,丙')",
                                 "INSERT INTO bus (id, cid, lm, sh) VALUES ('3', '1', 'k3', NULL)"});
    // The engine's own LIKE, reading GBK as UTF-8, misses the first of these; the program's does not.
    {
        sqlite3 *raw = nullptr;
        sqlite3_open(dbFileName, &raw);
        sqlite3_key(raw, dbKey, 4);
        sqlite3_stmt *stmt = nullptr;
        std::string sql = sql::selectLinesByStation("1", G("广场"));
        sqlite3_prepare_v2(raw, sql.c_str(), -1, &stmt, nullptr);
        EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE);
        sqlite3_finalize(stmt);
        sqlite3_close(raw);
    }
    TSQLiteDatabase db(dbFileName, dbKey);
    EXPECT_EQ(db.QueryTable(sql::selectLinesByStation("1", G("广场")))->RowCount(), 1);
    EXPECT_EQ(db.QueryTable(sql::selectLinesByStation("1", G("，")))->RowCount(), 1);
    EXPECT_EQ(db.QueryTable(sql::selectLinesByStations("1", G("火车站"), G("人民")))->RowCount(), 1);
    EXPECT_EQ(db.QueryTable(sql::selectLinesByName("1", "K"))->RowCount(), 1);
    EXPECT_EQ(db.QueryTable(sql::selectLinesByStation("1", ""))->RowCount(), 2); // NULL never matches
}
