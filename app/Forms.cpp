// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Forms.h"

#include "about/TForm3.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"
#include "platform/FirstPaint.h"

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

void StartPageAfterFirstPaint() {
    afterFirstPaint(Form1, [] {
        runHandler([] {
            if (Form3)
                Form3->StartPage();
        });
    });
}

} // namespace velmora
