#include "app/Forms.h"

#include "about/TForm3.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"

#include <QEvent>
#include <QTimer>

namespace velmora {

TForm1 *Form1 = nullptr;
TForm2 *Form2 = nullptr;
TForm3 *Form3 = nullptr;

void CreateForms() {
    Form1 = createForm<TForm1>(nullptr);
    Form2 = createForm<TForm2>(nullptr);
    Form2->setMainWindow(Form1);
    Form3 = createForm<TForm3>(nullptr);
}

namespace {
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QObject *parent) : QObject(parent) {}
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After this paint has reached the screen.
            QTimer::singleShot(0, this, [this] {
                runHandler([] {
                    if (Form3)
                        Form3->StartPage();
                });
                deleteLater();
            });
        }
        return false;
    }
};
} // namespace

void StartPageAfterFirstPaint() {
    Form1->installEventFilter(new FirstPaint(Form1));
}

} // namespace velmora
