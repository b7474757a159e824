// A container panel with bevels, a border width, a background colour and a caption.
#pragma once

#include "classlib/wincontrol.h"

class TCustomPanel : public TWinControl {
  public:
    explicit TCustomPanel(TComponent* owner);
    DECLARE_CLASS_NAME(TCustomPanel)

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    // When false, naming the panel leaves its caption empty.
    bool CaptionFollowsName() const { return FCaptionFollowsName; }
    void SetCaptionFollowsName(bool value) { FCaptionFollowsName = value; }
    bool FullRepaint = true;
    bool Ctl3D = true;
    bool ParentCtl3D = true;
    bool ParentBiDiMode = true;
    int BiDiMode = 0;
    TBorderStyle PanelBorderStyle = bsNone;

  protected:
    void Paint() override;

  private:
    void DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut);
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    bool FCaptionFollowsName = true;
};
