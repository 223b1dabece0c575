// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutHook.h"

#include "text/Exception.h"
#include "text/Gbk.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QWidget>

namespace velmora {

bool isStrictlyInside(const QWidget *view, const QObject *target) {
    if (!view || !target || target == view || !target->isWidgetType())
        return false;
    return view->isAncestorOf(static_cast<const QWidget *>(target));
}

bool hookDrops(const QEvent *event, const QObject *target, const QWidget *view) {
    // Type first: the hook sees every event of the program, and only these few can be dropped.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (static_cast<const QMouseEvent *>(event)->button() != Qt::RightButton)
            return false;
        break;
    case QEvent::ContextMenu:
        // The menu key's request is keyboard input, which the hook leaves alone.
        if (static_cast<const QContextMenuEvent *>(event)->reason() != QContextMenuEvent::Mouse)
            return false;
        break;
    default:
        return false;
    }
    return isStrictlyInside(view, target);
}

QUrl aboutPageUrl(std::string_view host) {
    const QString text = QStringLiteral("http://") + QString::fromUtf8(host.data(), qsizetype(host.size())) +
                         QStringLiteral("/bustj.php?ref=shuoming");
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        throw Exception("Invalid address of the About page: " + toGbk(text));
    return url;
}

} // namespace velmora
