#pragma once
// The toolkit's basic vocabulary inside namespace DUI: the integer types of
// the message protocol, colours, strings and the plain rectangle and point
// records that CRect and CPoint extend. They are the platform layer's types,
// so values pass between the two without conversion.

#include <cstdint>
#include <string>

#include "platform/draw/Color.h"
#include "platform/draw/Geometry.h"
#include "platform/window/WinTypes.h"

namespace DUI {

using ::BYTE;
using ::DWORD;
using ::LPARAM;
using ::LRESULT;
using ::UINT;
using ::WPARAM;

// 0x00BBGGRR: window background and border colours, swatches, colour keys.
using ::COLORREF;

// A CString is a wide string; one unit is one code point on Linux.
using CString = std::wstring;

using ::POINT;
using ::RECT;
using ::SIZE;

using ::GetBValue;
using ::GetGValue;
using ::GetRValue;
using ::RGB;

// Cursor shapes travel as the IDC_ numbers; 0 leaves the cursor alone.
using HCURSOR = int;

}  // namespace DUI
