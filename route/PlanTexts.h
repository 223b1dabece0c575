// SPDX-License-Identifier: GPL-3.0-or-later
// A plan's texts, shared by the main window and busdb (GBK bytes).
#pragma once

#include "route/Planner.h"

#include <string>

namespace velmora::route {

// The lines joined by "→": 1路→5路.
std::string planLines(const TransferIndex &index, const Plan &plan);
// Boarding, change and alighting stations joined by "-->".
std::string planStations(const TransferIndex &index, const Plan &plan);
// "直达 共5站" or "换乘1次 共12站".
std::string planRemark(const Plan &plan);
// Each ride on its own line (line, from, to, stops, service times, fare), with where to change between them.
std::string planDetail(const TransferIndex &index, const Plan &plan);

} // namespace velmora::route
