// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of bench_startup: what any Qt Widgets program showing the same result costs. A main window with a
// table of 1,100 rows, painted once; no database, no web engine. Prints "painted" at its first paint and runs on
// until killed.
#include "FirstPaintReport.h"

#include <QApplication>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(664, 588);
    QStandardItemModel model(1100, 3);
    for (int row = 0; row < 1100; ++row) {
        model.setItem(row, 0, new QStandardItem(QString::number(row + 1) + QStringLiteral("路")));
        model.setItem(row, 1, new QStandardItem(QStringLiteral("甲站-->乙站")));
        model.setItem(row, 2, new QStandardItem(QStringLiteral("空调车")));
    }
    auto *table = new QTableView;
    table->setModel(&model);
    window.setCentralWidget(table);
    reportFirstPaint(&window);
    window.show();
    return app.exec();
}
