// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/IndexCache.h"

#include "data/SQLiteDatabase.h"

#include <filesystem>
#include <sys/stat.h>

namespace velmora::route {

IndexCache::Stamp IndexCache::stampOf(const std::string &file, const std::string &cityId) {
    Stamp s;
    std::error_code error;
    s.path = std::filesystem::absolute(file, error).string();
    s.cityId = cityId;
    struct stat st {};
    if (error || ::stat(file.c_str(), &st) != 0)
        return s;
    s.device = std::uint64_t(st.st_dev);
    s.inode = std::uint64_t(st.st_ino);
    s.size = std::uint64_t(st.st_size);
    s.modifiedNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changedNs = std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    s.ok = true;
    return s;
}

std::shared_ptr<const TransferIndex> IndexCache::get(const std::string &file, const char *key,
                                                     const std::string &cityId) {
    // Stamped before reading, so a change while the index is built makes the next call build again.
    const Stamp now = stampOf(file, cityId);
    if (index_ && now == stamp_)
        return index_;
    index_.reset();
    stamp_ = Stamp();
    std::shared_lock<std::shared_mutex> gate(backgroundReadGate());
    TSQLiteDatabase db(file, key); // raises the layer's error for a missing or unreadable file
    index_ = TransferIndex::fromDatabase(db, cityId);
    stamp_ = now; // a file that could not be stat'ed never matches: built again next time
    return index_;
}

} // namespace velmora::route
