// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer plans between two typed station texts over one city's lines.
#pragma once

#include "route/TransferIndex.h"

#include <string_view>
#include <vector>

namespace velmora::route {

// One ride: a line from a station to a later station of the same direction.
struct Leg {
    int line;
    int from, to; // station numbers
    int stops;
};

struct Plan {
    std::vector<Leg> legs;
    int stops = 0; // ridden, over all legs
    int changes() const { return int(legs.size()) - 1; }
};

struct PlanOptions {
    int maxChanges = 2; // 0 to 2
    std::size_t maxPlans = 50;
};

// Plans with no change, one and two changes, one per sequence of lines (its fewest stops), ordered by changes,
// then stops ridden, then line names; at most maxPlans. No line is ridden twice and no station visited twice.
std::vector<Plan> planTrips(const TransferIndex &index, std::string_view from, std::string_view to,
                            const PlanOptions &options = {});

} // namespace velmora::route
