// The city switch dialog.
#pragma once

#include "platform/Application.h"

namespace velmora {

class TForm2 : public ModalForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    void FormCreate();
};

} // namespace velmora
