// A picture format: something that has a size and draws itself onto a canvas.
#pragma once

#include "classlib/object.h"
#include "classlib/types.h"

#include <cstdint>
#include <vector>

class TCanvas;
class QImage;

class TGraphic : public TObject {
  public:
    DECLARE_CLASS_NAME(TGraphic)
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    // Palettes exist only on palette-based displays, which this platform has none of.
    virtual bool HasPalette() const { return false; }
    bool PaletteModified() const { return FPaletteModified; }
    void SetPaletteModified(bool modified) { FPaletteModified = modified; }

    // Draws the whole graphic scaled into `dest` (canvas coordinates).
    virtual void Draw(TCanvas& canvas, const TRect& dest) const = 0;
    // The pixels as a 32-bit image, or null when empty.
    virtual const QImage* Image() const = 0;
    virtual TGraphic* Clone() const = 0;

    TNotifyEvent OnChange;

  protected:
    void Changed();

  private:
    bool FTransparent = false;
    bool FPaletteModified = false;
};

