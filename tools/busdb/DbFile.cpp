// SPDX-License-Identifier: GPL-3.0-or-later
#include "DbFile.h"

#include "Error.h"
#include "text/Gbk.h"

#include <filesystem>
#include <system_error>

namespace velmora::busdb {

void requireFile(const std::string &file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        throw Error("no database " + file + " (make one with: busdb create " + file + ")");
}

std::string layerMessage(const std::exception &e) {
    std::string text = gbkToUtf8(e.what());
    // The layer separates its message parts with carriage returns, which a terminal would overprint.
    for (char &c : text)
        if (c == '\r')
            c = '\n';
    return text;
}

} // namespace velmora::busdb
