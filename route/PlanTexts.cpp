// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/PlanTexts.h"

#include "platform/Gbk.h"

namespace velmora::route {

std::string planLines(const TransferIndex &index, const Plan &plan) {
    static const std::string arrow = gbk("→");
    std::string text;
    for (const Leg &leg : plan.legs)
        text += (text.empty() ? "" : arrow) + index.line(leg.line).name;
    return text;
}

std::string planStations(const TransferIndex &index, const Plan &plan) {
    std::string text;
    for (const Leg &leg : plan.legs)
        text += index.stationName(leg.from) + "-->";
    return plan.legs.empty() ? text : text + index.stationName(plan.legs.back().to);
}

std::string planRemark(const Plan &plan) {
    static const std::string direct = gbk("直达"), change = gbk("换乘"), times = gbk("次"), total = gbk(" 共"),
                             stops = gbk("站");
    std::string head = plan.changes() == 0 ? direct : change + std::to_string(plan.changes()) + times;
    return head + total + std::to_string(plan.stops) + stops;
}

std::string planDetail(const TransferIndex &index, const Plan &plan) {
    static const std::string ride = gbk("，坐"), stops = gbk("站"), gap = gbk("　　"), at = gbk("在 "),
                             change = gbk(" 换乘");
    std::string text;
    for (std::size_t k = 0; k < plan.legs.size(); ++k) {
        const Leg &leg = plan.legs[k];
        const LineInfo &line = index.line(leg.line);
        if (k > 0)
            text += at + index.stationName(leg.from) + change + "\r\n";
        text += line.name + ": " + index.stationName(leg.from) + " --> " + index.stationName(leg.to) + ride +
                std::to_string(leg.stops) + stops + gap + line.times + gap + line.fare + "\r\n";
    }
    return text + "\r\n" + planRemark(plan);
}

} // namespace velmora::route
