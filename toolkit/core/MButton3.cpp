#include "toolkit/core/MButton3.h"

#include "toolkit/core/ControlRegistry.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MButton3", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MButton3(p, id, r, v, e);
})

MButton3::MButton3(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MButton(parent, id, rect, nullptr, visible, enabled) {}

void MButton3::SetCheck(int check) {
  check = check ? 1 : 0;
  if (check == m_check) return;
  m_check = check;
  if (m_visible) UpdateControl(0, 0);
}

void MButton3::OnReleaseInside(bool) { SetCheck(!m_check); }

}  // namespace DUI
