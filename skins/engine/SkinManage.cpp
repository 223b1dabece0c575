// SPDX-License-Identifier: GPL-3.0-or-later
#include "skins/engine/SkinManage.h"

#include "skins/engine/SkinData.h"
#include "skins/engine/SkinStyle.h"
#include "skins/engine/SkinWindow.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace velmora {

TSkinManage &TSkinManage::instance() {
    static TSkinManage *manager = new TSkinManage; // lives until the process ends, as the windows do
    return *manager;
}

TSkinManage::TSkinManage() {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] { firePending(); });
    if (qApp)
        qApp->installEventFilter(this);
}

void TSkinManage::schedule(Request request, int delayMs) {
    pending_ = request;
    timer_.setInterval(delayMs);
    if (started_ && !timer_.isActive())
        timer_.start();
}

void TSkinManage::firePending() {
    timer_.stop();
    TSkinData *engine = pendingEngine_;
    Request request = pending_;
    pending_ = rqNone;
    if (engine) {
        switch (request) {
        case rqSkinAll:
            skinAll(engine);
            break;
        case rqRemoveAll:
            removeAll();
            break;
        case rqRefresh:
            refresh(engine);
            break;
        case rqNone:
            break;
        }
        if (request != rqNone && engine->OnSkinChanged)
            engine->OnSkinChanged(*engine);
    }
    pendingEngine_ = nullptr;
}

void TSkinManage::engineLoaded(TSkinData &engine) {
    pendingEngine_ = &engine;
    // Windows painted by this engine read its current theme at once; the refresh rebuilds them.
    for (auto &w : windows_)
        if (w->engine() == &engine)
            w->takeTheme(engine.theme());
    if (started_)
        schedule(rqRefresh, kDelayMs);
}

void TSkinManage::engineSwitchedOn(TSkinData &engine) {
    pendingEngine_ = &engine;
    activeEngine_ = &engine;
    if (!started_) {
        skinningOn_ = true;
        started_ = true;
        return;
    }
    schedule(rqSkinAll, kDelayMs);
}

void TSkinManage::engineSwitchedOff(TSkinData &engine) {
    pendingEngine_ = &engine;
    schedule(rqRemoveAll, kDelayMs);
}

void TSkinManage::engineDestroyed(TSkinData &engine) {
    for (std::size_t i = windows_.size(); i-- > 0;)
        if (windows_[i]->engine() == &engine)
            release(i);
    if (pendingEngine_ == &engine) {
        pendingEngine_ = nullptr;
        pending_ = rqNone;
        timer_.stop();
    }
    if (activeEngine_ == &engine)
        activeEngine_ = nullptr;
}

void TSkinManage::skinAll(TSkinData *engine) {
    skinningOn_ = true;
    activeEngine_ = engine;
    if (!engine->skinReady())
        return;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && eligible(w) && !isSkinned(w))
            skinWindow(w, engine);
}

void TSkinManage::removeAll() {
    skinningOn_ = false;
    releaseAll();
}

void TSkinManage::refresh(TSkinData *engine) {
    std::vector<QWidget *> touched;
    for (auto &w : windows_) {
        if (w->engine() != engine)
            continue;
        w->takeTheme(engine->theme());
        w->rebuild();
        touched.push_back(w->window());
    }
    for (QWidget *w : touched)
        w->update();
}

bool TSkinManage::eligible(const QWidget *window) {
    if (!window || !window->isWindow())
        return false;
    Qt::WindowType type = window->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return false;
    if (window->testAttribute(Qt::WA_DontShowOnScreen))
        return false;
    return !carriesTag(window, kNoSkinTag);
}

SkinnedWindow *TSkinManage::find(const QWidget *window) const {
    for (const auto &w : windows_)
        if (w->window() == window)
            return w.get();
    return nullptr;
}

bool TSkinManage::isSkinned(const QWidget *window) const {
    return find(window) != nullptr;
}

TSkinData *TSkinManage::engineOf(const QWidget *window) const {
    SkinnedWindow *w = find(window);
    return w ? w->engine() : nullptr;
}

const SkinTheme *TSkinManage::themeFor(const QWidget *widget) const {
    if (windows_.empty() || !widget)
        return nullptr;
    // Walk up through popups too: a menu or a drop-down list belongs to the window of its parent.
    std::vector<const QWidget *> chain;
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (SkinnedWindow *s = find(w)) {
            for (const QWidget *c : chain)
                if (carriesTag(c, s->engine()->DisableTag))
                    return nullptr;
            return s->theme();
        }
        chain.push_back(w);
    }
    return nullptr;
}

void TSkinManage::installStyle() {
    if (styleInstalled_)
        return;
    styleInstalled_ = true;
    // One application style that paints skinned windows' widgets from their skin and leaves every other
    // widget to the style the program had.
    baseStyle_ = QApplication::style()->name();
    QApplication::setStyle(new SkinStyle(baseStyle_, [this](const QWidget *w) { return themeFor(w); }));
}

void TSkinManage::skinWindow(QWidget *window, TSkinData *engine) {
    if (!window || !engine || !engine->theme() || isSkinned(window))
        return;
    installStyle();
    windows_.push_back(std::make_unique<SkinnedWindow>(window, engine));
    QObject::connect(window, &QObject::destroyed, this, [this](QObject *gone) {
        for (std::size_t i = 0; i < windows_.size(); ++i)
            if (windows_[i]->watched() == gone) {
                windows_[i]->forget();
                release(i);
                return;
            }
    });
}

void TSkinManage::release(std::size_t index) {
    // Out of the list first: restoring the window repaints it, and the style asks the list while it does.
    std::unique_ptr<SkinnedWindow> gone = std::move(windows_[index]);
    windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(index));
    gone.reset();
}

void TSkinManage::releaseAll() {
    while (!windows_.empty())
        release(windows_.size() - 1);
}

bool TSkinManage::eventFilter(QObject *watched, QEvent *event) {
    QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::WindowActivate) && skinningOn_ && activeEngine_ &&
        activeEngine_->skinReady() && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow() && eligible(w) && !isSkinned(w))
            skinWindow(w, activeEngine_);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
