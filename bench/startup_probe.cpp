// The program's start-up, watched by bench_startup: the real forms and the real start of the About page, with
// the page asked from the host given as the only argument. Prints "painted" when the main window (its start-up
// query done, the grid filled) has been painted the first time, with its resident memory then, and runs on until
// killed, so the benchmark can see the About page's request arrive and read the memory of the process tree.
#include "about/PageModule.h"
#include "about/TForm3.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"

#include <QTimer>
#include <cstdio>

namespace {
// This process's resident memory, read at first paint (before any child process exists).
long residentKib() {
    std::FILE *status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kib = 0;
    while (status && std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmRSS: %ld", &kib) == 1)
            break;
    if (status)
        std::fclose(status);
    return kib;
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                std::printf("painted %ld\n", residentKib());
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
    StartPageAfterFirstPaint();
    // Installed last, so it sees the first paint first and reports before the page starts.
    FirstPaint watcher;
    Form1->installEventFilter(&watcher);
    Form1->show();
    return app.exec();
}
