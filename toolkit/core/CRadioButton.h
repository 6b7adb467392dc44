#pragma once
// CRadioButton: a check box that belongs to a group. A click or Space
// checks it and unchecks every other radio button of the same group name
// among its siblings; radio buttons in another parent are never touched,
// whatever their group. Setting the check through SetCheck unchecks the
// group too (even SetCheck(0)). Class name "RadioButton".

#include "toolkit/core/CCheckButton.h"

namespace DUI {

class CRadioButton : public CCheckButton {
 public:
  CRadioButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  const wchar_t* GetClassNameW() const override { return L"RadioButton"; }

  int SetCheck(int check) override;
  void SetGroupName(const wchar_t* name);
  CString GetGroupName() const { return m_groupName; }
  // Unchecks every sibling radio button of this group (not this one).
  void ResetGroupCheck();

 protected:
  void Toggle() override;

 private:
  CString m_groupName;
};

}  // namespace DUI
