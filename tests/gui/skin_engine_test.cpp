// SPDX-License-Identifier: GPL-3.0-or-later
// The skin engine: loading by position, switching on, the deferred requests and their timer (driven by the
// tests, never waited for), failure paths, the tag rules, painting from the skin's bitmaps, the window frame.
#include "MessageCapture.h"
#include "SkinFixture.h"
#include "platform/Messages.h"
#include "skins/engine/SkinData.h"
#include "skins/engine/SkinManage.h"
#include "skins/engine/SkinTheme.h"
#include "skins/format/TSkinReader.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::decoration;
using velmora::test::MessageCapture;
using velmora::test::mismatches;
using velmora::test::SkinEngine;

TEST_F(SkinEngine, StartUpSwitchesOnWithoutTimerAndSkinsWindowsWhenShown) {
    TSkinData engine(TSkinManage::instance());
    EXPECT_FALSE(engine.skinReady());
    EXPECT_FALSE(engine.Active());
    engine.LoadFromStore(store, 1);
    EXPECT_TRUE(engine.skinReady());
    EXPECT_EQ(engine.skinBuffer().bytes(), store.Store[1]->DataStream().bytes());
    EXPECT_FALSE(Access::timer().isActive()); // not started yet: nothing scheduled
    engine.SetActive(true);
    EXPECT_TRUE(Access::started());
    EXPECT_TRUE(manager().skinningOn());
    EXPECT_FALSE(Access::timer().isActive());

    QWidget win;
    win.setWindowTitle(QStringLiteral("当前城市"));
    win.setFixedSize(300, 200);
    auto *edit = new QLineEdit(&win);
    edit->setGeometry(20, 30, 100, 24);
    win.show();
    ASSERT_TRUE(manager().isSkinned(&win));
    EXPECT_TRUE(win.windowFlags() & Qt::FramelessWindowHint);
    QMargins frame = engine.theme()->frameMargins();
    EXPECT_GT(frame.top(), 20);
    // The client area keeps its size and its controls their places in it; the frame is added around it.
    EXPECT_EQ(win.size(), QSize(300 + frame.left() + frame.right(), 200 + frame.top() + frame.bottom()));
    EXPECT_EQ(edit->pos(), QPoint(20 + frame.left(), 30 + frame.top()));
    EXPECT_EQ(win.palette().color(QPalette::Window), engine.theme()->skin.colours.buttonFace);
}

TEST_F(SkinEngine, MenuCommandsRefreshOnceWithTheLastSkin) {
    TSkinData engine(TSkinManage::instance());
    int changed = 0;
    engine.OnSkinChanged = [&](TSkinData &e) {
        EXPECT_EQ(&e, &engine);
        ++changed;
    };
    startUp(engine);
    QWidget win;
    win.setFixedSize(200, 100);
    win.show();
    ASSERT_TRUE(manager().isSkinned(&win));
    auto first = engine.theme();

    // "皮肤3", then "皮肤5" within the quarter second.
    engine.LoadFromStore(store, 2);
    EXPECT_EQ(Access::pendingRequest(), TSkinManage::rqRefresh);
    EXPECT_TRUE(Access::timer().isActive());
    EXPECT_EQ(Access::timer().interval(), 250);
    EXPECT_NE(engine.theme(), first);
    engine.LoadFromStore(store, 4); // the version 20000 package
    EXPECT_TRUE(engine.skinReady());
    EXPECT_EQ(Access::pendingRequest(), TSkinManage::rqRefresh);
    EXPECT_EQ(changed, 0);
    // Nothing rebuilt yet: the window still has the start skin's face.
    EXPECT_EQ(win.palette().color(QPalette::Window), first->skin.colours.buttonFace);

    manager().firePending();
    EXPECT_EQ(changed, 1);
    EXPECT_FALSE(Access::timer().isActive());
    EXPECT_EQ(Access::pendingRequest(), TSkinManage::rqNone);
    EXPECT_EQ(Access::pendingEngine(), nullptr);
    EXPECT_EQ(win.palette().color(QPalette::Window), engine.theme()->skin.colours.buttonFace);
    QMargins f = engine.theme()->frameMargins();
    EXPECT_EQ(win.size(), QSize(200 + f.left() + f.right(), 100 + f.top() + f.bottom()));
    manager().firePending(); // nothing pending: nothing happens
    EXPECT_EQ(changed, 1);
}

