// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/Planner.h"

#include "platform/Exception.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <tuple>
#include <unordered_map>

namespace velmora::route {

namespace {

using Reaches = std::vector<std::vector<Leg>>; // per station: rides ending (or starting) there, fewest stops first

std::uint64_t lineKey(int a, int b = -1, int c = -1) {
    return std::uint64_t(a + 1) | std::uint64_t(b + 1) << 21 | std::uint64_t(c + 1) << 42;
}

bool fewerStops(const Leg &a, const Leg &b) {
    return std::tie(a.stops, a.line, a.from, a.to) < std::tie(b.stops, b.line, b.from, b.to);
}

// Every ride from one of `ends` to a later station (forward), or from an earlier station to one of `ends`,
// the best per line and far station, grouped by the far station.
Reaches reachesOf(const TransferIndex &index, const std::vector<int> &ends, bool forward) {
    std::unordered_map<std::uint64_t, Leg> best;
    auto consider = [&best](const Leg &leg, int far) {
        if (leg.from == leg.to)
            return; // a loop line back to where it started is no ride
        auto [it, added] = best.try_emplace(lineKey(leg.line, far), leg);
        if (!added && fewerStops(leg, it->second))
            it->second = leg;
    };
    const std::vector<int> &stops = index.stops();
    for (int end : ends)
        for (auto *o = index.occurrencesBegin(end); o != index.occurrencesEnd(end); ++o) {
            const TransferIndex::Run &run = index.runs()[std::size_t(o->run)];
            if (forward)
                for (int at = o->at + 1; at < run.end; ++at)
                    consider({run.line, end, stops[std::size_t(at)], at - o->at}, stops[std::size_t(at)]);
            else
                for (int at = run.begin; at < o->at; ++at)
                    consider({run.line, stops[std::size_t(at)], end, o->at - at}, stops[std::size_t(at)]);
        }
    Reaches at(std::size_t(index.stationCount()));
    for (const auto &entry : best)
        at[std::size_t(forward ? entry.second.to : entry.second.from)].push_back(entry.second);
    for (auto &legs : at)
        std::sort(legs.begin(), legs.end(), fewerStops);
    return at;
}

struct Candidate {
    std::array<Leg, 3> legs;
    int count;
    int stops;
};

// The best candidate per sequence of lines, and the highest stop count that can still reach the first `limit`.
class Collector {
public:
    explicit Collector(std::size_t limit) : limit_(limit) {}
    int bound() const { return bound_; }

    void offer(std::uint64_t key, const Candidate &c) {
        if (c.stops > bound_)
            return;
        auto [it, added] = best_.try_emplace(key, c);
        if (!added) {
            if (c.stops >= it->second.stops)
                return;
            const int old = it->second.stops;
            it->second = c;
            count(old, -1);
            if (bound_ != INT_MAX && old > bound_)
                ++within_;
        } else if (bound_ != INT_MAX) {
            ++within_;
        }
        count(c.stops, 1);
        tighten();
    }
    std::vector<Candidate> take() {
        std::vector<Candidate> all;
        for (auto &entry : best_)
            all.push_back(entry.second);
        return all;
    }

private:
    void count(int stops, int delta) {
        if (hist_.size() <= std::size_t(stops))
            hist_.resize(std::size_t(stops) + 1, 0);
        hist_[std::size_t(stops)] += delta;
    }
    // Lowers the bound while the candidates below it alone fill the limit.
    void tighten() {
        if (best_.size() < limit_)
            return;
        if (bound_ == INT_MAX) {
            std::size_t sum = 0;
            int t = 0;
            for (; t < int(hist_.size()) && (sum += std::size_t(hist_[std::size_t(t)])) < limit_; ++t) {
            }
            bound_ = t;
            within_ = sum;
        }
        while (bound_ > 0 && within_ - std::size_t(hist_[std::size_t(bound_)]) >= limit_) {
            within_ -= std::size_t(hist_[std::size_t(bound_)]);
            --bound_;
        }
    }

