// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's construction: controls, menus and the wiring of user events to the handlers.
#include "app/TForm1.h"

#include "app/Accessibility.h"
#include "app/LinkLabel.h"
#include "app/TransferWorker.h"
#include "grid/ClientDataSet.h"
#include "grid/DBGrid.h"
#include "platform/Application.h"
#include "platform/SuggestCompleter.h"
#include "skins/engine/SkinData.h"
#include "skins/engine/SkinManage.h"
#include "skins/format/SkinStore.h"

#include <QAction>
#include <QCompleter>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>
#include <limits>

namespace velmora {

namespace {
const QColor kNavy(0, 0, 128);
const QColor kGreen(0, 128, 0);

void setTextColour(QWidget *w, QPalette::ColorRole role, const QColor &colour) {
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

template <class Label = QLabel>
Label *makeLabel(QWidget *parent, const QString &text, const QRect &geometry, const QFont &font) {
    auto *label = new Label(text, parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit *makeEdit(QWidget *parent, const QRect &geometry) {
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    edit->setFont(programFont("宋体", 16));
    edit->setMaxLength(std::numeric_limits<int>::max()); // a pasted text is searched whole, never cut short
    return edit;
}

TLinkLabel *makeLink(QWidget *parent, const QString &text, const QRect &geometry) {
    auto *link = new TLinkLabel(text, parent);
    link->setGeometry(geometry);
    QFont font = programFont("MS Sans Serif", 11);
    font.setUnderline(true);
    link->setFont(font);
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(link, QPalette::WindowText, kNavy);
    return link;
}
} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      dataSet_(std::make_unique<TClientDataSet>()), transfer_(new TransferWorker(this)) {
    ClientDataSet1 = dataSet_.get();
    setWindowTitle(QStringLiteral("Velmora(PC版)"));
    setFont(programFont("MS Sans Serif", 11));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);

    auto *client = new QWidget(this);
    client->setFixedSize(664, 588);
    setCentralWidget(client);
    buildControls(client);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize); // fixed border: the window is exactly menu + client
    connectHandlers();
    q1->setFocus();
    SkinStore1 = std::make_unique<TSkinStore>();
    SkinData1 = std::make_unique<TSkinData>(TSkinManage::instance());
    runHandler([this] { SkinStore1->LoadFromResource(kSkinStoreResource); });
}

TForm1::~TForm1() {
    // The planning thread stops first, so no result arrives for a window half taken down.
    delete transfer_;
    transfer_ = nullptr;
    // The engine restores the windows it skinned; this one must still be whole when it does.
    SkinData1.reset();
    // The grid's model detaches from the data set as it goes, so the controls go before the data set does.
    delete takeCentralWidget();
}

void TForm1::buildControls(QWidget *client) {
    const QFont song16 = programFont("宋体", 16);

    GroupBox1 = new TGroupBox(QStringLiteral("当前城市"), client);
    GroupBox1->setGeometry(24, 16, 617, 73);
    sm1 = makeLabel(GroupBox1, QStringLiteral("站站查询："), QRect(24, 30, 76, 19), song16);
    setTextColour(sm1, QPalette::WindowText, kNavy);
    q1 = makeEdit(GroupBox1, QRect(112, 26, 113, 24));
    sm2 = makeLabel(GroupBox1, QStringLiteral("到"), QRect(240, 30, 16, 16), song16);
    sm2->resize(sm2->sizeHint()); // sized to its text
    q2 = makeEdit(GroupBox1, QRect(272, 26, 113, 24));
    Button1 = new QPushButton(QStringLiteral("查 询"), GroupBox1);
    Button1->setGeometry(440, 16, 92, 41);
    Button1->setFont(programFont("宋体", 19));
    setTextColour(Button1, QPalette::ButtonText, kNavy);
    Button1->setAutoDefault(false); // Enter in an edit box does not start a query
    Button1->setDefault(false);
    Button200 = new QPushButton(QStringLiteral("Button200"), GroupBox1);
    Button200->setGeometry(576, -8, 41, 25);
    Button200->setAutoDefault(false);
    Button200->hide(); // only program code clicks it
    hideFromScreenReaders(Button200);

    GroupBox2 = new QGroupBox(QStringLiteral("查询结果"), client);
    GroupBox2->setGeometry(24, 104, 617, 209);
    DBGridEh1 = new TDBGrid(ClientDataSet1, GroupBox2);
    DBGridEh1->setGeometry(16, 24, 585, 169);
    DataSource1 = DBGridEh1->dataModel();
    DataSource1->setTitleFont(programFont("MS Sans Serif", 11));
    DBGridEh1->horizontalHeader()->setFont(programFont("MS Sans Serif", 11));

    GroupBox3 = new QGroupBox(QStringLiteral("路线详细信息"), client);
    GroupBox3->setGeometry(24, 328, 617, 235);
    // The details take the focus by Tab, so that their menu opens from the keyboard too.
    xxxx = makeLabel<TFocusLabel>(GroupBox3, QString(), QRect(16, 24, 585, 200), programFont("MS Sans Serif", 11));
    xxxx->setFixedSize(585, 200);
    xxxx->setWordWrap(true);
    xxxx->setAutoFillBackground(true);
    setTextColour(xxxx, QPalette::WindowText, kGreen);
    xxxx->setContextMenuPolicy(Qt::CustomContextMenu);

    Label1 = makeLink(client, QStringLiteral("查看此公交"), QRect(24, 568, 81, 13));
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->hide(); // until a line's details are shown
    Label2 = makeLink(client, QStringLiteral("Velmora网"), QRect(576, 568, 81, 13));

    // Station suggestions, attached in the modes that take station names.
    stationNames_ = new QStringListModel(this);
    for (QCompleter **c : {&q1Stations_, &q2Stations_}) {
        *c = new SuggestCompleter(stationNames_, this);
        // The list is the planner's match of the typed text, made off this thread: shown as it is.
        (*c)->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    }

    // What screen readers say: each box by its label and the query mode's meaning, the grid by its group.
    installAccessibility();
    sm1->setBuddy(q1);
    sm2->setBuddy(q2);
    nameQueryBoxes(q1, q2, 3);
    DBGridEh1->setAccessibleName(QStringLiteral("查询结果"));

    setTabOrder(q1, Button1);
    setTabOrder(Button1, q2);
    setTabOrder(q2, DBGridEh1);
}

void TForm1::buildMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setFont(QApplication::font()); // menus keep the desktop's menu font
    QMenu *modes = MainMenu1->addMenu(QStringLiteral("查询方式"));
    N30 = modes->menuAction();
    N2 = modes->addAction(QStringLiteral("线路查询"));
    N3 = modes->addAction(QStringLiteral("站点查询"));
    N4 = modes->addAction(QStringLiteral("站站查询"));
    N14 = modes->addAction(QStringLiteral("换乘查询"));
    N15 = modes->addSeparator();
    N1 = modes->addAction(QStringLiteral("切换城市"));

