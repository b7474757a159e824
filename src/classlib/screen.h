// The screen: its size, its work area and the cursor position, with seams for tests.
#pragma once

#include "classlib/types.h"

#include <functional>

class TScreen {
  public:
    // Size of the primary screen in pixels.
    static int Width();
    static int Height();
    // The part of the primary screen that windows may use (without panels and docks).
    static TRect WorkArea();
    static TPoint CursorPos();

    // Tests: replace the cursor position or the screen size; empty restores the real one.
    static void SetCursorPosHook(std::function<TPoint()> hook);
    static void SetSizeOverride(int width, int height); // 0, 0 restores
};
