#pragma once
// MComboBox2: a combo box with a check state and a group name, built by the
// panel factory only. Checking one unchecks the others of its group among
// its siblings, as radio buttons do; a checked combo is drawn with an
// accent outline.

#include "toolkit/core/MComboBox.h"

namespace DUI {

class MComboBox2 : public MComboBox {
 public:
  MComboBox2(MObject* parent, UINT id, CRect rect, int visible, int enabled);

  const wchar_t* GetClassNameW() const override { return L"MComboBox2"; }

  void SetCheck(int check);
  int GetCheck() const { return m_check; }
  void SetGroupName(CString name) { m_groupName = std::move(name); }
  CString GetGroupName() const { return m_groupName; }

 protected:
  void DrawFace(HDC dc, int state, CRect cell) override;

 private:
  int m_check = 0;
  CString m_groupName;
};

}  // namespace DUI
