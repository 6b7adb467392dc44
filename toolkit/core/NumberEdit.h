#pragma once
// NumberEdit: a number field from 0 to 20 with two inner stepper buttons,
// id 20 (increase) and id 21 (decrease). A press on the number opens the
// toolkit's text editor (digits only); it sends CN_EDITBEGIN, CN_EDITCHANGE
// and CN_EDITEND as MEdit does, and the number is brought into 0..20 when
// the editor closes. A step that changes the value sends CN_CLICK; a step
// at a bound changes nothing and sends nothing. Space while the field has
// the focus sends CN_PRESS then CN_CLICK. Other notifications of its
// children pass on.
//
// NumberEdit2 is built as a NumberEdit.

#include <memory>

#include "toolkit/core/MPanel.h"
#include "toolkit/core/TextEditor.h"

namespace DUI {

class NumberEdit : public MPanel {
 public:
  static constexpr UINT kIncreaseId = 20;
  static constexpr UINT kDecreaseId = 21;
  static constexpr int kMinimum = 0;
  static constexpr int kMaximum = 20;

  NumberEdit(MObject* parent, UINT id, CRect rect, int visible);
  ~NumberEdit() override;

  // The open editor's text while it is open, else the stored text.
  CString GetEditText() const;
  void SetEditText(const wchar_t* text);
  // The decimal number at the start of the text (0 without digits).
  int GetValue() const;
  void SetEditFont(const wchar_t* name, int size, int style);
  void SetEditBKColor(COLORREF colour);
  COLORREF GetEditBKColor() const { return m_editBack; }
  // The text rectangle relative to the control; empty restores the
  // default (left of the steppers).
  void SetTextRect(CRect rect);
  CRect GetTextRect() const;
  int IsEditFocused() const { return m_editor && m_editor->IsOpen(); }
  bool OpenEditor();
  void CloseEditor();
  TextEditor* GetEditor() const { return m_editor.get(); }

  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect clip) override;
  void SetControlRect(CRect rect) override;
  void SetControlVisible(int visible) override;
  void SetControlEnabled(int enabled) override;
  int SetControlFocus(int focus) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;

 private:
  void LayoutButtons();
  // Moves the value by delta within the bounds; CN_CLICK when it changed.
  void Step(int delta);

  COLORREF m_editBack = 0x604E3A;
  // Kept for callers that read it; the number is drawn in the control's
  // text colour (white), which reads on the field where this does not.
  Color m_editText{0xFF050505};
  CRect m_textRect;
  std::unique_ptr<TextEditor> m_editor;
};

}  // namespace DUI
