// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the About page's view from its run-time module, and deciding whether the web engine may run at all.
#pragma once

#include "about/PageView.h"

#include <QString>
#include <string>

namespace velmora {

// Why the web engine must not start in this process, or empty when it may. As root the engine cannot be
// sandboxed, and a remote page must not run unsandboxed as root, so root needs the user's explicit opt-in:
// QTWEBENGINE_DISABLE_SANDBOX=1, or --no-sandbox in QTWEBENGINE_CHROMIUM_FLAGS.
std::string webEngineRefusal(bool runningAsRoot, const QByteArray &disableSandbox, const QByteArray &chromiumFlags);
// The same for this process and its environment.
std::string webEngineRefusal();

// Where the module is: modules/ in the program's folder (as installed and in the build tree), unless a test has
// set another path.
QString pageModulePath();
void setPageModulePath(const QString &path);

// Loads the module (once per process) and makes a view. Returns nullptr and sets `why` when the module or
// its entry point cannot be had.
PageView *createPageView(QWidget *parent, const PageViewPolicy &policy, std::string &why);

// Settings the web engine needs from a module, made before the application object exists: the OpenGL scene
// graph. They cost nothing when the engine never starts.
void prepareForPageModule();

} // namespace velmora
