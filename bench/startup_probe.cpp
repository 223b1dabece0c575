// The program's start-up, stopped at the main window's first paint: prints "painted" and exits.
// With --bare it shows an empty window instead, the toolkit's own start-up cost. Used by bench_startup.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "platform/Application.h"

#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
// After the first paint of the watched window has been handled, report and leave at once.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};
} // namespace

int main(int argc, char **argv) {
    bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
    velmora::Application app(argc, argv);
    velmora::installFontSubstitutions();
    FirstPaint watcher;
    QWidget *window;
    if (bare) {
        window = new QMainWindow;
        window->resize(664, 608);
    } else {
        velmora::CreateForms();
        window = velmora::Form1;
    }
    window->installEventFilter(&watcher);
    window->show();
    return app.exec();
}
