// SPDX-License-Identifier: GPL-3.0-or-later
// The city switch dialog over a real main window and a real bus database.
#include "MessageCapture.h"
#include "TestDb.h"
#include "WindowTest.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "grid/ClientDataSet.h"
#include "platform/WidgetText.h"
#include "text/Gbk.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::G;
using velmora::test::MessageCapture;
using velmora::test::TempWorkDir;

namespace {

const std::vector<std::string> kDemo = {
    "INSERT INTO sheng VALUES ('北京'), ('河北'), ('西藏'), ('Ge''sheng')",
    "INSERT INTO city VALUES ('1', '北京', '北京'), ('2', '石家庄', '河北'), ('3', '保定', '河北'), "
    "('9', 'O''Town', 'Ge''sheng')",
    "INSERT INTO uconf VALUES (1, '北京', '1')",
    "INSERT INTO bus (id, cid, lm, sh) VALUES ('b1', '1', '1路', '天安门-西单'), ('b2', '1', '2路', '前门-西单'), "
    "('s1', '2', '5路', '火车站-省博物馆'), ('o1', '9', 'Q1', 'Pier-Hill')",
};

std::vector<std::string> texts(const QComboBox *combo) {
    std::vector<std::string> out;
    for (int i = 0; i < combo->count(); ++i)
        out.push_back(itemText(combo, i));
    return out;
}

std::pair<std::string, std::string> storedCity() {
    TSQLiteDatabase db(dbFileName, dbKey);
    std::unique_ptr<TSQLiteTable> t = db.QueryTable(sql::selectStoredCity());
    if (t->AtEnd())
        return {};
    return {t->ColumnText(t->ColumnIndex("city")), t->ColumnText(t->ColumnIndex("cid"))};
}

int indexOf(const QComboBox *combo, const char *utf8) {
    return combo->findText(QString::fromUtf8(utf8));
}

} // namespace

class City : public test::WindowTest {
protected:
    void SetUp() override {
        test::makeBusDb(dbFileName, kDemo);
        createForms();
        capture.clear();
    }
    void TearDown() override { destroyForms(); }
    void createForms() {
        Form1 = createForm<TForm1>();
        Form2 = createForm<TForm2>();
        Form2->setMainWindow(Form1);
    }
    void destroyForms() {
        delete Form2;
        delete Form1;
        Form2 = nullptr;
        Form1 = nullptr;
    }
    // Shows the dialog over the main window and runs `whileShown` inside its modal loop. Returns whether the
    // dialog was still open afterwards; it is closed with the close box then.
    bool showAnd(const std::function<void()> &whileShown) {
        bool stillOpen = false;
        QTimer::singleShot(0, [&] {
            whileShown();
            stillOpen = Form2->isVisible();
            if (stillOpen)
                Form2->reject();
        });
        EXPECT_EQ(Form2->ShowModal(Form1), 2);
        return stillOpen;
    }
    void choose(const char *province, const char *city) {
        Form2->ComboBox1->setCurrentIndex(indexOf(Form2->ComboBox1, province));
        if (city)
            Form2->ComboBox2->setCurrentIndex(indexOf(Form2->ComboBox2, city));
    }

    TempWorkDir dir;
    MessageCapture capture;
};

