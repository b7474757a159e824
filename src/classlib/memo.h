// A multi-line text box whose lines are a string list.
#pragma once

#include "classlib/strings.h"
#include "classlib/wincontrol.h"

class TMemo : public TWinControl {
  public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;
    DECLARE_CLASS_NAME(TMemo)

    TStrings& Lines() { return FLines; }
    const TStrings& Lines() const { return FLines; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool WantsDialogKeys() const override { return true; }

  protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;

  private:
    void LinesChanged();
    void ApplySettings();
    TStrings FLines;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FUpdatingFromWidget = false;
};
