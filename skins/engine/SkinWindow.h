// SPDX-License-Identifier: GPL-3.0-or-later
// One skinned top-level window: it becomes frameless and gets the skin's frame sides and caption bar around
// its unchanged client area, the skin's palette, and working caption buttons. Destroying the object restores
// the window as it was.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QSize>
#include <memory>
#include <vector>

class QWidget;

namespace velmora {

class TSkinData;
struct SkinTheme;
class SkinCaption;
class SkinFrameSideWidget;

class SkinnedWindow : public QObject {
public:
    SkinnedWindow(QWidget *window, TSkinData *engine);
    ~SkinnedWindow() override;

    QWidget *window() const { return window_; }
    const QObject *watched() const { return watched_; }
    TSkinData *engine() const { return engine_; }
    const SkinTheme *theme() const { return theme_.get(); }
    // The engine's new skin is painted from now on; the frame's sizes follow at rebuild().
    void takeTheme(std::shared_ptr<const SkinTheme> theme) { theme_ = std::move(theme); }
    void rebuild();
    // The window is being destroyed: nothing is restored.
    void forget() { forgotten_ = true; }

    // The caption buttons the window allows: close, minimise, maximise.
    bool allowsClose() const;
    bool allowsMinimise() const;
    bool allowsMaximise() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyMargins(const QMargins &frame);
    void applyPalette();
    void layoutDecorations();
    void updateMask();
    void restore();

    QPointer<QWidget> window_;
    const QObject *watched_;
    TSkinData *engine_;
    std::shared_ptr<const SkinTheme> theme_;
    bool forgotten_ = false;

    // What the window was before skinning.
    Qt::WindowFlags flags_;
    QMargins contentMargins_;
    QSize minSize_, maxSize_;
    bool hadPalette_ = false;
    QPalette palette_;
    bool hadMask_ = false;
    struct KeptControl {
        QPointer<QWidget> widget;
        bool hadPalette;
        QPalette palette;
    };
    std::vector<KeptControl> kept_; // controls with the disable tag keep their own palette

    QMargins frame_; // the frame currently added around the client area
    bool shiftsChildren_ = false;
    QPointer<SkinCaption> caption_;
    QPointer<SkinFrameSideWidget> left_, right_, bottom_;
};

} // namespace velmora
