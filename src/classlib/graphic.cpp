#include "classlib/graphic.h"

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == FTransparent) return;
    FTransparent = transparent;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}
