// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/Service.h"

namespace velmora::route {

bool serviceHours(std::string_view times, int &first, int &last) {
    int found = 0;
    for (std::size_t i = 0; i < times.size(); ++i) {
        // ":" or the full-width colon (GBK A3 BA) between an hour of one or two digits and two minute digits.
        const std::size_t colon =
            times[i] == ':'                                                                                    ? 1
            : (i + 1 < times.size() && (unsigned char)times[i] == 0xA3 && (unsigned char)times[i + 1] == 0xBA) ? 2
                                                                                                               : 0;
        if (colon == 0 || i == 0 || i + colon + 1 >= times.size())
            continue;
        auto digit = [&](std::size_t k) { return k < times.size() && times[k] >= '0' && times[k] <= '9'; };
        const std::size_t m = i + colon;
        if (!digit(i - 1) || !digit(m) || !digit(m + 1) || digit(m + 2))
            continue;
        int hour = times[i - 1] - '0';
        if (i >= 2 && digit(i - 2))
            hour += 10 * (times[i - 2] - '0');
        const int minute = (times[m] - '0') * 10 + (times[m + 1] - '0');
        if (hour > 24 || minute > 59)
            continue;
        (found == 0 ? first : last) = hour * 60 + minute;
        found = found == 0 ? 1 : 2;
    }
    return found == 2;
}

Service serviceAt(const TransferIndex &index, const Plan &plan, int atMinute) {
    if (atMinute < 0)
        return Service::Unknown;
    Service result = Service::Unknown;
    int elapsed = 0; // tenths
    for (std::size_t k = 0; k < plan.legs.size(); ++k) {
        const Leg &leg = plan.legs[k];
        elapsed += leg.walkTenths + (k > 0 ? kChangeTenths : 0);
        int first = 0, last = 0;
        if (serviceHours(index.line(leg.line).times, first, last)) {
            const int at = (atMinute + elapsed / 10) % 1440;
            // A last departure before the first one runs past midnight.
            const bool running = last >= first ? at >= first && at <= last : at >= first || at <= last;
            if (!running && last >= first)
                return at > last ? Service::LastGone : Service::NotYetRunning;
            if (!running) // between a last departure after midnight and the first: the nearer one says which
                return at - last < first - at ? Service::LastGone : Service::NotYetRunning;
            result = Service::Running;
        }
        elapsed += leg.stops * kTenthsPerStop;
    }
    return result;
}

} // namespace velmora::route
