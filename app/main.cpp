// Program entry: the application object and fonts, the three windows, then the main window until it closes.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "platform/Application.h"

int main(int argc, char **argv) {
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    velmora::CreateForms();
    velmora::Form1->show();
    return app.exec();
}
