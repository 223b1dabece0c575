// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 data texts to the GBK bytes the database holds, with the failing character named for messages.
#pragma once

#include <string>
#include <string_view>

namespace velmora::busdb {

class GbkConverter {
public:
    // With `replace`, a character GBK cannot hold becomes a near form GBK can hold (its base letters, "·" for
    // "・") or else the two-byte "？", as does each byte of invalid UTF-8; both kinds are counted. Otherwise
    // convert() fails on them. A NUL byte always fails: the program would show the text cut there.
    explicit GbkConverter(bool replace = false) : replace_(replace) {}

    // Converts `utf8` into `out`. Returns false, with problem() describing the character, when it fails.
    bool convert(std::string_view utf8, std::string &out);
    const std::string &problem() const { return problem_; }
    long replacements() const { return replacements_; }
    long nearForms() const { return nearForms_; }

private:
    bool replace_;
    long replacements_ = 0;
    long nearForms_ = 0;
    std::string problem_;
};

// "U+1F600"
std::string codePointText(char32_t c);

} // namespace velmora::busdb
