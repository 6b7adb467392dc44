#pragma once
// CUIMessageBox: the program's own modal message box, with one button
// (kind 0), two buttons (kind 4) or none (any other kind). ShowMessage
// (ShowMessage.h) builds, shows and destroys one per call.
//
// Layout, for a client area W x H: the title (id 31) and the message (id
// 32) in white, then the buttons: kind 0 one button (id 33, text 20) across
// the bottom; kind 4 two buttons (id 33, text 23, and id 34, text 25) side
// by side. Button 33 closes with 1 (DoOK), button 34 with 2 (DoCancel).
// Enter answers as the first button and Escape as the last; a box without
// buttons closes only through the system (result 0).

#include "toolkit/core/MDialog.h"

namespace ui {

class CUIMessageBox : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kTitleId = 31;
  static constexpr DUI::UINT kMessageId = 32;
  static constexpr DUI::UINT kFirstButtonId = 33;
  static constexpr DUI::UINT kSecondButtonId = 34;
  static constexpr int kOneButton = 0;
  static constexpr int kTwoButtons = 4;

  // Null texts count as empty.
  CUIMessageBox(const wchar_t* title, const wchar_t* message, int kind);

  const DUI::CString& GetTitleText() const { return m_titleText; }
  const DUI::CString& GetMessageText() const { return m_messageText; }
  int GetKind() const { return m_kind; }

  // Builds the box's controls (ids offset by idOffset) into a dialog, laid
  // out over area as they are over the box's client area. The box uses it
  // for itself; previews use it to show a box inside another window.
  static void BuildControls(DUI::MDialog& into, DUI::CRect area, const DUI::CString& title,
                            const DUI::CString& message, int kind, DUI::UINT idOffset);

  void InitUI(DUI::CRect client) override;
  int OnInitDialog() override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  int PreTranslateMessage(MSG* msg) override;

 private:
  DUI::CString m_titleText;
  DUI::CString m_messageText;
  int m_kind = kOneButton;
};

}  // namespace ui
