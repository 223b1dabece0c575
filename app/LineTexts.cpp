// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LineTexts.h"

#include "data/Statements.h"
#include "text/Gbk.h"

namespace velmora {

std::string queryTextFor(int mode, const std::string &cityId, const std::string &q1, const std::string &q2) {
    switch (mode) {
    case 1:
        return sql::selectLinesByName(cityId, trimBytes(q1));
    case 2:
        return sql::selectLinesByStation(cityId, trimBytes(q1));
    case 3:
        return sql::selectLinesByStations(cityId, trimBytes(q1), trimBytes(q2));
    default:
        return {};
    }
}

namespace {
// Appends `s` with every ASCII comma replaced by " -- ", without a temporary copy.
void appendStations(std::string &out, const std::string &s) {
    std::size_t from = 0;
    for (std::size_t at; (at = s.find(',', from)) != std::string::npos; from = at + 1) {
        out.append(s, from, at - from);
        out.append(" -- ", 4);
    }
    out.append(s, from, std::string::npos);
}
} // namespace

std::string detailText(const std::string &bz, const std::string &sj, const std::string &pj, const std::string &sh,
                       const std::string &xh) {
    static const std::string twoSpaces = gbk("　　");
    static const std::string down = gbk("下行:　　");
    static const std::string breaks = "\r\n\r\n";
    std::string text;
    text.reserve(bz.size() + sj.size() + pj.size() + sh.size() * 2 + xh.size() * 2 + 32);
    text += bz;
    text += twoSpaces;
    text += sj;
    text += twoSpaces;
    text += pj;
    text += breaks;
    appendStations(text, sh);
    text += breaks;
    if (!trimBytes(xh).empty())
        text += down;
    appendStations(text, xh);
    return text;
}

std::string detailCaption(const std::string &cityName, const std::string &lm, const std::string &start) {
    static const std::string twoSpaces = gbk("　　");
    return cityName + " " + lm + twoSpaces + start + " ";
}

std::string countCaption(int rows) {
    static const std::string head = gbk("查询结果: ");
    static const std::string tail = gbk("条公交");
    return head + std::to_string(rows) + tail;
}

std::string percentEncode(const std::string &bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~';
        if (plain) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string lineAddress(const std::string &siteBase, const std::string &lineId) {
    return siteBase + "/i.php/" + percentEncode(lineId) + ".html";
}

std::string homeAddress(const std::string &siteBase) {
    return siteBase + "/";
}

} // namespace velmora
