// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/TForm3.h"

#include "BuildSettings.h"
#include "about/AboutHook.h"
#include "about/PageModule.h"
#include "platform/Shell.h"
#include "platform/WidgetText.h"
#include "text/Gbk.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace velmora {

ApplicationEvents::ApplicationEvents(QObject *owner, MessageHandler onMessage)
    : QObject(owner), onMessage_(std::move(onMessage)) {
    qApp->installEventFilter(this);
}

ApplicationEvents::~ApplicationEvents() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool ApplicationEvents::eventFilter(QObject *watched, QEvent *event) {
    bool handled = false;
    runHandler([&] { onMessage_(watched, event, handled); });
    return handled;
}

TForm3::TForm3(QWidget *parent) : ModalForm(parent), pageHost(kAboutHost) {
    setWindowTitle(QStringLiteral("关于..."));
    setFixedSize(576, 399);
    setFont(programFont("MS Sans Serif", 11));

    const QColor navy(0, 0, 128);

    GroupBox1 = new QGroupBox(QStringLiteral("关于软件"), this);
    GroupBox1->setGeometry(16, 16, 545, 105);

    Label1 = new QLabel(GroupBox1);
    Label1->setGeometry(16, 24, 513, 65);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFont(programFont("MS Sans Serif", 13));

    Button1 = new QPushButton(QStringLiteral("返回"), this);
    Button1->setGeometry(488, 360, 73, 33);
    Button1->setFont(programFont("MS Sans Serif", 13));
    // Not the dialog's default button: Enter elsewhere in the dialog must not press it.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    QPalette buttonPalette = Button1->palette();
    buttonPalette.setColor(QPalette::ButtonText, navy);
    Button1->setPalette(buttonPalette);
    connect(Button1, &QPushButton::clicked, this, [this] { runHandler([this] { Button1Click(); }); });

    placeView(new QWidget(this));

    // In force from here on, whether or not the dialog is ever shown.
    ApplicationEvents1 = new ApplicationEvents(
        this, [this](QObject *target, QEvent *msg, bool &handled) { ApplicationEvents1Message(target, msg, handled); });
}

TForm3::~TForm3() {
    // The hook goes first: the view it asks about is destroyed with the other controls after this.
    delete ApplicationEvents1;
}

void TForm3::FormCreate() {
    static const std::string line1 =
        gbk("为您提供全国400多个城市的公交查询、支持线路查询，站点查询，站对站查询；是您交通出行的好帮手。");
    static const std::string line2 = gbk("使用完全免费，无任何插件，支持城市公交数据离线查询。Velmora网真诚为你服务。");
    setCaption(Label1, line1 + "\r\n" + line2);
    // The page is asked for once, by StartPage; showing the dialog never reloads it.
    pageUrl_ = aboutPageUrl(pageHost);
}

void TForm3::setVisible(bool visible) {
    // Before the window exists: adding the view to a shown window makes the window system window anew, and the
    // new one would not be modal.
    if (visible && !started_)
        runHandler([this] { StartPage(); });
    ModalForm::setVisible(visible);
}

void TForm3::StartPage() {
    if (started_ || !pageUrl_.isValid())
        return;
    started_ = true;
    std::string why = webEngineRefusal();
    if (!why.empty())
        return showNote(why);
    PageViewPolicy policy;
    policy.home = pageUrl_;
    policy.openExternally = [](const QUrl &url) { shellOpen(url.toString(QUrl::FullyEncoded).toStdString()); };
    // From the form's own turn of the event loop: the view goes with the note, and its page is the one telling.
    policy.pageLost = [this] {
        QTimer::singleShot(0, this, [this] {
            pageShown_ = false;
            showNote("the About page's renderer process ended");
        });
    };
    PageView *view = createPageView(this, policy, why);
    if (!view)
        return showNote(why);
    placeView(view->widget());
    pageShown_ = true;
    view->load(pageUrl_);
}

void TForm3::placeView(QWidget *view) {
    QWidget *old = std::exchange(WebBrowser1, view);
    WebBrowser1->setGeometry(16, 128, 545, 217);
    WebBrowser1->show();
    if (!qobject_cast<QLabel *>(view)) // the note's name is its text
        WebBrowser1->setAccessibleName(QStringLiteral("Velmora 说明网页"));
    setTabOrder(Button1, WebBrowser1);
    delete old;
}

void TForm3::showNote(const std::string &why) {
    std::fprintf(stderr, "velmora: %s\n", why.c_str());
    auto *note = new QLabel(this);
    setCaption(note, gbk("此处的网页无法显示。公交查询的其他功能不受影响。"));
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setFrameShape(QFrame::StyledPanel);
    note->setFont(programFont("MS Sans Serif", 13));
    placeView(note);
}

void TForm3::Button1Click() {
    Close();
}

void TForm3::ApplicationEvents1Message(QObject *target, QEvent *msg, bool &Handled) {
    if (hookDrops(msg, target, WebBrowser1))
        Handled = true;
}

} // namespace velmora
