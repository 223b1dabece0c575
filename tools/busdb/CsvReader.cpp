// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <csv.h>
#include <malloc.h>

namespace velmora::busdb {

namespace {
constexpr std::size_t kChunkSize = 256 * 1024;

// Spaces are data in RFC 4180; libcsv would trim them around unquoted fields otherwise.
int noSpaces(unsigned char) {
    return 0;
}

constexpr std::size_t kFieldGrowthStep = 64 * 1024;

// libcsv grows a field's buffer by a fixed step, which makes one huge field cost a copy per step. Keeping
// spare room (at least doubling) turns most of its growth requests into nothing, so the cost is linear. Past
// the field size limit it is refused, so an oversized field is not first read whole.
void *growFieldBuffer(void *p, std::size_t n) {
    if (n > CsvReader::kMaxFieldBytes + 2 * kFieldGrowthStep)
        return nullptr;
    const std::size_t have = p ? malloc_usable_size(p) : 0;
    if (p && have >= n)
        return p;
    void *grown = std::realloc(p, std::max(n, 2 * have));
    return grown || 2 * have <= n ? grown : std::realloc(p, n);
}

// A header name with its invisible characters written out, for messages.
std::string visibleName(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.substr(i, 3) == "\xEF\xBB\xBF") {
            out += "<U+FEFF>";
            i += 2;
        } else if (s[i] == '\0') {
            out += "<NUL>";
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string trimSpaces(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}
} // namespace

struct CsvReader::Parser {
    csv_parser p;
    Parser() {
        if (csv_init(&p, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0)
            throw Error("out of memory");
        csv_set_space_func(&p, noSpaces);
        csv_set_realloc_func(&p, growFieldBuffer);
        csv_set_blk_size(&p, kFieldGrowthStep);
    }
    ~Parser() { csv_free(&p); }
};

CsvReader::CsvReader(std::string name, Source source, bool shortRowsAllowed)
    : name_(std::move(name)), source_(std::move(source)), shortRowsAllowed_(shortRowsAllowed),
      parser_(std::make_unique<Parser>()), chunk_(kChunkSize) {
    offsets_.push_back(0);
    readHeader();
}

CsvReader::~CsvReader() = default;

std::unique_ptr<CsvReader> CsvReader::openFile(const std::string &path, std::string name, bool shortRowsAllowed) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw Error(name + ": cannot open " + path + ": " + std::strerror(errno));
    std::shared_ptr<std::FILE> file(f, [](std::FILE *fp) { std::fclose(fp); });
    Source source = [file, name, path](char *buffer, std::size_t capacity) {
        std::size_t n = std::fread(buffer, 1, capacity, file.get());
        if (n == 0 && std::ferror(file.get()))
            throw Error(name + ": cannot read " + path);
        return n;
    };
    return std::make_unique<CsvReader>(name, std::move(source), shortRowsAllowed);
}

void CsvReader::fail(long line, const std::string &what) const {
    throw Error(name_ + " line " + std::to_string(line) + ": " + what);
}

void CsvReader::fail(long line, std::string_view column, const std::string &what) const {
    throw Error(name_ + " line " + std::to_string(line) + ", column " + std::string(column) + ": " + what);
}

int CsvReader::column(std::string_view columnName) const {
    auto it = std::find(header_.begin(), header_.end(), columnName);
    return it == header_.end() ? -1 : int(it - header_.begin());
}

int CsvReader::requireColumn(std::string_view columnName) const {
    int index = column(columnName);
    if (index < 0)
        throw Error(name_ + ": missing column " + std::string(columnName));
    return index;
}

void CsvReader::readHeader() {
    CsvRow row;
    // The header is read like a data row, before the field count is known.
    if (!next(row))
        throw Error(name_ + ": empty file, no header row");
    for (std::size_t i = 0; i < row.size(); ++i) {
        std::string columnName = trimSpaces(row[int(i)]);
        if (columnName.empty())
            fail(row.line(), "empty column name in the header");
        // Characters that do not show would otherwise surface as an unknown or a missing column.
        const std::string where =
            "column " + std::to_string(i + 1) + " of the header, \"" + visibleName(columnName) + "\", ";
        if (columnName.find("\xEF\xBB\xBF") != std::string::npos)
            fail(row.line(), where + "holds a byte-order mark (U+FEFF)" +
                                 (bomDropped_ ? "; the file already starts with one" : ""));
        if (columnName.find('\0') != std::string::npos)
            fail(row.line(), where + "holds a NUL byte");
        if (column(columnName) >= 0)
            fail(row.line(), "column " + columnName + " appears twice in the header");
        header_.push_back(std::move(columnName));
    }
}

void CsvReader::fieldCallback(void *data, std::size_t length, void *self) {
    static_cast<CsvReader *>(self)->onField(static_cast<const char *>(data), length);
}

void CsvReader::rowCallback(int terminator, void *self) {
    static_cast<CsvReader *>(self)->onRowEnd(terminator);
}

void CsvReader::onField(const char *data, std::size_t length) {
    if (length > kMaxFieldBytes)
        fieldTooLarge();
    if (fieldsInRow_ == 0)
        rowLine_ = line_;
    pendingCr_ = false;
    fieldData_.append(data, length);
    offsets_.push_back(fieldData_.size());
    ++fieldsInRow_;
    // Line breaks inside a quoted field move the line count on.
    for (const char *p = data, *end = data + length;
         (p = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)))); ++p)
        ++line_;
}

