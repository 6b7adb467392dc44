#include "toolkit/core/CSelectButton.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CSelectButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CSelectButton(p, id, r, t, v, e);
})

CSelectButton::CSelectButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton2(parent, id, rect, visible, enabled) {
  m_title = title != nullptr ? title : L"";
}

}  // namespace DUI
