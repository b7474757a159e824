// The technical-support window: how to reach the maker.
#pragma once

#include "classlib/form.h"

class TMemo;
class TButton;

class TTechForm : public TForm {
  public:
    explicit TTechForm(TComponent* owner) : TForm(owner) {}
    DECLARE_CLASS_NAME(TTechForm)

    TMemo* TechMemo = nullptr;
    TButton* CloseButton = nullptr;
};
