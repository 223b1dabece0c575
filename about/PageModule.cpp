#include "about/PageModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <unistd.h>

namespace velmora {

namespace {
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
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The scene graph reads this when first used, which is after the module is loaded.
    if (qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        qputenv("QSG_RHI_BACKEND", "opengl");
}

} // namespace velmora
