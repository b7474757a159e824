// A push button; Default and Cancel make Enter and Escape press it.
#pragma once

#include "classlib/wincontrol.h"

class TButton : public TWinControl {
  public:
    explicit TButton(TComponent* owner);
    ~TButton() override;
    DECLARE_CLASS_NAME(TButton)

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value);
    void SetParent(TWinControl* parent) override;

  protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void CaptionChanged() override;
    void ParentChanged() override;

  private:
    void RegisterWithForm();
    bool FDefault = false;
    bool FCancel = false;
};
