#pragma once
// RecordEditDlg: the small modal dialog in which the user presses the key
// (or clicks the mouse button over the field) that a keystroke inserted into
// a macro is to carry.
//
// Controls: title 31 (always empty), close 32 (cancel), the caption 33, the
// capture field 34 and the confirm button 35. While the field is entered,
// the dialog decodes its own key and button messages into raw key events
// (OnRawKey) as the main window does for its key capture: a key press takes
// its code and name, a mouse button counts only while the cursor lies over
// the field. ShowModal ends with 1 for confirm and 2 for cancel.

#include <optional>
#include <string>

#include "toolkit/core/MDialog.h"
#include "ui/RawKeyEvent.h"

namespace DUI {
class MText;
class MEdit;
class MButton;
class CImageButton;
}  // namespace DUI

namespace ui {

class RecordEditDlg : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kTitleId = 31;
  static constexpr DUI::UINT kCloseId = 32;
  static constexpr DUI::UINT kCaptionId = 33;
  static constexpr DUI::UINT kFieldId = 34;
  static constexpr DUI::UINT kConfirmId = 35;
  static constexpr int kWidth = 360;
  static constexpr int kHeight = 150;

  RecordEditDlg();
  ~RecordEditDlg() override;

  // Creates the dialog owned by owner, centred, hidden until shown.
  HWND CreateDlg(HWND owner);
  // Creates, runs and destroys one dialog: true with the captured code and
  // name when it was confirmed.
  static bool Run(HWND owner, int& code, std::wstring& name);

  // A decoded key or button event while the field listens; screen is where
  // the pointer was when a button event was queued (default: where it is).
  void OnRawKey(const RawKeyEvent& event, std::optional<POINT> screen = std::nullopt);
  bool IsListening() const { return m_listening; }
  int GetCode() const { return m_code; }
  int GetKind() const { return m_kind; }
  const std::wstring& GetName() const { return m_name; }
  DUI::MEdit* GetField() const { return m_field; }

  void InitUI(DUI::CRect client) override;
  void UISize(DUI::CRect client) override;
  int OnInitDialog() override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;

 private:
  std::wstring m_title;
  std::wstring m_name;
  int m_code = 0;
  int m_kind = 0;
  bool m_listening = false;

  DUI::MText* m_titleText = nullptr;
  DUI::CImageButton* m_close = nullptr;
  DUI::MText* m_caption = nullptr;
  DUI::MEdit* m_field = nullptr;
  DUI::MButton* m_confirm = nullptr;
};

}  // namespace ui
