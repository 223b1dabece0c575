// The skins' gallery: the main window with a result, the city dialog and the About dialog in each stored skin.
//   shoot_skins <output folder>
#include "TestDb.h"
#include "about/TForm3.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"
#include "skins/SkinManage.h"

#include <QDir>
#include <QTest>
#include <cstdio>

using namespace velmora;

namespace {

void makeSample(const std::string &file) {
    static const char *const stations[] = {"天安门东", "王府井", "东单",   "建国门", "北京站口", "崇文门", "磁器口", "天坛北门",
                                           "红桥路口", "法华寺", "东四", "灯市口", "美术馆",   "沙滩",   "景山东门"};
    std::vector<std::string> rows = {"INSERT INTO uconf VALUES (1, '北京', '1')",
                                     "INSERT INTO sheng VALUES ('北京')",
                                     "INSERT INTO city VALUES ('1', '北京', '北京')"};
    for (int i = 0; i < 14; ++i) {
        std::string sh, xh;
        auto at = [i](int s) { return stations[(i * 4 + s * (1 + i % 2)) % 15]; };
        for (int s = 0; s < 9; ++s)
            sh += std::string(s ? "," : "") + at(s);
        for (int s = 8; s >= 0; --s)
            xh += std::string(s < 8 ? "," : "") + at(s);
        rows.push_back("INSERT INTO bus VALUES ('" + std::to_string(1000 + i) + "','1','" + std::to_string(i + 1) +
                       "路','" + at(0) + "-->" + at(8) + "','无人售票 空调车','首车5:30 末车23:00','票价1元 刷卡0.4元','" +
                       sh + "','" + xh + "')");
    }
    velmora::test::makeBusDb(file, rows);
}

void save(QWidget *w, const QString &path) {
    w->activateWindow(); // captions show their active look
    QTest::qWaitForWindowActive(w, 1000);
    QTest::qWait(150);
    if (!w->grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
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
    Form1->show();
    QTest::qWaitForWindowExposed(Form1);
    void (TForm1::*commands[])() = {&TForm1::N11Click, &TForm1::N21Click, &TForm1::N31Click,
                                    &TForm1::N41Click, &TForm1::N51Click, &TForm1::N61Click};
    for (int k = 0; k < 6; ++k) {
        runHandler([&] { (Form1->*commands[k])(); });
        TSkinManage::instance().firePending();
        QString n = QString::number(k + 1);
        save(Form1, out + "/skin" + n + "-main.png");
        for (auto [dialog, name] : {std::pair<QWidget *, const char *>{Form2, "city"}, {Form3, "about"}}) {
            if (!dialog)
                continue;
            dialog->show();
            QTest::qWaitForWindowExposed(dialog);
            save(dialog, out + "/skin" + n + "-" + name + ".png");
            dialog->hide();
        }
    }
    return 0;
}
