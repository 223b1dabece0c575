// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of one city as rides between stations: every station once, every direction a line runs as a list
// of station numbers, where each station occurs on those lists, and which stations are a short walk apart.
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

// How a line runs. Unknown (no stored kind): a loop when `sh` starts and ends at the same station, else both
// ways. The numbers are those stored in busmeta.kind.
enum class LineKind : int { BothWays = 0, OneWay = 1, Loop = 2, Unknown = -1 };

class TransferIndex {
public:
    TransferIndex();
    ~TransferIndex();
    TransferIndex(TransferIndex &&) noexcept;
    TransferIndex &operator=(TransferIndex &&) noexcept;

    // Reads the city's lines with one query on `db`; line kinds and station places too where the database
    // has them.
    static std::unique_ptr<TransferIndex> fromDatabase(TSQLiteDatabase &db, const std::string &cityId);

    // Adds a line: `sh` is the up direction, `xh` the down direction (comma-separated); a blank `xh` means the
    // line also runs `sh` backwards. A one-way line runs only `sh`; a loop runs `sh` round and round.
    // `shPlaces` / `xhPlaces` say which place of each station's name the line stops at (blank: place 1).
    // Call finish() once after the last line.
    void addLine(LineInfo info, std::string_view sh, std::string_view xh, LineKind kind = LineKind::Unknown,
                 std::string_view shPlaces = {}, std::string_view xhPlaces = {});
    // Where a place of a station name lies (WGS84 degrees); stations within walking distance get joined.
    void addPlace(std::string_view name, int place, double lat, double lon);
    void finish();

    int lineCount() const { return int(lines_.size()); }
    const LineInfo &line(int index) const { return lines_[std::size_t(index)]; }
    int stationCount() const { return int(names_.size()); }
    const std::string &stationName(int station) const { return names_[std::size_t(station)]; }

    // The stations a typed text means: every station whose name contains it, stations of exactly that name
    // first. Simplified and traditional characters match each other, and so do full pinyin and pinyin
    // initials (ASCII letters in either case). Blank text means none.
    std::vector<int> matchStations(std::string_view typed) const;

    // One direction of a line: its stations in riding order. A loop's stations are stored twice over (less the
    // last), so a ride round the loop is a plain stretch: board at [begin, boardEnd), ride at most `span` on.
    struct Run {
        int line;
        int begin, end; // into stops()
        int boardEnd;
        bool loop;
        int limit(int at) const { return loop ? at + (boardEnd - begin) : end; }
    };
    const std::vector<Run> &runs() const { return runs_; }
    const std::vector<int> &stops() const { return stops_; }

    // Where a station occurs (boarding positions only), ordered by run: run number and position in stops().
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
    // The first position at which `run` can be boarded at `station`, or -1.
    int positionOn(int station, int run) const;

    // Stations of other names within walking distance, with the estimated walk in tenths of a minute.
    struct Walk {
        int station;
        int tenths;
    };
    const Walk *walksBegin(int station) const { return walks_.data() + walkStart_[std::size_t(station)]; }
    const Walk *walksEnd(int station) const { return walks_.data() + walkStart_[std::size_t(station) + 1]; }

private:
    static std::uint32_t keyHash(std::string_view name, int place);
    int intern(std::string_view trimmed, int place);
    int find(std::string_view trimmed, int place, std::uint32_t hash, std::size_t &slot) const;
    void addRun(int line, const std::vector<int> &stations, bool loop);
    void readStations(std::string_view list, std::string_view places, std::vector<int> &into);
    void joinWalks();
    struct Folds;
    const Folds &folds(bool pinyin) const;

    std::vector<LineInfo> lines_;
    std::vector<std::string> names_;
    std::vector<int> places_; // per station: which place of its name (1 unless stored otherwise)
    // Station numbers by name and place, open addressing: a city's build looks up every station of every line,
    // and this takes a fraction of what a node-based map takes. Each slot keeps the key's hash beside its number.
    struct Slot {
        std::uint32_t hash;
        int station; // -1: empty
        int place;   // beside the number, so a lookup reads no other array before the name
    };
    std::vector<Slot> slots_;
    std::vector<int> up_, down_; // the line being added
    std::vector<Run> runs_;
    std::vector<int> stops_;
    std::vector<std::size_t> occStart_;
    std::vector<Occurrence> occurrences_;
    struct Spot {
        std::string name;
        int place;
        double lat, lon;
    };
    std::vector<Spot> spots_; // places as added, joined to stations by finish()
    std::vector<std::size_t> walkStart_;
    std::vector<Walk> walks_;
    // Names folded for matching, made on the first match that needs them (building them costs more than the
    // rest of the index); guarded, since plans and suggestions may match from different threads.
    std::unique_ptr<Folds> folds_;
};

} // namespace velmora::route
