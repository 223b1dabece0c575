// Program entry: the application object and fonts, the three windows, then the main window until it closes.
// The About page's web engine starts only after the main window's first paint.
#include "about/PageModule.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "platform/Application.h"

int main(int argc, char **argv) {
    velmora::prepareForPageModule();
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    velmora::CreateForms();
    velmora::StartPageAfterFirstPaint();
    velmora::Form1->show();
    return app.exec();
}
