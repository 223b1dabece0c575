// SPDX-License-Identifier: GPL-3.0-or-later
// A GTFS feed as a set of named CSV files, from a folder or a .zip (files may sit in one folder inside it).
#pragma once

#include "CsvReader.h"

#include <memory>
#include <string>

typedef struct zip zip_t;

namespace velmora::busdb {

class GtfsFeed {
public:
    // Throws Error when `path` is neither a folder nor a readable zip archive.
    explicit GtfsFeed(const std::string &path);
    ~GtfsFeed();
    GtfsFeed(const GtfsFeed &) = delete;
    GtfsFeed &operator=(const GtfsFeed &) = delete;

    bool has(const std::string &name) const;
    // Opens a file of the feed for streaming; throws "missing required file <name>" when it is not there.
    // Rows shorter than the header read their missing fields as empty, as feeds in the wild need.
    std::unique_ptr<CsvReader> open(const std::string &name) const;

private:
    long locate(const std::string &name) const;
    std::string path_;
    zip_t *zip_ = nullptr;
};

} // namespace velmora::busdb