    QMenu *skins = MainMenu1->addMenu(QStringLiteral("更换皮肤"));
    N6 = skins->menuAction();
    N11 = skins->addAction(QStringLiteral("皮肤1"));
    N21 = skins->addAction(QStringLiteral("皮肤2"));
    N31 = skins->addAction(QStringLiteral("皮肤3"));
    N41 = skins->addAction(QStringLiteral("皮肤4"));
    N51 = skins->addAction(QStringLiteral("皮肤5"));
    N61 = skins->addAction(QStringLiteral("皮肤6"));
    N7 = skins->addSeparator();
    N5 = skins->addAction(QStringLiteral("关于..."));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setFont(QApplication::font());
    N8 = PopupMenu1->addAction(QStringLiteral("复制此公交"));
    N9 = PopupMenu1->addSeparator();
    N10 = PopupMenu1->addAction(QStringLiteral("切换城市"));
    N12 = PopupMenu1->addSeparator();
    N13 = PopupMenu1->addAction(QStringLiteral("关于..."));
}

void TForm1::connectHandlers() {
    // A user's click runs its handler under the top-level exception handler.
    auto bind = [this](QAction *action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    };
    bind(N2, &TForm1::N2Click);
    bind(N3, &TForm1::N3Click);
    bind(N4, &TForm1::N4Click);
    bind(N14, &TForm1::N14Click);
    bind(N1, &TForm1::N1Click);
    bind(N11, &TForm1::N11Click);
    bind(N21, &TForm1::N21Click);
    bind(N31, &TForm1::N31Click);
    bind(N41, &TForm1::N41Click);
    bind(N51, &TForm1::N51Click);
    bind(N61, &TForm1::N61Click);
    bind(N5, &TForm1::N5Click);
    bind(N8, &TForm1::N8Click);
    bind(N10, &TForm1::N10Click);
    bind(N13, &TForm1::N13Click);
    for (QLineEdit *edit : {q1, q2})
        connect(edit, &QLineEdit::textEdited, this,
                [this, edit] { runHandler([this, edit] { suggestStations(edit); }); });
    connect(
        transfer_, &TransferWorker::planned, this,
        [this](std::shared_ptr<const TransferResult> result) { showPlans(*result); }, Qt::QueuedConnection);
    connect(
        transfer_, &TransferWorker::stationsLoaded, this,
        [this](std::shared_ptr<const CityStations> stations) { showStations(*stations); }, Qt::QueuedConnection);
    connect(
        transfer_, &TransferWorker::matched, this,
        [this](std::shared_ptr<const StationMatches> matches) { showMatches(*matches); }, Qt::QueuedConnection);
    connect(Button1, &QPushButton::clicked, this, [this] { runHandler([this] { Button1Click(); }); });
    connect(Button200, &QPushButton::clicked, this, [this] { runHandler([this] { Button200Click(); }); });
    connect(Label1, &TLinkLabel::clicked, this, [this] { runHandler([this] { Label1Click(); }); });
    connect(Label2, &TLinkLabel::clicked, this, [this] { runHandler([this] { Label2Click(); }); });
    connect(xxxx, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(xxxx->mapToGlobal(at)); });
    ClientDataSet1->AfterScroll = [this] { ClientDataSet1AfterScroll(); };
    DBGridEh1->CellClick = [this] { DBGridEh1CellClick(); };
}

void TForm1::showEvent(QShowEvent *event) {
    if (!shownBefore_) {
        shownBefore_ = true;
        // Every size change is settled before the window is mapped: a resize after mapping would send the
        // window system a position Qt may only have heard from the window manager half-way through placing.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // Centred on the desktop at the first showing only.
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect desktop = screen->geometry();
            QSize outer = frameGeometry().size();
            move(desktop.x() + (desktop.width() - outer.width()) / 2,
                 desktop.y() + (desktop.height() - outer.height()) / 2);
        }
    }
    QMainWindow::showEvent(event);
}

} // namespace velmora
