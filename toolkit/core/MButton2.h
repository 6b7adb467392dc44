#pragma once
// MButton2: a grouped push button. Clicking it checks it, and checking one
// button unchecks every other MButton2 of the same group among its
// siblings (the controls of its parent). While checked it shows its pressed
// column. CN_PRESS on a press, CN_CLICK on every release inside, also
// without a press before it. Class name "MButton2"; default group
// "MouseFunction".

#include "toolkit/core/MButton.h"

namespace DUI {

class MButton2 : public MButton {
 public:
  MButton2(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  const wchar_t* GetClassNameW() const override { return L"MButton2"; }

  void SetCheck(int check);
  int GetCheck() const { return m_check; }
  void SetGroupName(const wchar_t* name);
  CString GetGroupName() const { return m_groupName; }
  // Unchecks every sibling of this class and group (not this button).
  void ResetGroupCheck();

 protected:
  int DisplayColumn() const override { return m_check ? 2 : MButton::DisplayColumn(); }
  void OnReleaseInside(bool pressed) override;
  bool ClickWithoutPress() const override { return true; }
  // Sets the check without touching the group.
  void StoreCheck(int check);

  int m_check = 0;
  CString m_groupName = L"MouseFunction";
};

}  // namespace DUI
