// SPDX-License-Identifier: GPL-3.0-or-later
// The city switch dialog: pick a province, then one of its cities, and make it the program's current city.
#pragma once

#include "platform/Application.h"

#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace velmora {

class TForm1;

class TForm2 : public ModalForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    // The main window a chosen city is applied to; set before the dialog is first shown.
    void setMainWindow(TForm1 *mainWindow) { mainWindow_ = mainWindow; }
    // Fills the province list, once.
    void FormCreate();
    // Refills both city lists for the selected province.
    void ComboBox1Change();
    // Applies the selected city to the main window and stores it, then closes; with no city it only closes.
    void Button1Click();

    QGroupBox *GroupBox1; // "选择城市", around the two lists
    QComboBox *ComboBox1; // provinces
    QLabel *Label1;       // "省" after the province list
    QComboBox *ComboBox2; // city names of the selected province
    QLabel *Label2;       // "市" after the city list
    QPushButton *Button1; // "确定": applies the selected city
    QComboBox *ComboBox3; // city ids, parallel to ComboBox2; never shown

private:
    // The id paired with the selected city, empty when there is none.
    std::string selectedCityId() const;

    TForm1 *mainWindow_ = nullptr;
};

} // namespace velmora
