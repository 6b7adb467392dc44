#include "toolkit/core/MTabLayout.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MTabLayout", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MTabLayout(p, id, r, v);
})

MTabLayout::MTabLayout(MObject* parent, UINT id, CRect rect, int visible) : MPanel(parent, id, rect, visible) {}

void MTabLayout::DrawControl(HDC&, CRect) {}

}  // namespace DUI
