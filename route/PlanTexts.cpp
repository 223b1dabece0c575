// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/PlanTexts.h"

#include "text/Gbk.h"

namespace velmora::route {

namespace {

std::string walkText(int tenths) {
    static const std::string walk = gbk("步行约"), minutes = gbk("分钟");
    return walk + std::to_string((tenths + 9) / 10) + minutes;
}

} // namespace

std::string planLines(const TransferIndex &index, const Plan &plan) {
    static const std::string arrow = gbk("→");
    std::string text;
    for (const Leg &leg : plan.legs) {
        text += text.empty() ? "" : arrow;
        if (leg.lines.size() < 2) {
            text += index.line(leg.line).name;
            continue;
        }
        for (std::size_t k = 0; k < leg.lines.size(); ++k)
            text += (k ? "/" : "") + index.line(leg.lines[k]).name;
    }
    return text;
}

std::string planStations(const TransferIndex &index, const Plan &plan) {
    std::string text;
    for (std::size_t k = 0; k < plan.legs.size(); ++k) {
        const Leg &leg = plan.legs[k];
        if (k > 0 && leg.from != plan.legs[k - 1].to) // walked between two stations
            text += index.stationName(plan.legs[k - 1].to) + "-->";
        text += index.stationName(leg.from) + "-->";
    }
    return plan.legs.empty() ? text : text + index.stationName(plan.legs.back().to);
}

std::string planRemark(const Plan &plan) {
    static const std::string direct = gbk("直达"), change = gbk("换乘"), times = gbk("次"), total = gbk(" 共"),
                             stops = gbk("站"), gone = gbk(" 末班已过"), early = gbk(" 未到首班");
    std::string head = plan.changes() == 0 ? direct : change + std::to_string(plan.changes()) + times;
    std::string text = head + total + std::to_string(plan.stops) + stops;
    if (plan.walkTenths > 0)
        text += " " + walkText(plan.walkTenths);
    if (plan.service == Service::LastGone)
        text += gone;
    else if (plan.service == Service::NotYetRunning)
        text += early;
    return text;
}

std::string planDetail(const TransferIndex &index, const Plan &plan) {
    static const std::string ride = gbk("，坐"), stops = gbk("站"), gap = gbk("　　"), at = gbk("在 "),
                             change = gbk(" 换乘"), from = gbk("从 "), to = gbk(" 到 "), orLine = gbk("或 ");
    std::string text;
    for (std::size_t k = 0; k < plan.legs.size(); ++k) {
        const Leg &leg = plan.legs[k];
        if (k > 0 && leg.from != plan.legs[k - 1].to)
            text += from + index.stationName(plan.legs[k - 1].to) + to + index.stationName(leg.from) + " " +
                    walkText(leg.walkTenths) + change + "\r\n";
        else if (k > 0)
            text += at + index.stationName(leg.from) + change + "\r\n";
        const std::vector<int> lines = leg.lines.empty() ? std::vector<int>{leg.line} : leg.lines;
        for (std::size_t a = 0; a < lines.size(); ++a) { // each line riding these stations
            const LineInfo &line = index.line(lines[a]);
            text += (a ? orLine : "") + line.name + ": " + index.stationName(leg.from) + " --> " +
                    index.stationName(leg.to) + ride + std::to_string(leg.stops) + stops + gap + line.times + gap +
                    line.fare + "\r\n";
        }
    }
    return text + "\r\n" + planRemark(plan);
}

} // namespace velmora::route
