// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/Planner.h"

#include "route/Rounds.h"
#include "route/Service.h"

#include <algorithm>
#include <climits>
#include <map>
#include <tuple>

namespace velmora::route {

namespace {

// Checks the rules a plan keeps beyond being fast: no station in two rides but where they meet, and no change
// to a line that passed, before the change, a station where the plan stood before (a loop passes them all).
class Rules {
public:
    explicit Rules(const TransferIndex &index) : index_(index), seen_(std::size_t(index.stationCount()), -1) {}

    bool keep(const std::vector<Leg> &legs) {
        const std::vector<int> &stops = index_.stops();
        stamp_ += int(legs.size()) + 1;
        for (std::size_t i = 0; i < legs.size(); ++i) {
            const Leg &leg = legs[i];
            if (i > 0 && (leg.line == legs[i - 1].line || boardedEarlier(legs, i)))
                return false;
            for (int p = leg.boardAt; p <= leg.boardAt + leg.stops; ++p) {
                int &seen = seen_[std::size_t(stops[std::size_t(p)])];
                const bool shared = p == leg.boardAt && i > 0 && leg.from == legs[i - 1].to;
                if (seen >= stamp_ && seen != stamp_ + int(i) && !shared)
                    return false; // away and back
                seen = std::max(seen, stamp_ + int(i));
            }
        }
        return true;
    }

private:
    bool boardedEarlier(const std::vector<Leg> &legs, std::size_t i) const {
        const Leg &leg = legs[i];
        const TransferIndex::Run &run = index_.runs()[std::size_t(leg.run)];
        for (std::size_t j = 0; j < i; ++j)
            for (int s : {legs[j].from, legs[j].to}) {
                if (s == leg.from)
                    continue;
                const int at = index_.positionOn(s, leg.run);  // the first place the run can be boarded at s
                if (at >= 0 && (run.loop || at < leg.boardAt)) // a loop comes round to every one of its stations
                    return true;
            }
        return false;
    }

