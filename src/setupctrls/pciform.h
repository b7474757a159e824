// The installed-cards window: one line per card the driver reports.
#pragma once

#include "classlib/form.h"

class TMemo;
class TButton;

class TPCIForm : public TForm {
  public:
    explicit TPCIForm(TComponent* owner) : TForm(owner) {}
    DECLARE_CLASS_NAME(TPCIForm)

    TMemo* PCIMemo = nullptr;
    TButton* CloseButton = nullptr;
};