TEST_F(City, WindowAndControls) {
    TForm2 &f = *Form2;
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("切换城市"));
    EXPECT_EQ(f.size(), QSize(405, 232));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_FALSE(f.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(f.Button1->text(), QString::fromUtf8("确定"));
    EXPECT_FALSE(f.Button1->isDefault());
    for (QComboBox *c : {f.ComboBox1, f.ComboBox2}) {
        EXPECT_EQ(c->parentWidget(), f.GroupBox1);
        EXPECT_FALSE(c->isEditable());
        EXPECT_EQ(c->font().pixelSize(), 11);
        QStyleOptionViewItem option;
        option.initFrom(c->view());
        EXPECT_EQ(c->itemDelegate()->sizeHint(option, c->model()->index(0, 0)).height(), 13);
    }
    EXPECT_FALSE(f.ComboBox3->isEnabled());
    EXPECT_EQ(f.ComboBox3->focusPolicy(), Qt::NoFocus);

    // Provinces loaded once, in table order, nothing selected, city lists empty.
    EXPECT_EQ(texts(f.ComboBox1), (std::vector<std::string>{G("北京"), G("河北"), G("西藏"), "Ge'sheng"}));
    EXPECT_EQ(f.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(f.ComboBox1->currentText(), "");
    EXPECT_EQ(f.ComboBox2->count(), 0);
    EXPECT_EQ(f.ComboBox3->count(), 0);

    // Tab order: provinces, cities, OK; the id list never takes the focus.
    showAnd([&] {
        EXPECT_FALSE(f.ComboBox3->isVisible());
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        f.ComboBox1->setFocus();
        std::vector<QWidget *> visited;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.push_back(QApplication::focusWidget());
        }
        EXPECT_EQ(visited, (std::vector<QWidget *>{f.ComboBox2, f.Button1, f.ComboBox1}));
    });
}

