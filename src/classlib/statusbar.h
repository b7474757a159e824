// A status bar along the bottom of a window, with one panel.
#pragma once

#include "classlib/wincontrol.h"

class TStatusBar : public TWinControl {
  public:
    explicit TStatusBar(TComponent* owner);
    DECLARE_CLASS_NAME(TStatusBar)
    const std::string& PanelText() const { return FPanelText; }
    void SetPanelText(const std::string& text);

  protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;

  private:
    std::string FPanelText;
};
