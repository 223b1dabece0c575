// SPDX-License-Identifier: GPL-3.0-or-later
#include "GtfsFeed.h"

#include <filesystem>
#include <zip.h>

namespace velmora::busdb {

namespace {
bool isDirectory(const std::string &path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}
bool isFile(const std::string &path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}
} // namespace

GtfsFeed::GtfsFeed(const std::string &path) : path_(path) {
    if (isDirectory(path))
        return;
    if (!isFile(path))
        throw Error("no feed at " + path + " (a folder or a .zip)");
    int error = 0;
    zip_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!zip_) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        std::string text = zip_error_strerror(&ze);
        zip_error_fini(&ze);
        throw Error(path + ": not a readable zip archive: " + text);
    }
}

GtfsFeed::~GtfsFeed() {
    if (zip_)
        zip_discard(zip_);
}

long GtfsFeed::locate(const std::string &name) const {
    // ZIP_FL_NODIR: feeds are often zipped with their folder.
    return long(zip_name_locate(zip_, name.c_str(), ZIP_FL_NODIR));
}

bool GtfsFeed::has(const std::string &name) const {
    return zip_ ? locate(name) >= 0 : isFile(path_ + "/" + name);
}

std::unique_ptr<CsvReader> GtfsFeed::open(const std::string &name) const {
    if (!has(name))
        throw Error("missing required file " + name);
    if (!zip_)
        return CsvReader::openFile(path_ + "/" + name, name, true);
    zip_file_t *raw = zip_fopen_index(zip_, zip_uint64_t(locate(name)), 0);
    if (!raw)
        throw Error(name + ": cannot read from " + path_ + ": " + zip_strerror(zip_));
    std::shared_ptr<zip_file_t> entry(raw, [](zip_file_t *f) { zip_fclose(f); });
    CsvReader::Source source = [entry, name](char *buffer, std::size_t capacity) {
        zip_int64_t n = zip_fread(entry.get(), buffer, capacity);
        if (n < 0)
            throw Error(name + ": damaged in the zip archive: " + zip_file_strerror(entry.get()));
        return std::size_t(n);
    };
    return std::make_unique<CsvReader>(name, std::move(source), true);
}

} // namespace velmora::busdb
