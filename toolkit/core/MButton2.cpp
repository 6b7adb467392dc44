#include "toolkit/core/MButton2.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/SiblingGroup.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MButton2", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MButton2(p, id, r, v, e);
})

MButton2::MButton2(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MButton(parent, id, rect, nullptr, visible, enabled) {
  m_frameSize = 10;
}

void MButton2::StoreCheck(int check) {
  check = check ? 1 : 0;
  if (check == m_check) return;
  m_check = check;
  // Every column is in the cache already: only the copied one changes.
  if (m_visible) UpdateControl(0, 0);
}

void MButton2::SetCheck(int check) {
  StoreCheck(check);
  if (m_check) ResetGroupCheck();
}

void MButton2::SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }

void MButton2::ResetGroupCheck() {
  ForEachSameClassSibling(*this, [&](MControl* sibling) {
    auto* button = dynamic_cast<MButton2*>(sibling);
    if (button == nullptr || button->m_groupName != m_groupName) return;
    button->StoreCheck(0);
    // A disabled sibling keeps its disabled look.
    button->SetState(button->IsEnabled() ? 0 : 3);
  });
}

void MButton2::OnReleaseInside(bool) { SetCheck(1); }

}  // namespace DUI
