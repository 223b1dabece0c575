// SPDX-License-Identifier: GPL-3.0-or-later
// Skinned windows up close: combo boxes and scroll bars painted from the skin's bitmaps, the caption's
// minimise and maximise buttons, and a window whose skin is removed looking exactly as it did before.
#include "SkinFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTest>

using namespace velmora;
using velmora::test::decoration;
using velmora::test::mismatches;
using velmora::test::partImage;
using velmora::test::SkinEngine;

namespace {

// Where a click hits the caption button the skin defines for `action`, right-aligned as the skins place them.
QPoint captionSlot(const QWidget *caption, const ParsedSkin &skin, int action) {
    for (const SkinCaptionButton &b : skin.captionButtons)
        if (b.action == action)
            return QPoint(caption->width() - b.xcoord + 3, b.ycoord + 3);
    ADD_FAILURE() << "no caption button for action " << action;
    return {};
}

enum { kClose = 0, kMaximise = 1, kMinimise = 2 };

// A window with every kind of control the program's windows use, none of which takes the focus.
void populate(QWidget &win) {
    auto *box = new QGroupBox(QStringLiteral("当前城市"), &win);
    box->setGeometry(8, 8, 280, 90);
    auto *edit = new QLineEdit(QStringLiteral("天安门"), box);
    edit->setGeometry(12, 30, 100, 24);
    auto *button = new QPushButton(QStringLiteral("查 询"), box);
    button->setGeometry(130, 26, 92, 41);
    auto *combo = new QComboBox(&win);
    combo->addItems({QStringLiteral("北京"), QStringLiteral("河北")});
    combo->setGeometry(8, 110, 140, 24);
    auto *check = new QCheckBox(QStringLiteral("空调车"), &win);
    check->setGeometry(160, 110, 100, 24);
    check->setChecked(true);
    auto *bar = new QScrollBar(Qt::Vertical, &win);
    bar->setRange(0, 50);
    bar->setGeometry(300, 8, 16, 150);
    for (QWidget *w : win.findChildren<QWidget *>())
        w->setFocusPolicy(Qt::NoFocus);
    win.resize(330, 170);
}

} // namespace

TEST_F(SkinEngine, ComboBoxAndScrollBarArePaintedFromTheSkinBitmaps) {
    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    const ParsedSkin &skin = engine.theme()->skin;
    QWidget win;
    win.move(300, 300);
    auto *combo = new QComboBox(&win);
    combo->addItem(QStringLiteral("北京"));
    combo->setFocusPolicy(Qt::NoFocus);
    combo->setGeometry(10, 10, 140, 26);
    auto *bar = new QScrollBar(Qt::Vertical, &win);
    bar->setRange(0, 100);
    bar->setGeometry(170, 10, 16, 150);
    win.resize(200, 170);
    win.show();
    ASSERT_TRUE(manager().isSkinned(&win));

    // The combo box: the sunken edge's corners at the box's corners, the button's corners inside the edge.
    QImage g = combo->grab().toImage();
    const SkinPart &edge = skin.sunkEdge;
    QRect e = frameRect(partImage(edge), edge.frames, 0);
    EXPECT_EQ(mismatches(g, {0, 0}, partImage(edge), QRect(e.topLeft(), QSize(edge.leftWidth, edge.topHeight))), 0);
    EXPECT_EQ(mismatches(g, {g.width() - edge.rightWidth, g.height() - edge.bottomHeight}, partImage(edge),
                         QRect(e.right() + 1 - edge.rightWidth, e.bottom() + 1 - edge.bottomHeight, edge.rightWidth,
                               edge.bottomHeight)),
              0);
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    QRect arrow = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, combo);
    EXPECT_TRUE(QRect(QPoint(0, 0), g.size()).adjusted(1, 1, -1, -1).contains(arrow)); // inside the edge
    const SkinPart &button = skin.comboButton;
    QRect b = frameRect(partImage(button), button.frames, 0);
    EXPECT_EQ(mismatches(g, arrow.topLeft(), partImage(button),
                         QRect(b.topLeft(), QSize(button.leftWidth, button.topHeight))),
              0);
    EXPECT_EQ(mismatches(g, arrow.bottomRight() - QPoint(button.rightWidth - 1, button.bottomHeight - 1),
                         partImage(button),
                         QRect(b.right() + 1 - button.rightWidth, b.bottom() + 1 - button.bottomHeight,
                               button.rightWidth, button.bottomHeight)),
              0);

    // The scroll bar at its top: the up arrow in its "cannot go further" frame, the down arrow normal, both
    // at the image's size; the thumb's top end unstretched.
    QImage s = bar->grab().toImage();
    const SkinPart &arrows = skin.scrollbar;
    const QImage &ai = partImage(arrows);
    QRect up = frameRect(ai, arrows.frames, 0 * 4 + 3), down = frameRect(ai, arrows.frames, 1 * 4 + 0);
    ASSERT_EQ(up.size(), QSize(16, 16));
    EXPECT_EQ(mismatches(s, {0, 0}, ai, up), 0);
    EXPECT_EQ(mismatches(s, {0, s.height() - 16}, ai, down), 0);
    const SkinPart &thumb = skin.vertScrollThumb.part;
    QRect t = frameRect(partImage(thumb), thumb.frames, 0);
    ASSERT_EQ(t.width(), 16);
    EXPECT_EQ(mismatches(s, {0, 16}, partImage(thumb), QRect(t.topLeft(), QSize(16, thumb.topHeight))), 0);
}

