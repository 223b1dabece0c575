// SPDX-License-Identifier: GPL-3.0-or-later
// Transfer plans between two typed station texts over one city's lines.
#pragma once

#include "route/TransferIndex.h"

#include <string_view>
#include <vector>

namespace velmora::route {

// Estimates, in tenths of a minute: a stop ridden, and the wait and walk of a change on top of any street walk.
constexpr int kTenthsPerStop = 25;
constexpr int kChangeTenths = 50;

// One ride: a line from a station to a later station of the same direction.
struct Leg {
    int line;
    int from, to; // station numbers
    int stops;
    std::vector<int> lines = {}; // every line riding exactly these stations, `line` first
    int walkTenths = 0;          // walked to `from` from the last ride's end (another station)
    int run = -1, boardAt = -1;  // where in the index the ride is
};

// Why a plan may not be ridden at the asked time.
enum class Service { Unknown, Running, LastGone, NotYetRunning };

struct Plan {
    std::vector<Leg> legs;
    int stops = 0;  // ridden, over all legs
    int tenths = 0; // estimated minutes (tenths): stops ridden, changes and walking
    int walkTenths = 0;
    Service service = Service::Unknown;
    int changes() const { return int(legs.size()) - 1; }
    int minutes() const { return (tenths + 5) / 10; }
};

struct PlanOptions {
    int maxChanges = 2; // 0 to 2
    std::size_t maxPlans = 10;
    int atMinute = -1; // minutes after midnight to check service times at; -1: ignore them
};

// The plans worth riding from a station the first text means to another the second text means: those no
// other plan beats on changes, minutes and walking together, with alternatives riding other stations within
// a tenth of the best time for their number of changes. Lines riding the same stations form one plan. Ordered
// by estimated minutes, plans out of service last; the best direct plan always kept.
std::vector<Plan> planTrips(const TransferIndex &index, std::string_view from, std::string_view to,
                            const PlanOptions &options = {});

} // namespace velmora::route
