// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Statements.h"

#include "text/Gbk.h"

namespace velmora {
std::string quoteSql(std::string_view s) {
    return replaceAll(s, "'", "''");
}
} // namespace velmora

namespace velmora::sql {

std::string selectStoredCity() {
    return "SELECT * FROM uconf where id=1";
}

std::string selectProvinces() {
    return "SELECT * FROM sheng ";
}

std::string selectCitiesOf(const std::string &province) {
    return "SELECT * FROM city where scity='" + quoteSql(province) + "'";
}

std::string updateStoredCity(const std::string &cityName, const std::string &cityId) {
    return "update uconf set city='" + quoteSql(cityName) + "',cid='" + quoteSql(cityId) + "' where id=1";
}

std::string selectAllLines(const std::string &cityId) {
    return "SELECT * FROM bus where cid='" + quoteSql(cityId) + "'";
}

std::string selectLinesForPlans(const std::string &cityId) {
    return "SELECT id, lm, sj, pj, sh, xh FROM bus where cid='" + quoteSql(cityId) + "'";
}

std::string selectLinesByName(const std::string &cityId, const std::string &text) {
    return "select * from bus where cid='" + quoteSql(cityId) + "' and lm like '%" + quoteSql(text) + "%'";
}

std::string selectLinesByStation(const std::string &cityId, const std::string &station) {
    return "select * from bus where cid='" + quoteSql(cityId) + "' and sh like '%" + quoteSql(station) + "%'";
}

std::string selectLinesByStations(const std::string &cityId, const std::string &first, const std::string &second) {
    return "select * from bus where cid='" + quoteSql(cityId) + "' and sh like '%" + quoteSql(first) +
           "%' and sh like '%" + quoteSql(second) + "%'";
}

} // namespace velmora::sql
