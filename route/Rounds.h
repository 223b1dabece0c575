// SPDX-License-Identifier: GPL-3.0-or-later
// The round-based search under the planner: round k keeps, per station, the earliest estimated arrival with
// at most k rides, and notes every ride that reaches a destination.
#pragma once

#include "route/Planner.h"

#include <array>
#include <climits>
#include <cstdint>
#include <vector>

namespace velmora::route {

class Rounds {
public:
    // A ride ending at a destination in round `rides`, boarded at `boardAt` with the best arrival there.
    struct Arrival {
        int rides;
        int run, boardAt, alightAt;
        int tenths;
        int via;  // which label of the boarding station
        int walk; // walked over the plan, tenths
    };

    Rounds(const TransferIndex &index, const std::vector<int> &origins, const std::vector<char> &destination,
           int maxRides);
    ~Rounds();
    Rounds(const Rounds &) = delete;
    Rounds &operator=(const Rounds &) = delete;
    const std::vector<Arrival> &arrivals() const { return arrivals_; }
    // The rides of an arrival, first to last.
    std::vector<Leg> legsOf(const Arrival &a) const;

private:
    struct Label {
        int tenths = INT_MAX;
        int walk = 0;   // walked over the plan, tenths
        int round = -1; // the round that set it; 0 at an origin
        int run = -1, boardAt = -1, alightAt = -1;
        int walked = 0; // walked from the ride's end to this station
        int via = 0;    // which label of the boarding station it rode on from
        // Where the plan stood before this ride's end: stations it boarded at or walked from (-1: none).
        std::array<int, 4> stood{-1, -1, -1, -1};
    };
    // Per station the earliest arrival and the earliest by another last line (a plan may not change to the line
    // it came on, and a tie must not hide the plan that can), and the same two among plans without walking.
    struct Labels {
        Label best, other, dry, dryOther;
        const Label &operator[](int via) const {
            return via == 0 ? best : via == 1 ? other : via == 2 ? dry : dryOther;
        }
    };
    // A station's labels as the last round left them, while a round runs (it sets aside those it changes).
    const Labels &before(int station) const {
        const int at = stashed_[std::size_t(station)];
        return at >= 0 ? stash_[std::size_t(at)] : now_[std::size_t(station)];
    }
    Labels &change(int station);
    void unstash();
    // What rebuilding a plan needs of a label.
    struct Step {
        int run = -1, boardAt = -1, alightAt = -1;
        std::int16_t walked = 0;
        std::int8_t round = -1, via = 0;
    };
    using Steps = std::array<Step, 4>;
    // What a station's labels were at the end of a round, from the rounds' records of what changed.
    const Steps &atEnd(int round, int station) const;
    void scanRun(int round, int run, int from, std::vector<int> &marked);
    void walkOn(int round, std::vector<int> &marked);
    bool mayBoard(int station, int via, int run) const;
    bool offer(Labels &at, const Label &l) const;
    bool offer(Label &first, Label &second, const Label &l) const;
    static bool worth(const Labels &at, int tenths, int walk);
    int lineOf(const Label &l) const;
    void mark(int round, int station, std::vector<int> &marked);
    void record(std::vector<int> marked);
    Leg legOf(const Step &l, int walkedBefore) const;

    const TransferIndex &index_;
    const std::vector<char> &destination_;
    // Only the current labels are kept whole, in buffers each thread reuses from query to query (cleared where
    // a query touched them), and each round records the stations it changed: a query costs what its rides touch,
    // not a copy or a fresh page of every station per round.
    struct Scratch {
        std::vector<Labels> now;
        // Labels set aside this round. Room for every station is reserved, so setting one aside moves none of
        // the others; the pages are only touched where a query sets labels aside.
        std::vector<Labels> stash;
        std::vector<int> stashed;                                // per station: where in `stash` its labels are, or -1
        std::vector<int> passed;                                 // per station: the last scan that passed it
        std::vector<int> markedIn;                               // per station: the last round it was marked in
        std::vector<int> first;                                  // per run: where to start scanning it this round
        std::vector<int> touched;                                // stations whose labels were set aside
        std::vector<std::vector<std::pair<int, Steps>>> changed; // per round, by station
        int scan = 0;
        bool clean = true; // false while a query runs: one that did not end leaves it to be cleared whole
    };
    static Scratch &scratch();
    Scratch &s_;
    std::vector<Labels> &now_;
    std::vector<Labels> &stash_;
    std::vector<int> &stashed_, &passed_, &markedIn_;
    std::vector<std::vector<std::pair<int, Steps>>> &changed_;
    std::size_t rounds_ = 0; // rounds recorded in changed_
    std::vector<Arrival> arrivals_;
};

} // namespace velmora::route
