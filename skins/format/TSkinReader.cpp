// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/format/TSkinReader.h"

#include "skins/format/PackageFormat.h"
#include "skins/format/SkinNotice.h"
#include "text/Gbk.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {
std::int32_t readInt32(std::string_view bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        std::size_t at = offset + static_cast<std::size_t>(i);
        std::uint32_t b = at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
        v |= b << (8 * i);
    }
    return static_cast<std::int32_t>(v);
}

// Decodes the name list up to `end` a part at a time and counts its names as splitNameList does; -1 when the
// decoded bytes end before it, or as soon as it has more line ends than the size table has room for names.
long decodeNameList(TLZHDecoder &decoder, std::uint64_t start, std::uint64_t end) {
    constexpr std::uint64_t kStep = 65536;
    long lineEnds = 0;
    bool afterCr = false, open = false; // open: a name has begun since the last line end
    for (std::uint64_t at = start; at < end;) {
        const std::uint64_t upTo = std::min(end, at + kStep);
        if (!decoder.decodeTo(static_cast<std::size_t>(upTo)))
            return -1;
        const char *p = decoder.output().data() + at;
        const void *nul = std::memchr(p, '\0', static_cast<std::size_t>(upTo - at));
        const std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - p) : upTo - at;
        // Line ends found by searching, so a list of long names is not read byte by byte.
        const char *stop = p + n;
        auto next = [stop](const char *from, char c) {
            const void *f = std::memchr(from, c, static_cast<std::size_t>(stop - from));
            return f ? static_cast<const char *>(f) : stop;
        };
        for (const char *cr = next(p, '\r'), *lf = next(p, '\n'); cr != stop || lf != stop;) {
            const bool isCr = cr < lf;
            const char *e = isCr ? cr : lf;
            if (isCr || !(e > p ? e[-1] == '\r' : afterCr)) // the LF of a CR LF ends no second name
                ++lineEnds;
            if (lineEnds > skinpkg::kMaxEntries)
                return -1;
            (isCr ? cr : lf) = next(e + 1, *e);
        }
        if (n > 0) {
            afterCr = p[n - 1] == '\r';
            open = !afterCr && p[n - 1] != '\n';
        }
        if (nul)
            break; // the list ends at a NUL; the rest of it is not read
        at = upTo;
    }
    return lineEnds + (open ? 1 : 0);
}

// Reads `count` entry sizes from the table at `tableStart`, with each entry's offset in the data; false when a
// size is negative or the entries run past the `dataSize` bytes of data.
bool readSizeTable(std::string_view decoded, std::uint64_t tableStart, std::size_t count, std::uint64_t dataSize,
                   std::vector<std::int32_t> &sizes, std::vector<std::size_t> &offsets) {
    sizes.reserve(count);
    offsets.reserve(count);
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::int32_t size = readInt32(decoded, static_cast<std::size_t>(tableStart + 4 * i));
        if (size < 0 || sum + static_cast<std::uint64_t>(size) > dataSize)
            return false;
        offsets.push_back(static_cast<std::size_t>(sum));
        sizes.push_back(size);
        sum += static_cast<std::uint64_t>(size);
    }
    return true;
}

// Eight bytes at a time, since a name may be tens of megabytes: a byte's top bit is set in `upper` exactly when
// it is 'A' to 'Z' (the sums cannot carry into the next byte, as each byte is taken below 0x80 first).
void lowerAsciiInPlace(std::string &s) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL, tops = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, s.data() + i, 8);
        const std::uint64_t low = x & ~tops;
        const std::uint64_t upper = (low + ones * (0x80 - 'A')) & ~(low + ones * (0x80 - 'Z' - 1)) & ~x & tops;
        x |= upper >> 2;
        std::memcpy(s.data() + i, &x, 8);
    }
    for (; i < s.size(); ++i)
        s[i] = (s[i] >= 'A' && s[i] <= 'Z') ? char(s[i] - 'A' + 'a') : s[i];
}
} // namespace

std::vector<std::string> splitNameList(std::string_view list) {
    std::vector<std::string> names;
    for (const NameSpan &span : splitNameSpans(list))
        names.emplace_back(list.substr(span.first, span.second));
    return names;
}

std::vector<NameSpan> splitNameSpans(std::string_view list) {
    std::size_t nul = list.find('\0');
    if (nul != std::string_view::npos)
        list = list.substr(0, nul);
    std::vector<NameSpan> names;
    std::size_t i = 0;
    // The next CR and the next LF, each searched for again only once passed, so a long name is read once.
    std::size_t cr = list.find('\r'), lf = list.find('\n');
    while (i < list.size()) {
        if (cr < i)
            cr = list.find('\r', i);
        if (lf < i)
            lf = list.find('\n', i);
        std::size_t end = std::min(cr, lf);
        if (end == std::string_view::npos) {
            names.emplace_back(i, list.size() - i);
            break;
        }
        names.emplace_back(i, end - i);
        i = end + 1;
        if (list[end] == '\r' && i < list.size() && list[i] == '\n')
            ++i;
    }
    return names;
}

bool TSkinReader::damaged() {
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    data_.clear();
    dataStart_ = 0;
    skinNotice(kDamagedMessage);
    return false;
}

bool TSkinReader::ReadPackage(ByteStream &package) {
    return ReadPackage(std::string_view(package.bytes()));
}

