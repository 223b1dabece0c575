// SPDX-License-Identifier: GPL-3.0-or-later
// Every statement the program issues against the bus database, in one place.
// Inserted values have each single quote doubled, so a value can never end its literal; for values without
// a quote the texts are exactly the program's statement texts.
#pragma once

#include <string>
#include <string_view>

namespace velmora {
// Doubles every single quote, so a text can stand inside an SQL string literal.
std::string quoteSql(std::string_view s);
} // namespace velmora

namespace velmora::sql {

// The stored city: row id 1 of uconf.
std::string selectStoredCity();
// All provinces, for the city dialog.
std::string selectProvinces();
// The cities of one province.
std::string selectCitiesOf(const std::string &province);
// Stores the chosen city.
std::string updateStoredCity(const std::string &cityName, const std::string &cityId);
// All lines of a city: the default query.
std::string selectAllLines(const std::string &cityId);
// The columns of a city's lines that transfer plans use.
std::string selectLinesForPlans(const std::string &cityId);
// Lines of a city whose name contains `text`.
std::string selectLinesByName(const std::string &cityId, const std::string &text);
// Lines of a city that pass a station.
std::string selectLinesByStation(const std::string &cityId, const std::string &station);
// Lines of a city that pass two stations, in either order.
std::string selectLinesByStations(const std::string &cityId, const std::string &first, const std::string &second);

} // namespace velmora::sql
