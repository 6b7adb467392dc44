#pragma once
// TooltipWnd: the window's tooltip, a small borderless popup that the
// toolkit draws itself: a light background (0xF5F5F5), a thin border and
// the text wrapped at 256 pixels, placed below and right of the pointer.

#include "toolkit/core/MWindow.h"

namespace DUI {

class TooltipWnd : public MWindow {
 public:
  TooltipWnd();
  ~TooltipWnd() override;

  const wchar_t* GetWindowClassName() const override { return L"tooltips_class32"; }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  bool CreateTip(HWND owner);
  // Sets the text and shows the tip at the screen point without activating.
  void ShowTip(const CString& text, CPoint screenPt);
  void Hide();
  bool IsShown() const { return m_shown; }
  const CString& GetText() const { return m_text; }

  static constexpr int kMaxWidth = 256;
  static constexpr COLORREF kBackColor = 0xF5F5F5;

 private:
  void Paint();

  CString m_text;
  bool m_shown = false;
};

}  // namespace DUI
