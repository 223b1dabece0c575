// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SQLiteDatabase.h"

#include "data/GbkLike.h"
#include "data/SQLiteTable.h"

#include <mutex>
#include <sqlcipher/sqlite3.h>

namespace velmora {

const char *const dbFileName = "tolvi.dbf";
const char dbKey[] = "kemu3106482R";

namespace {
constexpr int kKeyLength = 4; // only the first 4 bytes of the key text reach the engine

const char *const kCodeTexts[] = {
    "Successful result",
    "SQL error or missing database",
    "An internal logic error in SQLite",
    "Access permission denied",
    "Callback routine requested an abort",
    "The database file is locked",
    "A table in the database is locked",
    "A malloc() failed",
    "Attempt to write a readonly database",
    "Operation terminated by sqlite3_interrupt()",
    "Some kind of disk I/O error occurred",
    "The database disk image is malformed",
    "(Internal Only) Table or record not found",
    "Insertion failed because database is full",
    "Unable to open the database file",
    "Database lock protocol error",
    "Database is empty",
    "The database schema changed",
    "Too much data for one row of a table",
    "Abort due to contraint violation",
    "Data type mismatch",
    "Library used incorrectly",
    "Uses OS features not supported on host",
    "Authorization denied",
    "Auxiliary database format error",
    "2nd parameter to sqlite3_bind out of range",
    "File opened that is not a database file",
};
} // namespace

std::string ResultCodeText(std::int32_t code) {
    if (code >= 0 && code <= 26)
        return kCodeTexts[code];
    if (code == 100)
        return "sqlite3_step() has another row ready";
    if (code == 101)
        return "sqlite3_step() has finished executing";
    return "Unknown SQLite Error Code \"" + std::to_string(code) + "\"";
}

void StatementDeleter::operator()(sqlite3_stmt *stmt) const noexcept {
    sqlite3_finalize(stmt);
}

void ensureCodecDefaults() {
    // The key is part of the program, so slow key derivation protects nothing; a throwaway in-memory
    // connection sets the iteration count for every later connection of the process.
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3 *db = nullptr;
        if (sqlite3_open(":memory:", &db) == SQLITE_OK)
            sqlite3_exec(db, "PRAGMA cipher_default_kdf_iter = 256", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
}

TSQLiteDatabase::TSQLiteDatabase(const std::string &fileName, const char *key) {
    // Never create a missing file as a side effect of looking into it.
    Open(fileName, key, SQLITE_OPEN_READWRITE);
}

TSQLiteDatabase::TSQLiteDatabase(const std::string &fileName, const char *key, Create) {
    Open(fileName, key, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void TSQLiteDatabase::Open(const std::string &fileName, const char *key, int flags) {
    ensureCodecDefaults();
    int rc = sqlite3_open_v2(fileName.c_str(), &engineHandle, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = engineHandle
                                  ? "Failed to open database \"" + fileName + "\" : " + sqlite3_errmsg(engineHandle)
                                  : "Failed to open database \"" + fileName + "\" : unknown error";
        sqlite3_close(engineHandle);
        engineHandle = nullptr;
        throw ESQLiteException(message);
    }
    sqlite3_key(engineHandle, key, kKeyLength);
    installGbkLike(engineHandle);
}

void TSQLiteDatabase::CreateFile(const std::string &fileName, const char *key) {
    TSQLiteDatabase db(fileName, key, Create{});
    // Writing the first page makes the file a keyed database of its own.
    db.RunSql("PRAGMA user_version = 0");
}

TSQLiteDatabase::~TSQLiteDatabase() {
    if (engineHandle)
        sqlite3_close(engineHandle);
}

void TSQLiteDatabase::RaiseDbError(const std::string &message) {
    int code = sqlite3_errcode(engineHandle);
    const char *detail = code != 0 ? sqlite3_errmsg(engineHandle) : nullptr;
    if (!detail)
        throw ESQLiteException(message);
    throw ESQLiteException(message + ".\rError [" + std::to_string(code) + "]: " + ResultCodeText(code) +
                           ".\r\"error\": " + detail);
}

StatementPtr TSQLiteDatabase::Prepare(const std::string &sql) {
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    int rc = sqlite3_prepare_v2(engineHandle, sql.c_str(), -1, &raw, &tail);
    StatementPtr stmt(raw);
    if (rc != SQLITE_OK)
        RaiseDbError("Error executing SQL");
    if (!stmt)
        RaiseDbError("Could not prepare SQL statement");
    return stmt;
}

std::shared_mutex &backgroundReadGate() {
    static std::shared_mutex gate;
    return gate;
}

void TSQLiteDatabase::RunSql(const std::string &sql) {
    std::unique_lock<std::shared_mutex> gate(backgroundReadGate());
    StatementPtr stmt = Prepare(sql);
    if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
        sqlite3_reset(stmt.get());
        RaiseDbError("Error executing SQL statement");
    }
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::QueryTable(const std::string &sql) {
    return std::make_unique<TSQLiteTable>(*this, sql);
}

} // namespace velmora
