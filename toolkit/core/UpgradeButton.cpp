#include "toolkit/core/UpgradeButton.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"UpgradeButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new UpgradeButton(p, id, r, t, v, e);
})

UpgradeButton::UpgradeButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(parent, id, rect, title, visible, enabled) {}

}  // namespace DUI
