// SPDX-License-Identifier: GPL-3.0-or-later
// The plan index cache: a database replaced by another of the same size and modification time is noticed.
#include "TestDb.h"

#include "data/SQLiteDatabase.h"
#include "route/IndexCache.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;
using velmora::test::G;

namespace {
void copyTimes(const char *from, const char *to) {
    struct stat st {};
    ASSERT_EQ(::stat(from, &st), 0);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, to, times, 0), 0);
}

off_t sizeOf(const char *file) {
    struct stat st {};
    return ::stat(file, &st) == 0 ? st.st_size : -1;
}
} // namespace

TEST(IndexCache, NoticesAFileReplacedWithTheSameSizeAndModificationTime) {
    velmora::test::TempWorkDir dir;
    velmora::test::makeBusDb("a.dbf", {"INSERT INTO bus VALUES ('7','1','1路','','','','','A,B','')"});
    velmora::test::makeBusDb("b.dbf", {"INSERT INTO bus VALUES ('7','1','2路','','','','','A,B','')"});
    velmora::test::makeBusDb("c.dbf", {"INSERT INTO bus VALUES ('7','1','3路','','','','','A,B','')"});
    ASSERT_EQ(sizeOf("a.dbf"), sizeOf("b.dbf"));
    ASSERT_EQ(sizeOf("a.dbf"), sizeOf("c.dbf"));
    route::IndexCache cache;
    ASSERT_EQ(cache.get("a.dbf", dbKey, "1")->line(0).name, G("1路"));
    EXPECT_TRUE(cache.holds("a.dbf", "1"));

    // Renamed over it: a new inode.
    copyTimes("a.dbf", "b.dbf");
    ASSERT_EQ(std::rename("b.dbf", "a.dbf"), 0);
    EXPECT_FALSE(cache.holds("a.dbf", "1"));
    ASSERT_EQ(cache.get("a.dbf", dbKey, "1")->line(0).name, G("2路"));

    // Rewritten in place with the old modification time put back: the change time moves.
    struct stat before {};
    ASSERT_EQ(::stat("a.dbf", &before), 0);
    {
        FILE *in = std::fopen("c.dbf", "rb"), *out = std::fopen("a.dbf", "r+b");
        ASSERT_TRUE(in && out);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            std::fwrite(buffer, 1, n, out);
        std::fclose(in);
        std::fclose(out);
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, "a.dbf", times, 0), 0);
    EXPECT_EQ(cache.get("a.dbf", dbKey, "1")->line(0).name, G("3路"));
}