void CsvReader::onRowEnd(int terminator) {
    if (fieldsInRow_ > 0) {
        std::size_t first = offsets_.size() - 1 - fieldsInRow_;
        // A line holding only blanks is a blank line, not a one-field row.
        bool blank = fieldsInRow_ == 1 && trimSpaces(std::string_view(fieldData_).substr(offsets_[first])).empty();
        if (blank) {
            fieldData_.resize(offsets_[first]);
            offsets_.resize(first + 1);
        } else {
            rows_.push_back({first, fieldsInRow_, rowLine_});
        }
        fieldsInRow_ = 0;
    }
    if (terminator == '\r') {
        ++line_;
        pendingCr_ = true;
    } else if (terminator == '\n') {
        if (!pendingCr_)
            ++line_;
        pendingCr_ = false;
    }
}

// The field being read: its row's line, and its column's name (its number while the header is read).
void CsvReader::fieldTooLarge() const {
    const long line = fieldsInRow_ > 0 ? rowLine_ : line_;
    const std::string column = fieldsInRow_ < header_.size() ? header_[fieldsInRow_] : std::to_string(fieldsInRow_ + 1);
    fail(line, column, "field longer than the limit of " + std::to_string(kMaxFieldBytes) + " bytes (1 MiB)");
}

bool CsvReader::fillBatch() {
    // Keep the fields of a row that the last chunk ended in the middle of.
    std::size_t partialStart = offsets_[offsets_.size() - 1 - fieldsInRow_];
    fieldData_.erase(0, partialStart);
    std::vector<std::size_t> partial(offsets_.end() - std::ptrdiff_t(fieldsInRow_) - 1, offsets_.end());
    offsets_.clear();
    for (std::size_t o : partial)
        offsets_.push_back(o - partialStart);
    rows_.clear();
    nextRow_ = 0;
    while (rows_.empty() && !finished_) {
        std::size_t n = source_(chunk_.data(), chunk_.size());
        const bool atEnd = n == 0;
        const char *data = chunk_.data();
        if (!started_) {
            // Read on until the byte-order mark, if any, is whole.
            while (n < 3) {
                std::size_t more = source_(chunk_.data() + n, chunk_.size() - n);
                if (more == 0)
                    break;
                n += more;
            }
            started_ = true;
            if (n >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
                bomDropped_ = true;
                data += 3;
                n -= 3;
            }
        }
        if (n == 0 && !atEnd)
            continue; // the chunk held only the byte-order mark
        if (atEnd) {
            finished_ = true;
            if (csv_fini(&parser_->p, fieldCallback, rowCallback, this) != 0)
                fail(rowLine_, "a quoted field is not closed");
            break;
        }
        if (csv_parse(&parser_->p, data, n, fieldCallback, rowCallback, this) != n) {
            int error = csv_error(&parser_->p);
            if (error == CSV_ENOMEM && parser_->p.entry_pos >= kMaxFieldBytes)
                fieldTooLarge();
            if (error == CSV_EPARSE)
                fail(line_, "malformed quoting: a quote inside an unquoted field, or text after a closing quote");
            fail(line_, csv_strerror(error));
        }
    }
    return !rows_.empty();
}

bool CsvReader::next(CsvRow &row) {
    if (nextRow_ >= rows_.size() && !fillBatch())
        return false;
    const RowSpan &span = rows_[nextRow_++];
    if (!header_.empty()) {
        if (span.fieldCount > header_.size())
            fail(span.line,
                 std::to_string(span.fieldCount) + " fields, the header has " + std::to_string(header_.size()));
        if (span.fieldCount < header_.size() && !shortRowsAllowed_)
            fail(span.line,
                 std::to_string(span.fieldCount) + " fields, the header has " + std::to_string(header_.size()));
    }
    row.data_ = fieldData_.data();
    row.offsets_ = offsets_.data() + span.firstField;
    row.count_ = span.fieldCount;
    row.line_ = span.line;
    return true;
}

} // namespace velmora::busdb
