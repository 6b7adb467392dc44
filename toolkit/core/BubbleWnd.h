#pragma once
// BubbleWnd: the small topmost popup in which a help button shows its text
// beside a screen point. It never takes activation; lines break at the
// text's own line breaks and wrap at kMaxWidth pixels.

#include "toolkit/core/MWindow.h"

namespace DUI {

class BubbleWnd : public MWindow {
 public:
  BubbleWnd();
  ~BubbleWnd() override;

  const wchar_t* GetWindowClassName() const override { return L"BubbleWnd"; }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  bool CreateBubble(HWND owner);
  // Shows text with the bubble's top-left corner at the screen point.
  void ShowBubble(const CString& text, CPoint screenPt);
  void Hide();
  bool IsShown() const { return m_shown; }
  const CString& GetText() const { return m_text; }

  static constexpr int kMaxWidth = 300;

 private:
  void Paint();

  CString m_text;
  bool m_shown = false;
};

}  // namespace DUI
