#include "about/TForm3.h"

namespace velmora {

TForm3::TForm3(QWidget *parent) : ModalForm(parent) {
    setWindowTitle(QStringLiteral("关于..."));
    setFixedSize(576, 399);
}

void TForm3::FormCreate() {}

} // namespace velmora
