// SPDX-License-Identifier: GPL-3.0-or-later
// The About page's view as the program sees it. The web engine lives in a module loaded at run time
// (about/web/), so the program neither links nor starts it before its main window is painted; this header is
// all the two share.
#pragma once

#include <QUrl>
#include <functional>

class QWidget;

namespace velmora {

// What the view may do, fixed when it is made.
struct PageViewPolicy {
    // The About page: the view stays on its host (and port); a navigation elsewhere that the user did not
    // click is refused.
    QUrl home;
    // Opens an http(s) address the user clicked on another host, in the desktop's browser.
    std::function<void(const QUrl &)> openExternally;
    // Called, from the page's own event, once the page can no longer be shown (its renderer process died); the
    // view must not be deleted inside the call.
    std::function<void()> pageLost;
};

class PageView {
public:
    virtual ~PageView() = default;
    // The view's widget; its parent owns it (and with it this object).
    virtual QWidget *widget() = 0;
    virtual void load(const QUrl &url) = 0;
    virtual QUrl url() const = 0;
};

// The module's one entry point: a view under `parent` that follows `policy`. `abi` must be kPageViewAbi; a
// module built against another version of this header returns nullptr.
inline constexpr int kPageViewAbi = 2;
inline constexpr const char *kCreatePageViewSymbol = "velmora_create_page_view";
using CreatePageViewFunction = PageView *(*)(QWidget *parent, const PageViewPolicy *policy, int abi);

} // namespace velmora
