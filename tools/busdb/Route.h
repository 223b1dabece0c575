// SPDX-License-Identifier: GPL-3.0-or-later
// busdb route: the transfer plans between two stations of a city, as the main window lists them.
#pragma once

#include <iosfwd>
#include <string>

namespace velmora::busdb {

// Writes one plan per line (lines, stations, remark; tab-separated UTF-8). `city` is a city id or name; the
// texts are UTF-8. `atMinute` (minutes after midnight, -1: none) marks plans out of service then. Returns the
// exit code: 0 with plans, 1 after telling `err` that there is none.
int printRoutes(const std::string &file, const std::string &city, const std::string &from, const std::string &to,
                int maxChanges, int atMinute, std::ostream &out, std::ostream &err);

} // namespace velmora::busdb
