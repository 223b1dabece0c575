// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog's pure decisions: which events its application-wide hook drops, and the page address.
#pragma once

#include <QEvent>
#include <QUrl>
#include <string_view>

class QObject;
class QWidget;

namespace velmora {

// True when `target` is a widget strictly inside `view`: a child, grandchild and so on, never `view` itself.
bool isStrictlyInside(const QWidget *view, const QObject *target);

// True when the hook drops `event` on its way to `target`: the right button's press, release and double-click,
// and the context-menu request a right press raises, addressed to a widget strictly inside `view`. Every other
// event, and these when addressed anywhere else, passes.
bool hookDrops(const QEvent *event, const QObject *target, const QWidget *view);

// The About page on `host`: http://<host>/bustj.php?ref=shuoming. Raises velmora::Exception when the host does
// not make a usable address (empty, or not a host name).
QUrl aboutPageUrl(std::string_view host);

} // namespace velmora
