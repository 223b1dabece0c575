// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/Rounds.h"

#include <algorithm>
#include <utility>

namespace velmora::route {

Rounds::Scratch &Rounds::scratch() {
    thread_local Scratch buffers;
    return buffers;
}

Rounds::Rounds(const TransferIndex &index, const std::vector<int> &origins, const std::vector<char> &destination,
               int maxRides)
    : index_(index), destination_(destination), s_(scratch()), now_(s_.now), stash_(s_.stash), stashed_(s_.stashed),
      passed_(s_.passed), markedIn_(s_.markedIn), changed_(s_.changed) {
    const std::size_t stations = std::size_t(index.stationCount());
    if (!s_.clean) { // the last query on this thread stopped half-way
        s_ = Scratch{};
        s_.clean = true;
    }
    s_.clean = false;
    if (now_.size() < stations) {
        now_.resize(stations);
        stash_.reserve(stations);
        stashed_.resize(stations, -1);
        passed_.resize(stations, -1);
        markedIn_.resize(stations, -1);
    }
    if (s_.first.size() < index.runs().size())
        s_.first.resize(index.runs().size(), INT_MAX);
    std::vector<int> marked;
    for (int s : origins) {
        now_[std::size_t(s)].best = {0, 0, 0, -1, -1, -1, 0, 0, {-1, -1, -1, -1}};
        mark(0, s, marked);
    }
    record(marked);
    std::vector<int> &first = s_.first, touched;
    for (int k = 1; k <= maxRides && !marked.empty(); ++k) {
        // Each run once, from the first position where it can be boarded at a station marked last round.
        for (int s : marked)
            for (auto *o = index.occurrencesBegin(s); o != index.occurrencesEnd(s); ++o) {
                int &f = first[std::size_t(o->run)];
                if (f == INT_MAX)
                    touched.push_back(o->run);
                f = std::min(f, o->at);
            }
        marked.clear();
        for (int r : touched) {
            scanRun(k, r, first[std::size_t(r)], marked);
            first[std::size_t(r)] = INT_MAX;
        }
        touched.clear();
        walkOn(k, marked);
        record(marked);
        unstash();
    }
}

Rounds::~Rounds() {
    for (std::size_t r = 0; r < rounds_; ++r)
        for (const auto &entry : changed_[r]) {
            now_[std::size_t(entry.first)] = Labels{};
            markedIn_[std::size_t(entry.first)] = -1;
        }
    unstash();
    s_.clean = true;
}

void Rounds::record(std::vector<int> marked) {
    std::sort(marked.begin(), marked.end());
    if (rounds_ == changed_.size())
        changed_.emplace_back();
    auto &changed = changed_[rounds_++];
    changed.clear();
    for (int s : marked) {
        const Labels &l = now_[std::size_t(s)];
        Steps steps;
        for (int v = 0; v < 4; ++v)
            steps[std::size_t(v)] = {l[v].run,
                                     l[v].boardAt,
                                     l[v].alightAt,
                                     std::int16_t(l[v].walked),
                                     std::int8_t(l[v].round),
                                     std::int8_t(l[v].via)};
        changed.emplace_back(s, steps);
    }
}

// Forgets the labels set aside: a new round sets aside its own.
void Rounds::unstash() {
    for (int s : s_.touched)
        stashed_[std::size_t(s)] = -1;
    s_.touched.clear();
    stash_.clear();
}

Rounds::Labels &Rounds::change(int station) {
    if (stashed_[std::size_t(station)] < 0) {
        stashed_[std::size_t(station)] = int(stash_.size());
        stash_.push_back(now_[std::size_t(station)]);
        s_.touched.push_back(station);
    }
    return now_[std::size_t(station)];
}

const Rounds::Steps &Rounds::atEnd(int round, int station) const {
    static const Steps none{};
    for (int r = round; r >= 0; --r) {
        const auto &c = changed_[std::size_t(r)];
        auto it = std::lower_bound(c.begin(), c.end(), station,
                                   [](const std::pair<int, Steps> &e, int s) { return e.first < s; });
        if (it != c.end() && it->first == station)
            return it->second;
    }
    return none;
}

void Rounds::mark(int round, int station, std::vector<int> &marked) {
    if (markedIn_[std::size_t(station)] != round) {
        markedIn_[std::size_t(station)] = round;
        marked.push_back(station);
    }
}

int Rounds::lineOf(const Label &l) const {
    return l.round > 0 ? index_.runs()[std::size_t(l.run)].line : -1;
}

// Whether an arrival could be kept by offer().
bool Rounds::worth(const Labels &at, int tenths, int walk) {
    return tenths < at.other.tenths || (walk == 0 && tenths < at.dryOther.tenths);
}

// Keeps `l` when it is the earliest, or the earliest on another last line than the earliest; true if kept.
bool Rounds::offer(Label &first, Label &second, const Label &l) const {
    const int line = lineOf(l);
    if (l.tenths < first.tenths) {
        if (lineOf(first) != line)
            second = first;
        first = l;
        return true;
    }
    if (line != lineOf(first) && l.tenths < second.tenths) {
        second = l;
        return true;
    }
    return false;
}

bool Rounds::offer(Labels &at, const Label &l) const {
    const bool dry = l.walk == 0 && offer(at.dry, at.dryOther, l);
    return offer(at.best, at.other, l) || dry;
}

// Boarding `run` at the scan's position after the plan that reached `station` in the rounds before: not the line
// just ridden, and not a line that passed a station where that plan stood (the scan marks what it passed).
bool Rounds::mayBoard(int station, int via, int run) const {
    const TransferIndex::Run &r = index_.runs()[std::size_t(run)];
    const Label &l = before(station)[via];
    if (l.tenths == INT_MAX || lineOf(l) == r.line)
        return false;
    for (int s : l.stood) // a loop comes round to every one of its stations
        if (s >= 0 && s != station && (r.loop ? index_.positionOn(s, run) >= 0 : passed_[std::size_t(s)] == s_.scan))
            return false;
    return true;
}

// Adds a station where the plan stood.
static void standAt(std::array<int, 4> &stood, int station) {
    for (int &s : stood)
        if (s < 0 || s == station) {
            s = station;
            return;
        }
}

// One pass along a run: ride on from the best boarding so far, and board anew where that arrives earlier. A
// second boarding follows plans that have not walked, so a plan without walking is not lost to a faster one.
void Rounds::scanRun(int round, int run, int from, std::vector<int> &marked) {
    const TransferIndex::Run &r = index_.runs()[std::size_t(run)];
    const std::vector<int> &stops = index_.stops();
    const int penalty = round > 1 ? kChangeTenths : 0;
    struct Boarding {
        int at = -1, via = 0, base = 0; // arrival at position p: base + p * kTenthsPerStop
    } any, dry;
    const int scan = ++s_.scan;
    for (int p = r.loop ? from : r.begin; p < from; ++p) // only to know what the line passes before boarding
        passed_[std::size_t(stops[std::size_t(p)])] = scan;
    for (int p = from; p < r.end; ++p) {
        if (any.at >= 0 && p >= r.limit(std::max(any.at, dry.at)))
            break; // a loop ridden all the way round; no later boarding is possible either
        const int st = stops[std::size_t(p)];
        for (Boarding *b : {&any, &dry}) {
            if (b->at < 0 || st == stops[std::size_t(b->at)] || p >= r.limit(b->at) ||
                (b == &dry && dry.at == any.at && dry.via == any.via))
                continue;
            const int arrive = b->base + p * kTenthsPerStop;
            const Label &boarded = before(stops[std::size_t(b->at)])[b->via];
            if (std::find(boarded.stood.begin(), boarded.stood.end(), st) != boarded.stood.end()) {
                b->at = -1; // back where the plan stood: riding on is away and back, so board anew here
                continue;
            }
            if (destination_[std::size_t(st)])
                arrivals_.push_back({round, run, b->at, p, arrive, b->via, boarded.walk});
            if (worth(now_[std::size_t(st)], arrive, boarded.walk)) {
                Label ride{arrive, boarded.walk, round, run, b->at, p, 0, b->via, boarded.stood};
                standAt(ride.stood, stops[std::size_t(b->at)]);
                if (offer(change(st), ride))
                    mark(round, st, marked);
            }
        }
        for (int v = 0; v < 4 && p < r.boardEnd; ++v) {
            const Label &here = before(st)[v];
            if (here.tenths == INT_MAX)
                continue;
            const int candidate = here.tenths + penalty - p * kTenthsPerStop;
            const bool better = any.at < 0 || candidate < any.base;
            const bool betterDry = here.walk == 0 && (dry.at < 0 || candidate < dry.base);
            if ((better || betterDry) && mayBoard(st, v, run)) {
                if (better)
                    any = {p, v, candidate};
                if (betterDry)
                    dry = {p, v, candidate};
            }
        }
        passed_[std::size_t(st)] = scan;
    }
}

// Walks from stations a ride reached this round to stations of other names nearby, to board from there. The
// rides are taken before any walk is offered: a walk ending at a station the round also rode to may replace
// that ride's label, and a walk does not walk on, so walking from the ride would be lost.
void Rounds::walkOn(int round, std::vector<int> &marked) {
    std::vector<std::pair<int, Label>> rides;
    for (int station : marked)
        for (int v = 0; v < 2; ++v) {
            const Label &l = now_[std::size_t(station)][v];
            if (l.round == round && l.walked == 0)
                rides.emplace_back(station, l);
        }
    for (const auto &[station, from] : rides)
        for (auto *w = index_.walksBegin(station); w != index_.walksEnd(station); ++w) {
            Label to = from;
            to.tenths += w->tenths;
            to.walk += w->tenths;
            to.walked = w->tenths;
            standAt(to.stood, station);
            if (worth(now_[std::size_t(w->station)], to.tenths, to.walk) && offer(change(w->station), to))
                mark(round, w->station, marked);
        }
}

Leg Rounds::legOf(const Step &l, int walkedBefore) const {
    const std::vector<int> &stops = index_.stops();
    const TransferIndex::Run &r = index_.runs()[std::size_t(l.run)];
    return {r.line,
            stops[std::size_t(l.boardAt)],
            stops[std::size_t(l.alightAt)],
            l.alightAt - l.boardAt,
            {},
            walkedBefore,
            l.run,
            l.boardAt};
}

std::vector<Leg> Rounds::legsOf(const Arrival &a) const {
    const std::vector<int> &stops = index_.stops();
    std::vector<Leg> legs;
    const Step last{a.run, a.boardAt, a.alightAt, 0, std::int8_t(a.rides), std::int8_t(a.via)};
    const Step *l = &last;
    while (l->round > 0) {
        const Step &prev = atEnd(l->round - 1, stops[std::size_t(l->boardAt)])[std::size_t(l->via)];
        legs.push_back(legOf(*l, prev.walked));
        l = &prev;
    }
    std::reverse(legs.begin(), legs.end());
    return legs;
}

} // namespace velmora::route
