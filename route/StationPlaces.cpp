// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a city's lines with their kinds and places, and joining stations a short walk apart.
#include "route/TransferIndex.h"

#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace velmora::route {

namespace {

constexpr double kWalkMetres = 400;      // the longest walk offered at a change
constexpr double kDetour = 1.3;          // streets are longer than the straight line
constexpr double kWalkMetresPerMin = 75; // 4.5 km/h
constexpr double kMetresPerDegree = 111320;

bool hasTable(TSQLiteDatabase &db, const char *name) {
    return db.QueryTable(std::string("SELECT 1 FROM sqlite_master WHERE type='table' AND name='") + name + "'")
               ->RowCount() > 0;
}

LineKind kindOf(const std::string &text) {
    if (text == "0" || text == "1" || text == "2")
        return LineKind(text[0] - '0');
    return LineKind::Unknown; // no row, or a kind this program does not know
}

} // namespace

std::unique_ptr<TransferIndex> TransferIndex::fromDatabase(TSQLiteDatabase &db, const std::string &cityId) {
    const bool meta = hasTable(db, "busmeta");
    std::unique_ptr<TSQLiteTable> rows =
        db.QueryTable(meta ? "SELECT bus.id, bus.lm, bus.sj, bus.pj, bus.sh, bus.xh, busmeta.kind, busmeta.shplace, "
                             "busmeta.xhplace FROM bus LEFT JOIN busmeta ON busmeta.id = bus.id where bus.cid='" +
                                 quoteSql(cityId) + "'"
                           : sql::selectLinesForPlans(cityId));
    auto index = std::make_unique<TransferIndex>();
    const int id = rows->ColumnIndex("id"), lm = rows->ColumnIndex("lm"), sj = rows->ColumnIndex("sj"),
              pj = rows->ColumnIndex("pj"), sh = rows->ColumnIndex("sh"), xh = rows->ColumnIndex("xh");
    index->lines_.reserve(std::size_t(rows->RowCount()));
    for (; !rows->AtEnd(); rows->MoveNext()) {
        LineInfo info{rows->ColumnText(id), rows->ColumnText(lm), rows->ColumnText(sj), rows->ColumnText(pj)};
        if (meta)
            index->addLine(std::move(info), rows->ColumnText(sh), rows->ColumnText(xh), kindOf(rows->ColumnText(6)),
                           rows->ColumnText(7), rows->ColumnText(8));
        else
            index->addLine(std::move(info), rows->ColumnText(sh), rows->ColumnText(xh));
    }
    if (hasTable(db, "place")) {
        auto places = db.QueryTable("SELECT name, place, lat, lon FROM place where cid='" + quoteSql(cityId) + "'");
        for (; !places->AtEnd(); places->MoveNext())
            index->addPlace(places->ColumnText(0), int(places->ColumnInteger(1)), places->ColumnFloat(2),
                            places->ColumnFloat(3));
    }
    index->finish();
    return index;
}

void TransferIndex::addPlace(std::string_view name, int place, double lat, double lon) {
    spots_.push_back({std::string(name), place, lat, lon});
}

// Stations of different names within a walk of each other, found through a grid of cells one walk wide.
void TransferIndex::joinWalks() {
    struct At {
        int station;
        double x, y; // metres
    };
    std::vector<At> at;
    double latSum = 0;
    for (const Spot &s : spots_)
        latSum += s.lat;
    const double lonScale = spots_.empty() ? 1 : std::cos(latSum / double(spots_.size()) * M_PI / 180);
    for (const Spot &s : spots_) {
        std::size_t slot;
        const int station = slots_.empty() ? -1 : find(s.name, s.place, keyHash(s.name, s.place), slot);
        if (station >= 0)
            at.push_back({station, s.lat * kMetresPerDegree, s.lon * kMetresPerDegree * lonScale});
    }
    auto cell = [](double v) { return std::int64_t(std::floor(v / kWalkMetres)); };
    auto key = [](std::int64_t cx, std::int64_t cy) {
        return std::uint64_t(cx) * 0x100000001B3ull ^ std::uint64_t(cy);
    };
    std::unordered_map<std::uint64_t, std::vector<int>> grid;
    for (int k = 0; k < int(at.size()); ++k)
        grid[key(cell(at[std::size_t(k)].x), cell(at[std::size_t(k)].y))].push_back(k);
    std::vector<std::vector<Walk>> near(names_.size());
    for (const At &a : at)
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                auto it = grid.find(key(cell(a.x) + dx, cell(a.y) + dy));
                if (it == grid.end())
                    continue;
                for (int k : it->second) {
                    const At &b = at[std::size_t(k)];
                    const double d = std::hypot(a.x - b.x, a.y - b.y);
                    if (d <= kWalkMetres && names_[std::size_t(a.station)] != names_[std::size_t(b.station)])
                        near[std::size_t(a.station)].push_back(
                            {b.station, std::max(1, int(std::ceil(d * kDetour / kWalkMetresPerMin * 10)))});
                }
            }
    walkStart_.assign(names_.size() + 1, 0);
    walks_.clear();
    for (std::size_t s = 0; s < near.size(); ++s) {
        walks_.insert(walks_.end(), near[s].begin(), near[s].end());
        walkStart_[s + 1] = walks_.size();
    }
    spots_.clear();
    spots_.shrink_to_fit();
}

} // namespace velmora::route
