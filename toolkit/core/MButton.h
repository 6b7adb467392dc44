#pragma once
// MButton: the four-state push button (0 normal, 1 hover, 2 pressed,
// 3 disabled) drawn from a four-frame background strip stretched as a
// nine-grid, with a centred title. It is the base of the image, grouped,
// toggle and long-press buttons. It sends CN_PRESS when the left button
// goes down on it and CN_CLICK when the click completes (released inside
// after a press); a press that ends outside sends nothing.
//
// All four states are rendered once into a cache four columns wide; hover
// and press only change the column copied to the window.

#include <memory>

#include "toolkit/core/FourStateInput.h"
#include "toolkit/core/MControlFont.h"

namespace DUI {

class MButton : public MControlFont {
 public:
  MButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
  ~MButton() override;

  // The icon strip drawn over the background (owned by the button, not
  // from the window's cache): frame width = width / count. 1 on success.
  int SetIconImage(const wchar_t* file, int count);
  const Image* GetIconImage() const { return m_icon.get(); }
  CSize GetIconSize() const { return CSize(m_iconWidth, m_iconHeight); }
  // The rectangle the title is centred in, relative to the control; empty
  // means the whole control.
  void SetTextRect(CRect text);
  CRect GetTextRect() const { return m_textRect; }
  // The nine-grid corner of the background.
  void SetFrameSize(int frame);
  int GetFrameSize() const { return m_frameSize; }
  int GetState() const { return m_input.State(); }

  void SetControlEnabled(int enabled) override;
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;

  static constexpr int kColumns = 4;

 protected:
  void SetState(int state) { m_input.SetState(state); }
  // The cache column shown now: the state, unless a subclass shows its
  // checked look.
  virtual int DisplayColumn() const { return m_input.State(); }
  // Renders column i (0 to 3) into the cache at x = i * width.
  virtual void RenderColumn(int i, int w, int h);
  // Called on a release inside the button, before CN_CLICK; `pressed` tells
  // whether the press started on it.
  virtual void OnReleaseInside(bool pressed);
  // Whether a release inside sends CN_CLICK also without a press before it.
  virtual bool ClickWithoutPress() const { return false; }
  // The lParam of CN_CLICK.
  virtual LPARAM ClickParam() const { return 0; }
  // Background frame i of the strip, stretched over box as a nine-grid.
  void DrawBackground(int i, CRect box);
  // The title centred both ways in box.
  void DrawCentredTitle(CRect box, Color colour);
  // The icon frame that goes with state column i.
  int IconFrame(int i) const { return m_iconCount > 1 ? (i < m_iconCount ? i : m_iconCount - 1) : 0; }

  FourStateInput m_input{*this, true};  // the state index
  std::unique_ptr<Image> m_icon;
  int m_iconWidth = 0;
  int m_iconHeight = 0;
  int m_iconCount = 4;
  CRect m_textRect;
  CRect m_secondRect;
  int m_frameSize = 8;
};

}  // namespace DUI
