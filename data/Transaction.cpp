// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Transaction.h"

namespace velmora {

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

} // namespace velmora
