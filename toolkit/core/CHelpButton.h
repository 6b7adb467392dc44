#pragma once
// CHelpButton: a small picture (one frame) that explains something. While
// the pointer is over it, its title is shown in a bubble 20 pixels right of
// its top-left corner; the bubble hides when the pointer leaves, the window
// loses activation or the button is hidden or disabled. It sends nothing.

#include <memory>

#include "toolkit/core/BubbleWnd.h"
#include "toolkit/core/MControlFont.h"

namespace DUI {

class CHelpButton : public MControlFont {
 public:
  CHelpButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
  ~CHelpButton() override;

  // The bubble, once it has been shown (null before).
  const BubbleWnd* GetBubble() const { return m_bubble.get(); }
  bool IsBubbleShown() const { return m_bubble && m_bubble->IsShown(); }

  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  void SetControlVisible(int visible) override;
  void SetControlEnabled(int enabled) override;
  void SetControlTitle(const wchar_t* title) override;

 private:
  void ShowBubble();
  void HideBubble();

  std::unique_ptr<BubbleWnd> m_bubble;
};

}  // namespace DUI
