// The window frame sizes the library assumes, per border style: the same under every window
// manager and in tests, so outer sizes and client sizes always convert the same way.
#pragma once

#include "classlib/types.h"

struct TFrameMetrics {
    int Border = 0;  // each side
    int Caption = 0; // title bar, below the top border
    static constexpr int MenuBar = 19;

    static constexpr TFrameMetrics For(TBorderStyle style) {
        switch (style) {
        case bsNone: return {0, 0};
        case bsSingle:
        case bsDialog: return {3, 19};
        case bsSizeable: return {4, 19};
        case bsToolWindow: return {3, 16};
        case bsSizeToolWin: return {4, 16};
        }
        return {4, 19};
    }
};
