// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/PageModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <unistd.h>

namespace velmora {

namespace {
// Loading the engine, it warns that it should have been set up before the application object. In effect it
// has been: the scene graph's backend is chosen at start, and the module makes the shared OpenGL context
// before the engine's first object.
QtMessageHandler g_previousHandler = nullptr;
void dropSetUpWarning(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("Qt WebEngine seems to be initialized from a plugin")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        qt_message_output(type, context, message);
}

struct QuietEngineSetUp {
    QuietEngineSetUp() { g_previousHandler = qInstallMessageHandler(dropSetUpWarning); }
    ~QuietEngineSetUp() { qInstallMessageHandler(g_previousHandler); }
};

QString &modulePathOverride() {
    static QString path;
    return path;
}
} // namespace

std::string webEngineRefusal(bool runningAsRoot, const QByteArray &disableSandbox, const QByteArray &chromiumFlags) {
    if (!runningAsRoot)
        return {};
    if (disableSandbox.trimmed() == "1" || chromiumFlags.split(' ').contains("--no-sandbox"))
        return {};
    return "running as root: the About page is not shown (set QTWEBENGINE_DISABLE_SANDBOX=1 to show it unsandboxed)";
}

std::string webEngineRefusal() {
    return webEngineRefusal(geteuid() == 0, qgetenv("QTWEBENGINE_DISABLE_SANDBOX"),
                            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
}

QString pageModulePath() {
    if (!modulePathOverride().isEmpty())
        return modulePathOverride();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" VELMORA_WEB_MODULE_FILE);
}

void setPageModulePath(const QString &path) {
    modulePathOverride() = path;
}

PageView *createPageView(QWidget *parent, const PageViewPolicy &policy, std::string &why) {
    QuietEngineSetUp quiet;
    // Never unloaded: the engine's threads and objects outlive any one view. Loading it again only finds it.
    QLibrary module(pageModulePath());
    if (!module.load()) {
        why = "the web module cannot be loaded: " + module.errorString().toStdString();
        return nullptr;
    }
    auto create = reinterpret_cast<CreatePageViewFunction>(module.resolve(kCreatePageViewSymbol));
    if (!create) {
        why = "the web module has no entry point " + std::string(kCreatePageViewSymbol);
        return nullptr;
    }
    PageView *view = create(parent, &policy, kPageViewAbi);
    if (!view)
        why = "the web module was built for another version of the program";
    return view;
}

void prepareForPageModule() {
    // The engine draws through the OpenGL scene graph, which reads this when first used: after the module is
    // loaded. The context the engine shares is made by the module too, only when the page starts (made at
    // application start, as the engine would ask, it costs ~100 ms of every start-up).
    if (qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        qputenv("QSG_RHI_BACKEND", "opengl");
}

} // namespace velmora
