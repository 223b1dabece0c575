// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces of GTFS reading: ids to indexes, times, counts, and the texts of times and prices.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmora::busdb {

// Names to indexes; the names live in a deque so the views into them stay valid.
class IdMap {
public:
    // Returns false when the id is already there.
    bool add(std::string_view id, int index) {
        if (map_.count(id))
            return false;
        map_.emplace(store_.emplace_back(id), index);
        return true;
    }
    int find(std::string_view id) const {
        auto it = map_.find(id);
        return it == map_.end() ? -1 : it->second;
    }

private:
    std::deque<std::string> store_;
    std::unordered_map<std::string_view, int> map_;
};

// Spreads the bits of a number, for order-free fingerprints (sums of mixed values).
std::uint64_t mix(std::uint64_t x);

// "H:MM:SS" (hours may pass 24) to seconds; -1 for an empty field, -2 for a malformed one.
int parseTime(std::string_view s);

// Degrees as a decimal number within [-limit, limit] (spaces around allowed).
bool parseDegrees(std::string_view s, double limit, double &value);

// A stop's position in degrees (latitude, longitude); false when either is missing, malformed, out of range,
// or both are 0 (what feeds write for "unknown").
bool parsePosition(std::string_view lat, std::string_view lon, double out[2]);

// A whole number of up to 9 digits.
bool parseCount(std::string_view s, std::uint32_t &value);

// Seconds after midnight as "HH:MM", past 24:00 as the next day's time.
std::string clockText(int seconds);

// A price with at most two decimals and no trailing zeros: "2", "1.5", "1.25".
std::string priceText(double price);

} // namespace velmora::busdb
