// The process-wide window manager of the skin engine: whether skinning is on, the one pending request and its
// single-shot timer, and the list of skinned windows. It watches every top-level window being shown or
// activated and skins it while skinning is on.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class QWidget;

namespace velmora {

class TSkinData;
struct SkinTheme;
class SkinnedWindow;

class TSkinManage : public QObject {
public:
    enum Request { rqNone, rqSkinAll, rqRemoveAll, rqRefresh };
    static constexpr int kDelayMs = 250;

    static TSkinManage &instance();

    bool skinningOn() const { return skinningOn_; }
    bool started() const { return started_; }
    TSkinData *pendingEngine() const { return pendingEngine_; }
    Request pendingRequest() const { return pending_; }
    const QTimer &timer() const { return timer_; }
    // Carries out the pending request now, as the timer does when it fires (and stops the timer).
    void firePending();

    // Called by the engine.
    void engineLoaded(TSkinData *engine);
    void engineSwitchedOn(TSkinData *engine);
    void engineSwitchedOff(TSkinData *engine);
    void engineDestroyed(TSkinData *engine);

    // Windows.
    bool isSkinned(const QWidget *window) const;
    TSkinData *engineOf(const QWidget *window) const;
    std::vector<QWidget *> skinnedWindows() const;
    // The theme that paints `widget`: its own window's, or for a popup, the window of the widget it belongs
    // to. Null when that window is not skinned or the widget (or an ancestor inside the window) carries the
    // engine's DisableTag.
    const SkinTheme *themeFor(const QWidget *widget) const;
    // Skins or restores one window now (the activation path and the requests use these).
    void skinWindow(QWidget *window, TSkinData *engine);
    void unskinWindow(QWidget *window);
    // Whether a window can be skinned at all: a normal window or dialog, shown on screen, whose tag is not 99.
    static bool eligible(const QWidget *window);

    // For tests: restores every window and the application's style and forgets all state, as at process start.
    void reset();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TSkinManage();
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
