// SPDX-License-Identifier: GPL-3.0-or-later
// Replays every fuzz corpus file and every crash input found so far through the fuzz targets' bodies.
#include "FuzzTargets.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

using Target = int (*)(const std::uint8_t *, std::size_t);

int replay(const std::string &name, Target target) {
    int files = 0;
    for (const char *kind : {"corpus", "crashes"}) {
        fs::path dir = fs::path(velmora::test::kSourceDir) / "fuzz" / kind / name;
        if (!fs::is_directory(dir))
            continue;
        for (const fs::directory_entry &e : fs::directory_iterator(dir)) {
            if (!e.is_regular_file())
                continue;
            SCOPED_TRACE(e.path().string());
            std::ifstream f(e.path(), std::ios::binary);
            std::string bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
            target(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
            ++files;
        }
    }
    return files;
}

} // namespace

TEST(FuzzCorpus, Unpack) {
    velmora::fuzz::setUp();
    EXPECT_GT(replay("unpack", velmora::fuzz::unpack), 0);
}

TEST(FuzzCorpus, ReadPackage) {
    velmora::fuzz::setUp();
    EXPECT_GT(replay("read_package", velmora::fuzz::readPackage), 0);
}

TEST(FuzzCorpus, QuickIni) {
    velmora::fuzz::setUp();
    EXPECT_GT(replay("quick_ini", velmora::fuzz::quickIni), 0);
}