TEST_F(City, SwitchAppliesInOrderAndIsRememberedAtTheNextStart) {
    choose("河北", nullptr);
    EXPECT_EQ(texts(Form2->ComboBox2), (std::vector<std::string>{G("石家庄"), G("保定")}));
    EXPECT_EQ(texts(Form2->ComboBox3), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(Form2->ComboBox2->currentIndex(), -1);

    Form1->q1->setText("x");
    Form1->q2->setText("y");
    EXPECT_FALSE(showAnd([&] {
        choose("河北", "石家庄");
        Form2->Button1->click();
    }));
    EXPECT_TRUE(capture.shown().empty());
    EXPECT_EQ(toGbk(Form1->GroupBox1->title()), G("当前城市: 石家庄"));
    EXPECT_EQ(Form1->cityName, G("石家庄"));
    EXPECT_EQ(Form1->cityId, "2");
    // The main window lists all lines of the new city and is in line mode with empty inputs.
    EXPECT_EQ(Form1->lastRunSql(), sql::selectAllLines("2"));
    EXPECT_EQ(Form1->ClientDataSet1->recordCount(), 1);
    EXPECT_EQ(Form1->queryMode, 1);
    EXPECT_TRUE(Form1->q1->text().isEmpty());
    EXPECT_TRUE(Form1->q2->text().isEmpty());
    EXPECT_EQ(storedCity(), std::make_pair(G("石家庄"), std::string("2")));

    destroyForms();
    createForms();
    EXPECT_EQ(Form1->cityName, G("石家庄"));
    EXPECT_EQ(Form1->cityId, "2");
    EXPECT_EQ(toGbk(Form1->GroupBox1->title()), G("当前城市: 石家庄"));
}

TEST_F(City, NamesWithQuotesGoIntoTheStatementsSafely) {
    choose("Ge'sheng", "O'Town");
    EXPECT_EQ(texts(Form2->ComboBox3), (std::vector<std::string>{"9"}));
    EXPECT_FALSE(showAnd([&] { Form2->Button1->click(); }));
    EXPECT_EQ(Form1->cityId, "9");
    EXPECT_EQ(storedCity(), std::make_pair(std::string("O'Town"), std::string("9")));
    EXPECT_TRUE(capture.errors().empty());
}

TEST_F(City, OkWithoutACityOnlyCloses) {
    const std::string caption = toGbk(Form1->GroupBox1->title());
    EXPECT_FALSE(showAnd([&] { Form2->Button1->click(); })); // first showing: nothing selected
    choose("河北", "保定");
    choose("北京", nullptr); // another province: no city selected again
    EXPECT_FALSE(showAnd([&] { Form2->Button1->click(); }));
    choose("西藏", nullptr); // a province without cities
    EXPECT_EQ(Form2->ComboBox2->count(), 0);
    EXPECT_EQ(Form2->ComboBox3->count(), 0);
    EXPECT_FALSE(showAnd([&] { Form2->Button1->click(); }));

    EXPECT_EQ(toGbk(Form1->GroupBox1->title()), caption);
    EXPECT_EQ(Form1->cityName, G("北京"));
    EXPECT_EQ(Form1->cityId, "1");
    EXPECT_EQ(storedCity(), std::make_pair(G("北京"), std::string("1")));
    EXPECT_TRUE(capture.shown().empty());
}

TEST_F(City, CloseBoxAppliesNothingAndTheChoiceIsShownAgain) {
    EXPECT_FALSE(showAnd([&] {
        choose("河北", "保定");
        Form2->reject();
    }));
    EXPECT_EQ(Form1->cityId, "1");
    EXPECT_EQ(storedCity(), std::make_pair(G("北京"), std::string("1")));
    showAnd([&] {
        EXPECT_EQ(toGbk(Form2->ComboBox1->currentText()), G("河北"));
        EXPECT_EQ(toGbk(Form2->ComboBox2->currentText()), G("保定"));
    });
}

TEST_F(City, ReopeningAndApplyingAgainRepeatsTheWholeSwitch) {
    choose("河北", "石家庄");
    EXPECT_FALSE(showAnd([&] { Form2->Button1->click(); }));
    // Someone else changed the stored row and the lines meanwhile; the same choice is written again.
    test::runSql(dbFileName, {"UPDATE uconf SET city='北京', cid='1' WHERE id=1",
                              "INSERT INTO bus (id, cid, lm) VALUES ('s2', '2', '6路')"});
    Form1->cityId = "1";
    Form1->N4Click();
    EXPECT_FALSE(showAnd([&] {
        EXPECT_EQ(toGbk(Form2->ComboBox2->currentText()), G("石家庄"));
        Form2->Button1->click();
    }));
    EXPECT_EQ(Form1->cityId, "2");
    EXPECT_EQ(Form1->ClientDataSet1->recordCount(), 2); // the query ran again
    EXPECT_EQ(Form1->queryMode, 1);
    EXPECT_EQ(storedCity(), std::make_pair(G("石家庄"), std::string("2")));
}

TEST_F(City, ArrowKeysThroughTheProvincesRefillTheCityLists) {
    EXPECT_FALSE(showAnd([&] {
        Form2->ComboBox1->setFocus();
        QTest::keyClick(Form2->ComboBox1, Qt::Key_Down);
        EXPECT_EQ(Form2->ComboBox1->currentIndex(), 0);
        EXPECT_EQ(texts(Form2->ComboBox2), (std::vector<std::string>{G("北京")}));
        QTest::keyClick(Form2->ComboBox1, Qt::Key_Down);
        EXPECT_EQ(texts(Form2->ComboBox2), (std::vector<std::string>{G("石家庄"), G("保定")}));
        EXPECT_EQ(texts(Form2->ComboBox3), (std::vector<std::string>{"2", "3"}));
        QTest::keyClick(Form2->ComboBox1, Qt::Key_Down);
        EXPECT_EQ(Form2->ComboBox2->count(), 0);
        EXPECT_EQ(Form2->ComboBox3->count(), 0);
        QTest::keyClick(Form2->ComboBox1, Qt::Key_Up);
        EXPECT_EQ(texts(Form2->ComboBox2), (std::vector<std::string>{G("石家庄"), G("保定")}));
        EXPECT_EQ(Form2->ComboBox2->currentIndex(), -1);
        Form2->reject();
    }));
}

TEST_F(City, EscDoesNothingAndEnterPressesOkOnlyWithTheFocus) {
    choose("河北", "石家庄");
    EXPECT_TRUE(showAnd([&] {
        Form2->ComboBox1->setFocus();
        QTest::keyClick(Form2, Qt::Key_Escape);
        QTest::keyClick(Form2->ComboBox1, Qt::Key_Escape);
        QTest::keyClick(Form2->ComboBox1, Qt::Key_Return);
        QTest::keyClick(Form2->ComboBox2, Qt::Key_Enter);
    }));
    EXPECT_EQ(Form1->cityId, "1");
    EXPECT_FALSE(showAnd([&] {
        Form2->Button1->setFocus();
        QTest::keyClick(Form2->Button1, Qt::Key_Return);
    }));
    EXPECT_EQ(Form1->cityId, "2");
}

TEST_F(City, FailingUpdateLeavesTheDialogOpenWithTheEarlierStepsDone) {
    test::runSql(dbFileName,
                 {"CREATE TRIGGER no_update BEFORE UPDATE ON uconf BEGIN SELECT RAISE(ABORT, 'locked'); END"});
    choose("河北", "石家庄");
    EXPECT_TRUE(showAnd([&] { Form2->Button1->click(); }));
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_NE(capture.errors()[0].find("locked"), std::string::npos) << capture.errors()[0];
    EXPECT_EQ(toGbk(Form1->GroupBox1->title()), G("当前城市: 石家庄"));
    EXPECT_EQ(Form1->cityName, G("石家庄"));
    EXPECT_EQ(Form1->cityId, "2");
    EXPECT_EQ(Form1->lastRunSql(), sql::selectAllLines("2"));
    EXPECT_EQ(Form1->queryMode, 1);
    EXPECT_EQ(storedCity(), std::make_pair(G("北京"), std::string("1")));
}

TEST_F(City, FailingQueryStopsBeforeTheModeSwitchAndTheStoring) {
    test::runSql(dbFileName, {"DROP TABLE bus"});
    choose("河北", "石家庄");
    EXPECT_TRUE(showAnd([&] { Form2->Button1->click(); }));
    EXPECT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(toGbk(Form1->GroupBox1->title()), G("当前城市: 石家庄"));
    EXPECT_EQ(Form1->cityName, G("石家庄"));
    EXPECT_EQ(Form1->cityId, "2");
    EXPECT_EQ(Form1->queryMode, 3);
    EXPECT_EQ(storedCity(), std::make_pair(G("北京"), std::string("1")));
}

TEST_F(City, ACityWithoutLinesWarnsAndStillCompletesTheSwitch) {
    const int before = Form1->ClientDataSet1->recordCount();
    choose("河北", "保定");
    EXPECT_FALSE(showAnd([&] { Form2->Button1->click(); }));
    ASSERT_EQ(capture.shown().size(), 1u);
    EXPECT_EQ(capture.shown()[0].type, MsgType::Warning);
    EXPECT_EQ(Form1->ClientDataSet1->recordCount(), before); // the previous result stays
    EXPECT_EQ(toGbk(Form1->GroupBox1->title()), G("当前城市: 保定"));
    EXPECT_EQ(Form1->queryMode, 1);
    EXPECT_EQ(storedCity(), std::make_pair(G("保定"), std::string("3")));
}

TEST_F(City, FailingCityQueryLeavesBothListsInStep) {
    // A city table without an id column: the name of the first row is readable, its id is not.
    test::runSql(dbFileName, {"DROP TABLE city", "CREATE TABLE city (city TEXT, scity TEXT)",
                              "INSERT INTO city VALUES ('石家庄', '河北')"});
    choose("河北", nullptr);
    EXPECT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(Form2->ComboBox2->count(), 0);
    EXPECT_EQ(Form2->ComboBox3->count(), 0);
}

TEST(CityCreation, MissingProvinceTableIsShownAndTheDialogStillExists) {
    TempWorkDir dir;
    test::makeBusDb(dbFileName, {"DROP TABLE sheng"});
    MessageCapture capture;
    std::unique_ptr<TForm2> form(createForm<TForm2>());
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(form->ComboBox1->count(), 0);
}
