// SPDX-License-Identifier: GPL-3.0-or-later
// Splits a stored skin package into its named entries: decodes it, reads the header, the name list, the size
// table and the entries' bytes.
#pragma once

#include "skins/format/TLZH.h"
#include "text/ByteStream.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

using NameSpan = std::pair<std::size_t, std::size_t>; // a name's offset and length in a name list

class TSkinReader {
public:
    static constexpr const char *kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";
    static constexpr const char *kDamagedMessage = "This skin package is damaged and cannot be read.";

    // Decodes the whole package (its position does not matter). False, after telling the user, for an
    // unsupported version or a damaged package; ElzhException when decoding cannot get its memory.
    bool ReadPackage(ByteStream &package);
    bool ReadPackage(std::string_view package);

    // Empties out, then copies the first entry named name (compared lower-cased) into it; out ends at position 0.
    void GetEntry(std::string_view name, ByteStream &out) const;
    // Empties out, then copies the first entry whose name contains fragment; sets name to the entry's name.
    void FindEntry(std::string_view fragment, ByteStream &out, std::string &name) const;

    std::int32_t version() const { return version_; }
    std::int32_t nameListLength() const { return listLength_; }
    int count() const { return static_cast<int>(names_.size()); }
    const std::vector<std::string> &names() const { return names_; }
    const std::vector<std::int32_t> &sizes() const { return sizes_; }
    std::string_view entryData() const { return std::string_view(data_).substr(dataStart_); }

    // The largest decoded length accepted; the fuzz targets lower it to keep each run short.
    void setMaxDecodedSize(std::int32_t n) { maxDecoded_ = n; }

private:
    bool damaged();
    // The name list, size table and entries after a sound header with a version block of `block` bytes.
    bool readParts(TLZHDecoder &decoder, int block);
    void keepNamesAndData(std::string &decoded, const std::vector<NameSpan> &spans, std::size_t dataStart);
    void copyEntry(std::size_t index, ByteStream &out) const;

    std::vector<std::string> names_;
    std::vector<std::int32_t> sizes_;
    std::vector<std::size_t> offsets_;
    std::string data_;          // the entries' bytes from dataStart_ on
    std::size_t dataStart_ = 0; // the decoded bytes before the entries are kept rather than moved away
    std::int32_t version_ = 0;
    std::int32_t listLength_ = 0;
    std::int32_t maxDecoded_ = TLZH::kMaxDecodedSize;
};

// Splits a name list: CR, LF and CR LF end a line, NUL ends the list, a final line end starts no entry.
std::vector<std::string> splitNameList(std::string_view list);
// The same as (offset, length) of each name in the list.
std::vector<NameSpan> splitNameSpans(std::string_view list);

} // namespace velmora
