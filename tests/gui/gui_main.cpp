// SPDX-License-Identifier: GPL-3.0-or-later
// Entry of the test programs that need windows: the program's own application object and fonts, and the
// About page's module from the build folder.
#include "about/PageModule.h"
#include "platform/Application.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    velmora::prepareForPageModule();
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    velmora::setPageModulePath(QStringLiteral(VELMORA_WEB_MODULE_PATH));
    return RUN_ALL_TESTS();
}
