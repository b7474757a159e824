// Which way a drawn switch row faces: the side the knobs of set bits move to.
#pragma once

#include <cstdint>

enum TOrientationType : uint8_t { otUp, otDown, otLeft, otRight };

// Up/down lay the row out horizontally, left/right vertically.
constexpr bool IsVertical(TOrientationType orientation) {
    return orientation == otLeft || orientation == otRight;
}
