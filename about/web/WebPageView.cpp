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
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

// Qt's own setter of the context every OpenGL context of the program shares (exported by Qt Gui, not in its
// public headers). The engine needs one; made here, it is paid for only when the page starts.
void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace velmora {
namespace {

void ensureSharedContext() {
    if (QOpenGLContext::globalShareContext())
        return;
    auto *shared = new QOpenGLContext(qApp);
    if (shared->create())
        qt_gl_set_global_share_context(shared);
    else
        delete shared;
}

// How long after the user's click or key in the view a link navigation still counts as theirs.
constexpr qint64 kUserActionWindowMs = 1000;

bool isWeb(const QUrl &url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

bool sameSite(const QUrl &url, const QUrl &home) {
    return isWeb(url) && url.host().compare(home.host(), Qt::CaseInsensitive) == 0 && url.port(80) == home.port(80);
}

// Remembers when the user last clicked or pressed a key inside the view.
class UserActions : public QObject {
public:
    explicit UserActions(QWidget *view) : QObject(view), view_(view) { qApp->installEventFilter(this); }
    ~UserActions() override {
        if (qApp)
            qApp->removeEventFilter(this);
    }
    bool recent() const { return clock_.isValid() && clock_.elapsed() <= kUserActionWindowMs; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        const auto type = event->type();
        bool action = false;
        if (type == QEvent::MouseButtonRelease)
            action = static_cast<QMouseEvent *>(event)->button() != Qt::RightButton;
        else if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            action = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
        }
        if (action && view_ && watched->isWidgetType() &&
            (watched == view_ || view_->isAncestorOf(static_cast<QWidget *>(watched))))
            clock_.start();
        return false;
    }

private:
    QPointer<QWidget> view_;
    QElapsedTimer clock_;
};

class GuardedPage : public QWebEnginePage {
public:
    GuardedPage(QWebEngineProfile *profile, QObject *parent, PageViewPolicy policy, const UserActions *user)
        : QWebEnginePage(profile, parent), policy_(std::move(policy)), user_(user) {
        connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
        });
        connect(this, &QWebEnginePage::fullScreenRequested, this,
                [](QWebEngineFullScreenRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
                [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
                [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    }

protected:
    // No dialog from the page, shown or not: alert returns at once, confirm and prompt get "cancel".
    void javaScriptAlert(const QUrl &, const QString &) override {}
    bool javaScriptConfirm(const QUrl &, const QString &message) override {
        // The leave-page question comes here too; the answer lets the program close or move on.
        return message == leavePageQuestion();
    }
    bool javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) override { return false; }
    QStringList chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) override { return {}; }
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }

    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override {
        if (!isMainFrame)
            return isWeb(url) || url.scheme() == QLatin1String("about") || url.scheme() == QLatin1String("data");
        if (sameSite(url, policy_.home))
            return true;
        if (type == NavigationTypeLinkClicked && isWeb(url) && user_->recent() && policy_.openExternally)
            policy_.openExternally(url);
        return false;
    }

private:
    static QString leavePageQuestion() {
        return QCoreApplication::translate(
            "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
    }

    PageViewPolicy policy_;
    const UserActions *user_;
};

class WebPageView : public QWebEngineView, public PageView {
public:
    WebPageView(QWidget *parent, const PageViewPolicy &policy) : QWebEngineView(parent) {
        // Off the record: the page keeps no cookies, cache or storage in the user's home.
        profile_ = new QWebEngineProfile(this);
        connect(profile_, &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
        auto *user = new UserActions(this);
        page_ = new GuardedPage(profile_, this, policy, user);
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
    }
    // The page before its profile: a profile must not go while a page still uses it.
    ~WebPageView() override {
        delete page_;
        delete profile_;
    }

    QWidget *widget() override { return this; }
    void load(const QUrl &url) override { QWebEngineView::load(url); }
    QUrl url() const override { return QWebEngineView::url(); }

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
