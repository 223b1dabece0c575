// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestDb.h"

#include "data/SQLiteDatabase.h"
#include "data/Schema.h"
#include "text/Gbk.h"

#include <QDir>
#include <QProcess>
#include <stdexcept>

namespace velmora::test {

TempWorkDir::TempWorkDir() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    previous_ = QDir::currentPath().toStdString();
    QDir::setCurrent(dir_.path());
}

TempWorkDir::~TempWorkDir() {
    QDir::setCurrent(QString::fromStdString(previous_));
}

std::string TempWorkDir::path(const std::string &name) const {
    std::string base = dir_.path().toStdString();
    return name.empty() ? base : base + "/" + name;
}

void makeBusDb(const std::string &file, const std::vector<std::string> &utf8Statements) {
    TSQLiteDatabase::CreateFile(file, dbKey);
    {
        TSQLiteDatabase db(file, dbKey);
        createSchema(db);
    }
    runSql(file, utf8Statements);
}

void runSql(const std::string &file, const std::vector<std::string> &utf8Statements) {
    TSQLiteDatabase db(file, dbKey);
    for (const std::string &s : utf8Statements)
        db.RunSql(gbk(s));
}

QString runStockClient(const std::string &file, const QString &statements) {
    QProcess p;
    p.start("sqlcipher", {QString::fromStdString(file)});
    if (!p.waitForStarted())
        return "<no client>";
    p.write(("PRAGMA key='kemu';\nPRAGMA kdf_iter=256;\n" + statements + "\n.quit\n").toUtf8());
    p.closeWriteChannel();
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

std::string G(const char *utf8) {
    return gbk(utf8);
}

} // namespace velmora::test
