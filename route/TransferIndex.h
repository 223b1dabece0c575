// The lines of one city as rides between stations: every station name once, every direction a line runs as a
// list of station numbers, and where each station occurs on those lists.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora {
class TSQLiteDatabase;
}

namespace velmora::route {

// What a plan shows of a line: the bus columns id, lm, start, bz, sj and pj, as stored (GBK).
struct LineInfo {
    std::string id, name, ends, notes, times, fare;
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
    void addRun(int line, std::string_view list, bool reversed);

    std::vector<LineInfo> lines_;
    std::deque<std::string> names_; // a deque, so the views in byName_ stay valid as it grows
    // Station names are short; FNV-1a hashes them in a fraction of the standard hash's time.
    struct NameHash {
        std::size_t operator()(std::string_view s) const noexcept {
            std::uint64_t h = 1469598103934665603ull;
            for (char c : s)
                h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
            return std::size_t(h);
        }
    };
    std::unordered_map<std::string_view, int, NameHash> byName_;
    std::vector<Run> runs_;
    std::vector<int> stops_;
    std::vector<std::size_t> occStart_;
    std::vector<Occurrence> occurrences_;
};

} // namespace velmora::route
