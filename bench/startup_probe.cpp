// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up, watched by bench_startup: the real forms and the real start of the About page, with
// the page asked from the host given as the only argument. Prints "painted" when the main window (its start-up
// query done, the grid filled) has been painted the first time, with its resident memory then, and runs on until
// killed, so the benchmark can see the About page's request arrive and read the memory of the process tree.
#include "FirstPaintReport.h"
#include "about/PageModule.h"
#include "about/TForm3.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"

int main(int argc, char **argv) {
    using namespace velmora;
    prepareForPageModule();
    Application app(argc, argv);
    installFontSubstitutions();
    setPageModulePath(QStringLiteral(VELMORA_WEB_MODULE_PATH));
    // As CreateForms does, with the About page on the benchmark's own server.
    Form1 = createForm<TForm1>(nullptr);
    Form2 = createForm<TForm2>(nullptr);
    Form2->setMainWindow(Form1);
    Form3 = new TForm3;
    if (argc > 1)
        Form3->pageHost = argv[1];
    runHandler([] { Form3->FormCreate(); });
    StartPageAfterFirstPaint();
    // Installed last, so it sees the first paint first and reports before the page starts.
    reportFirstPaint(Form1);
    Form1->show();
    return app.exec();
}
