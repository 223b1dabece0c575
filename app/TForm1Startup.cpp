// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window, the dialogs behind the menus, and the skin items.
#include "about/TForm3.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "data/SQLiteDatabase.h"
#include "data/SQLiteTable.h"
#include "data/Statements.h"
#include "platform/WidgetText.h"
#include "skins/engine/SkinData.h"
#include "skins/format/SkinStore.h"
#include "text/Gbk.h"

#include <QGroupBox>

namespace velmora {

void TForm1::FormCreate() {
    TSQLiteDatabase db(dbFileName, dbKey);
    std::unique_ptr<TSQLiteTable> stored = db.QueryTable(sql::selectStoredCity());
    if (stored->RowCount() == 0) {
        cityName = gbk("北京");
        cityId = "1";
    } else {
        // Both read before either is set, so a failure leaves the city unset as a whole.
        std::string name = stored->ColumnText(stored->ColumnIndex("city"));
        std::string id = stored->ColumnText(stored->ColumnIndex("cid"));
        cityName = std::move(name);
        cityId = std::move(id);
    }
    setCaption(GroupBox1, gbk("当前城市: ") + cityName);
    queryMode = 3;
    RunSkinCommand(1);
    N4Click();
    Button200Click();
    // The stored city's result and the connection are released here, also when a step above raised.
}

void TForm1::RunSkinCommand(int index) {
    SkinData1->LoadFromStore(*SkinStore1, index);
    if (!SkinData1->Active())
        SkinData1->SetActive(true);
}

void TForm1::N11Click() {
    RunSkinCommand(0);
}
void TForm1::N21Click() {
    RunSkinCommand(1);
}
void TForm1::N31Click() {
    RunSkinCommand(2);
}
void TForm1::N41Click() {
    RunSkinCommand(3);
}
void TForm1::N51Click() {
    RunSkinCommand(4);
}
void TForm1::N61Click() {
    RunSkinCommand(5);
}

void TForm1::N1Click() {
    if (Form2)
        Form2->ShowModal(this);
}

void TForm1::N10Click() {
    N1Click();
}

void TForm1::N5Click() {
    if (Form3)
        Form3->ShowModal(this);
}

void TForm1::N13Click() {
    N5Click();
}

} // namespace velmora
