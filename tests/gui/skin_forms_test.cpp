// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own windows under the skin engine: start-up loads stored skin 1 and switches skinning on, the
// menu items "皮肤1" .. "皮肤6" load store positions 0 .. 5, and the city and About dialogs are skinned when
// shown modally over the skinned main window, with a combo box's list dropping below the box.
#include "SkinFixture.h"
#include "TestDb.h"
#include "WindowTest.h"
#include "about/TForm3.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "data/SQLiteDatabase.h"
#include "skins/engine/SkinManage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const std::vector<std::string> kDemo = {
    "INSERT INTO sheng VALUES ('北京'), ('河北')",
    "INSERT INTO city VALUES ('1', '北京', '北京'), ('2', '石家庄', '河北')",
    "INSERT INTO uconf VALUES (1, '北京', '1')",
    "INSERT INTO bus (id, cid, lm, sh) VALUES ('b1', '1', '1路', '天安门-西单')",
};

TSkinManage &manager() {
    return TSkinManage::instance();
}

const std::string &storedBytes(int position) {
    return Form1->SkinStore1->Store[position]->DataStream().bytes();
}

} // namespace

// The three windows of the program, created once as at start-up.
class SkinForms : public test::WindowTest {
protected:
    static void SetUpTestSuite() {
        SkinManageTestAccess::reset();
        dir = new test::TempWorkDir;
        test::makeBusDb(dbFileName, kDemo);
        CreateForms();
    }
    static void TearDownTestSuite() {
        delete Form3;
        delete Form2;
        delete Form1;
        Form1 = nullptr;
        Form2 = nullptr;
        Form3 = nullptr;
        SkinManageTestAccess::reset();
        delete dir;
    }
    static inline test::TempWorkDir *dir = nullptr;
};

TEST_F(SkinForms, StartUpLoadsStoredSkinOneAndSkinsTheMainWindowWhenShown) {
    TSkinData &engine = *Form1->SkinData1;
    EXPECT_EQ(engine.skinBuffer().bytes(), storedBytes(1));
    EXPECT_TRUE(engine.skinReady());
    EXPECT_TRUE(engine.Active());
    EXPECT_TRUE(SkinManageTestAccess::started());
    EXPECT_FALSE(SkinManageTestAccess::timer().isActive()); // nothing deferred at start-up
    EXPECT_FALSE(manager().isSkinned(Form1));               // not before it is shown

    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    EXPECT_TRUE(manager().isSkinned(Form1));
    EXPECT_EQ(manager().engineOf(Form1), &engine);
    EXPECT_EQ(Form1->palette().color(QPalette::Window), engine.theme()->skin.colours.buttonFace);
}

TEST_F(SkinForms, SkinMenuItemsLoadStorePositionsZeroToFive) {
    Form1->show();
    TSkinData &engine = *Form1->SkinData1;
    QAction *items[] = {Form1->N11, Form1->N21, Form1->N31, Form1->N41, Form1->N51, Form1->N61};
    ASSERT_EQ(Form1->SkinStore1->Store[5]->Name(), "SkinItem7"); // names play no part in choosing
    for (int k = 0; k < 6; ++k) {
        items[k]->trigger();
        EXPECT_EQ(engine.skinBuffer().bytes(), storedBytes(k)) << "皮肤" << k + 1;
        EXPECT_TRUE(engine.skinReady()) << k;
        EXPECT_EQ(SkinManageTestAccess::pendingRequest(), TSkinManage::rqRefresh) << k;
        manager().firePending();
        EXPECT_EQ(Form1->palette().color(QPalette::Window), engine.theme()->skin.colours.buttonFace) << k;
    }
    Form1->N21->trigger(); // back to the start skin for the other tests
    manager().firePending();
}

TEST_F(SkinForms, DialogsAreSkinnedWhenShownModallyOverTheMainWindow) {
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    TSkinData *engine = Form1->SkinData1.get();
    for (ModalForm *dialog : {static_cast<ModalForm *>(Form2), static_cast<ModalForm *>(Form3)}) {
        bool skinned = false, frameless = false, mainDisabled = false;
        TSkinData *by = nullptr;
        QTimer::singleShot(0, [&] {
            skinned = manager().isSkinned(dialog);
            by = manager().engineOf(dialog);
            frameless = dialog->windowFlags() & Qt::FramelessWindowHint;
            mainDisabled = !Form1->isEnabled() || QApplication::activeModalWidget() == dialog;
            dialog->reject();
        });
        EXPECT_EQ(dialog->ShowModal(Form1), 2);
        EXPECT_TRUE(skinned) << dialog->metaObject()->className();
        EXPECT_EQ(by, engine);
        EXPECT_TRUE(frameless);
        EXPECT_TRUE(mainDisabled);
    }
}

TEST_F(SkinForms, ComboListOfTheSkinnedCityDialogDropsBelowTheBoxInTheSkinsColours) {
    Form1->show();
    QPalette list;
    QRect listArea, box;
    QTimer::singleShot(0, [&] {
        QComboBox *combo = Form2->ComboBox1;
        combo->showPopup();
        QWidget *popup = combo->view()->window();
        (void)QTest::qWaitForWindowExposed(popup);
        list = combo->view()->palette();
        listArea = popup->geometry();
        box = QRect(combo->mapToGlobal(QPoint(0, 0)), combo->size());
        combo->hidePopup();
        Form2->reject();
    });
    Form2->ShowModal(Form1);
    const QPalette &skin = Form1->SkinData1->theme()->palette;
    EXPECT_EQ(list.color(QPalette::Highlight), skin.color(QPalette::Highlight));
    EXPECT_EQ(list.color(QPalette::Base), skin.color(QPalette::Base));
    EXPECT_GE(listArea.top(), box.bottom()); // the chosen name stays visible above the list
}
