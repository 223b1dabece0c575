// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV reader over libcsv: RFC 4180 shapes, line numbers, chunk boundaries and malformed input.
#include "CsvReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using velmora::busdb::CsvReader;
using velmora::busdb::CsvRow;
using velmora::busdb::Error;

namespace {

// A source that hands out `text` at most `step` bytes at a time, so fields and rows straddle reads.
CsvReader::Source textSource(std::string text, std::size_t step) {
    auto pos = std::make_shared<std::size_t>(0);
    return [text = std::move(text), step, pos](char *buffer, std::size_t capacity) {
        std::size_t n = std::min({step, capacity, text.size() - *pos});
        std::memcpy(buffer, text.data() + *pos, n);
        *pos += n;
        return n;
    };
}

struct Read {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<long> lines;
};

Read readAll(const std::string &text, std::size_t step = 1 << 20, bool shortRows = false) {
    CsvReader reader("t.csv", textSource(text, step), shortRows);
    Read r{reader.header(), {}, {}};
    CsvRow row;
    while (reader.next(row)) {
        std::vector<std::string> fields;
        for (std::size_t i = 0; i < row.size(); ++i)
            fields.emplace_back(row[int(i)]);
        r.rows.push_back(fields);
        r.lines.push_back(row.line());
    }
    return r;
}

std::string errorOf(const std::string &text, bool shortRows = false) {
    try {
        readAll(text, 1 << 20, shortRows);
    } catch (const Error &e) {
        return e.what();
    }
    return "<no error>";
}

} // namespace

TEST(CsvReader, ReadsRfc4180ShapesWithLineNumbersWhateverTheReadSize) {
    const std::string text = "\xEF\xBB\xBF"
                             "a, b ,c\r\n"
                             "1,\"x, y\",\"say \"\"hi\"\"\"\r\n"
                             "\r\n"
                             "2,\"two\nlines\",  spaced  \n"
                             "3,,\n"
                             "   \n"
                             "4,last,\"no break\"";
    for (std::size_t step : {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(7), std::size_t(1 << 20)}) {
        SCOPED_TRACE(step);
        Read r = readAll(text, step);
        EXPECT_EQ(r.header, (std::vector<std::string>{"a", "b", "c"}));
        ASSERT_EQ(r.rows.size(), 4u);
        EXPECT_EQ(r.rows[0], (std::vector<std::string>{"1", "x, y", "say \"hi\""}));
        EXPECT_EQ(r.rows[1], (std::vector<std::string>{"2", "two\nlines", "  spaced  "}));
        EXPECT_EQ(r.rows[2], (std::vector<std::string>{"3", "", ""}));
        EXPECT_EQ(r.rows[3], (std::vector<std::string>{"4", "last", "no break"}));
        // Blank lines and the line break inside a field still count as lines.
        EXPECT_EQ(r.lines, (std::vector<long>{2, 4, 6, 8}));
    }
}

TEST(CsvReader, RowsAcrossManyChunksStayWhole) {
    std::string text = "id,name,stops\n";
    for (int i = 0; i < 40000; ++i)
        text += std::to_string(i) + ",\"line " + std::to_string(i) + "\",\"a,b,c\nd\"\n";
    Read r = readAll(text);
    ASSERT_EQ(r.rows.size(), 40000u);
    for (int i = 0; i < 40000; i += 997) {
        EXPECT_EQ(r.rows[std::size_t(i)][0], std::to_string(i));
        EXPECT_EQ(r.rows[std::size_t(i)][1], "line " + std::to_string(i));
        EXPECT_EQ(r.rows[std::size_t(i)][2], "a,b,c\nd");
        EXPECT_EQ(r.lines[std::size_t(i)], 2 + 2L * i);
    }
}

TEST(CsvReader, HeaderMapsNamesToPositions) {
    CsvReader reader("t.csv", textSource("b, a ,c\n1,2,3\n", 100));
    EXPECT_EQ(reader.column("a"), 1);
    EXPECT_EQ(reader.column("z"), -1);
    EXPECT_EQ(reader.requireColumn("c"), 2);
    try {
        reader.requireColumn("z");
        FAIL();
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(), "t.csv: missing column z");
    }
}

TEST(CsvReader, MalformedInputNamesFileAndLine) {
    EXPECT_EQ(errorOf("a,b\n1,2\n3,\"open\n4,5\n"), "t.csv line 3: a quoted field is not closed");
    EXPECT_EQ(errorOf("a,b\n1,2\n3,x\"y\n"),
              "t.csv line 3: malformed quoting: a quote inside an unquoted field, or text after a closing quote");
    EXPECT_EQ(errorOf("a,b\n1,\"q\"x\n").substr(0, 13), "t.csv line 2:");
    EXPECT_EQ(errorOf("a,b\n1,2\n1,2,3\n"), "t.csv line 3: 3 fields, the header has 2");
    EXPECT_EQ(errorOf("a,b\n1\n"), "t.csv line 2: 1 fields, the header has 2");
    EXPECT_EQ(errorOf("a,b\n1,2,3\n", true), "t.csv line 2: 3 fields, the header has 2");
    EXPECT_EQ(errorOf(""), "t.csv: empty file, no header row");
    EXPECT_EQ(errorOf("\xEF\xBB\xBF\r\n"), "t.csv: empty file, no header row");
    EXPECT_EQ(errorOf("a,b,a\n"), "t.csv line 1: column a appears twice in the header");
    EXPECT_EQ(errorOf("a,,b\n"), "t.csv line 1: empty column name in the header");
    // What does not show is named: a second byte-order mark, a NUL byte.
    EXPECT_EQ(errorOf("\xEF\xBB\xBF\xEF\xBB\xBFid,b\n"),
              "t.csv line 1: column 1 of the header, \"<U+FEFF>id\", holds a "
              "byte-order mark (U+FEFF); the file already starts with one");
    EXPECT_EQ(errorOf(std::string("id,b\0\n", 6)),
              "t.csv line 1: column 2 of the header, \"b<NUL>\", holds a NUL byte");
}

TEST(CsvReader, OneHugeFieldReadsWhole) {
    // The parser's buffer for a field grows by doubling: with its fixed 128-byte step, an allocator that copies
    // on every growth (as the sanitizers' does) took hours over this one field.
    std::string big(CsvReader::kMaxFieldBytes, 'x');
    big[12345] = ',';
    Read r = readAll("a\n\"" + big + "\"\n");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_TRUE(r.rows[0][0] == big);
}

TEST(CsvReader, AFieldOverTheLimitIsRefusedWithItsPlace) {
    const std::string where = "t.csv line 4, column b: field longer than the limit of 1048576 bytes (1 MiB)";
    // Just over, and far over (refused while it is still being read).
    for (std::size_t size : {CsvReader::kMaxFieldBytes + 1, std::size_t(8) << 20}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(errorOf("a,b\n\"1\n\",2\n3,\"" + std::string(size, 'x') + "\"\n"), where);
        EXPECT_EQ(errorOf("a,b\n\"1\n\",2\n3," + std::string(size, 'x') + "\n"), where);
    }
}

TEST(CsvReader, ShortRowsReadAsEmptyWhenAllowed) {
    Read r = readAll("a,b,c\n1\n", 100, true);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0], (std::vector<std::string>{"1"}));
}
