// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/TransferIndex.h"

#include "data/GbkLike.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "text/Gbk.h"
#include <algorithm>
#include <cstring>

namespace velmora::route {

namespace {

// Eight bytes at a time with a multiply-xorshift mix: names are a few words long, and this is the hottest
// step of building a city's index.
std::uint32_t nameHash(std::string_view s) {
    std::uint64_t h = std::uint64_t(s.size()) * 0x9E3779B97F4A7C15ull;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, s.data() + i, s.size() - i);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return std::uint32_t(h ^ (h >> 29));
}

} // namespace

std::uint32_t TransferIndex::keyHash(std::string_view name, int place) {
    return nameHash(name) + std::uint32_t(place - 1) * 0x9E3779B1u;
}

int TransferIndex::find(std::string_view name, int place, std::uint32_t hash, std::size_t &slot) const {
    const std::size_t mask = slots_.size() - 1;
    for (slot = hash & mask; slots_[slot].station >= 0; slot = (slot + 1) & mask) {
        const Slot &at = slots_[slot];
        if (at.hash == hash && at.place == place && names_[std::size_t(at.station)] == name)
            return at.station;
    }
    return -1;
}

// One station per name and place: far-apart stops of one name stay apart.
int TransferIndex::intern(std::string_view name, int place) {
    if (slots_.empty())
        slots_.assign(1024, {0, -1, 0});
    const std::uint32_t hash = keyHash(name, place);
    std::size_t slot;
    const int found = find(name, place, hash, slot);
    if (found >= 0)
        return found;
    const int station = int(names_.size());
    names_.emplace_back(name);
    places_.push_back(place);
    slots_[slot] = {hash, station, place};
    if (names_.size() * 2 > slots_.size()) { // keep at most half full, so probes stay short
        std::vector<Slot> old(slots_.size() * 2, {0, -1, 0});
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot &s : old)
            if (s.station >= 0) {
                std::size_t at = s.hash & mask;
                while (slots_[at].station >= 0)
                    at = (at + 1) & mask;
                slots_[at] = s;
            }
    }
    return station;
}

// Calls `each` with every station name of a comma-separated list, trimmed; empty names are skipped, so "A,,B"
// rides A to B. Stops early when `each` returns false; returns false then.
template <typename Each> bool forEachName(std::string_view list, Each each) {
    for (std::size_t from = 0; from <= list.size();) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string_view::npos)
            comma = list.size();
        std::string_view name = trimmedBytes(list.substr(from, comma - from));
        if (!name.empty() && !each(name))
            return false;
        from = comma + 1;
    }
    return true;
}

// The place numbers of a comma-separated list; empty when blank or not one per station of `stations`.
std::vector<int> placeNumbers(std::string_view list, std::size_t stations) {
    std::vector<int> out;
    if (trimmedBytes(list).empty())
        return out;
    forEachName(list, [&out](std::string_view n) {
        int v = 0;
        for (char c : n)
            v = (c >= '0' && c <= '9' && v < 100000) ? v * 10 + (c - '0') : -1000000;
        out.push_back(v > 0 ? v : 1);
        return true;
    });
    if (out.size() != stations)
        out.clear();
    return out;
}

void TransferIndex::readStations(std::string_view list, std::string_view places, std::vector<int> &into) {
    into.clear();
    if (trimmedBytes(places).empty()) { // the common case: no second pass over the names
        forEachName(list, [this, &into](std::string_view name) {
            into.push_back(intern(name, 1));
            return true;
        });
        return;
    }
    std::vector<std::string_view> names;
    forEachName(list, [&names](std::string_view name) {
        names.push_back(name);
        return true;
    });
    std::vector<int> numbers = placeNumbers(places, names.size());
    numbers.resize(names.size(), 1);
    for (std::size_t k = 0; k < names.size(); ++k)
        into.push_back(intern(names[k], numbers[k]));
}

void TransferIndex::addRun(int line, const std::vector<int> &stations, bool loop) {
    if (stations.size() < 2)
        return; // one station is no ride
    const int begin = int(stops_.size()), n = int(stations.size());
    stops_.insert(stops_.end(), stations.begin(), stations.end());
    if (loop) // round the loop: the stations again, less the last, so every ride is a forward stretch
        stops_.insert(stops_.end(), stations.begin(), stations.end() - 1);
    runs_.push_back({line, begin, int(stops_.size()), begin + n, loop});
}

void TransferIndex::addLine(LineInfo info, std::string_view sh, std::string_view xh, LineKind kind,
                            std::string_view shPlaces, std::string_view xhPlaces) {
    const int line = int(lines_.size());
    lines_.push_back(std::move(info));
    readStations(sh, shPlaces, up_);
    if (kind == LineKind::Unknown)
        kind = up_.size() > 2 && up_.front() == up_.back() ? LineKind::Loop : LineKind::BothWays;
    if (kind == LineKind::Loop) {
        if (up_.size() > 1 && up_.front() == up_.back())
            up_.pop_back(); // the closing station is the first one again
        addRun(line, up_, true);
        return;
    }
    addRun(line, up_, false);
    if (kind == LineKind::OneWay)
        return;
    // Most data leave the return list out when the line runs the same stations back, or give exactly the up
    // list reversed; both reuse the up list's stations instead of looking every name up again.
    std::size_t back = up_.size();
    const bool mirrored =
        trimmedBytes(xhPlaces).empty() && forEachName(xh, [this, &back](std::string_view name) {
            return back > 0 && names_[std::size_t(up_[--back])] == name && places_[std::size_t(up_[back])] == 1;
        });
    down_.assign(up_.rbegin(), up_.rend());
    if (!mirrored || (back != 0 && !trimmedBytes(xh).empty()))
        readStations(xh, xhPlaces, down_);
    addRun(line, down_, false);
}

void TransferIndex::finish() {
    occStart_.assign(names_.size() + 1, 0);
    for (const Run &run : runs_)
        for (int at = run.begin; at < run.boardEnd; ++at)
            ++occStart_[std::size_t(stops_[std::size_t(at)]) + 1];
    for (std::size_t s = 1; s < occStart_.size(); ++s)
        occStart_[s] += occStart_[s - 1];
    occurrences_.resize(occStart_.back());
    std::vector<std::size_t> next(occStart_.begin(), occStart_.end() - 1);
    for (int r = 0; r < int(runs_.size()); ++r)
        for (int at = runs_[std::size_t(r)].begin; at < runs_[std::size_t(r)].boardEnd; ++at)
            occurrences_[next[std::size_t(stops_[std::size_t(at)])]++] = {r, at};
    joinWalks();
}

int TransferIndex::positionOn(int station, int run) const {
    const Occurrence *first = occurrencesBegin(station), *last = occurrencesEnd(station);
    const Occurrence *o = std::lower_bound(first, last, run, [](const Occurrence &a, int r) { return a.run < r; });
    return o != last && o->run == run ? o->at : -1;
}

} // namespace velmora::route
