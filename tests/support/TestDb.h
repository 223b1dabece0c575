// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary bus databases for tests, made through the program's own database layer.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

namespace velmora::test {

// A temporary folder that is the working directory while the object lives, so "tolvi.dbf" resolves into it.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    std::string path(const std::string &name = {}) const;

private:
    QTemporaryDir dir_;
    std::string previous_;
};

// Creates `file` with the bus schema under the program's key and runs each statement (UTF-8 literals are
// converted to GBK first).
void makeBusDb(const std::string &file, const std::vector<std::string> &utf8Statements = {});

// Runs statements (UTF-8 literals converted to GBK) on an existing database under the program's key.
void runSql(const std::string &file, const std::vector<std::string> &utf8Statements);

// Runs the stock command-line client on `file` with the documented key recipe, then `statements`; returns what
// it printed (standard output, then standard error).
QString runStockClient(const std::string &file, const QString &statements);

// UTF-8 literal to GBK bytes, for comparing with what the program holds.
std::string G(const char *utf8);

} // namespace velmora::test
