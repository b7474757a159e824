// A drawing of a row of DIP switches showing a number in binary, highest switch first. It only
// displays: mouse input never changes it and it looks the same whether enabled or not.
//
// Turning it between a horizontal and a vertical orientation swaps its width and height at the
// next paint, but only once it has painted: an orientation read from a stored layout comes with
// a size already meant for it.
#pragma once

#include "classlib/bitmap.h"
#include "classlib/graphiccontrol.h"
#include "setupctrls/orientationtype.h"

#include <cstdint>
#include <memory>
#include <string>

class TDipSwitch : public TGraphicControl {
  public:
    explicit TDipSwitch(TComponent* owner);
    ~TDipSwitch() override;
    DECLARE_CLASS_NAME(TDipSwitch)

    // Makes the class and its published properties known to stored layouts; repeatable.
    static void RegisterClass();

    TOrientationType Orientation() const { return FOrientation; }
    void SetOrientation(TOrientationType value);
    uint8_t NumSwitches() const { return FNumSwitches; }
    void SetNumSwitches(uint8_t value);
    uint32_t Value() const { return FValue; }
    void SetValue(uint32_t value);
    // One '0' or '1' per switch, highest switch first.
    const std::string& BinaryValueStr() const { return FBinaryValueStr; }
    void SetBinaryValueStr(const std::string& value);
    TColor SwitchColor() const { return FSwitchColor; }
    void SetSwitchColor(TColor value);

    bool SwapPending() const { return FSwapPending; }
    bool PaintedOnce() const { return FPaintedOnce; }
    const TBitmap& UprightImage() const { return *FUprightImage; }
    const TBitmap& ShownImage() const { return *FShownImage; }

  protected:
    void Paint() override;

  private:
    void FitStringToSwitches();
    uint32_t ValueOfString(const std::string& bits) const;
    void DrawUpright(int width, int height);
    void DrawSwitches(int width, int height);
    void TurnToOrientation();

    TOrientationType FOrientation = otUp;
    uint8_t FNumSwitches = 3;
    uint32_t FValue = 0;
    std::string FBinaryValueStr = "000";
    TColor FSwitchColor = RGB(255, 255, 255);
    std::unique_ptr<TBitmap> FUprightImage;
    std::unique_ptr<TBitmap> FShownImage;
    bool FSwapPending = false;
    bool FPaintedOnce = false;
};
