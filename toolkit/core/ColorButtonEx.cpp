#include "toolkit/core/ColorButtonEx.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"ColorButtonEx", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new ColorButtonEx(p, id, r, t, v, e);
})

ColorButtonEx::ColorButtonEx(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

}  // namespace DUI
