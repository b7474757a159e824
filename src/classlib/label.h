// A text label painted on its parent's canvas.
#pragma once

#include "classlib/graphiccontrol.h"

class TLabel : public TGraphicControl {
  public:
    explicit TLabel(TComponent* owner);
    DECLARE_CLASS_NAME(TLabel)

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    void SetAutoSize(bool value) override;

  protected:
    void Paint() override;
    void CaptionChanged() override;
    void FontChanged() override;

  private:
    void AdjustBounds();
    TAlignment FAlignment = taLeftJustify;
    bool FTransparent = false;
};
