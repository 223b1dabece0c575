#include "DbWrite.h"

#include "CsvReader.h"
#include "platform/Gbk.h"

#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>

namespace velmora::busdb {

Transaction::Transaction(TSQLiteDatabase &db) : db_(db) {
    // IMMEDIATE takes the write lock now, so no other writer can slip in between our reads and writes.
    db_.RunSql("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!open_)
        return;
    try {
        db_.RunSql("ROLLBACK");
    } catch (...) {
        // The engine rolls back on its own when the statement that failed ended the transaction.
    }
}

void Transaction::commit() {
    db_.RunSql("COMMIT");
    open_ = false;
}

PreparedStatement::PreparedStatement(TSQLiteDatabase &db, const std::string &sql) : db_(db), stmt_(db.Prepare(sql)) {}

PreparedStatement &PreparedStatement::text(int index, std::string_view value) {
    sqlite3_bind_text(stmt_.get(), index, value.data(), int(value.size()), SQLITE_TRANSIENT);
    return *this;
}

PreparedStatement &PreparedStatement::integer(int index, long long value) {
    sqlite3_bind_int64(stmt_.get(), index, value);
    return *this;
}

void PreparedStatement::run() {
    int rc = sqlite3_step(stmt_.get());
    sqlite3_reset(stmt_.get());
    if (rc != SQLITE_DONE)
        db_.RaiseDbError("Error executing SQL statement");
}

void requireFile(const std::string &file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0)
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
