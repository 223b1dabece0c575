#include "app/Forms.h"

#include "about/TForm3.h"
#include "app/TForm1.h"
#include "city/TForm2.h"
#include "platform/Application.h"

namespace velmora {

TForm1 *Form1 = nullptr;
TForm2 *Form2 = nullptr;
TForm3 *Form3 = nullptr;

void CreateForms() {
    Form1 = createForm<TForm1>(nullptr);
    Form2 = createForm<TForm2>(nullptr);
    Form3 = createForm<TForm3>(nullptr);
}

} // namespace velmora
