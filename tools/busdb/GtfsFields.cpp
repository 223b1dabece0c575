// SPDX-License-Identifier: GPL-3.0-or-later
#include "GtfsFields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace velmora::busdb {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

int parseTime(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    if (s.empty())
        return -1;
    std::size_t i = 0;
    int h = 0;
    while (i < s.size() && i < 3 && s[i] >= '0' && s[i] <= '9')
        h = h * 10 + (s[i++] - '0');
    if (i == 0 || s.size() != i + 6 || s[i] != ':' || s[i + 3] != ':')
        return -2;
    auto two = [&](std::size_t at) {
        char a = s[at], b = s[at + 1];
        if (a < '0' || a > '5' || b < '0' || b > '9')
            return -1;
        return (a - '0') * 10 + (b - '0');
    };
    int m = two(i + 1), sec = two(i + 4);
    if (m < 0 || sec < 0)
        return -2;
    return h * 3600 + m * 60 + sec;
}

bool parseDegrees(std::string_view s, double limit, double &value) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    // from_chars reads the same in every locale, unlike strtod.
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && error == std::errc() && end == s.data() + s.size() && std::isfinite(value) &&
           std::fabs(value) <= limit;
}

bool parsePosition(std::string_view lat, std::string_view lon, double out[2]) {
    return parseDegrees(lat, 90, out[0]) && parseDegrees(lon, 180, out[1]) && !(out[0] == 0 && out[1] == 0);
}

bool parseCount(std::string_view s, std::uint32_t &value) {
    if (s.empty() || s.size() > 9)
        return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + std::uint32_t(c - '0');
    }
    return true;
}

std::string clockText(int seconds) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60);
    return buf;
}

std::string priceText(double price) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", price);
    std::string s = buf;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

} // namespace velmora::busdb
