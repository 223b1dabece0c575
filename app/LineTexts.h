// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's texts that need no widgets: the query text of each mode, a line's detail text and
// caption, the count caption and the addresses of the link labels. All texts are GBK bytes.
#pragma once

#include <string>

namespace velmora {

// The SQL text the query button builds for a mode (1 line, 2 station, 3 station-to-station) from the texts of
// the two input boxes as typed; empty for any other mode, so the run lists all lines of the city.
std::string queryTextFor(int mode, const std::string &cityId, const std::string &q1, const std::string &q2);

// One line's description: notes, times and fare, then the stations of both directions.
std::string detailText(const std::string &bz, const std::string &sj, const std::string &pj, const std::string &sh,
                       const std::string &xh);

// The caption above the description: city, line name and first and last stop; ends with an ASCII space.
std::string detailCaption(const std::string &cityName, const std::string &lm, const std::string &start);

// "查询结果: " + count + "条公交".
std::string countCaption(int rows);

// Every byte outside letters, digits and "-._~" as %XX, so any id stays one path segment.
std::string percentEncode(const std::string &bytes);

// The line's page: site base + "/i.php/" + encoded id + ".html".
std::string lineAddress(const std::string &siteBase, const std::string &lineId);

// The site's home page: site base + "/".
std::string homeAddress(const std::string &siteBase);

} // namespace velmora
