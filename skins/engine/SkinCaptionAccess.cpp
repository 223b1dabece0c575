// SPDX-License-Identifier: GPL-3.0-or-later
// The painted caption for screen readers: a group named by the window title, whose caption buttons are push
// buttons with their names (the same words as their tool tips) and a press action that runs them.
#include "skins/engine/SkinCaption.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <algorithm>

namespace velmora {

namespace {

class CaptionButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CaptionButtonAccessible(SkinCaption *caption, int action) : caption_(caption), action_(action) {}

    bool isValid() const override { return caption_ && rect().isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return caption_ ? caption_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(caption_); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && caption_ ? caption_->buttonName(action_) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override {
        if (!caption_)
            return {};
        for (const SkinCaption::Button &b : caption_->buttons())
            if (b.action == action_)
                return QRect(caption_->mapToGlobal(b.rect.topLeft()), b.rect.size());
        return {};
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !caption_ || !caption_->isVisible();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override {
        if (name == pressAction() && caption_)
            caption_->run(action_);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<SkinCaption> caption_;
    int action_;
};

class CaptionAccessible : public QAccessibleWidget {
public:
    explicit CaptionAccessible(SkinCaption *caption) : QAccessibleWidget(caption, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? caption()->window()->windowTitle() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return int(caption()->buttons().size()); }
    QAccessibleInterface *child(int index) const override {
        std::vector<SkinCaption::Button> list = caption()->buttons();
        // Read from left to right, as they are seen.
        std::stable_sort(list.begin(), list.end(), [](auto &a, auto &b) { return a.rect.x() < b.rect.x(); });
        if (index < 0 || index >= int(list.size()))
            return nullptr;
        return QAccessible::accessibleInterface(caption()->accessibleButton(list[std::size_t(index)].action));
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }

private:
    SkinCaption *caption() const { return static_cast<SkinCaption *>(widget()); }
};

QAccessibleInterface *captionFactory(const QString &key, QObject *object) {
    if (key == QLatin1String("velmora::SkinCaption"))
        if (auto *caption = qobject_cast<SkinCaption *>(object))
            return new CaptionAccessible(caption);
    return nullptr;
}

} // namespace

void SkinCaption::installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(captionFactory);
        return true;
    }();
    (void)installed;
}

QAccessible::Id SkinCaption::accessibleButton(int action) {
    auto found = accessibleButtons_.find(action);
    if (found != accessibleButtons_.end())
        return found->second;
    QAccessible::Id id = QAccessible::registerAccessibleInterface(new CaptionButtonAccessible(this, action));
    accessibleButtons_[action] = id;
    return id;
}

SkinCaption::~SkinCaption() {
    for (const auto &[action, id] : accessibleButtons_)
        QAccessible::deleteAccessibleInterface(id);
}

} // namespace velmora
