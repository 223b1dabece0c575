// SPDX-License-Identifier: GPL-3.0-or-later
// The last city's index, kept while the city and the database file stay the same.
#pragma once

#include "route/TransferIndex.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmora::route {

class IndexCache {
public:
    // The index of the city's lines in `file`; built with one query when the city id, or the file's path,
    // device, inode, size, modification time or change time, differ from the last build. The inode and change
    // time notice a file replaced by another of the same size and modification time (a copy that keeps times,
    // a rename over it), which the other stamps miss.
    std::shared_ptr<const TransferIndex> get(const std::string &file, const char *key, const std::string &cityId);

    // What get() compares, read without building; `ok` is false when the file cannot be stat'ed.
    struct Stamp {
        std::string path, cityId;
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedNs = 0, changedNs = 0;
        bool ok = false;
        bool operator==(const Stamp &o) const {
            return ok && o.ok && path == o.path && cityId == o.cityId && device == o.device && inode == o.inode &&
                   size == o.size && modifiedNs == o.modifiedNs && changedNs == o.changedNs;
        }
    };
    static Stamp stampOf(const std::string &file, const std::string &cityId);

    // Whether get() would return the kept index without building.
    bool holds(const std::string &file, const std::string &cityId) const {
        return index_ && stampOf(file, cityId) == stamp_;
    }

private:
    Stamp stamp_;
    std::shared_ptr<const TransferIndex> index_;
};

} // namespace velmora::route
