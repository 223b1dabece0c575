// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide window manager of the skin engine: whether skinning is on, the one pending request and its
// single-shot timer, and the list of skinned windows. It watches every top-level window being shown or
// activated and skins it while skinning is on.
#pragma once

#include "skins/engine/SkinData.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class QWidget;

namespace velmora {

struct SkinTheme;
class SkinnedWindow;

class TSkinManage : public QObject, public SkinEngineEvents {
public:
    enum Request { rqNone, rqSkinAll, rqRemoveAll, rqRefresh };
    static constexpr int kDelayMs = 250;

    static TSkinManage &instance();

    bool skinningOn() const { return skinningOn_; }
    // Carries out the pending request now, as the timer does when it fires (and stops the timer).
    void firePending();

    // Windows.
    bool isSkinned(const QWidget *window) const;
    TSkinData *engineOf(const QWidget *window) const;
    // The theme that paints `widget`: its own window's, or for a popup, the window of the widget it belongs
    // to. Null when that window is not skinned or the widget (or an ancestor inside the window) carries the
    // engine's DisableTag.
    const SkinTheme *themeFor(const QWidget *widget) const;
    // Skins one window now (the activation path and the requests use this).
    void skinWindow(QWidget *window, TSkinData *engine);
    // Whether a window can be skinned at all: a normal window or dialog, shown on screen, not tagged kNoSkinTag.
    static bool eligible(const QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class SkinManageTestAccess; // the tests' view of the pending request, the timer and the start flag

    TSkinManage();
    void engineLoaded(TSkinData &engine) override;
    void engineSwitchedOn(TSkinData &engine) override;
    void engineSwitchedOff(TSkinData &engine) override;
    void engineDestroyed(TSkinData &engine) override;

    void schedule(Request request, int delayMs);
    void skinAll(TSkinData *engine);
    void removeAll();
    void refresh(TSkinData *engine);
    void installStyle();
    SkinnedWindow *find(const QWidget *window) const;
    void release(std::size_t index);
    void releaseAll();

    bool skinningOn_ = false;
    bool started_ = false;
    TSkinData *activeEngine_ = nullptr; // the engine that switched skinning on; new windows take its skin
    TSkinData *pendingEngine_ = nullptr;
    Request pending_ = rqNone;
    QTimer timer_;
    bool styleInstalled_ = false;
    QString baseStyle_; // the application style before skinning began
    std::vector<std::unique_ptr<SkinnedWindow>> windows_;
};

} // namespace velmora
