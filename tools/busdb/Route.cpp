// SPDX-License-Identifier: GPL-3.0-or-later
#include "Route.h"

#include "DbFile.h"
#include "Error.h"

#include "data/PreparedStatement.h"
#include "data/SQLiteDatabase.h"
#include "route/PlanTexts.h"
#include "route/Planner.h"
#include "text/Gbk.h"

#include <ostream>

namespace velmora::busdb {

namespace {

std::string toGbkArgument(const std::string &utf8, const char *what) {
    std::string out;
    if (!utf8ToGbk(utf8, out))
        throw Error(std::string(what) + " holds a character GBK cannot hold: " + utf8);
    return out;
}

// A city id as given, else the id of the city of that name.
std::string resolveCity(TSQLiteDatabase &db, const std::string &gbkCity) {
    for (const char *sql : {"SELECT id FROM city where id=?1", "SELECT cid FROM bus where cid=?1 LIMIT 1",
                            "SELECT id FROM city where city=?1"}) {
        PreparedStatement query(db, sql);
        if (query.text(1, gbkCity).next())
            return query.columnText(0);
    }
    throw Error("no city " + gbkToUtf8(gbkCity));
}

} // namespace

int printRoutes(const std::string &file, const std::string &city, const std::string &from, const std::string &to,
                int maxChanges, int atMinute, std::ostream &out, std::ostream &err) {
    requireFile(file);
    TSQLiteDatabase db(file, dbKey);
    const std::string cityId = resolveCity(db, toGbkArgument(city, "--city"));
    const auto index = route::TransferIndex::fromDatabase(db, cityId);
    route::PlanOptions options;
    options.maxChanges = maxChanges;
    options.atMinute = atMinute;
    const auto plans = route::planTrips(*index, toGbkArgument(from, "FROM"), toGbkArgument(to, "TO"), options);
    for (const route::Plan &plan : plans)
        out << gbkToUtf8(route::planLines(*index, plan)) << '\t' << gbkToUtf8(route::planStations(*index, plan)) << '\t'
            << gbkToUtf8(route::planRemark(plan)) << '\n';
    if (plans.empty()) {
        err << "busdb: no plan from " << from << " to " << to << " with at most " << maxChanges << " changes\n";
        return 1;
    }
    return 0;
}

} // namespace velmora::busdb