    std::size_t limit_;
    std::unordered_map<std::uint64_t, Candidate> best_;
    std::vector<int> hist_;
    int bound_ = INT_MAX;
    std::size_t within_ = 0; // candidates with at most bound_ stops, once the bound is set
};

struct Search {
    const TransferIndex &index;
    const std::vector<int> &destinations;
    Reaches out, in;            // rides from an origin, rides to a destination
    std::vector<char> terminal; // origins and destinations, where no change happens
    int leastIn = INT_MAX;      // fewest stops of any ride to a destination
};

void direct(const Search &s, Collector &plans) {
    for (int d : s.destinations)
        for (const Leg &a : s.out[std::size_t(d)])
            plans.offer(lineKey(a.line), {{a}, 1, a.stops});
}

void oneChange(const Search &s, Collector &plans) {
    for (int x = 0; x < s.index.stationCount(); ++x) {
        const auto &outs = s.out[std::size_t(x)], &ins = s.in[std::size_t(x)];
        if (s.terminal[std::size_t(x)] || outs.empty() || ins.empty())
            continue;
        for (const Leg &a : outs) {
            if (a.stops + ins.front().stops > plans.bound())
                break;
            for (const Leg &b : ins) {
                if (a.stops + b.stops > plans.bound())
                    break;
                if (a.line != b.line && a.from != b.to)
                    plans.offer(lineKey(a.line, b.line), {{a, b}, 2, a.stops + b.stops});
            }
        }
    }
}

// The middle ride from change station x to change station y at `at`, with every first and last ride that fits.
void joinMiddle(const Search &s, Collector &plans, const Leg &middle) {
    const auto &outs = s.out[std::size_t(middle.from)], &ins = s.in[std::size_t(middle.to)];
    for (const Leg &a : outs) {
        if (a.stops + middle.stops + ins.front().stops > plans.bound())
            break;
        if (a.line == middle.line)
            continue;
        for (const Leg &b : ins) {
            const int total = a.stops + middle.stops + b.stops;
            if (total > plans.bound())
                break;
            if (b.line != middle.line && b.line != a.line && a.from != b.to)
                plans.offer(lineKey(a.line, middle.line, b.line), {{a, middle, b}, 3, total});
        }
    }
}

void twoChanges(const Search &s, Collector &plans) {
    if (s.leastIn == INT_MAX)
        return; // no ride reaches a destination
    const std::vector<int> &stops = s.index.stops();
    for (int x = 0; x < s.index.stationCount(); ++x) {
        const auto &outs = s.out[std::size_t(x)];
        if (s.terminal[std::size_t(x)] || outs.empty())
            continue;
        for (auto *o = s.index.occurrencesBegin(x); o != s.index.occurrencesEnd(x); ++o) {
            const TransferIndex::Run &run = s.index.runs()[std::size_t(o->run)];
            for (int at = o->at + 1; at < run.end; ++at) {
                if (outs.front().stops + (at - o->at) + s.leastIn > plans.bound())
                    break; // later stations only ride further
                const int y = stops[std::size_t(at)];
                if (y != x && !s.terminal[std::size_t(y)] && !s.in[std::size_t(y)].empty())
                    joinMiddle(s, plans, {run.line, x, y, at - o->at});
            }
        }
    }
}

bool before(const TransferIndex &index, const Candidate &a, const Candidate &b) {
    if (a.count != b.count || a.stops != b.stops)
        return std::tie(a.count, a.stops) < std::tie(b.count, b.stops);
    for (int k = 0; k < a.count; ++k) {
        const Leg &p = a.legs[std::size_t(k)], &q = b.legs[std::size_t(k)];
        const std::string &pn = index.line(p.line).name, &qn = index.line(q.line).name;
        if (pn != qn)
            return pn < qn;
    }
    for (int k = 0; k < a.count; ++k) {
        const Leg &p = a.legs[std::size_t(k)], &q = b.legs[std::size_t(k)];
        if (std::tie(p.line, p.from, p.to) != std::tie(q.line, q.from, q.to))
            return std::tie(p.line, p.from, p.to) < std::tie(q.line, q.from, q.to);
    }
    return false;
}

} // namespace

std::vector<Plan> planTrips(const TransferIndex &index, std::string_view from, std::string_view to,
                            const PlanOptions &options) {
    if (index.lineCount() >= (1 << 20))
        throw Exception("too many lines in one city to plan changes");
    const std::vector<int> origins = index.matchStations(from), destinations = index.matchStations(to);
    std::vector<Candidate> found;
    if (!origins.empty() && !destinations.empty() && origins != destinations) {
        Search s{index, destinations, reachesOf(index, origins, true), reachesOf(index, destinations, false),
                 std::vector<char>(std::size_t(index.stationCount()), 0)};
        for (int st : origins)
            s.terminal[std::size_t(st)] = 1;
        for (int st : destinations)
            s.terminal[std::size_t(st)] = 1;
        for (const auto &legs : s.in)
            if (!legs.empty())
                s.leastIn = std::min(s.leastIn, legs.front().stops);
        void (*const tiers[])(const Search &, Collector &) = {direct, oneChange, twoChanges};
        for (int t = 0; t <= std::min(options.maxChanges, 2) && found.size() < options.maxPlans; ++t) {
            Collector plans(options.maxPlans - found.size());
            tiers[t](s, plans);
            std::vector<Candidate> tier = plans.take();
            found.insert(found.end(), tier.begin(), tier.end());
        }
    }
    std::sort(found.begin(), found.end(),
              [&index](const Candidate &a, const Candidate &b) { return before(index, a, b); });
    found.resize(std::min(found.size(), options.maxPlans));
    std::vector<Plan> plans;
    for (const Candidate &c : found)
        plans.push_back({std::vector<Leg>(c.legs.begin(), c.legs.begin() + c.count), c.stops});
    return plans;
}

} // namespace velmora::route
