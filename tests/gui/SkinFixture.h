// SPDX-License-Identifier: GPL-3.0-or-later
// What the skin engine's tests share: a fresh window manager and the program's stored skins for each test,
// the skinned window's caption, and pixel comparison of a grabbed widget with a skin's bitmap.
#pragma once

#include "skins/engine/SkinData.h"
#include "skins/engine/SkinManage.h"
#include "skins/engine/SkinTheme.h"

#include "WindowTest.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <gtest/gtest.h>

namespace velmora {

// The manager's state the program never reads, and its return to the state at process start.
class SkinManageTestAccess {
public:
    static bool started() { return m().started_; }
    static TSkinData *pendingEngine() { return m().pendingEngine_; }
    static TSkinManage::Request pendingRequest() { return m().pending_; }
    static const QTimer &timer() { return m().timer_; }

    // Restores every window and the application's style and forgets all state.
    static void reset() {
        TSkinManage &manager = m();
        manager.timer_.stop();
        manager.releaseAll();
        manager.skinningOn_ = manager.started_ = false;
        manager.activeEngine_ = manager.pendingEngine_ = nullptr;
        manager.pending_ = TSkinManage::rqNone;
        if (manager.styleInstalled_) {
            QApplication::setStyle(manager.baseStyle_);
            manager.styleInstalled_ = false;
        }
    }

private:
    static TSkinManage &m() { return TSkinManage::instance(); }
};

} // namespace velmora

namespace velmora::test {

class SkinEngine : public WindowTest {
protected:
    using Access = SkinManageTestAccess;

    void SetUp() override {
        Access::reset();
        store.LoadFromResource(kSkinStoreResource);
        QCursor::setPos(1, 1); // no control under the mouse: every part shows its normal state
    }
    void TearDown() override { Access::reset(); }

    // The start-up sequence: skin 1 loaded, skinning switched on.
    void startUp(TSkinData &engine) {
        engine.LoadFromStore(store, 1);
        engine.SetActive(true);
    }

    TSkinManage &manager() { return TSkinManage::instance(); }
    TSkinStore store;
};

// The caption bar (or the bottom side) a skinned window carries.
inline QWidget *decoration(QWidget *window, bool caption) {
    for (QWidget *c : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (c->property("velmoraSkinFrame").toBool() && (c->y() == 0) == caption && c->width() == window->width())
            return c;
    return nullptr;
}

// The image a part paints from.
inline const QImage &partImage(const SkinPart &part) {
    return part.trans ? part.image.masked : part.image.image;
}

// Compares the opaque pixels of a skin image frame with a grabbed widget, pixel for pixel.
inline int mismatches(const QImage &grab, const QPoint &at, const QImage &masked, const QRect &src) {
    int bad = 0;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            QRgb want = masked.pixel(src.x() + x, src.y() + y);
            if (qAlpha(want) != 255)
                continue;
            if ((grab.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) != (want & 0xFFFFFF))
                ++bad;
        }
    return bad;
}

} // namespace velmora::test
