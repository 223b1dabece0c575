// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application object and fonts, the three windows, then the main window until it closes.
// The About page's web engine starts only after the main window's first paint.
#include "about/PageModule.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "platform/Application.h"

#include <QMessageBox>
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: velmora [--help | --version]\n"
    "Looks up the bus lines of a Chinese city offline, in the database tolvi.dbf of the folder it is started\n"
    "in. The command velmora on the PATH starts it in the user's data folder ($XDG_DATA_HOME/velmora, by\n"
    "default ~/.local/share/velmora) and first copies the demo database there when that folder has none.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Other arguments go to Qt, for example -style NAME or -platform NAME. See velmora(1).\n";

// Answers --help and --version without opening a window: 0 when answered, -1 to start the program.
int answerInformationOption(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("velmora %s\n", VELMORA_VERSION);
            return 0;
        }
    }
    return -1;
}

// The launcher's failure box when there is no terminal to read its message: a plain application object, so
// nothing of the program (fonts, skins, database) can fail in turn.
int showLauncherFailure(int argc, char **argv) {
    QApplication app(argc, argv);
    QMessageBox::critical(nullptr, QStringLiteral("Velmora"), QString::fromUtf8(argv[2]));
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    int answered = answerInformationOption(argc, argv);
    if (answered >= 0)
        return answered;
    if (argc == 3 && std::strcmp(argv[1], "--launcher-failure") == 0)
        return showLauncherFailure(argc, argv);
    velmora::prepareForPageModule();
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    velmora::CreateForms();
    velmora::StartPageAfterFirstPaint();
    velmora::Form1->show();
    return app.exec();
}