TEST_F(SkinEngine, IndexBeyondStoreChangesNothing) {
    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    auto theme = engine.theme();
    std::string buffer = engine.skinBuffer().bytes();
    engine.LoadFromStore(store, 6);
    engine.LoadFromStore(store, 100);
    EXPECT_TRUE(engine.skinReady());
    EXPECT_EQ(engine.theme(), theme);
    EXPECT_EQ(engine.skinBuffer().bytes(), buffer);
    EXPECT_FALSE(Access::timer().isActive());
}

TEST_F(SkinEngine, EmptyOrDamagedItemKeepsThePreviousSkin) {
    MessageCapture capture;
    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    QWidget skinned;
    skinned.setFixedSize(120, 80);
    skinned.show();
    auto previous = engine.theme();
    store.Store.Add(); // empty item, position 6
    TSkinCollectionItem *damaged = store.Store.Add();
    damaged->DataStream().write(std::string("\x10\0\0\0garbage", 11)); // decodes to something that is no package

    for (int index : {6, 7}) {
        capture.clear();
        engine.LoadFromStore(store, index);
        ASSERT_EQ(capture.shown().size(), 1u) << index;
        EXPECT_EQ(capture.shown()[0].kind, ShownMessage::Plain);
        EXPECT_EQ(capture.shown()[0].text, TSkinReader::kOlderSkinMessage);
        EXPECT_FALSE(engine.skinReady());
        EXPECT_EQ(engine.theme(), previous);
        // Windows already skinned keep the skin; the refresh still comes.
        EXPECT_TRUE(manager().isSkinned(&skinned));
        EXPECT_EQ(Access::pendingRequest(), TSkinManage::rqRefresh);
    }
    manager().firePending();
    EXPECT_TRUE(manager().isSkinned(&skinned));
    EXPECT_EQ(skinned.palette().color(QPalette::Window), previous->skin.colours.buttonFace);

    QWidget later;
    later.show();
    EXPECT_FALSE(manager().isSkinned(&later)); // not ready: windows shown now stay as they are
    engine.LoadFromStore(store, 0);
    EXPECT_TRUE(engine.skinReady());
    later.hide();
    later.show();
    EXPECT_TRUE(manager().isSkinned(&later));
}

TEST_F(SkinEngine, ActiveBeforeAnySkinSkinsNothing) {
    TSkinData engine(TSkinManage::instance());
    engine.SetActive(true);
    EXPECT_TRUE(engine.Active());
    EXPECT_FALSE(manager().skinningOn());
    QWidget win;
    win.show();
    EXPECT_FALSE(manager().isSkinned(&win));
    engine.LoadFromStore(store, 1); // a later load does not switch skinning on by itself
    win.hide();
    win.show();
    EXPECT_FALSE(manager().isSkinned(&win));
    EXPECT_FALSE(Access::timer().isActive());
}

TEST_F(SkinEngine, TagNinetyNineIsLeftAlone) {
    TSkinData engine(TSkinManage::instance());
    QWidget plain;
    auto *kept = new QPushButton(QStringLiteral("查 询"), &plain);
    kept->setGeometry(10, 10, 92, 41);
    kept->setProperty("tag", 99);
    plain.resize(200, 100);
    plain.show();
    QImage before = kept->grab().toImage();

    startUp(engine);
    QWidget form;
    form.setProperty("tag", 99);
    form.show();
    EXPECT_FALSE(manager().isSkinned(&form));
    EXPECT_FALSE(form.windowFlags() & Qt::FramelessWindowHint);

    plain.hide();
    plain.show();
    ASSERT_TRUE(manager().isSkinned(&plain));
    EXPECT_EQ(kept->grab().toImage(), before); // the control keeps its own look
    EXPECT_EQ(manager().themeFor(kept), nullptr);
    EXPECT_NE(manager().themeFor(&plain), nullptr);
}

