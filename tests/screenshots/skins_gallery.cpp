// SPDX-License-Identifier: GPL-3.0-or-later
// The skins' gallery: in each stored skin, the main window with a result and its skin menu open, the city dialog
// with its province list open, the About dialog, and the warning and information boxes.
//   shoot_skins <output folder>
#include "TestDb.h"
#include "about/TForm3.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "skins/engine/SkinManage.h"
#include "text/Gbk.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace velmora;

namespace {

void makeSample(const std::string &file) {
    static const char *const stations[] = {"天安门东", "王府井", "东单",     "建国门",   "北京站口",
                                           "崇文门",   "磁器口", "天坛北门", "红桥路口", "法华寺",
                                           "东四",     "灯市口", "美术馆",   "沙滩",     "景山东门"};
    std::vector<std::string> rows = {"INSERT INTO uconf VALUES (1, '北京', '1')",
                                     "INSERT INTO sheng VALUES ('北京')",
                                     "INSERT INTO sheng VALUES ('上海')",
                                     "INSERT INTO sheng VALUES ('广东')",
                                     "INSERT INTO sheng VALUES ('浙江')",
                                     "INSERT INTO city VALUES ('1', '北京', '北京')",
                                     "INSERT INTO city VALUES ('2', '上海', '上海')",
                                     "INSERT INTO city VALUES ('3', '广州', '广东')",
                                     "INSERT INTO city VALUES ('4', '杭州', '浙江')"};
    for (int i = 0; i < 14; ++i) {
        std::string sh, xh;
        auto at = [i](int s) { return stations[(i * 4 + s * (1 + i % 2)) % 15]; };
        for (int s = 0; s < 9; ++s)
            sh += std::string(s ? "," : "") + at(s);
        for (int s = 8; s >= 0; --s)
            xh += std::string(s < 8 ? "," : "") + at(s);
        rows.push_back("INSERT INTO bus VALUES ('" + std::to_string(1000 + i) + "','1','" + std::to_string(i + 1) +
                       "路','" + at(0) + "-->" + at(8) +
                       "','无人售票 空调车','首车5:30 末车23:00','票价1元 刷卡0.4元','" + sh + "','" + xh + "')");
    }
    velmora::test::makeBusDb(file, rows);
}

void written(bool ok, const QString &path) {
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

void settle(QWidget *w) {
    w->activateWindow(); // captions show their active look
    (void)QTest::qWaitForWindowActive(w, 1000);
    QTest::qWait(150);
}

void save(QWidget *w, const QString &path) {
    settle(w);
    written(w->grab().save(path), path);
}

// The screen under a window and its open popup, as a user sees them together.
void saveScreen(QWidget *w, QWidget *popup, const QString &path) {
    (void)QTest::qWaitForWindowExposed(popup, 1000);
    QTest::qWait(200);
    QRect area = w->frameGeometry().united(popup->frameGeometry()).adjusted(-4, -4, 4, 4);
    QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    written(shot.save(path), path);
}

// Runs a message dialog as the program does and photographs it while it waits for its answer.
void shootBox(const char *textUtf8, MsgType type, const QString &path) {
    QTimer::singleShot(0, [path] {
        QWidget *box = nullptr;
        for (int i = 0; i < 100 && !box; ++i) {
            box = QApplication::activeModalWidget();
            if (!box)
                QTest::qWait(20);
        }
        if (!box)
            return;
        save(box, path);
        QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
    });
    messageDlg(gbk(textUtf8), type, mbOK);
}

// Shows a dialog modally over the main window and runs `shoot` while it is up.
void showModally(ModalForm *dialog, const std::function<void()> &shoot) {
    if (!dialog)
        return;
    QTimer::singleShot(0, [dialog, shoot] {
        (void)QTest::qWaitForWindowExposed(dialog, 1000);
        shoot();
        dialog->reject();
    });
    dialog->ShowModal(Form1);
}

} // namespace

int main(int argc, char **argv) {
    Application app(argc, argv);
    installFontSubstitutions();
    if (argc < 2) {
        std::fprintf(stderr, "usage: shoot_skins <output folder>\n");
        return 2;
    }
    QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    velmora::test::TempWorkDir work;
    makeSample("tolvi.dbf");
    CreateForms();
    Form1->move(60, 40);
    if (Form2) // a province chosen, so both lists show a name
        Form2->ComboBox1->setCurrentIndex(Form2->ComboBox1->findText(QStringLiteral("北京")));
    Form1->show();
    (void)QTest::qWaitForWindowExposed(Form1);
    QAction *commands[] = {Form1->N11, Form1->N21, Form1->N31, Form1->N41, Form1->N51, Form1->N61};
    for (int k = 0; k < 6; ++k) {
        commands[k]->trigger(); // the menu item, as a user chooses it
        TSkinManage::instance().firePending();
        QString n = out + "/skin" + QString::number(k + 1);
        save(Form1, n + "-main.png");

        QMenu *skins = Form1->N6->menu();
        Form1->MainMenu1->setActiveAction(Form1->N6);
        skins->setActiveAction(Form1->N41);
        saveScreen(Form1, skins, n + "-menu.png");
        skins->hide();
        Form1->MainMenu1->setActiveAction(nullptr);

        // The dialogs as the program shows them: modal, over the main window.
        showModally(Form2, [&] {
            save(Form2, n + "-city.png");
            Form2->ComboBox1->showPopup();
            saveScreen(Form2, Form2->ComboBox1->view()->window(), n + "-city-list.png");
            Form2->ComboBox1->hidePopup();
        });
        showModally(Form3, [&] { save(Form3, n + "-about.png"); });
        shootBox("查询方式或输入内容是否有误?", MsgType::Warning, n + "-warning.png");
        shootBox("已经成功复制到剪贴板！", MsgType::Information, n + "-info.png");
    }
    return 0;
}
