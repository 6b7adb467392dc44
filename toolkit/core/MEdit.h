#pragma once
// MEdit: a one-line edit field. It draws its text (or, while the text is
// empty, its hint) itself and opens the toolkit's text editor over its text
// rectangle on a press. Notifications: CN_EDITBEGIN (30) when the editor
// opens, CN_EDITCHANGE (26) on every change of the text by the user,
// CN_EDITEND (29) when it closes; CN_EDITBUTTON (31) for a click on the
// icon, CN_CLICK (2) for a completed click, CN_PRESS then CN_CLICK for
// Space while the field has the focus and no editor is open.
//
// MRichEdit and MEditEx are built as MEdit variants.

#include <memory>

#include "toolkit/core/MControlFont.h"
#include "toolkit/core/TextEditor.h"

namespace DUI {

class MEdit : public MControlFont {
 public:
  MEdit(MObject* parent, UINT id, CRect rect, const wchar_t* hint, int visible, int enabled);
  ~MEdit() override;

  // The open editor's text while it is open, else the stored text.
  CString GetEditText() const;
  void SetEditText(const wchar_t* text);
  void SetTipInfo(const wchar_t* hint);
  CString GetTipInfo() const { return m_hint; }
  void SetLimitText(int limit);
  int GetLimitText() const { return m_limit; }
  void EnablePassWord(int on);
  void SetPassWordChar(wchar_t mark);
  void SetReadOnly(int on);
  void SetNumberOnly(int on);
  void EnableMultLine(int on) { m_multiLine = on; }
  // 0: a key-capture field (no characters, no input method).
  void EnableCharMessage(int on);
  void SetEditBKColor(COLORREF colour);
  COLORREF GetEditBKColor() const { return m_editBack; }
  void SetEditTextColor(Color colour) { m_editText = colour; }
  Color GetEditTextColor() const { return m_editText; }
  int SetIconImage(const wchar_t* file, int count);
  // The text rectangle relative to the control's top-left corner; empty
  // restores the default (the rect less an 8-pixel margin and the icon).
  void SetTextRect(CRect rect);
  int IsEditFocused() const { return m_editor && m_editor->IsOpen(); }
  // Opens the editor as a press does (all text selected); closes it.
  bool OpenEditor();
  void CloseEditor();
  // The editor, created on first use (null before).
  TextEditor* GetEditor() const { return m_editor.get(); }
  // The text rectangle and the icon's, in the control's coordinates.
  CRect GetTextRect() const;
  CRect GetIconRect() const;
  // The editor's rectangle: the text rectangle widened by its margin.
  CRect EditorRect() const;

  void DrawControl(HDC& dc, CRect clip) override;
  void SetControlTitle(const wchar_t* title) override;
  void SetControlRect(CRect rect) override;
  void SetControlVisible(int visible) override;
  void SetControlEnabled(int enabled) override;
  int SetControlFocus(int focus) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  int OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers) override;

 protected:
  // Sets up the editor from the field's settings.
  virtual void ConfigureEditor(TextEditor& editor);
  // Keys of a key-capture field while its editor is open.
  virtual int OnCaptureKey(UINT vk, UINT modifiers);

  CString m_hint;
  int m_limit = 120;
  int m_password = 0;
  wchar_t m_passwordChar = TextEditor::kDefaultPasswordChar;
  int m_readOnly = 0;
  int m_numberOnly = 0;
  int m_multiLine = 0;
  int m_charMessage = 1;
  COLORREF m_editBack = 0x222527;
  // Kept for callers that read it; the text is drawn in the control's text
  // colour, since this near-black would not read on the dark field.
  Color m_editText{0xFE050505};
  const Image* m_icon = nullptr;
  int m_iconWidth = 0;
  int m_iconHeight = 0;
  CRect m_textRect;
  std::unique_ptr<TextEditor> m_editor;
  int m_hover = 0;
  int m_downInside = 0;
  int m_iconPressed = 0;
};

}  // namespace DUI
