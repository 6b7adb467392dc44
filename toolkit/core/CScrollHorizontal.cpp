#include "toolkit/core/CScrollHorizontal.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

// A plain slider is a horizontal scroll bar: a thumb dragged along a track
// that reports its position with code 8. Nothing in the program uses one;
// the light and DPI sliders are controls of their own.
QELT_REGISTER_CONTROL(L"MSlider", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  auto* slider = new CScrollHorizontal(p, id, r, v);
  if (!e) slider->SetControlEnabled(0);
  return slider;
})

CScrollHorizontal::CScrollHorizontal(MObject* parent, UINT id, CRect rect, int visible)
    : MScroll(parent, id, rect, visible, false) {}

UINT CScrollHorizontal::ThumbResourceId() const { return m_manager != nullptr ? m_manager->GetScrollHID() : 0; }

}  // namespace DUI
