// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of one city as rides between stations: every station name once, every direction a line runs as a
// list of station numbers, and where each station occurs on those lists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {
class TSQLiteDatabase;
}

namespace velmora::route {

// What a plan shows of a line: the bus columns id, lm, sj and pj, as stored (GBK).
struct LineInfo {
    std::string id, name, times, fare;
};

class TransferIndex {
public:
    // Reads the city's lines with one query on `db`.
    static std::unique_ptr<TransferIndex> fromDatabase(TSQLiteDatabase &db, const std::string &cityId);

    // Adds a line: `sh` is the up direction, `xh` the down direction (comma-separated); a blank `xh` means the
    // line also runs `sh` backwards. Call finish() once after the last line.
    void addLine(LineInfo info, std::string_view sh, std::string_view xh);
    void finish();

    int lineCount() const { return int(lines_.size()); }
    const LineInfo &line(int index) const { return lines_[std::size_t(index)]; }
    int stationCount() const { return int(names_.size()); }
    const std::string &stationName(int station) const { return names_[std::size_t(station)]; }

    // The stations a typed text means: the station of that name, else every station whose name contains it
    // (whole characters, ASCII letters in either case). Blank text means none.
    std::vector<int> matchStations(std::string_view typed) const;

    // One direction of a line: its stations in riding order.
    struct Run {
        int line;
        int begin, end; // into stops()
    };
    const std::vector<Run> &runs() const { return runs_; }
    const std::vector<int> &stops() const { return stops_; }

    // Where a station occurs: run number and position in stops().
    struct Occurrence {
        int run;
        int at;
    };
    const Occurrence *occurrencesBegin(int station) const {
        return occurrences_.data() + occStart_[std::size_t(station)];
    }
    const Occurrence *occurrencesEnd(int station) const {
        return occurrences_.data() + occStart_[std::size_t(station) + 1];
    }

private:
    int intern(std::string_view trimmed);
    int find(std::string_view trimmed, std::uint32_t hash, std::size_t &slot) const;
    void addRun(int line, const std::vector<int> &stations);

    std::vector<LineInfo> lines_;
    std::vector<std::string> names_;
    // Station numbers by name, open addressing: a city's build looks up every station of every line, and this
    // takes a fraction of what a node-based map takes. Each slot keeps the name's hash beside its number.
    struct Slot {
        std::uint32_t hash;
        int station; // -1: empty
    };
    std::vector<Slot> slots_;
    std::vector<int> up_, down_; // the line being added
    std::vector<Run> runs_;
    std::vector<int> stops_;
    std::vector<std::size_t> occStart_;
    std::vector<Occurrence> occurrences_;
};

} // namespace velmora::route
