// The kind of a highlight circle: its colour, its tint strengths and its menu.
#pragma once

#include "classlib/types.h"

enum THighlightType : uint8_t { htOptions, htSettings, htCalibration };

struct THighlightLook {
    TColor RingColor;
    float PlainAlpha;
    float RaisedAlpha;
    float BrightAlpha;
    const char* MenuCaption;
    const char* MenuName;
};

constexpr THighlightLook HighlightLook(THighlightType type) {
    switch (type) {
    case htOptions: return {RGB(0, 0, 255), 0.25f, 0.5f, 1.0f, "&Options", "Options"};
    case htSettings: return {RGB(255, 255, 0), 0.5f, 0.75f, 1.0f, "&Settings", "Settings"};
    case htCalibration: return {RGB(255, 0, 0), 0.5f, 0.75f, 1.0f, "&Calibration", "Calibration"};
    }
    return {RGB(255, 255, 0), 0.5f, 0.75f, 1.0f, "&Settings", "Settings"};
}
