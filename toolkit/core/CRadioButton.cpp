#include "toolkit/core/CRadioButton.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/SiblingGroup.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"CRadioButton", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
  return new CRadioButton(p, id, r, t, v, e);
})

CRadioButton::CRadioButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : CCheckButton(parent, id, rect, title, visible, enabled) {}

int CRadioButton::SetCheck(int check) {
  if (!m_enabled) return m_check;
  StoreCheck(check);
  ResetGroupCheck();
  return m_check;
}

void CRadioButton::SetGroupName(const wchar_t* name) { m_groupName = name != nullptr ? name : L""; }

void CRadioButton::ResetGroupCheck() {
  ForEachSameClassSibling(*this, [&](MControl* sibling) {
    auto* radio = dynamic_cast<CRadioButton*>(sibling);
    if (radio != nullptr && radio->m_groupName == m_groupName) radio->StoreCheck(0);
  });
}

void CRadioButton::Toggle() {
  StoreCheck(1);
  ResetGroupCheck();
}

}  // namespace DUI
