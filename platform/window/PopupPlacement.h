#pragma once
// Where pop-ups go on the screen: drop-downs below their anchor or, when
// the work area has no room there, above it; menus and drop-downs kept
// inside the work area of their monitor. Screen coordinates throughout.

#include "platform/window/WinTypes.h"

namespace platform {

// The rectangle of a cx x cy pop-up anchored to `anchor`: `gap` pixels
// below it, or above it when it would cross the bottom of the work area
// and there is more room above; then moved inside the work area (the left
// and top edges win when the pop-up is larger than the area).
RECT PlaceDropDown(const RECT& anchor, int cx, int cy, int gap);

// r moved (not resized) inside the work area of the monitor it overlaps
// most, else the nearest one; left and top win when r is larger.
RECT ClampToWorkArea(const RECT& r);

}  // namespace platform
