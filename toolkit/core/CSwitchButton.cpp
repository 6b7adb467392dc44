#include "toolkit/core/CSwitchButton.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CSwitchButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CSwitchButton(p, id, r, t, v, e);
})

CSwitchButton::CSwitchButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton3(parent, id, rect, visible, enabled) {
  m_title = title != nullptr ? title : L"";
}

}  // namespace DUI
