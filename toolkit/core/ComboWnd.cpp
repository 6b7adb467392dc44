#include "toolkit/core/ComboWnd.h"

#include <algorithm>

#include "platform/window/Window.h"
#include "toolkit/core/CComboBoxList.h"
#include "toolkit/core/MComboBox.h"

namespace DUI {

ComboWnd::ComboWnd(MComboBox* combo) : m_combo(combo) {}

ComboWnd::~ComboWnd() {
  // Destroyed directly (not through its window): the window must go first,
  // without PostNcDestroy deleting this object a second time.
  m_deleting = true;
  if (m_hWnd != nullptr && platform::IsWindow(m_hWnd)) platform::DestroyWindow(m_hWnd);
}

bool ComboWnd::Open(HWND owner, CRect rect) {
  return Create(owner, kTitle, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW,
                rect) != nullptr;
}

void ComboWnd::Dismiss() {
  if (m_dismissed) return;
  m_dismissed = true;
  if (m_hWnd == nullptr) return;
  ShowWindow(SW_HIDE);
  PostMessageW(WM_CLOSE, 0, 0);
}

int ComboWnd::GetHotIndex() const { return m_list != nullptr ? m_list->GetHoverIndex() : -1; }

void ComboWnd::MoveHot(int delta) {
  if (m_list == nullptr) return;
  const int count = m_list->GetItemCount();
  if (count == 0) return;
  int index = m_list->GetHoverIndex();
  if (index < 0) index = m_list->GetSelectedIndex();
  index = index < 0 ? (delta > 0 ? 0 : count - 1) : std::clamp(index + delta, 0, count - 1);
  m_list->SetHoverIndex(index, true);
}

void ComboWnd::InitUI(CRect client) {
  m_manager.SetBackColor(0x221E1B, 0x3A332D);
  if (m_combo == nullptr) return;
  if (!m_combo->GetBackImage().empty()) {
    if (LoadBKImage(m_combo->GetBackImage())) SetBackMode(BackModeFrame, 6);
  } else if (m_combo->GetBackImageID() != 0) {
    if (LoadBKImage(m_combo->GetBackImageID(), m_combo->GetBackImageType())) SetBackMode(BackModeFrame, 6);
  }
  if (m_combo->GetScrollVID() != 0 || m_combo->GetScrollHID() != 0) {
    SetScrollResID(m_combo->GetScrollVID(), m_combo->GetScrollHID());
  }
  const int pad = MComboBox::kListPadding / 2;
  m_list = static_cast<CComboBoxList*>(
      CreateControl(L"CComboBoxList", kListId, CRect(0, pad, client.Width(), client.Height() - pad), nullptr, 1, 1));
  if (m_list == nullptr) return;
  UINT hAlign = 1, vAlign = 4;
  m_combo->GetAlignment(hAlign, vAlign);
  m_list->SetAlignment(hAlign, vAlign);
  m_list->SetFont(m_combo->GetTextFont().c_str(), m_combo->GetFontWidth(), m_combo->GetFontStyle());
  m_list->SetItemColors(m_combo->GetItemTextColor(), m_combo->GetSelectedTextColor(),
                        m_combo->GetDisabledTextColor());
  m_list->SetItems(m_combo->GetItems(), m_combo->GetCurSel());
}

LRESULT ComboWnd::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (m_dismissed || m_combo == nullptr) return 0;
  if (id == kListId && code == CN_CLICK && lParam == MComboBox::kPickTag) {
    PostMessageW(kPickMessage, wParam, 0);
    return 1;
  }
  return 0;
}

LRESULT ComboWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kPickMessage) {
    if (!m_dismissed && m_combo != nullptr) {
      m_combo->OnMessage(m_combo->GetControlID(), CN_CLICK, wParam, MComboBox::kPickTag);
    }
    return 1;
  }
  return MDialog::OnWindowMessage(msg, wParam, lParam);
}

LRESULT ComboWnd::OnNcActivate(int active) {
  if (active || m_dismissed) return 0;
  if (MComboBox* combo = m_combo) {
    // The combo closes the list (and resets its look) in answer.
    combo->OnMessage(combo->GetControlID(), MComboBox::kDropDownClosed, 0, 0);
  }
  Dismiss();
  return 0;
}

LRESULT ComboWnd::OnKeyDown(UINT vk, UINT, UINT) {
  if (m_dismissed || m_combo == nullptr) return 0;
  switch (vk) {
    case VK_ESCAPE:
      m_combo->CloseDropDown();
      break;
    case VK_RETURN:
      if (GetHotIndex() >= 0) {
        PostMessageW(kPickMessage, WPARAM(GetHotIndex()), 0);
      } else {
        m_combo->CloseDropDown();
      }
      break;
    case VK_UP:
    case VK_DOWN:
      MoveHot(vk == VK_DOWN ? 1 : -1);
      break;
    default:
      break;
  }
  return 0;
}

void ComboWnd::PostNcDestroy() {
  if (m_combo != nullptr) m_combo->DropDownDestroyed(this);
  m_combo = nullptr;
  if (!m_deleting) delete this;
}

}  // namespace DUI
