// Light-weight controls without a window: the parent paints them on its own canvas.
#pragma once

#include "classlib/canvas.h"
#include "classlib/control.h"

class TGraphicControl : public TControl {
  public:
    explicit TGraphicControl(TComponent* owner);
    DECLARE_CLASS_NAME(TGraphicControl)

    // The parent's canvas in this control's coordinates; valid while painting.
    TCanvas& Canvas() { return FCanvas; }
    // Paints onto `target` with this control's (0, 0) at `origin`, clipped to `clip`.
    void PaintOn(QImage* target, TPoint origin, TRect clip);

  protected:
    virtual void Paint() {}

  private:
    TCanvas FCanvas;
};
