// Program entry: the application object and the program's fonts. The windows join as they are built.
#include "platform/Application.h"

int main(int argc, char **argv) {
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    return 0;
}
