// SPDX-License-Identifier: GPL-3.0-or-later
// Streaming RFC 4180 reader over libcsv: rows one at a time with their line numbers, a header row that maps
// column names to positions, and a leading UTF-8 byte-order mark dropped.
#pragma once

#include "Error.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::busdb {

// One data row; valid until the next call of CsvReader::next.
class CsvRow {
public:
    std::size_t size() const { return count_; }
    // The field at `index`, or "" past the row's end (rows may be short when the reader allows it).
    std::string_view operator[](int index) const {
        if (index < 0 || std::size_t(index) >= count_)
            return {};
        return std::string_view(data_ + offsets_[index], offsets_[index + 1] - offsets_[index]);
    }
    long line() const { return line_; }

private:
    friend class CsvReader;
    const char *data_ = nullptr;
    const std::size_t *offsets_ = nullptr;
    std::size_t count_ = 0;
    long line_ = 0;
};

class CsvReader {
public:
    // The largest field taken: no table's text comes near it, and one larger would only cost every query that
    // reads it. A larger field stops the reading with its file, line and column.
    static constexpr std::size_t kMaxFieldBytes = 1 << 20;

    // Fills `buffer` with up to `capacity` bytes; returns 0 at the end. Throws Error on a read failure.
    using Source = std::function<std::size_t(char *buffer, std::size_t capacity)>;

    // `name` is the file's name as messages show it. With `shortRowsAllowed`, a row with fewer fields than
    // the header reads the missing ones as empty; a row with more fields is always an error.
    CsvReader(std::string name, Source source, bool shortRowsAllowed = false);
    ~CsvReader();
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    static std::unique_ptr<CsvReader> openFile(const std::string &path, std::string name,
                                               bool shortRowsAllowed = false);

    const std::string &name() const { return name_; }
    // Column names of the header row, spaces around them removed.
    const std::vector<std::string> &header() const { return header_; }
    // Position of a column, or -1.
    int column(std::string_view columnName) const;
    // Position of a column that must be there; throws "<file>: missing column <name>" otherwise.
    int requireColumn(std::string_view columnName) const;

    // The next data row; false at the end. Blank lines are skipped.
    bool next(CsvRow &row);

    // Throws Error "<file> line <n>: <what>".
    [[noreturn]] void fail(long line, const std::string &what) const;
    // Throws Error "<file> line <n>, column <column>: <what>".
    [[noreturn]] void fail(long line, std::string_view column, const std::string &what) const;

private:
    struct Parser;
    struct RowSpan {
        std::size_t firstField;
        std::size_t fieldCount;
        long line;
    };
    void readHeader();
    bool fillBatch();
    void onField(const char *data, std::size_t length);
    void onRowEnd(int terminator);
    [[noreturn]] void fieldTooLarge() const;
    static void fieldCallback(void *data, std::size_t length, void *self);
    static void rowCallback(int terminator, void *self);

    std::string name_;
    Source source_;
    bool shortRowsAllowed_;
    std::unique_ptr<Parser> parser_;
    std::vector<std::string> header_;
    std::vector<char> chunk_;
    bool started_ = false;
    bool bomDropped_ = false;
    bool finished_ = false;

    // Rows completed by the last chunk, fields end to end in one buffer.
    std::string fieldData_;
    std::vector<std::size_t> offsets_; // offsets_[i] is where field i starts; one more at the end
    std::vector<RowSpan> rows_;
    std::size_t nextRow_ = 0;
    std::size_t fieldsInRow_ = 0;

    // Line bookkeeping: the line the parser is on, where the current row began, and whether the last
    // terminator was a carriage return (so the line feed of a CRLF does not count twice).
    long line_ = 1;
    long rowLine_ = 1;
    bool pendingCr_ = false;
};

} // namespace velmora::busdb
