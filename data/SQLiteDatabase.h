// SPDX-License-Identifier: GPL-3.0-or-later
// The only way into the bus database: a connection over the encrypted engine, statements run on their own,
// and one exception type whose messages have one fixed layout.
#pragma once

#include "text/Exception.h"

#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

class TSQLiteTable;

// The bus database file, opened relative to the working directory, and its key text.
extern const char *const dbFileName;
extern const char dbKey[];

class ESQLiteException : public Exception {
public:
    using Exception::Exception;
};

// The fixed text of an engine result code.
std::string ResultCodeText(std::int32_t code);

// Finalises a statement on every way out.
struct StatementDeleter {
    void operator()(sqlite3_stmt *stmt) const noexcept;
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// Reads that this process runs off the window's thread hold this gate shared, and RunSql holds it alone: a write
// from the window waits for the program's own background reads instead of failing with "database is locked", while
// the engine itself is still never asked to wait (another process's lock fails at once).
std::shared_mutex &backgroundReadGate();

class TSQLiteDatabase {
public:
    // Opens an existing file for reading and writing (never creates one) and applies the first 4 key bytes.
    TSQLiteDatabase(const std::string &fileName, const char *key);
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase &) = delete;
    TSQLiteDatabase &operator=(const TSQLiteDatabase &) = delete;

    // Runs one statement that returns no rows.
    void RunSql(const std::string &sql);
    // Runs one query and returns its whole result, owned by the caller.
    std::unique_ptr<TSQLiteTable> QueryTable(const std::string &sql);
    [[noreturn]] void RaiseDbError(const std::string &message);

    // Compiles the first statement of the text; raises as the layer's messages say.
    StatementPtr Prepare(const std::string &sql);
    sqlite3 *handle() const { return engineHandle; }

    // Creates a new, empty database file under a key (for the data tools; the program never creates one).
    static void CreateFile(const std::string &fileName, const char *key);

private:
    struct Create {};
    TSQLiteDatabase(const std::string &fileName, const char *key, Create);
    void Open(const std::string &fileName, const char *key, int flags);
    sqlite3 *engineHandle = nullptr;
};

// Sets the engine's process-wide codec defaults once; every connection calls it before opening.
void ensureCodecDefaults();

} // namespace velmora
