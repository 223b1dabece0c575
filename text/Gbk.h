// SPDX-License-Identifier: GPL-3.0-or-later
// GBK byte strings: the program keeps every text as GBK bytes and converts only at the widget boundary.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace velmora {

// GBK bytes shown by a widget. A lone lead byte at the end is shown as U+FFFD rather than dropped.
QString fromGbk(std::string_view gbk);
inline QString fromGbk(const QByteArray &gbk) {
    return fromGbk(std::string_view(gbk.constData(), gbk.size()));
}

// A widget's text as GBK bytes; characters GBK cannot hold become "?".
std::string toGbk(const QString &text);

// Converts a UTF-8 text (a literal in the sources) to GBK; throws velmora::Exception when GBK cannot hold it.
std::string gbk(std::string_view utf8);

// Strict conversion for data import: returns false and the offending character's index when GBK cannot hold it.
bool utf8ToGbk(std::string_view utf8, std::string &out, qsizetype *badIndex = nullptr);
std::string gbkToUtf8(std::string_view gbk);

// Removes leading and trailing bytes up to 0x20; the ideographic space (A1 A1) stays.
std::string trimBytes(std::string_view s);
// The same, as a view into `s` (no copy: for hot loops).
std::string_view trimmedBytes(std::string_view s);

// Replaces every occurrence of `from`, left to right, without rescanning what was inserted.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Maps only A..Z to a..z (or the reverse), byte by byte, whatever the code page.
std::string lowerAscii(std::string_view s);
std::string upperAscii(std::string_view s);

} // namespace velmora
