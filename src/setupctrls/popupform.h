// The small stay-on-top window of a linked group of highlight circles: the circle's radio
// panel, its explanation in a memo, "Previous", "Next" and "Done", and a status bar.
#pragma once

#include "classlib/form.h"

class TBoardHighlight;
class TStatusBar;

class TPopupForm : public TForm {
  public:
    explicit TPopupForm(TComponent* owner);
    DECLARE_CLASS_NAME(TPopupForm)

    TStatusBar* PopupStatus = nullptr;
    TBoardHighlight* Highlight = nullptr; // the creator, which owns this window
    bool CloseOnLeave = false;

    void WndProc(TMessage& message) override;

  private:
    bool CursorInside() const;
};
