// The help window: how to use the program, and a Start button that begins the tour.
#pragma once

#include "classlib/form.h"

class TRichEdit;
class TLabel;
class TButton;

class THelpForm : public TForm {
  public:
    explicit THelpForm(TComponent* owner) : TForm(owner) {}
    DECLARE_CLASS_NAME(THelpForm)

    TRichEdit* HelpRich = nullptr;
    TLabel* HelpLabel = nullptr;
    TButton* StartButton = nullptr;

    // Hides the help and asks the main window's board image to open its first circle.
    void StartButtonClick(TObject* sender);
};
