// SPDX-License-Identifier: GPL-3.0-or-later
// The base every window test fixture derives from. The program's application object, its fonts and the
// About page's module are set up once per test program (gui_main.cpp); fixtures add their windows on top.
#pragma once

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace velmora::test {

class WindowTest : public ::testing::Test {
protected:
    // Shows `window` and fails the test when it never reaches the screen: a window that is not exposed
    // paints nothing and takes no input, so every later check on it would mislead.
    static void showExposed(QWidget *window) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
};

} // namespace velmora::test
