// The About dialog.
#pragma once

#include "platform/Application.h"

namespace velmora {

class TForm3 : public ModalForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    void FormCreate();
};

} // namespace velmora
