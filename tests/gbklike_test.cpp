// SPDX-License-Identifier: GPL-3.0-or-later
// LIKE over GBK text: what the program's station and line searches rely on.
#include "TestDb.h"
#include "data/GbkLike.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "text/Gbk.h"

#include <gtest/gtest.h>
#include <random>
#include <sqlcipher/sqlite3.h>
#include <vector>

using namespace velmora;
using velmora::test::G;

namespace {

// The first matcher, character by character with a return to the last "%": slow on long patterns but plainly
// right, so the fast one must agree with it everywhere.
std::size_t refCharLength(std::string_view s, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    return (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) ? 2 : 1;
}
unsigned char refFold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}
struct RefToken {
    enum Kind { Literal, One, Any } kind;
    std::string_view bytes;
};
std::vector<RefToken> refTokenize(std::string_view pattern, int escape) {
    std::vector<RefToken> tokens;
    for (std::size_t i = 0; i < pattern.size();) {
        std::size_t n = refCharLength(pattern, i);
        unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (n == 1 && escape != 0 && c == escape && i + 1 < pattern.size()) {
            std::size_t m = refCharLength(pattern, i + 1);
            tokens.push_back({RefToken::Literal, pattern.substr(i + 1, m)});
            i += 1 + m;
            continue;
        }
        if (n == 1 && c == '%') {
            if (tokens.empty() || tokens.back().kind != RefToken::Any)
                tokens.push_back({RefToken::Any, {}});
        } else if (n == 1 && c == '_') {
            tokens.push_back({RefToken::One, {}});
        } else {
            tokens.push_back({RefToken::Literal, pattern.substr(i, n)});
        }
        i += n;
    }
    return tokens;
}
bool refLiteralAt(std::string_view text, std::size_t i, std::string_view lit) {
    std::size_t n = refCharLength(text, i);
    if (n != lit.size())
        return false;
    if (n == 1)
        return refFold(static_cast<unsigned char>(text[i])) == refFold(static_cast<unsigned char>(lit[0]));
    return text[i] == lit[0] && text[i + 1] == lit[1];
}
bool referenceLike(std::string_view pattern, std::string_view text, int escape) {
    std::vector<RefToken> tokens = refTokenize(pattern, escape);
    std::size_t ti = 0, pi = 0, starToken = std::string_view::npos, starText = 0;
    while (ti < text.size()) {
        if (pi < tokens.size()) {
            const RefToken &tok = tokens[pi];
            if (tok.kind == RefToken::Any) {
                starToken = pi++;
                starText = ti;
                continue;
            }
            if (tok.kind == RefToken::One || refLiteralAt(text, ti, tok.bytes)) {
                ti += refCharLength(text, ti);
                ++pi;
                continue;
            }
        }
        if (starToken == std::string_view::npos)
            return false;
        starText += refCharLength(text, starText);
        ti = starText;
        pi = starToken + 1;
    }
    while (pi < tokens.size() && tokens[pi].kind == RefToken::Any)
        ++pi;
    return pi == tokens.size();
}

// Short strings over a small alphabet (sometimes only two characters), so that matches, near misses, repeats
// and half characters are all common.
std::string randomGbk(std::mt19937 &rng, std::size_t maxChars, std::size_t alphabet, bool wildcards) {
    static const std::vector<std::string> pieces = {"a",
                                                    "\xb1\xb1",
                                                    "A",
                                                    "b",
                                                    "\\",
                                                    "\xb1\xbe",
                                                    "\xbe\xa9",
                                                    "\xb1"
                                                    "a",
                                                    "\xb1"
                                                    "A",
                                                    "B",
                                                    "\x81\x40",
                                                    "\xb1"};
    static const std::vector<std::string> wild = {"%", "_", "%%"};
    std::string s;
    std::size_t n = rng() % (maxChars + 1);
    for (std::size_t i = 0; i < n; ++i)
        s += (wildcards && rng() % 3 == 0) ? wild[rng() % wild.size()] : pieces[rng() % alphabet];
    if (rng() % 8 == 0)
        s += "\xb1"; // a half character at the end
    return s;
}

} // namespace

TEST(GbkLike, WildcardsCaseAndCharacters) {
    EXPECT_TRUE(gbkLike("%5%", "K5"));
    EXPECT_TRUE(gbkLike("%k5%", "K5")); // ASCII letters without regard to case
    EXPECT_TRUE(gbkLike("1%2", "1x2"));
    EXPECT_FALSE(gbkLike("1%2", "1x2y"));
    EXPECT_TRUE(gbkLike("%%", ""));
    EXPECT_TRUE(gbkLike("", ""));
    EXPECT_FALSE(gbkLike("", "a"));
    EXPECT_TRUE(gbkLike("_", G("路"))); // "_" takes a whole double-byte character
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
    // A long literal between "%" against a longer text: one pass over the text, not one per text position.
    std::string many(100000, 'a');
    EXPECT_FALSE(gbkLike("%" + std::string(20000, 'a') + "b%", many));
    EXPECT_TRUE(gbkLike("%" + std::string(20000, 'a') + "%", many));
}

TEST(GbkLike, AgreesWithTheCharacterByCharacterMatcher) {
    std::mt19937 rng(20261209);
    for (int i = 0; i < 200000; ++i) {
        std::size_t alphabet = 2 + rng() % 11;
        std::string pattern = randomGbk(rng, 8, alphabet, true), text = randomGbk(rng, 14, alphabet, false);
        int escape = (i % 5 == 0) ? '\\' : 0;
        ASSERT_EQ(gbkLike(pattern, text, escape), referenceLike(pattern, text, escape))
            << "pattern '" << pattern << "' text '" << text << "' escape " << escape;
    }
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
