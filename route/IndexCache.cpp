// SPDX-License-Identifier: GPL-3.0-or-later
#include "route/IndexCache.h"

#include "data/SQLiteDatabase.h"

namespace velmora::route {

std::shared_ptr<const TransferIndex> IndexCache::get(const std::string &file, const char *key,
                                                     const std::string &cityId) {
    namespace fs = std::filesystem;
    std::error_code error;
    Stamp now;
    now.path = fs::absolute(file, error).string();
    now.cityId = cityId;
    now.size = fs::file_size(file, error);
    const bool readable = !error;
    now.modified = fs::last_write_time(file, error);
    if (index_ && readable && !error && now == stamp_)
        return index_;
    index_.reset();
    TSQLiteDatabase db(file, key); // raises the layer's error for a missing or unreadable file
    index_ = TransferIndex::fromDatabase(db, cityId);
    stamp_ = now;
    if (!readable || error)
        stamp_.path.clear(); // could not stamp it: build again next time
    return index_;
}

} // namespace velmora::route
