#pragma once
// ComboWnd: the drop-down window of an MComboBox. A pop-up window titled
// "ComboWnd" (WS_POPUP with WS_EX_TOOLWINDOW: placed exactly where asked,
// never taking the activation from the dialog that owns it) over the
// combo's drop-down background image, holding one CComboBoxList filled with
// the combo's items. It reports a pick and its dismissal to the combo, and
// deletes itself when its window is destroyed.

#include "toolkit/core/MDialog.h"

namespace DUI {

class MComboBox;
class CComboBoxList;

class ComboWnd : public MDialog {
 public:
  static constexpr const wchar_t* kTitle = L"ComboWnd";
  static constexpr UINT kListId = 100;
  // A pick (wParam: the row) delivered from the window's own queue: the
  // combo then updates its dialog while this window holds none of its own
  // locks, so the two windows' locks are never taken in both orders.
  static constexpr UINT kPickMessage = WM_APP + 0x0514;

  explicit ComboWnd(MComboBox* combo);
  ~ComboWnd() override;

  const wchar_t* GetWindowClassName() const override { return L"ComboWnd"; }

  // Creates and shows the window at rect (screen), owned by owner.
  bool Open(HWND owner, CRect rect);
  // Hides the window at once and closes it from the message loop, so that
  // a handler running inside it can return safely.
  void Dismiss();
  // The combo no longer listens (it is closing the list or going away).
  void DetachCombo() { m_combo = nullptr; }
  MComboBox* GetCombo() const { return m_combo; }
  CComboBoxList* GetList() const { return m_list; }
  // The row the pointer or the arrow keys point at, -1 for none.
  int GetHotIndex() const;
  void MoveHot(int delta);

  void InitUI(CRect client) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnNcActivate(int active) override;
  // Up and Down move the highlight, Enter picks it, Escape closes.
  LRESULT OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
  void PostNcDestroy() override;

 private:
  MComboBox* m_combo = nullptr;
  CComboBoxList* m_list = nullptr;
  bool m_dismissed = false;
  bool m_deleting = false;
};

}  // namespace DUI
