// SPDX-License-Identifier: GPL-3.0-or-later
// skinpack [--version V] DIR OUT.skn: packs the files of a folder (an INI and its bitmaps) into a skin package.
#include "SkinPacker.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

int main(int argc, char **argv) {
    using namespace velmora::skinpack;
    std::int32_t version = 70000;
    int i = 1;
    if (i + 1 < argc && std::strcmp(argv[i], "--version") == 0) {
        char *end = nullptr;
        long v = std::strtol(argv[i + 1], &end, 10);
        if (*argv[i + 1] == '\0' || *end != '\0') {
            std::cerr << "skinpack: bad version " << argv[i + 1] << "\n";
            return 2;
        }
        version = static_cast<std::int32_t>(v);
        i += 2;
    }
    if (argc - i != 2) {
        std::cerr << "usage: skinpack [--version 20000|30000|40000|50000|60000|70000] DIR OUT.skn\n";
        return 2;
    }
    try {
        std::string stored = compressPackage(buildDecodedPackage(version, readFolder(argv[i])));
        std::string tmp = std::string(argv[i + 1]) + ".tmp";
        {
            std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
            out.write(stored.data(), static_cast<std::streamsize>(stored.size()));
            out.close();
            if (!out) {
                std::cerr << "skinpack: cannot write " << tmp << "\n";
                std::remove(tmp.c_str());
                return 1;
            }
        }
        if (std::rename(tmp.c_str(), argv[i + 1]) != 0) {
            std::cerr << "skinpack: cannot write " << argv[i + 1] << "\n";
            std::remove(tmp.c_str());
            return 1;
        }
    } catch (const std::exception &e) {
        std::cerr << "skinpack: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