TEST_F(SkinEngine, ButtonAndGroupBoxArePaintedFromTheSkinBitmaps) {
    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    const ParsedSkin &skin = engine.theme()->skin;
    QWidget win;
    const SkinPart &push = skin.buttons.push;
    QRect src = frameRect(push.image.masked, push.frames, 0);
    auto *button = new QPushButton(&win);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(10, 10, src.width(), src.height()); // the frame's own size: no stretching
    auto *box = new QGroupBox(QStringLiteral("查询结果"), &win);
    box->setGeometry(10, 60, 300, 120);
    win.resize(340, 200);
    win.show();
    ASSERT_TRUE(manager().isSkinned(&win));

    QImage b = button->grab().toImage();
    EXPECT_EQ(mismatches(b, QPoint(0, 0), push.image.masked, src), 0);

    // The group box's frame corners are the edge image's corners.
    QImage g = box->grab().toImage();
    const SkinPart &edge = skin.groupBoxEdge;
    QRect e = frameRect(edge.image.masked, edge.frames, 0);
    QRect bottomLeft(e.left(), e.bottom() + 1 - edge.bottomHeight, edge.leftWidth, edge.bottomHeight);
    EXPECT_EQ(mismatches(g, QPoint(0, g.height() - edge.bottomHeight), edge.image.masked, bottomLeft), 0);
    QRect bottomRight(e.right() + 1 - edge.rightWidth, e.bottom() + 1 - edge.bottomHeight, edge.rightWidth,
                      edge.bottomHeight);
    EXPECT_EQ(mismatches(g, QPoint(g.width() - edge.rightWidth, g.height() - edge.bottomHeight), edge.image.masked,
                         bottomRight),
              0);
    // The title stands on the skin's plate, in the plate's text colour.
    QColor plateText = SkinTheme::partText(skin.groupBox.part, 0);
    bool found = false;
    for (int y = 0; y < 20 && !found; ++y)
        for (int x = 0; x < 120 && !found; ++x)
            found = std::abs(qRed(g.pixel(x, y)) - plateText.red()) +
                        std::abs(qGreen(g.pixel(x, y)) - plateText.green()) +
                        std::abs(qBlue(g.pixel(x, y)) - plateText.blue()) <
                    30; // the glyphs' cores, antialiasing aside
    EXPECT_TRUE(found);
}

TEST_F(SkinEngine, MessageBoxIsSkinnedWhenActivated) {
    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    bool skinned = false, frameless = false;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        skinned = manager().isSkinned(box);
        frameless = box->windowFlags() & Qt::FramelessWindowHint;
        static_cast<QDialog *>(box)->done(1);
    });
    std::unique_ptr<QMessageBox> box(buildMessageDialog("abc", MsgType::Information, mbOK));
    box->exec();
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(frameless);
}

TEST_F(SkinEngine, CaptionButtonsCloseAndDragMovesTheWindow) {
    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    QDialog dialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(300, 200);
    dialog.show();
    ASSERT_TRUE(manager().isSkinned(&dialog));
    QWidget *caption = decoration(&dialog, true);
    ASSERT_NE(caption, nullptr);

    // Drag by the caption's empty middle.
    QPoint start = dialog.pos();
    QPoint grip(60, caption->height() / 2);
    QTest::mousePress(caption, Qt::LeftButton, {}, grip);
    QTest::mouseMove(caption, grip + QPoint(30, 20));
    QTest::mouseRelease(caption, Qt::LeftButton, {}, grip + QPoint(30, 20));
    EXPECT_EQ(dialog.pos(), start + QPoint(30, 20));

    // The dialog allows close only: the close button sits where the skin puts the first right-hand button.
    const SkinCaptionButton *close = nullptr;
    for (const SkinCaptionButton &b : engine.theme()->skin.captionButtons)
        if (b.action == 0)
            close = &b;
    ASSERT_NE(close, nullptr);
    QPoint at(caption->width() - close->xcoord + 3, close->ycoord + 3);
    QTest::mouseClick(caption, Qt::LeftButton, {}, at);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(SkinEngine, RemovingSkinsRestoresWindows) {
    TSkinData engine(TSkinManage::instance());
    QWidget win;
    win.setFixedSize(200, 100);
    auto *edit = new QLineEdit(&win);
    edit->move(5, 6);
    Qt::WindowFlags flags = win.windowFlags();
    startUp(engine);
    win.show();
    ASSERT_TRUE(manager().isSkinned(&win));
    engine.SetActive(false);
    EXPECT_EQ(Access::pendingRequest(), TSkinManage::rqRemoveAll);
    EXPECT_TRUE(manager().isSkinned(&win)); // only when the timer fires
    manager().firePending();
    EXPECT_FALSE(manager().isSkinned(&win));
    EXPECT_EQ(win.windowFlags(), flags);
    EXPECT_EQ(win.size(), QSize(200, 100));
    EXPECT_EQ(edit->pos(), QPoint(5, 6));
    EXPECT_EQ(decoration(&win, true), nullptr);

    // Switching on again once started skins every visible window, 250 ms later.
    engine.SetActive(true);
    EXPECT_EQ(Access::pendingRequest(), TSkinManage::rqSkinAll);
    manager().firePending();
    EXPECT_TRUE(manager().isSkinned(&win));
}
