// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a plan's lines run when it would ride them, from the first and last departures in `sj`.
#pragma once

#include "route/Planner.h"

#include <string_view>

namespace velmora::route {

// The first and last clock times in a text ("首班 6:30 末班 22:00"), minutes after midnight; false when it
// holds fewer than two.
bool serviceHours(std::string_view times, int &first, int &last);

// Each ride boarded at `atMinute` plus the estimated minutes before it; Unknown when atMinute is negative or
// no line of the plan gives its hours.
Service serviceAt(const TransferIndex &index, const Plan &plan, int atMinute);

} // namespace velmora::route