TEST_F(SkinEngine, CaptionMinimisesAndMaximisesOnlyWhereTheWindowAllows) {
    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    const ParsedSkin &skin = engine.theme()->skin;

    QWidget sizable;
    sizable.resize(400, 200);
    sizable.show();
    ASSERT_TRUE(manager().isSkinned(&sizable));
    QWidget *caption = decoration(&sizable, true);
    ASSERT_NE(caption, nullptr);
    QTest::mouseClick(caption, Qt::LeftButton, {}, captionSlot(caption, skin, kMaximise));
    EXPECT_TRUE(sizable.isMaximized());
    caption = decoration(&sizable, true);
    QTest::mouseClick(caption, Qt::LeftButton, {}, captionSlot(caption, skin, kMaximise));
    EXPECT_FALSE(sizable.isMaximized());
    QTest::mouseClick(caption, Qt::LeftButton, {}, captionSlot(caption, skin, kMinimise));
    EXPECT_TRUE(sizable.isMinimized());

    // A fixed-size window has no maximise button: minimise takes its place, and a double click on the caption
    // changes nothing.
    QWidget fixed;
    fixed.setFixedSize(400, 200);
    fixed.show();
    ASSERT_TRUE(manager().isSkinned(&fixed));
    caption = decoration(&fixed, true);
    ASSERT_NE(caption, nullptr);
    QTest::mouseDClick(caption, Qt::LeftButton, {}, QPoint(60, caption->height() / 2));
    EXPECT_FALSE(fixed.isMaximized());
    QTest::mouseClick(caption, Qt::LeftButton, {}, captionSlot(caption, skin, kMaximise));
    EXPECT_FALSE(fixed.isMaximized());
    EXPECT_TRUE(fixed.isMinimized());
    EXPECT_TRUE(fixed.isVisible());
}

TEST_F(SkinEngine, WindowWhoseSkinIsRemovedLooksExactlyAsBefore) {
    QWidget win;
    populate(win);
    win.move(300, 300);
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    QImage before = win.grab().toImage();
    QRect geometry = win.geometry();

    TSkinData engine(TSkinManage::instance());
    startUp(engine);
    win.hide();
    win.show();
    ASSERT_TRUE(manager().isSkinned(&win));
    EXPECT_NE(win.grab().toImage(), before);

    engine.SetActive(false);
    manager().firePending();
    ASSERT_FALSE(manager().isSkinned(&win));
    EXPECT_EQ(win.geometry(), geometry);
    QImage after = win.grab().toImage();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after, before);
}
