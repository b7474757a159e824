#include "setupctrls/radiopanel.h"

TRadioPanel::TRadioPanel(TComponent* owner) : TCustomPanel(owner) {
    SetAnchors(akLeft | akTop);
    FFinalAnchors = akLeft | akTop;
    FPlaced = false;
    SetCaptionFollowsName(false);
    FRadioEnabled = false;
    SetBevelOuter(bvNone);
    SetHeight(100);
    SetWidth(194);
    FLines = std::make_unique<TStrings>();
    FMemoHeight = 58;
    TControl::SetVisible(false);
    FHiddenAtDesign = false;
}

TRadioPanel::~TRadioPanel() { FLines.reset(); }

void TRadioPanel::SetFinalAnchors(TAnchors value) {
    if (FPlaced) SetAnchors(value);
    FFinalAnchors = value;
}

void TRadioPanel::Paint() {
    if (IsDesigning() && !FHiddenAtDesign) {
        SetVisible(false);
        FHiddenAtDesign = true;
    }
    TCustomPanel::Paint();
}
