#include "app/Captions.h"

#include "platform/Gbk.h"

#include <QGroupBox>
#include <QLabel>
#include <QVariant>

namespace velmora {

namespace {
constexpr const char *kBytes = "velmoraCaptionBytes";
constexpr const char *kShown = "velmoraCaptionShown";

// Keeps the bytes next to the text they were shown as, so a later change by other means is noticed.
void remember(QWidget *w, const std::string &gbkText, const QString &shown) {
    w->setProperty(kBytes, QByteArray(gbkText.data(), qsizetype(gbkText.size())));
    w->setProperty(kShown, shown);
}

std::string recall(const QWidget *w, const QString &shownNow) {
    if (w->property(kShown).toString() == shownNow && w->property(kBytes).isValid()) {
        QByteArray b = w->property(kBytes).toByteArray();
        return std::string(b.constData(), std::size_t(b.size()));
    }
    return toGbk(shownNow);
}
} // namespace

void setCaption(QLabel *label, const std::string &gbkText) {
    QString shown = fromGbk(gbkText);
    label->setText(shown);
    remember(label, gbkText, shown);
}

void setCaption(QGroupBox *box, const std::string &gbkText) {
    QString shown = fromGbk(gbkText);
    box->setTitle(shown);
    remember(box, gbkText, shown);
}

std::string caption(const QLabel *label) {
    return recall(label, label->text());
}

std::string caption(const QGroupBox *box) {
    return recall(box, box->title());
}

} // namespace velmora
