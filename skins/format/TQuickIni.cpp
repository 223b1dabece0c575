// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/format/TQuickIni.h"

#include "text/Gbk.h"

namespace velmora {

namespace {
bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

bool isHeader(const std::string &line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

void TQuickIni::LoadFromStream(ByteStream &stream) {
    std::string_view all(stream.bytes());
    std::size_t from = stream.position();
    LoadFromText(all.substr(from));
    stream.setPosition(stream.size());
}

void TQuickIni::LoadFromText(std::string_view text) {
    lines_.clear();
    headers_.clear();
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line = trimBytes(text.substr(i, end - i));
        i = end;
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;
        if (line.empty() || line[0] == ';')
            continue;
        if (isHeader(line))
            headers_.emplace_back(line, lines_.size());
        lines_.push_back(std::move(line));
    }
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    if (lines_.empty())
        return std::string(def);
    std::string header;
    header.reserve(section.size() + 2);
    header += '[';
    header += section;
    header += ']';
    const std::pair<std::string, std::size_t> *found = nullptr;
    for (const auto &h : headers_) {
        if (equalsNoCase(h.first, header)) {
            found = &h;
            break;
        }
    }
    if (!found)
        return std::string(def);
    const std::string wanted = lowerAscii(key);
    for (std::size_t i = found->second + 1; i < lines_.size(); ++i) {
        const std::string &line = lines_[i];
        if (isHeader(line))
            break;
        std::size_t eq = line.find('=');
        std::string lineKey = eq == std::string::npos ? std::string() : lowerAscii(trimBytes(line.substr(0, eq)));
        if (lineKey != wanted)
            continue;
        std::string value = eq == std::string::npos ? std::string() : trimBytes(std::string_view(line).substr(eq + 1));
        return value.empty() ? std::string(def) : value;
    }
    return std::string(def);
}

bool parseIniInteger(std::string_view text, std::int32_t &value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size())
        return false;
    if (hex) {
        if (text.size() - i > 8)
            return false;
        std::uint32_t v = 0;
        for (; i < text.size(); ++i) {
            int d = hexDigit(text[i]);
            if (d < 0)
                return false;
            v = (v << 4) | static_cast<std::uint32_t>(d);
        }
        if (negative)
            v = 0u - v;
        value = static_cast<std::int32_t>(v);
        return true;
    }
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
    std::int32_t v;
    return parseIniInteger(ReadString(section, key, ""), v) ? v : def;
}

void TQuickIni::ReadSections(std::vector<std::string> &list) const {
    list.clear();
    for (const auto &h : headers_) {
        std::string line = trimBytes(h.first);
        list.push_back(trimBytes(std::string_view(line).substr(1, line.size() - 2)));
    }
}

QColor parseColourText(std::string_view text) {
    int parts[3] = {0, 0, 0};
    int found = 0;
    int current = 0;
    bool inNumber = false;
    for (std::size_t i = 0; i < text.size() && found < 3; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            current = (current * 10 + (c - '0')) % 256;
            inNumber = true;
        } else if (inNumber) {
            parts[found++] = current;
            current = 0;
            inNumber = false;
        }
    }
    if (inNumber && found == 2)
        parts[found++] = current;
    return QColor(parts[0], parts[1], parts[2]);
}

QColor readColourText(const TQuickIni &ini, std::string_view section, std::string_view key, const QColor &def) {
    std::string text = ini.ReadString(section, key, "");
    return text.empty() ? def : parseColourText(text);
}

std::optional<QColor> readColour3(const TQuickIni &ini, std::string_view section, std::string_view name) {
    int parts[3];
    const char *suffix[3] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        std::string key(name);
        key += suffix[i];
        std::int32_t v = ini.ReadInteger(section, key, -1);
        if (v < 0)
            return std::nullopt;
        parts[i] = v % 256;
    }
    return QColor(parts[0], parts[1], parts[2]);
}

} // namespace velmora
