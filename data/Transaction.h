// SPDX-License-Identifier: GPL-3.0-or-later
// One write transaction on the bus database: rolls back unless committed, so a failed write leaves the file
// as it was.
#pragma once

#include "data/SQLiteDatabase.h"

namespace velmora {

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

} // namespace velmora
