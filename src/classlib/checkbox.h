// A check box; changing Checked, by the user or in code, raises OnClick.
#pragma once

#include "classlib/wincontrol.h"

class TCheckBox : public TWinControl {
  public:
    explicit TCheckBox(TComponent* owner);
    DECLARE_CLASS_NAME(TCheckBox)

    bool Checked() const { return FChecked; }
    void SetChecked(bool checked);

  protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void CaptionChanged() override;

  private:
    bool FChecked = false;
};
