// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/TransferIndex.h"

#include "data/GbkLike.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "platform/Gbk.h"
#include <algorithm>
#include <cstring>

namespace velmora::route {

namespace {

// The text as a LIKE pattern that matches it literally anywhere in a name. Only whole one-byte characters are
// escaped: a GBK trail byte may be 0x5C or 0x5F without being "\" or "_".
std::string containsPattern(std::string_view text) {
    std::string pattern = "%";
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t n = (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) ? 2 : 1;
        if (n == 1 && (c == '%' || c == '_' || c == '\\'))
            pattern += '\\';
        pattern.append(text.substr(i, n));
        i += n;
    }
    return pattern + "%";
}

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

std::unique_ptr<TransferIndex> TransferIndex::fromDatabase(TSQLiteDatabase &db, const std::string &cityId) {
    std::unique_ptr<TSQLiteTable> rows = db.QueryTable(sql::selectLinesForPlans(cityId));
    auto index = std::make_unique<TransferIndex>();
    const int id = rows->ColumnIndex("id"), lm = rows->ColumnIndex("lm"), sj = rows->ColumnIndex("sj"),
              pj = rows->ColumnIndex("pj"), sh = rows->ColumnIndex("sh"), xh = rows->ColumnIndex("xh");
    index->lines_.reserve(std::size_t(rows->RowCount()));
    for (; !rows->AtEnd(); rows->MoveNext()) {
        LineInfo info{rows->ColumnText(id), rows->ColumnText(lm), rows->ColumnText(sj), rows->ColumnText(pj)};
        index->addLine(std::move(info), rows->ColumnText(sh), rows->ColumnText(xh));
    }
    index->finish();
    return index;
}

int TransferIndex::find(std::string_view name, std::uint32_t hash, std::size_t &slot) const {
    const std::size_t mask = slots_.size() - 1;
    for (slot = hash & mask; slots_[slot].station >= 0; slot = (slot + 1) & mask)
        if (slots_[slot].hash == hash && names_[std::size_t(slots_[slot].station)] == name)
            return slots_[slot].station;
    return -1;
}

int TransferIndex::intern(std::string_view name) {
    if (slots_.empty())
        slots_.assign(1024, {0, -1});
    const std::uint32_t hash = nameHash(name);
    std::size_t slot;
    const int found = find(name, hash, slot);
    if (found >= 0)
        return found;
    const int station = int(names_.size());
    names_.emplace_back(name);
    slots_[slot] = {hash, station};
    if (names_.size() * 2 > slots_.size()) { // keep at most half full, so probes stay short
        std::vector<Slot> old(slots_.size() * 2, {0, -1});
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

void TransferIndex::addRun(int line, const std::vector<int> &stations) {
    if (stations.size() < 2)
        return; // one station is no ride
    runs_.push_back({line, int(stops_.size()), int(stops_.size() + stations.size())});
    stops_.insert(stops_.end(), stations.begin(), stations.end());
}

void TransferIndex::addLine(LineInfo info, std::string_view sh, std::string_view xh) {
    const int line = int(lines_.size());
    lines_.push_back(std::move(info));
    up_.clear();
    forEachName(sh, [this](std::string_view name) {
        up_.push_back(intern(name));
        return true;
    });
    addRun(line, up_);
    // Most data leave the return list out when the line runs the same stations back, or give exactly the up
    // list reversed; both reuse the up list's stations instead of looking every name up again.
    std::size_t back = up_.size();
    const bool mirrored = forEachName(
        xh, [this, &back](std::string_view name) { return back > 0 && names_[std::size_t(up_[--back])] == name; });
    down_.assign(up_.rbegin(), up_.rend());
    if (!mirrored || (back != 0 && !trimmedBytes(xh).empty())) {
        down_.clear();
        forEachName(xh, [this](std::string_view name) {
            down_.push_back(intern(name));
            return true;
        });
    }
    addRun(line, down_);
}

void TransferIndex::finish() {
    occStart_.assign(names_.size() + 1, 0);
    for (const Run &run : runs_)
        for (int at = run.begin; at < run.end; ++at)
            ++occStart_[std::size_t(stops_[std::size_t(at)]) + 1];
    for (std::size_t s = 1; s < occStart_.size(); ++s)
        occStart_[s] += occStart_[s - 1];
    occurrences_.resize(occStart_.back());
    std::vector<std::size_t> next(occStart_.begin(), occStart_.end() - 1);
    for (int r = 0; r < int(runs_.size()); ++r)
        for (int at = runs_[std::size_t(r)].begin; at < runs_[std::size_t(r)].end; ++at)
            occurrences_[next[std::size_t(stops_[std::size_t(at)])]++] = {r, at};
}

std::vector<int> TransferIndex::matchStations(std::string_view typed) const {
    std::string_view text = trimmedBytes(typed);
    if (text.empty())
        return {};
    std::size_t slot;
    const int exact = slots_.empty() ? -1 : find(text, nameHash(text), slot);
    if (exact >= 0)
        return {exact};
    const std::string pattern = containsPattern(text);
    std::vector<int> found;
    for (int s = 0; s < int(names_.size()); ++s)
        if (gbkLike(pattern, names_[std::size_t(s)], '\\'))
            found.push_back(s);
    return found;
}

} // namespace velmora::route
