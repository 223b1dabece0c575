// SPDX-License-Identifier: GPL-3.0-or-later
// The statement texts, compared byte for byte with the program's texts.
#include "data/Schema.h"
#include "data/Statements.h"
#include "text/Gbk.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Statements, QuoteDoublesEverySingleQuote) {
    EXPECT_EQ(quoteSql("it's"), "it''s");
    EXPECT_EQ(quoteSql("''"), "''''");
}

TEST(Statements, FixedTexts) {
    EXPECT_EQ(sql::selectStoredCity(), "SELECT * FROM uconf where id=1");
    EXPECT_EQ(sql::selectProvinces(), "SELECT * FROM sheng "); // the trailing blank is part of it
}

TEST(Statements, CityDialogTexts) {
    EXPECT_EQ(sql::selectCitiesOf(gbk("河北")), gbk("SELECT * FROM city where scity='河北'"));
    EXPECT_EQ(sql::updateStoredCity(gbk("北京"), "1"), gbk("update uconf set city='北京',cid='1' where id=1"));
}

TEST(Statements, QueryTexts) {
    EXPECT_EQ(sql::selectAllLines("1"), "SELECT * FROM bus where cid='1'");
    EXPECT_EQ(sql::selectLinesByName("1", "5"), "select * from bus where cid='1' and lm like '%5%'");
    EXPECT_EQ(sql::selectLinesByStation("12", gbk("西单")),
              gbk("select * from bus where cid='12' and sh like '%西单%'"));
    EXPECT_EQ(sql::selectLinesByStations("1", "A", ""),
              "select * from bus where cid='1' and sh like '%A%' and sh like '%%'");
    // Wildcards keep their meaning.
    EXPECT_EQ(sql::selectLinesByName("1", "1%2_"), "select * from bus where cid='1' and lm like '%1%2_%'");
}

TEST(Statements, QuotesAreDoubledEverywhere) {
    EXPECT_EQ(sql::selectLinesByName("1", "a'b"), "select * from bus where cid='1' and lm like '%a''b%'");
    EXPECT_EQ(sql::selectLinesByStations("1", "'", "x'"),
              "select * from bus where cid='1' and sh like '%''%' and sh like '%x''%'");
    EXPECT_EQ(sql::selectCitiesOf("O'Hare"), "SELECT * FROM city where scity='O''Hare'");
    EXPECT_EQ(sql::updateStoredCity("a'b", "1'"), "update uconf set city='a''b',cid='1''' where id=1");
    EXPECT_EQ(sql::selectAllLines("1' or '1'='1"), "SELECT * FROM bus where cid='1'' or ''1''=''1'");
}

TEST(Schema, EveryColumnHasADeclaredType) {
    int tables = 0;
    for (const char *const *s = schemaStatements(); *s; ++s) {
        std::string text(*s);
        if (text.rfind("CREATE TABLE", 0) == 0) {
            ++tables;
            EXPECT_EQ(text.find(" ,"), std::string::npos) << text;
        }
    }
    EXPECT_EQ(tables, 4);
}
