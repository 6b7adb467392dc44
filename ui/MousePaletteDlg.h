#pragma once
// MousePaletteDlg: the program's colour dialog, 290 x 150, centred on its
// owner and modal. It shows the colour it was given in the palette, the
// R, G, B fields and the preview; picking in the palette, a preset swatch
// or typing into a field (each limited to 0 to 255) makes a new result, OK
// keeps it and the close button or Escape cancels.
//
// Controls: close 31, palette 32, preview 33, labels "R:", "G:", "B:"
// 34 to 36, fields 37 to 39, presets 40 to 46 (group "DEFAULTCOLOR"),
// OK 48. Colours are COLORREF integers, red in the low byte.

#include <optional>

#include "toolkit/core/MDialog.h"

namespace DUI {
class MPalette;
class MEdit;
class CArea;
}  // namespace DUI

namespace ui {

class MousePaletteDlg : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kCloseId = 31;
  static constexpr DUI::UINT kPaletteId = 32;
  static constexpr DUI::UINT kPreviewId = 33;
  static constexpr DUI::UINT kLabelId = 34;   // 34 to 36
  static constexpr DUI::UINT kFieldId = 37;   // 37 to 39: red, green, blue
  static constexpr DUI::UINT kPresetId = 40;  // 40 to 46
  static constexpr DUI::UINT kOkId = 48;
  static constexpr int kWidth = 290;
  static constexpr int kHeight = 150;
  static constexpr int kPresets = 7;
  static constexpr const wchar_t* kWindowName = L"PaletteDlg";

  explicit MousePaletteDlg(DUI::COLORREF colour);

  // Opens the dialog over owner (may be null) with colour and returns the
  // picked colour, or nothing when it was cancelled. Black is a colour
  // like any other: cancelling is told apart from it.
  static std::optional<DUI::COLORREF> Pick(HWND owner, DUI::COLORREF colour);

  // The colour OK would keep (the opening colour until something is picked).
  DUI::COLORREF GetResult() const { return m_result; }
  bool IsCancelled() const { return m_cancelled; }

  // A field's text limited to 0 to 255 (empty or no digits read as 0).
  static int ClampComponent(const DUI::CString& text);

  void InitUI(DUI::CRect client) override;
  int OnInitDialog() override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;

 private:
  // The fields and the preview show colour.
  void ShowFields(DUI::COLORREF colour);
  void ShowPreview(DUI::COLORREF colour);
  void FieldEdited(int field);
  void Cancel();

  DUI::COLORREF m_colour = 0;  // as opened
  DUI::COLORREF m_result = 0;
  bool m_cancelled = false;
  bool m_accepted = false;
  bool m_showing = false;  // the dialog itself is writing the fields
  DUI::MPalette* m_palette = nullptr;
  DUI::CArea* m_preview = nullptr;
  DUI::MEdit* m_fields[3] = {};
};

}  // namespace ui
