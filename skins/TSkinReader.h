// Splits a stored skin package into its named entries: decodes it, reads the header, the name list, the size
// table and the entries' bytes.
#pragma once

#include "platform/ByteStream.h"
#include "skins/TLZH.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

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
    const std::string &entryData() const { return data_; }

    // The largest decoded length accepted; the fuzz targets lower it to keep each run short.
    void setMaxDecodedSize(std::int32_t n) { maxDecoded_ = n; }

private:
    bool damaged();
    // The name list, size table and entries after a sound header with a version block of `block` bytes.
    bool readParts(TLZHDecoder &decoder, int block);
    void copyEntry(std::size_t index, ByteStream &out) const;

    std::vector<std::string> names_;
    std::vector<std::int32_t> sizes_;
    std::vector<std::size_t> offsets_;
    std::string data_;
    std::int32_t version_ = 0;
    std::int32_t listLength_ = 0;
    std::int32_t maxDecoded_ = TLZH::kMaxDecodedSize;
};

// Splits a name list: CR, LF and CR LF end a line, NUL ends the list, a final line end starts no entry.
std::vector<std::string> splitNameList(std::string_view list);

} // namespace velmora
