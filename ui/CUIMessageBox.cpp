#include "ui/CUIMessageBox.h"

#include <vector>

#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MText.h"

namespace ui {

using namespace DUI;

namespace {

constexpr int kFontSize = 16;
const Color kWhite(0xFFFFFFFF);

}  // namespace

CUIMessageBox::CUIMessageBox(const wchar_t* title, const wchar_t* message, int kind)
    : m_titleText(title != nullptr ? title : L""), m_messageText(message != nullptr ? message : L""), m_kind(kind) {}

void CUIMessageBox::InitUI(CRect client) {
  SetLayeredWindow(1);
  BuildControls(*this, client, m_titleText, m_messageText, m_kind, 0);
}

void CUIMessageBox::BuildControls(MDialog& into, CRect area, const CString& titleText, const CString& messageText,
                                  int kind, UINT idOffset) {
  const int w = area.Width(), h = area.Height();
  auto place = [&](CRect r) {
    r.OffsetRect(area.left, area.top);
    return r;
  };
  if (auto* title = static_cast<MText*>(into.CreateControl(L"MText", kTitleId + idOffset,
                                                           place(CRect(20, 15, w - 20, 45)), titleText.c_str(), 1,
                                                           1))) {
    title->SetFontWidth(kFontSize);
    title->SetAlignment(1, 4);
    title->SetTextColor(kWhite);
  }
  if (auto* message = static_cast<MText*>(into.CreateControl(L"MText", kMessageId + idOffset,
                                                             place(CRect(20, 50, w - 20, h - 50)),
                                                             messageText.c_str(), 1, 1))) {
    message->SetFontWidth(kFontSize);
    message->SetAlignment(1, 4);
    message->SetMultiLine(1);
    message->SetTextColor(kWhite);
  }

  struct ButtonLayout {
    UINT id;
    int textId;
    CRect rect;
  };
  std::vector<ButtonLayout> buttons;
  if (kind == kOneButton) {
    buttons.push_back({kFirstButtonId, 20, CRect(60, h - 50, w - 60, h - 14)});
  } else if (kind == kTwoButtons) {
    buttons.push_back({kFirstButtonId, 23, CRect(w / 2 - 120, h - 50, w / 2 - 20, h - 14)});
    buttons.push_back({kSecondButtonId, 25, CRect(w / 2 + 20, h - 50, w / 2 + 120, h - 14)});
  }
  for (const ButtonLayout& b : buttons) {
    const std::wstring text = shell::GetText(b.textId);
    auto* button =
        static_cast<MButton*>(into.CreateControl(L"MButton", b.id + idOffset, place(b.rect), text.c_str(), 1, 1));
    if (button == nullptr) continue;
    button->SetImage(L"img_button.png", 4);
    button->SetFontWidth(kFontSize);
    button->SetTextColor(kWhite);
  }
}

int CUIMessageBox::OnInitDialog() {
  MDialog::OnInitDialog();
  SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return 1;
}

LRESULT CUIMessageBox::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  if (code != CN_CLICK) return 0;
  if (id == kFirstButtonId) DoOK();
  else if (id == kSecondButtonId) DoCancel();
  return 0;
}

int CUIMessageBox::PreTranslateMessage(MSG* msg) {
  if (msg != nullptr && msg->hwnd == GetSafeHwnd() && msg->message == WM_KEYDOWN &&
      (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) && (m_kind == kOneButton || m_kind == kTwoButtons)) {
    // Enter is the first button; Escape the last (the only one of a
    // one-button box).
    if (msg->wParam == VK_RETURN || m_kind == kOneButton) DoOK();
    else DoCancel();
    return 1;
  }
  return MDialog::PreTranslateMessage(msg);
}

}  // namespace ui
