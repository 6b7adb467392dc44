#include "toolkit/core/MComboBox2.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/SiblingGroup.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MComboBox2", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MComboBox2(p, id, r, v, e);
})

MComboBox2::MComboBox2(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MComboBox(parent, id, rect, visible, enabled) {}

void MComboBox2::SetCheck(int check) {
  check = check ? 1 : 0;
  if (check) {
    ForEachSameClassSibling(*this, [&](MControl* c) {
      auto* other = static_cast<MComboBox2*>(c);
      if (other->GetGroupName() == m_groupName) other->SetCheck(0);
    });
  }
  if (check == m_check) return;
  m_check = check;
  if (m_visible) UpdateControl(1, 0);
}

void MComboBox2::DrawFace(HDC dc, int state, CRect cell) {
  MComboBox::DrawFace(dc, state, cell);
  if (!m_check) return;
  platform::Pen pen;
  pen.color = Manager::GetSelectColor().GetValue();
  pen.width = 1.5f;
  dc->Canvas().DrawRoundRect(
      platform::RectF{float(cell.left) + 0.75f, float(cell.top) + 0.75f, float(cell.Width()) - 1.5f,
                      float(cell.Height()) - 1.5f},
      4, 4, pen);
}

}  // namespace DUI