bool TSkinReader::ReadPackage(std::string_view package) {
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    data_.clear();
    dataStart_ = 0;
    version_ = 0;
    listLength_ = 0;

    std::int32_t n = 0;
    if (package.size() >= 4)
        n = readInt32(package, 0);
    // A negative length decodes to nothing, which reads as version 0: an older package, not a damaged one.
    const bool hasStream = package.size() > 4;
    const auto *stream = hasStream ? reinterpret_cast<const unsigned char *>(package.data()) + 4 : nullptr;
    const std::size_t streamSize = hasStream ? package.size() - 4 : 0;
    // The version is read first whatever length is declared, so an unsupported version is always reported as
    // such; a length too large only decodes the header for it.
    const bool tooLarge = n > maxDecoded_;
    TLZHDecoder decoder(tooLarge ? skinpkg::kHeaderSize : n, stream, streamSize);
    // Each part is decoded only once the parts before it are sound, so a damaged package costs little.
    decoder.decodeTo(skinpkg::kHeaderSize);
    version_ = readInt32(decoder.output(), 0);
    listLength_ = readInt32(decoder.output(), 4);
    const int block = skinpkg::versionBlockSize(version_);
    if (block < 0) {
        skinNotice(kOlderSkinMessage);
        return false;
    }
    // A declared length the stream cannot expand to would be made up from the zero bits past its end: the
    // package is cut short or crafted, and decoding it would only cost time and memory.
    if (tooLarge || (n > 0 && static_cast<std::uint64_t>(n) > TLZH::maxExpansion(streamSize)))
        return damaged();
    return readParts(decoder, block);
}

bool TSkinReader::readParts(TLZHDecoder &decoder, int block) {
    // Everything the header claims must lie inside the decoded bytes.
    const std::uint64_t listStart = skinpkg::kHeaderSize + static_cast<std::uint64_t>(block);
    const std::uint64_t listEnd = listStart + static_cast<std::uint64_t>(listLength_);
    const long count = listLength_ < 0 ? -1 : decodeNameList(decoder, listStart, listEnd);
    if (count < 0 || count > skinpkg::kMaxEntries || !decoder.decodeTo(static_cast<std::size_t>(listEnd)))
        return damaged();
    const std::uint64_t tableStart = listEnd;
    const std::uint64_t dataStart = tableStart + 4 * static_cast<std::uint64_t>(count);
    decoder.decodeAll();
    const std::string &decoded = decoder.output();
    if (dataStart > decoded.size())
        return damaged();
    const std::uint64_t dataSize = decoded.size() - dataStart;

    std::vector<std::int32_t> sizes;
    std::vector<std::size_t> offsets;
    if (!readSizeTable(decoded, tableStart, static_cast<std::size_t>(count), dataSize, sizes, offsets))
        return damaged();

    // Names are split only now that the package is sound, and lowered in place: a name may be very long.
    std::vector<NameSpan> spans = splitNameSpans(
        std::string_view(decoded).substr(static_cast<std::size_t>(listStart), static_cast<std::size_t>(listLength_)));
    if (spans.size() != sizes.size())
        return damaged(); // cannot happen: the counting above follows the same rules
    for (NameSpan &span : spans)
        span.first += static_cast<std::size_t>(listStart);
    sizes_ = std::move(sizes);
    offsets_ = std::move(offsets);
    keepNamesAndData(decoder.output(), spans, static_cast<std::size_t>(dataStart));
    for (std::string &name : names_)
        lowerAsciiInPlace(name);
    return true;
}

// The decoded buffer is kept whole as the entry data, names copied out of it; unless one name is larger than the
// entry data, which are then copied out instead and the buffer becomes that name. Either way the larger part is
// never copied, so a package made of one huge name or one huge entry needs little more than its decoded size.
void TSkinReader::keepNamesAndData(std::string &decoded, const std::vector<NameSpan> &spans, std::size_t dataStart) {
    std::size_t longest = spans.size();
    for (std::size_t i = 0; i < spans.size(); ++i)
        if (spans[i].second > decoded.size() - dataStart &&
            (longest == spans.size() || spans[i].second > spans[longest].second))
            longest = i;
    names_.resize(spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i)
        if (i != longest)
            names_[i].assign(decoded, spans[i].first, spans[i].second);
    if (longest == spans.size()) {
        data_ = std::move(decoded);
        dataStart_ = dataStart;
        return;
    }
    data_.assign(decoded, dataStart, std::string::npos);
    dataStart_ = 0;
    std::string &name = names_[longest];
    name = std::move(decoded);
    name.resize(spans[longest].first + spans[longest].second);
    name.erase(0, spans[longest].first);
}

void TSkinReader::copyEntry(std::size_t index, ByteStream &out) const {
    out.write(data_.data() + dataStart_ + offsets_[index], static_cast<std::size_t>(sizes_[index]));
    out.setPosition(0);
}

void TSkinReader::GetEntry(std::string_view name, ByteStream &out) const {
    out.clear();
    const std::string wanted = lowerAscii(name);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == wanted) {
            copyEntry(i, out);
            return;
        }
    }
}

void TSkinReader::FindEntry(std::string_view fragment, ByteStream &out, std::string &name) const {
    out.clear();
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].find(fragment) != std::string::npos) {
            copyEntry(i, out);
            name = names_[i];
            return;
        }
    }
}

} // namespace velmora
