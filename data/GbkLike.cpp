// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/GbkLike.h"

#include <sqlcipher/sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

namespace {

// A whole character as one number: a byte (ASCII folded to lower case), or 0x10000 plus a double-byte
// character's two bytes. Comparing numbers then compares whole characters, never halves.
using Unit = std::uint32_t;
constexpr Unit kOneChar = 0xFFFFFFFFu; // "_"

// Length in bytes of the character at `i`: 2 for a GBK lead byte with a byte after it, else 1.
inline std::size_t charLength(std::string_view s, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    return (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) ? 2 : 1;
}

inline unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

inline Unit unitAt(std::string_view s, std::size_t i, std::size_t n) {
    auto c = static_cast<unsigned char>(s[i]);
    return n == 1 ? Unit(foldAscii(c)) : 0x10000u | Unit(c) << 8 | static_cast<unsigned char>(s[i + 1]);
}

void decode(std::string_view s, std::vector<Unit> &out) {
    out.clear();
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = charLength(s, i);
        out.push_back(unitAt(s, i, n));
        i += n;
    }
}

inline bool unitMatches(Unit p, Unit t) {
    return p == kOneChar || p == t;
}

// A run of pattern characters between two "%". Runs without "_" carry a failure table so that finding them
// is one pass over the text.
struct Run {
    std::vector<Unit> units;
    bool hasOneChar = false;
    std::vector<std::size_t> failure;

    void prepare() {
        failure.assign(units.size(), 0);
        if (hasOneChar)
            return;
        for (std::size_t i = 1, k = 0; i < units.size(); ++i) {
            while (k > 0 && units[i] != units[k])
                k = failure[k - 1];
            if (units[i] == units[k])
                ++k;
            failure[i] = k;
        }
    }

    bool matchesAt(const std::vector<Unit> &t, std::size_t at) const {
        for (std::size_t i = 0; i < units.size(); ++i)
            if (!unitMatches(units[i], t[at + i]))
                return false;
        return true;
    }

    // First position in [from, to) where the whole run fits before `to`, or npos.
    std::size_t find(const std::vector<Unit> &t, std::size_t from, std::size_t to) const {
        const std::size_t m = units.size();
        if (to < from || to - from < m)
            return std::string_view::npos;
        if (hasOneChar) {
            for (std::size_t at = from; at + m <= to; ++at)
                if (matchesAt(t, at))
                    return at;
            return std::string_view::npos;
        }
        for (std::size_t i = from, k = 0; i < to; ++i) {
            while (k > 0 && t[i] != units[k])
                k = failure[k - 1];
            if (t[i] == units[k] && ++k == m)
                return i + 1 - m;
        }
        return std::string_view::npos;
    }
};

// A pattern split at its "%": a text matches when the first run starts it, the last run ends it, and the runs
// between follow in order. Taking each middle run at its first place is never worse than a later one.
struct Pattern {
    int escape = 0;
    std::vector<Run> runs; // one more than the number of "%" (after merging neighbours)
    std::size_t minBytes = 0;

    Pattern(std::string_view pattern, int esc) : escape(esc) {
        runs.emplace_back();
        for (std::size_t i = 0; i < pattern.size();) {
            std::size_t n = charLength(pattern, i);
            auto c = static_cast<unsigned char>(pattern[i]);
            if (n == 1 && escape != 0 && c == escape && i + 1 < pattern.size()) {
                std::size_t m = charLength(pattern, i + 1);
                addUnit(unitAt(pattern, i + 1, m), m);
                i += 1 + m;
                continue;
            }
            if (n == 1 && c == '%') {
                if (!runs.back().units.empty() || runs.size() == 1)
                    runs.emplace_back();
            } else if (n == 1 && c == '_') {
                runs.back().hasOneChar = true;
                addUnit(kOneChar, 1);
            } else {
                addUnit(unitAt(pattern, i, n), n);
            }
            i += n;
        }
        for (Run &run : runs)
            run.prepare();
    }

    void addUnit(Unit u, std::size_t bytes) {
        runs.back().units.push_back(u);
        minBytes += bytes;
    }

    bool matches(std::string_view text, std::vector<Unit> &t) const {
        if (text.size() < minBytes)
            return false; // every pattern character needs at least its own bytes of text
        decode(text, t);
        const Run &first = runs.front(), &last = runs.back();
        if (runs.size() == 1)
            return t.size() == first.units.size() && first.matchesAt(t, 0);
        if (first.units.size() + last.units.size() > t.size())
            return false;
        const std::size_t end = t.size() - last.units.size();
        if (!first.matchesAt(t, 0) || !last.matchesAt(t, end))
            return false;
        std::size_t at = first.units.size();
        for (std::size_t r = 1; r + 1 < runs.size(); ++r) {
            std::size_t found = runs[r].find(t, at, end);
            if (found == std::string_view::npos)
                return false;
            at = found + runs[r].units.size();
        }
        return true;
    }
};

thread_local std::vector<Unit> textUnits;

void destroyPattern(void *p) {
    delete static_cast<Pattern *>(p);
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    const unsigned char *pattern = sqlite3_value_text(argv[0]);
    const unsigned char *text = sqlite3_value_text(argv[1]);
    if (!pattern || !text)
        return; // NULL: the result is NULL
    int escape = 0;
    if (argc == 3) {
        const unsigned char *e = sqlite3_value_text(argv[2]);
        if (!e || sqlite3_value_bytes(argv[2]) != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
    }
    std::string_view p(reinterpret_cast<const char *>(pattern), std::size_t(sqlite3_value_bytes(argv[0])));
    std::string_view t(reinterpret_cast<const char *>(text), std::size_t(sqlite3_value_bytes(argv[1])));
    // A query's pattern is the same on every row: prepare it once and keep it with the statement.
    auto *kept = static_cast<Pattern *>(sqlite3_get_auxdata(ctx, 0));
    if (kept && kept->escape == escape) {
        sqlite3_result_int(ctx, kept->matches(t, textUnits) ? 1 : 0);
        return;
    }
    auto fresh = std::make_unique<Pattern>(p, escape);
    sqlite3_result_int(ctx, fresh->matches(t, textUnits) ? 1 : 0);
    sqlite3_set_auxdata(ctx, 0, fresh.release(), destroyPattern); // may free it at once: not used after
}

} // namespace

bool gbkLike(std::string_view pattern, std::string_view text, int escape) {
    std::vector<Unit> units;
    return Pattern(pattern, escape).matches(text, units);
}

void installGbkLike(sqlite3 *db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

} // namespace velmora
