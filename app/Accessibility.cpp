// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Accessibility.h"

#include "app/LinkLabel.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace velmora {

namespace {

const char kHidden[] = "velmoraNotForScreenReaders";

QWidgetList shownChildren(const QWidget *parent) {
    QWidgetList out;
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow() && !w->property(kHidden).toBool())
            out << w;
    }
    return out;
}

class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(TLinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return link()->text(); // a label's name is its text
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &name) override {
        if (name == pressAction())
            emit link()->clicked();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    TLinkLabel *link() const { return static_cast<TLinkLabel *>(widget()); }
};

// A group box as Qt presents it (its title is its name), less the controls kept out of the tree.
class GroupAccessible : public QAccessibleWidget {
public:
    explicit GroupAccessible(QGroupBox *box) : QAccessibleWidget(box, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QGroupBox *>(widget())->title();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return int(shownChildren(widget()).size()); }
    QAccessibleInterface *child(int index) const override {
        QWidgetList list = shownChildren(widget());
        return index >= 0 && index < list.size() ? QAccessible::queryAccessibleInterface(list.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child ? int(shownChildren(widget()).indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }
};

QAccessibleInterface *factory(const QString &key, QObject *object) {
    if (key == QLatin1String("velmora::TLinkLabel"))
        return new LinkAccessible(static_cast<TLinkLabel *>(object));
    if (key == QLatin1String("velmora::TGroupBox"))
        return new GroupAccessible(static_cast<QGroupBox *>(object));
    return nullptr;
}

} // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

void hideFromScreenReaders(QWidget *widget) {
    widget->setProperty(kHidden, true);
}

void nameQueryBoxes(QLineEdit *first, QLineEdit *second, int mode) {
    static const QString firstNames[] = {QStringLiteral("线路名称"), QStringLiteral("站点名称"),
                                         QStringLiteral("起点站"), QStringLiteral("起点站")};
    if (mode >= 1 && mode <= 4)
        first->setAccessibleName(firstNames[mode - 1]);
    second->setAccessibleName(QStringLiteral("终点站"));
}

} // namespace velmora
