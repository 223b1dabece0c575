// SPDX-License-Identifier: GPL-3.0-or-later
// The last city's index, kept while the city and the database file stay the same.
#pragma once

#include "route/TransferIndex.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace velmora::route {

class IndexCache {
public:
    // The index of the city's lines in `file`; built with one query when the city id, or the file's path, size
    // or modification time, differ from the last build.
    std::shared_ptr<const TransferIndex> get(const std::string &file, const char *key, const std::string &cityId);

private:
    struct Stamp {
        std::string path, cityId;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        bool operator==(const Stamp &o) const {
            return path == o.path && cityId == o.cityId && size == o.size && modified == o.modified;
        }
    };
    Stamp stamp_;
    std::shared_ptr<const TransferIndex> index_;
};

} // namespace velmora::route
