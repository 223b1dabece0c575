// SPDX-License-Identifier: GPL-3.0-or-later
#include "city/TForm2.h"

#include "app/TForm1.h"
#include "city/ListItems.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "platform/WidgetText.h"
#include "text/Gbk.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace velmora {

TForm2::TForm2(QWidget *parent) : ModalForm(parent) {
    setWindowTitle(QStringLiteral("切换城市"));
    setFixedSize(405, 232);
    setFont(programFont("MS Sans Serif", 11));

    GroupBox1 = new QGroupBox(QStringLiteral("选择城市"), this);
    GroupBox1->setGeometry(32, 32, 353, 129);

    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setGeometry(20, 56, 97, 19);
    setUpPlainList(ComboBox1);

    Label1 = new QLabel(QStringLiteral("省"), GroupBox1);
    Label1->setGeometry(128, 64, 12, 13);

    ComboBox2 = new QComboBox(GroupBox1);
    ComboBox2->setGeometry(172, 56, 113, 19);
    setUpPlainList(ComboBox2);

    Label2 = new QLabel(QStringLiteral("市"), GroupBox1);
    Label2->setGeometry(306, 56, 12, 13);

    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setGeometry(304, 176, 73, 33);
    // Not the dialog's default button: Enter elsewhere in the dialog must not press it.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);

    ComboBox3 = new QComboBox(this);
    ComboBox3->setGeometry(72, 176, 153, 21);
    ComboBox3->setEditable(false);
    ComboBox3->setEnabled(false);
    ComboBox3->setFocusPolicy(Qt::NoFocus);
    ComboBox3->hide();

    // Screen readers name the lists by what they hold; each label is tied to its list.
    ComboBox1->setAccessibleName(QStringLiteral("省份"));
    ComboBox2->setAccessibleName(QStringLiteral("城市"));
    Label1->setBuddy(ComboBox1);
    Label2->setBuddy(ComboBox2);

    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, Button1);

    // Every change of province, by mouse or keyboard.
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { runHandler([this] { ComboBox1Change(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { runHandler([this] { Button1Click(); }); });
}

void TForm2::FormCreate() {
    ComboBox1->clear();
    TSQLiteDatabase db(dbFileName, dbKey);
    std::unique_ptr<TSQLiteTable> provinces = db.QueryTable(sql::selectProvinces());
    while (!provinces->AtEnd()) {
        appendItem(ComboBox1, provinces->ColumnText(provinces->ColumnIndex("sheng")));
        provinces->MoveNext();
    }
}

void TForm2::ComboBox1Change() {
    ComboBox2->clear();
    ComboBox3->clear();
    TSQLiteDatabase db(dbFileName, dbKey);
    std::unique_ptr<TSQLiteTable> cities =
        db.QueryTable(sql::selectCitiesOf(itemText(ComboBox1, ComboBox1->currentIndex())));
    while (!cities->AtEnd()) {
        // Both texts are read before either list grows, so a failure cannot leave the lists out of step.
        const std::string name = cities->ColumnText(cities->ColumnIndex("city"));
        const std::string id = cities->ColumnText(cities->ColumnIndex("id"));
        appendItem(ComboBox2, name);
        appendItem(ComboBox3, id);
        cities->MoveNext();
    }
}

std::string TForm2::selectedCityId() const {
    return itemText(ComboBox3, ComboBox2->currentIndex());
}

void TForm2::Button1Click() {
    static const std::string captionPrefix = gbk("当前城市: ");
    const std::string cityName = itemText(ComboBox2, ComboBox2->currentIndex());
    if (!cityName.empty()) {
        // The state is set before the query reads it, the query runs before the mode switch, and the choice is
        // stored last; a failing step leaves the earlier ones done and the dialog open.
        setCaption(mainWindow_->GroupBox1, captionPrefix + cityName);
        mainWindow_->cityName = cityName;
        mainWindow_->cityId = selectedCityId();
        mainWindow_->Button200Click();
        mainWindow_->N2Click();
        TSQLiteDatabase db(dbFileName, dbKey);
        db.RunSql(sql::updateStoredCity(itemText(ComboBox2, ComboBox2->currentIndex()), selectedCityId()));
    }
    Close();
}

} // namespace velmora