    const TransferIndex &index_;
    std::vector<int> seen_;
    int stamp_ = 0;
};

// The stations a plan rides, as a key: plans with equal keys ride the same stations on other lines.
std::vector<int> stationsOf(const TransferIndex &index, const std::vector<Leg> &legs) {
    std::vector<int> key;
    for (const Leg &leg : legs) {
        key.push_back(-1);
        key.insert(key.end(), index.stops().begin() + leg.boardAt, index.stops().begin() + leg.boardAt + leg.stops + 1);
    }
    return key;
}

// Every other line riding exactly the stations of `leg` (in that order), by name.
std::vector<int> parallelLines(const TransferIndex &index, const Leg &leg) {
    const std::vector<int> &stops = index.stops();
    std::vector<int> lines{leg.line};
    for (auto *o = index.occurrencesBegin(leg.from); o != index.occurrencesEnd(leg.from); ++o) {
        const TransferIndex::Run &run = index.runs()[std::size_t(o->run)];
        if (std::find(lines.begin(), lines.end(), run.line) != lines.end() || o->at + leg.stops >= run.limit(o->at))
            continue;
        if (std::equal(stops.begin() + o->at, stops.begin() + o->at + leg.stops + 1, stops.begin() + leg.boardAt))
            lines.push_back(run.line);
    }
    std::sort(lines.begin() + 1, lines.end(),
              [&index](int a, int b) { return std::tie(index.line(a).name, a) < std::tie(index.line(b).name, b); });
    return lines;
}

Plan makePlan(const TransferIndex &index, std::vector<Leg> legs, int tenths) {
    Plan plan;
    plan.tenths = tenths;
    for (Leg &leg : legs) {
        leg.lines = parallelLines(index, leg);
        plan.stops += leg.stops;
        plan.walkTenths += leg.walkTenths;
    }
    plan.legs = std::move(legs);
    return plan;
}

bool outOfService(const Plan &plan) {
    return plan.service == Service::LastGone || plan.service == Service::NotYetRunning;
}

bool before(const TransferIndex &index, const Plan &a, const Plan &b) {
    const bool aOut = outOfService(a), bOut = outOfService(b);
    const auto ka = std::make_tuple(aOut, a.tenths, a.legs.size(), a.walkTenths);
    const auto kb = std::make_tuple(bOut, b.tenths, b.legs.size(), b.walkTenths);
    if (ka != kb)
        return ka < kb;
    for (std::size_t k = 0; k < a.legs.size(); ++k) {
        const std::string &p = index.line(a.legs[k].line).name, &q = index.line(b.legs[k].line).name;
        if (p != q)
            return p < q;
    }
    return stationsOf(index, a.legs) < stationsOf(index, b.legs);
}

// Per number of rides, the best plan keeping the rules and those riding other stations within a tenth of its
// time, and the best plan without walking; a plan with more rides only when it beats every plan with fewer
// (without walking: every plan with fewer rides and no walking). Plans out of service at the asked
// time are kept when they pass but set no bar, so plans that run still show.
std::vector<Plan> choosePlans(const TransferIndex &index, const Rounds &rounds, int maxRides, int atMinute) {
    std::vector<Rounds::Arrival> arrivals = rounds.arrivals();
    std::sort(arrivals.begin(), arrivals.end(), [](const Rounds::Arrival &a, const Rounds::Arrival &b) {
        return std::tie(a.rides, a.tenths, a.walk, a.run, a.boardAt, a.alightAt) <
               std::tie(b.rides, b.tenths, b.walk, b.run, b.boardAt, b.alightAt);
    });
    Rules rules(index);
    std::vector<Plan> plans;
    std::map<std::vector<int>, bool> ridden;
    int fewer = INT_MAX, fewerDry = INT_MAX; // the best times with fewer rides, with and without walking
    for (int k = 1; k <= maxRides; ++k) {
        int best = INT_MAX, bestDry = INT_MAX, first = INT_MAX; // first: the fastest kept, running or not
        for (const Rounds::Arrival &a : arrivals) {
            const bool near = a.tenths < fewer && (best == INT_MAX || a.tenths * 10 <= best * 11);
            const bool dry = a.walk == 0 && a.tenths < fewerDry && bestDry == INT_MAX; // walks less than any
            if (a.rides != k || !(near || dry))
                continue;
            std::vector<Leg> legs = rounds.legsOf(a);
            if (int(legs.size()) != k || !rules.keep(legs))
                continue;
            Plan plan = makePlan(index, std::move(legs), a.tenths);
            plan.service = serviceAt(index, plan, atMinute);
            const bool out = outOfService(plan);
            if ((out && first != INT_MAX && a.tenths * 10 > first * 11) ||
                !ridden.emplace(stationsOf(index, plan.legs), true).second)
                continue; // out of service: only within a tenth of the fastest with as many rides
            first = std::min(first, a.tenths);
            if (!out) {
                best = std::min(best, a.tenths);
                bestDry = a.walk == 0 ? std::min(bestDry, a.tenths) : bestDry;
            }
            plans.push_back(std::move(plan));
        }
        fewer = std::min(fewer, best);
        fewerDry = std::min(fewerDry, bestDry);
    }
    return plans;
}

} // namespace

std::vector<Plan> planTrips(const TransferIndex &index, std::string_view from, std::string_view to,
                            const PlanOptions &options) {
    std::vector<int> origins = index.matchStations(from), destinations = index.matchStations(to);
    std::vector<int> a = origins, b = destinations;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    if (origins.empty() || destinations.empty() || a == b)
        return {};
    std::vector<char> isDestination(std::size_t(index.stationCount()), 0);
    for (int d : destinations)
        isDestination[std::size_t(d)] = 1;
    const int maxRides = std::clamp(options.maxChanges, 0, 2) + 1;
    const Rounds rounds(index, origins, isDestination, maxRides);
    std::vector<Plan> plans = choosePlans(index, rounds, maxRides, options.atMinute);
    std::sort(plans.begin(), plans.end(), [&index](const Plan &x, const Plan &y) { return before(index, x, y); });
    auto direct = std::find_if(plans.begin(), plans.end(), [](const Plan &p) { return p.legs.size() == 1; });
    if (plans.size() > options.maxPlans && direct != plans.end() &&
        direct - plans.begin() >= std::ptrdiff_t(options.maxPlans) && options.maxPlans > 0)
        std::rotate(plans.begin() + std::ptrdiff_t(options.maxPlans) - 1, direct, direct + 1); // keep a direct ride
    plans.resize(std::min(plans.size(), options.maxPlans));
    return plans;
}

} // namespace velmora::route
