#pragma once
// DPIControl: the row of sensitivity stage cards. Each card shows the stage
// number on its colour swatch and its DPI value below; one card is the
// selected stage. The control is a plain view: the page fills it, and it
// reports clicks (code 2 on a card, 9 on its colour swatch) and the value
// editor (30 opened, 26 text changed, 29 closed, lParam the stage).
//
// Index
//   1. Stages
//   2. Selection and the value editor
//   3. Geometry
//   4. Overrides: drawing and input
//   5. Fields

#include <memory>
#include <mutex>
#include <vector>

#include "platform/draw/Font.h"
#include "toolkit/core/MPanel.h"

namespace DUI {

class TextEditor;

class DPIControl : public MPanel {
 public:
  static constexpr int kCardWidth = 110;
  static constexpr int kCardPitch = 130;
  // The top of a card that answers as its colour swatch.
  static constexpr int kColorAreaHeight = 40;
  // What GetDPIValue answers below and past the stages.
  static constexpr int kValueBelow = 50;
  static constexpr int kValuePast = 26000;
  static constexpr int kEditLimit = 5;

  struct Item {
    int dpi = 0;
    int colour = 0;  // COLORREF 0x00BBGGRR
    CRect card;      // relative to the control
    CRect valueRect;  // where the value editor opens, relative to the control
  };

  // The last argument has no effect.
  DPIControl(MObject* parent, UINT id, CRect rect, int visible, int);
  ~DPIControl() override;

  // --- 1. Stages ----------------------------------------------------------------------
  // Appends a stage; returns its index.
  int AddItem(int dpi, int colour);
  void ClearList();
  // Out-of-range indexes change nothing.
  void SetDPIValue(int index, int dpi);
  void SetDPIColorValue(int index, int colour);
  // 50 below the first stage, 26000 past the last.
  int GetDPIValue(int index);
  // 0 out of range.
  int GetDPIColorValue(int index);
  int GetItemCount();
  // Card rectangle of a stage in window coordinates (empty out of range).
  CRect GetItemRect(int index);
  CRect GetValueRect(int index);

  // --- 2. Selection and the value editor ---------------------------------------------------
  // Closes the value editor, then selects index (not range-checked).
  void SetSelectItem(int index);
  int GetSelectItem() const { return m_selected; }
  CString GetInspectState() override { return L"selected:" + std::to_wstring(m_selected); }
  // The stage whose colour swatch was pressed last (-1 before any).
  int GetColorItem() const { return m_colorItem; }
  int GetHoverItem() const { return m_hover; }
  // The editor's text while it is open, else the stored text.
  CString GetEditText();
  void SetEditText(const wchar_t* text);
  int IsEditing() const;
  // The stage the open editor edits (-1 when closed).
  int GetEditItem() const { return m_editItem; }
  TextEditor* GetEditor() const { return m_editor.get(); }
  void CloseEdit();

  // --- 4. Overrides ------------------------------------------------------------------------
  void DrawControl(HDC& dc, CRect clip) override;
  int OnControlMouseMove(UINT flags, CPoint pt) override;
  int OnControlLButtonDown(UINT flags, CPoint pt) override;
  int OnControlLButtonUp(UINT flags, CPoint pt) override;
  void SetControlRect(CRect rect) override;
  void SetControlVisible(int visible) override;

 private:
  // --- 3. Geometry -------------------------------------------------------------------------
  void Relayout();
  // The card under a window point, -1 for none.
  int ItemAt(CPoint pt);
  void SetHover(int index);
  bool InColorArea(int index, CPoint pt);
  bool InValueRect(int index, CPoint pt);
  int OpenEdit(int index);
  void DrawCard(HDC dc, int index, const Item& item);

  // --- 5. Fields ----------------------------------------------------------------------------
  std::vector<Item> m_items;
  std::recursive_mutex m_itemsLock;
  int m_hover = -1;
  int m_colorItem = -1;
  int m_selected = 0;
  int m_cardWidth = kCardWidth;
  int m_editItem = -1;
  CString m_editText;
  std::unique_ptr<TextEditor> m_editor;
  Color m_highlight;
  platform::FontSpec m_font;
};

}  // namespace DUI
