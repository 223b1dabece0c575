// The program's start-up, watched by bench_startup: the real forms and the real start of the About page, with
// the page asked from the host given as the only argument. Prints "painted" when the main window (its start-up
// query done, the grid filled) has been painted the first time, then runs on until killed, so the benchmark can
// see the About page's request arrive and read the memory of the process tree.
#include "about/PageModule.h"
#include "about/TForm3.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"

#include <QTimer>
#include <cstdio>

namespace {
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
            });
        }
        return false;
    }
};
} // namespace

int main(int argc, char **argv) {
    using namespace velmora;
    prepareForPageModule();
    Application app(argc, argv);
    installFontSubstitutions();
    setPageModulePath(QStringLiteral(VELMORA_WEB_MODULE_PATH));
    // As CreateForms does, with the About page on the benchmark's own server.
    Form1 = createForm<TForm1>(nullptr);
    Form2 = createForm<TForm2>(nullptr);
    Form3 = new TForm3;
    if (argc > 1)
        Form3->pageHost = argv[1];
    runHandler([] { Form3->FormCreate(); });
    FirstPaint watcher;
    Form1->installEventFilter(&watcher);
    StartPageAfterFirstPaint();
    Form1->show();
    return app.exec();
}
