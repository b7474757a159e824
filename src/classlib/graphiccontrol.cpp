#include "classlib/graphiccontrol.h"

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::PaintOn(QImage* target, TPoint origin, TRect clip) {
    FCanvas.SetTarget(target, origin, clip);
    FCanvas.Font.Assign(Font());
    struct TReset {
        TCanvas& Canvas;
        ~TReset() { Canvas.SetTarget(nullptr, {}, {}); }
    } reset{FCanvas};
    Paint();
}
