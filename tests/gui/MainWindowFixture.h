// SPDX-License-Identifier: GPL-3.0-or-later
// The main window over a temporary bus database, for the window's tests.
#pragma once

#include "MessageCapture.h"
#include "TestDb.h"
#include "WindowTest.h"
#include "app/Forms.h"
#include "app/LinkLabel.h"
#include "app/TForm1.h"
#include "data/SQLiteDatabase.h"
#include "grid/ClientDataSet.h"
#include "grid/DBGrid.h"
#include "platform/Application.h"
#include "platform/WidgetText.h"
#include "text/Gbk.h"

#include "BuildSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace velmora::test {

// One bus line as an INSERT statement (UTF-8; quotes in values doubled here).
inline std::string busRow(const std::string &id, const std::string &cid, const std::string &lm,
                          const std::string &start = "", const std::string &sh = "", const std::string &xh = "",
                          const std::string &bz = "", const std::string &sj = "", const std::string &pj = "") {
    auto q = [](const std::string &s) {
        std::string out = "'";
        for (char c : s)
            out += c == '\'' ? std::string("''") : std::string(1, c);
        return out + "'";
    };
    return "INSERT INTO bus VALUES (" + q(id) + "," + q(cid) + "," + q(lm) + "," + q(start) + "," + q(bz) + "," +
           q(sj) + "," + q(pj) + "," + q(sh) + "," + q(xh) + ")";
}

inline std::string storedCity(const char *name, const char *cid) {
    return std::string("INSERT INTO uconf VALUES (1, '") + name + "', '" + cid + "')";
}

class MainWindow : public WindowTest {
protected:
    TempWorkDir dir;
    MessageCapture boxes;
    std::unique_ptr<TForm1> form;
    int scrolls = 0, clicks = 0;

    void start(const std::vector<std::string> &statements, bool withFile = true) {
        if (withFile)
            makeBusDb("tolvi.dbf", statements);
        form.reset(createForm<TForm1>());
        // Count the two notifications on their way to showxx.
        auto afterScroll = form->ClientDataSet1->AfterScroll;
        form->ClientDataSet1->AfterScroll = [this, afterScroll] {
            ++scrolls;
            afterScroll();
        };
        auto cellClick = form->DBGridEh1->CellClick;
        form->DBGridEh1->CellClick = [this, cellClick] {
            ++clicks;
            cellClick();
        };
    }

    void showForm() { showExposed(form.get()); }

    void query(int mode, const std::string &first, const std::string &second = "") {
        if (mode == 1)
            form->N2Click();
        else if (mode == 2)
            form->N3Click();
        else
            form->N4Click();
        form->q1->setText(fromGbk(first));
        form->q2->setText(fromGbk(second));
        form->Button1Click();
    }

    bool linkIsRed() const { return form->Label1->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }
    bool linkIsNavy() const { return form->Label1->palette().color(QPalette::WindowText) == QColor(0, 0, 128); }
    std::string gridText(int row, int column) const {
        return toGbk(form->DBGridEh1->model()->index(row, column).data().toString());
    }
    void clickRow(int row) {
        QRect cell = form->DBGridEh1->visualRect(form->DBGridEh1->model()->index(row, 0));
        QTest::mouseClick(form->DBGridEh1->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

// A stored city 上海 (id 2) with three lines, and one line of another city.
inline const std::vector<std::string> kThreeLines = {
    storedCity("上海", "2"),
    busRow("11", "2", "1路", "A站-->B站", "A站,B站,C站", "C站,B站,A站", "空调", "6:00-22:00", "2元"),
    busRow("12", "2", "2路", "C站-->D站", "C站,D站", ""),
    busRow("13", "2", "3路", "E站-->F站", "E站,F站", "  "),
    busRow("91", "1", "北京1路", "X-->Y", "X,Y"),
};

} // namespace velmora::test
