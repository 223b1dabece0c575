// Writing the bus database from the tools: one transaction that rolls back unless committed, and prepared
// inserts with bound values (data never becomes SQL text).
#pragma once

#include "data/SQLiteDatabase.h"

#include <string>
#include <string_view>

namespace velmora::busdb {

class Transaction {
public:
    explicit Transaction(TSQLiteDatabase &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    TSQLiteDatabase &db_;
    bool open_ = true;
};

class PreparedStatement {
public:
    PreparedStatement(TSQLiteDatabase &db, const std::string &sql);
    // Binds parameter `index` (from 1) to a text; the bytes are copied.
    PreparedStatement &text(int index, std::string_view value);
    PreparedStatement &integer(int index, long long value);
    // Runs the statement and resets it for the next values.
    void run();

private:
    TSQLiteDatabase &db_;
    StatementPtr stmt_;
};

// Opens an existing bus database; a clear message when the file is missing.
void requireFile(const std::string &file);

// The program's messages are GBK; the terminal's are UTF-8, one line per part.
std::string layerMessage(const std::exception &e);

} // namespace velmora::busdb
