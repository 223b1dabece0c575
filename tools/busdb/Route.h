// SPDX-License-Identifier: GPL-3.0-or-later
// busdb route: the transfer plans between two stations of a city, as the main window lists them.
#pragma once

#include <iosfwd>
#include <string>

namespace velmora::busdb {

// Writes one plan per line (lines, stations, remark; tab-separated UTF-8). `city` is a city id or name; the
// texts are UTF-8. Returns the exit code: 0 with plans, 1 after telling `err` that there is none.
int printRoutes(const std::string &file, const std::string &city, const std::string &from, const std::string &to,
                int maxChanges, std::ostream &out, std::ostream &err);

} // namespace velmora::busdb
