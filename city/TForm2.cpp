#include "city/TForm2.h"

namespace velmora {

TForm2::TForm2(QWidget *parent) : ModalForm(parent) {
    setWindowTitle(QStringLiteral("切换城市"));
    setFixedSize(405, 232);
}

void TForm2::FormCreate() {}

} // namespace velmora
