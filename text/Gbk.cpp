// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Gbk.h"

#include "text/Exception.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velmora {

namespace {
// True when the last byte of a GBK text opens a double-byte character that has no second byte
// (a value cut by bytes can end so).
bool endsWithLoneLeadByte(std::string_view gbk) {
    std::size_t i = 0;
    while (i < gbk.size()) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c >= 0x81 && c <= 0xFE) {
            if (i + 1 == gbk.size())
                return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}
} // namespace

QString fromGbk(std::string_view gbk) {
    QStringDecoder decoder("GBK");
    QString text = decoder.decode(QByteArrayView(gbk.data(), qsizetype(gbk.size())));
    // The decoder holds back an incomplete last character; show that something is there.
    if (endsWithLoneLeadByte(gbk))
        text += QChar(0xFFFD);
    return text;
}

std::string toGbk(const QString &text) {
    QStringEncoder encoder("GBK", QStringConverter::Flag::Default);
    QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

bool utf8ToGbk(std::string_view utf8, std::string &out, qsizetype *badIndex) {
    QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    out.clear();
    out.reserve(utf8.size());
    QStringEncoder encoder("GBK");
    for (qsizetype i = 0; i < text.size();) {
        qsizetype n = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QStringView ch = QStringView(text).mid(i, n);
        QByteArray b = encoder.encode(ch);
        // GBK has no '?' for a real character; a '?' for anything but '?' means it was not representable.
        if (encoder.hasError() || ch.at(0) == QChar(0xFFFD) || (b == "?" && ch != u"?")) {
            if (badIndex)
                *badIndex = i;
            return false;
        }
        out.append(b.constData(), std::size_t(b.size()));
        i += n;
    }
    return true;
}

std::string gbk(std::string_view utf8) {
    std::string out;
    if (!utf8ToGbk(utf8, out))
        throw Exception("text cannot be held in GBK");
    return out;
}

std::string gbkToUtf8(std::string_view gbk) {
    QByteArray utf8 = fromGbk(gbk).toUtf8();
    return std::string(utf8.constData(), std::size_t(utf8.size()));
}

std::string_view trimmedBytes(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20)
        --e;
    return s.substr(b, e - b);
}

std::string trimBytes(std::string_view s) {
    return std::string(trimmedBytes(s));
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = s.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
        out.append(s.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(s.substr(pos));
    return out;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

} // namespace velmora
