// SPDX-License-Identifier: GPL-3.0-or-later
// The About page's view: a web view that a page cannot use against the program. The page comes over plain HTTP
// and loads in a hidden view at start-up, so whoever is on the network path writes it: it may not open dialogs,
// windows or downloads, ask for permissions, or take the view to another host. A link the user clicks to another
// host opens in the desktop's browser, as the program's other links do.
#include "about/PageView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPointer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

// Qt's own setter of the context every OpenGL context of the program shares (exported by Qt Gui, not in its
// public headers). The engine needs one; made here, it is paid for only when the page starts.
void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace velmora {
namespace {

void ensureSharedContext() {
    // The view draws through OpenGL, whose compiled shaders Qt would otherwise keep in the user's cache folder.
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    if (QOpenGLContext::globalShareContext())
        return;
    auto *shared = new QOpenGLContext(qApp);
    if (shared->create())
        qt_gl_set_global_share_context(shared);
    else
        delete shared;
}

// How long after the user's click or key in the view the link it chose may still be followed.
constexpr qint64 kUserActionWindowMs = 1000;

bool isWeb(const QUrl &url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

bool sameSite(const QUrl &url, const QUrl &home) {
    return isWeb(url) && url.host().compare(home.host(), Qt::CaseInsensitive) == 0 && url.port(80) == home.port(80);
}

// The address of the link that has the focus, read in a world of its own so the page's scripts cannot answer.
const char kFocusedLink[] = "(function () { var e = document.activeElement;"
                            " var a = e && e.closest ? e.closest('a[href]') : null; return a ? a.href : ''; })()";

// The link the user's last click or key in the view chose: the link under the mouse at the click, or the one
// with the focus at Enter or Space. It is followed at most once, and only soon after, so a script that
// navigates on any input (or again and again after one) opens nothing, and a click on plain text nothing.
// Drag and drop into the view is refused: a dropped file would be the page's to read.
class UserActions : public QObject {
public:
    UserActions(QWidget *view, std::function<void()> queryFocus)
        : QObject(view), view_(view), queryFocus_(std::move(queryFocus)) {
        qApp->installEventFilter(this);
    }
    ~UserActions() override {
        if (qApp)
            qApp->removeEventFilter(this);
    }
    void setHovered(const QString &url) { hovered_ = QUrl(url); }
    void choose(const QUrl &url) {
        chosen_ = url;
        clock_.start();
    }
    // True once for the address the user chose, if it is `url` and was chosen recently.
    bool take(const QUrl &url) {
        if (chosen_.isEmpty() || url != chosen_ || !clock_.isValid() || clock_.elapsed() > kUserActionWindowMs)
            return false;
        chosen_.clear();
        return true;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!view_ || !watched->isWidgetType() ||
            !(watched == view_ || view_->isAncestorOf(static_cast<QWidget *>(watched))))
            return false;
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            event->ignore();
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() != Qt::RightButton)
                choose(hovered_);
            return false;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            chosen_.clear();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)
                queryFocus_();
            return false;
        }
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> view_;
    std::function<void()> queryFocus_;
    QUrl hovered_;
    QUrl chosen_;
    QElapsedTimer clock_;
};

