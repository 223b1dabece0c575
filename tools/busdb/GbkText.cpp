// SPDX-License-Identifier: GPL-3.0-or-later
#include "GbkText.h"

#include "text/Gbk.h"

#include <QList>
#include <QString>

#include <cstdio>
#include <unordered_map>

namespace velmora::busdb {

namespace {
// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when the bytes are not valid UTF-8.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t &c) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t n;
    char32_t min;
    if (b < 0x80) {
        c = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        n = 2, c = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3, c = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4, c = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        unsigned char cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (cont & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return n;
}

// One ASCII byte, or a lead byte 81-FE and a trail byte 40-FE other than 7F. The converter also gives "€" as
// the single byte 80, which no strict GBK reader takes: that is a character GBK cannot hold too.
bool isGbkCharacter(const std::string &bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() == 1)
        return at(0) < 0x80;
    return bytes.size() == 2 && at(0) >= 0x81 && at(0) <= 0xFE && at(1) >= 0x40 && at(1) <= 0xFE && at(1) != 0x7F;
}

// GBK bytes of one character, or "" when GBK cannot hold it; remembered, since data repeats its characters.
const std::string &gbkOf(std::string_view utf8Char, char32_t c) {
    static std::unordered_map<char32_t, std::string> cache;
    auto it = cache.find(c);
    if (it != cache.end())
        return it->second;
    std::string bytes;
    if (c == 0xFFFD || !utf8ToGbk(utf8Char, bytes) || !isGbkCharacter(bytes))
        bytes.clear();
    return cache.emplace(c, std::move(bytes)).first->second;
}
// A near form GBK can hold for a character it cannot: what is left when Unicode decomposition takes the marks
// off (š -> s, ė -> e, ligatures to their letters), or "·" for the katakana middle dot; "" when there is none.
// Remembered like gbkOf.
const std::string &nearFormOf(char32_t c) {
    static std::unordered_map<char32_t, std::string> cache;
    auto it = cache.find(c);
    if (it != cache.end())
        return it->second;
    std::string bytes;
    if (c == 0x30FB || c == 0xFF65) {
        bytes = gbk("·");
    } else {
        const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
        QString base;
        for (char32_t d : decomposed.toUcs4())
            if (!QChar::isMark(d))
                base += QString::fromUcs4(&d, 1);
        const QByteArray utf8 = base.toUtf8();
        if (base.isEmpty() || base.toUcs4() == QList<uint>{uint(c)} ||
            !utf8ToGbk(std::string_view(utf8.constData(), std::size_t(utf8.size())), bytes))
            bytes.clear();
    }
    return cache.emplace(c, std::move(bytes)).first->second;
}

// The two-byte replacement, so a replaced character takes the width of the characters around it and a cut by
// bytes still falls between double-byte characters.
const std::string &replacementMark() {
    static const std::string mark = gbk("？");
    return mark;
}
} // namespace

std::string codePointText(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", unsigned(c));
    return buf;
}

bool GbkConverter::convert(std::string_view utf8, std::string &out) {
    out.clear();
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        if (b == 0) {
            // Not a character to replace: the program would show the text cut short here.
            problem_ = "NUL byte (U+0000) at byte " + std::to_string(i + 1) + ": the text would be cut there";
            return false;
        }
        if (b < 0x80) {
            out.push_back(char(b));
            ++i;
            continue;
        }
        char32_t c = 0;
        std::size_t n = decodeUtf8(utf8, i, c);
        if (n == 0) {
            if (!replace_) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "invalid UTF-8 (byte 0x%02X at byte %zu)", unsigned(b), i + 1);
                problem_ = buf;
                return false;
            }
            ++replacements_;
            out += replacementMark();
            ++i;
            continue;
        }
        const std::string &bytes = gbkOf(utf8.substr(i, n), c);
        if (bytes.empty()) {
            if (!replace_) {
                problem_ = "character \"" + std::string(utf8.substr(i, n)) + "\" (" + codePointText(c) +
                           ") cannot be held in GBK";
                return false;
            }
            const std::string &near = nearFormOf(c);
            if (!near.empty()) {
                ++nearForms_;
                out += near;
            } else {
                ++replacements_;
                out += replacementMark();
            }
        } else {
            out += bytes;
        }
        i += n;
    }
    return true;
}

} // namespace velmora::busdb
