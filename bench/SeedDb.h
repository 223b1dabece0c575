// SPDX-License-Identifier: GPL-3.0-or-later
// How a benchmark fills its database: values bound to one insert statement, all rows in one transaction.
#pragma once

#include "data/PreparedStatement.h"
#include "data/SQLiteDatabase.h"
#include "data/Transaction.h"
#include "text/Gbk.h"

#include <string>
#include <vector>

namespace velmora::bench {

// One row of table bus, its columns in their order; texts in GBK.
struct BusRow {
    std::string id, cid, lm, start, bz, sj, pj, sh, xh;
};

// A line with texts of realistic sizes: "<n>路" through 25 stations named after n, the same both ways.
inline BusRow syntheticLine(const std::string &id, const std::string &cid, int n) {
    const std::string name = std::to_string(n);
    std::string stations;
    for (int s = 0; s < 25; ++s)
        stations += (s ? "," : "") + gbk("站点") + name + "_" + std::to_string(s);
    return {id,
            cid,
            name + gbk("路"),
            gbk("甲站-->乙站"),
            gbk("空调车"),
            gbk("首班 6:00 末班 22:00"),
            gbk("票价 2元"),
            stations,
            stations};
}

inline void insertLines(TSQLiteDatabase &db, const std::vector<BusRow> &rows) {
    Transaction transaction(db);
    PreparedStatement insert(db, "INSERT INTO bus VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const BusRow &r : rows) {
        int i = 0;
        for (const std::string *value : {&r.id, &r.cid, &r.lm, &r.start, &r.bz, &r.sj, &r.pj, &r.sh, &r.xh})
            insert.text(++i, *value);
        insert.run();
    }
    transaction.commit();
}

// The stored city, row 1 of uconf; `name` in GBK.
inline void storeCity(TSQLiteDatabase &db, const std::string &name, const std::string &cityId) {
    PreparedStatement(db, "INSERT INTO uconf VALUES (1, ?, ?)").text(1, name).text(2, cityId).run();
}

} // namespace velmora::bench
