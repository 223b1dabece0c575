// Entry of the test programs that need windows: the program's own application object and fonts.
#include "platform/Application.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    return RUN_ALL_TESTS();
}