class GuardedPage : public QWebEnginePage {
public:
    GuardedPage(QWebEngineProfile *profile, QWidget *view, PageViewPolicy policy)
        : QWebEnginePage(profile, view), policy_(std::move(policy)),
          user_(new UserActions(view, [this] { askFocusedLink(); })) {
        connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
        });
        connect(this, &QWebEnginePage::fullScreenRequested, this,
                [](QWebEngineFullScreenRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
                [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
                [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::linkHovered, user_, &UserActions::setHovered);
        connect(this, &QWebEnginePage::newWindowRequested, this, &GuardedPage::newWindow);
        // A blank page is reached without asking acceptNavigationRequest: it is undone once it has shown (not
        // while the engine is still telling of it, which would ignore the step back).
        connect(this, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
            if (url.scheme() == QLatin1String("about"))
                QMetaObject::invokeMethod(
                    this, [this] { leaveBlank(); }, Qt::QueuedConnection);
        });
        connect(this, &QWebEnginePage::renderProcessTerminated, this, [this] {
            if (policy_.pageLost)
                QMetaObject::invokeMethod(this, policy_.pageLost, Qt::QueuedConnection);
        });
    }

protected:
    // No dialog from the page, shown or not: alert returns at once, confirm and prompt get "cancel", whatever
    // they ask (the leave-page question too: the page stays, which only ever keeps it on its own host).
    void javaScriptAlert(const QUrl &, const QString &) override {}
    bool javaScriptConfirm(const QUrl &, const QString &) override { return false; }
    bool javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) override { return false; }
    QStringList chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) override { return {}; }
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }

    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override {
        if (!isMainFrame)
            return isWeb(url) || url.scheme() == QLatin1String("about") || url.scheme() == QLatin1String("data");
        if (sameSite(url, policy_.home))
            return true;
        if (type == NavigationTypeLinkClicked)
            follow(url);
        return false;
    }

private:
    // A link the user chose, to another host: to the desktop's browser; on the page's host: in the view.
    void follow(const QUrl &url) {
        if (!user_->take(url)) {
            refused_ = url; // a key's link may ask before the answer to which link has the focus is in
            refusedAt_.start();
            return;
        }
        if (sameSite(url, policy_.home))
            load(url);
        else if (isWeb(url) && policy_.openExternally)
            policy_.openExternally(url);
    }
    // A link that opens a new window (target=_blank) is followed as if it opened here; no window is made.
    void newWindow(QWebEngineNewWindowRequest &request) {
        if (request.isUserInitiated())
            follow(request.requestedUrl());
    }
    void leaveBlank() {
        if (url().scheme() != QLatin1String("about"))
            return;
        // The entry before, not Back: the engine's Back skips entries a script left without the user's action.
        QWebEngineHistory *entries = history();
        if (entries->currentItemIndex() > 0)
            entries->goToItem(entries->itemAt(entries->currentItemIndex() - 1));
        else
            load(policy_.home);
    }
    void askFocusedLink() {
        QPointer<GuardedPage> self = this;
        runJavaScript(QString::fromLatin1(kFocusedLink), QWebEngineScript::ApplicationWorld,
                      [self](const QVariant &href) {
                          if (!self || href.toString().isEmpty())
                              return;
                          const QUrl url(href.toString());
                          self->user_->choose(url);
                          if (url == self->refused_ && self->refusedAt_.elapsed() <= kUserActionWindowMs)
                              self->follow(url);
                      });
    }

    PageViewPolicy policy_;
    UserActions *user_;
    QUrl refused_;
    QElapsedTimer refusedAt_;
};

class WebPageView : public QWebEngineView, public PageView {
public:
    WebPageView(QWidget *parent, const PageViewPolicy &policy) : QWebEngineView(parent) {
        // Off the record: the page keeps no cookies, cache or storage in the user's home.
        profile_ = new QWebEngineProfile(this);
        connect(profile_, &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
        page_ = new GuardedPage(profile_, this, policy);
        QWebEngineSettings *settings = page_->settings();
        settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
        settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
        settings->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
        setPage(page_);
        // In order, while the engine is still up: a page left to the engine's own shutdown outlives its profile.
        connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { release(); });
    }
    // The page before its profile: a profile must not go while a page still uses it.
    ~WebPageView() override { release(); }
    void release() {
        delete std::exchange(page_, nullptr);
        delete std::exchange(profile_, nullptr);
    }

    QWidget *widget() override { return this; }
    void load(const QUrl &url) override { QWebEngineView::load(url); }
    QUrl url() const override { return page_ ? page_->url() : QUrl(); }

private:
    QWebEngineProfile *profile_;
    GuardedPage *page_;
};

} // namespace
} // namespace velmora

extern "C" __attribute__((visibility("default"))) velmora::PageView *
velmora_create_page_view(QWidget *parent, const velmora::PageViewPolicy *policy, int abi) {
    if (abi != velmora::kPageViewAbi || !policy)
        return nullptr;
    velmora::ensureSharedContext();
    return new velmora::WebPageView(parent, *policy);
}
