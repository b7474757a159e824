#include "classlib/custompanel.h"

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
    SetBoundsSilently(0, 0, 185, 41);
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
    if (value == FBevelOuter) return;
    FBevelOuter = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
    if (value == FBevelInner) return;
    FBevelInner = value;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
    if (value == FBevelWidth || value < 1) return;
    FBevelWidth = value;
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
    if (value == FBorderWidth || value < 0) return;
    FBorderWidth = value;
    Invalidate();
}

void TCustomPanel::DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut) {
    if (cut == bvNone) return;
    TColor light = clWhite, dark = clGray;
    if (cut == bvLowered) std::swap(light, dark);
    for (int i = 0; i < FBevelWidth && cut != bvSpace; ++i) {
        canvas.Brush.Color = light;
        canvas.FillRect(Rect(rect.Left, rect.Top, rect.Right, rect.Top + 1));
        canvas.FillRect(Rect(rect.Left, rect.Top, rect.Left + 1, rect.Bottom));
        canvas.Brush.Color = dark;
        canvas.FillRect(Rect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom));
        canvas.FillRect(Rect(rect.Right - 1, rect.Top, rect.Right, rect.Bottom));
        rect = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    }
    if (cut == bvSpace)
        rect = Rect(rect.Left + FBevelWidth, rect.Top + FBevelWidth, rect.Right - FBevelWidth,
                    rect.Bottom - FBevelWidth);
}

void TCustomPanel::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    TRect rect = ClientRect();
    DrawBevel(canvas, rect, FBevelOuter);
    rect = Rect(rect.Left + FBorderWidth, rect.Top + FBorderWidth, rect.Right - FBorderWidth,
                rect.Bottom - FBorderWidth);
    DrawBevel(canvas, rect, FBevelInner);
    if (Caption().empty()) return;
    canvas.Brush.Style = bsClear;
    canvas.Font.Assign(Font());
    int y = rect.Top + (rect.Height() - canvas.TextHeight(Caption())) / 2;
    canvas.TextRect(Rect(rect.Left, y, rect.Right, rect.Bottom), Caption(), taCenter);
}
