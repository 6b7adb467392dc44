#include "ui/RecordEditDlg.h"

#include "platform/window/KeyTable.h"
#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"

namespace ui {

using namespace DUI;

namespace {

constexpr Color kWhite(0xFFFFFFFF);

// A mouse button message as a raw key event (mask and name); false for
// other messages.
bool DecodeButton(const MSG& msg, RawKeyEvent& event) {
  switch (msg.message) {
    case WM_LBUTTONDOWN:
      event.code = 1, event.name = L"LB";
      break;
    case WM_RBUTTONDOWN:
      event.code = 2, event.name = L"RB";
      break;
    case WM_MBUTTONDOWN:
      event.code = 4, event.name = L"MB";
      break;
    case WM_XBUTTONDOWN:
      if (HIWORD(msg.wParam) == 2) {
        event.code = 16, event.name = L"Forward";
      } else {
        event.code = 8, event.name = L"Backward";
      }
      break;
    default:
      return false;
  }
  event.kind = RawKeyEvent::kMouse;
  return true;
}

}  // namespace

RecordEditDlg::RecordEditDlg() = default;
RecordEditDlg::~RecordEditDlg() = default;

HWND RecordEditDlg::CreateDlg(HWND owner) {
  LoadBKImage(L"bk_prompt.png");
  SetBackMode(BackModeFrame, 30);
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN: it takes the
  // activation, and with it the keyboard.
  HWND hwnd = Create(owner, L"RecordEditDlg", 0x96000000, 0, CRect(0, 0, kWidth, kHeight));
  if (hwnd != nullptr) CenterWindow(nullptr);
  return hwnd;
}

bool RecordEditDlg::Run(HWND owner, int& code, std::wstring& name) {
  RecordEditDlg dlg;
  if (dlg.CreateDlg(owner) == nullptr) return false;
  const UINT result = dlg.ShowModal(5);
  code = dlg.GetCode();
  name = dlg.GetName();
  dlg.DestroyWindow();
  return result == 1;
}

void RecordEditDlg::InitUI(CRect client) {
  m_titleText = static_cast<MText*>(CreateArea(L"MText", kTitleId, CRect(), m_title.c_str(), 1, 1));
  if (m_titleText != nullptr) {
    m_titleText->SetTextColor(kWhite);
    m_titleText->SetFontWidth(16);
    m_titleText->SetAlignment(DT_CENTER, DT_VCENTER);
  }
  m_close = static_cast<CImageButton*>(CreateControl(L"CImageButton", kCloseId, CRect(), nullptr, 1, 1));
  if (m_close != nullptr) {
    m_close->SetImage(L"sysbtn_close.png", 4);
    m_close->SetTooltip(shell::GetText(5).c_str());
  }
  m_caption = static_cast<MText*>(CreateArea(L"MText", kCaptionId, CRect(), L"按键", 1, 1));
  if (m_caption != nullptr) {
    m_caption->SetTextColor(kWhite);
    m_caption->SetFontWidth(14);
    m_caption->SetAlignment(DT_LEFT, DT_VCENTER);
  }
  m_field = static_cast<MEdit*>(CreateControl(L"MEdit", kFieldId, CRect(), L"", 1, 1));
  if (m_field != nullptr) {
    m_field->SetImage(L"img_edit.png", 4);
    m_field->SetTextColor(kWhite);
    m_field->SetEditBKColor(0x535837);
    m_field->SetLimitText(10);
    m_field->EnableCharMessage(0);
    m_field->SetAlignment(DT_CENTER, DT_VCENTER);
    m_field->SetFontWidth(14);
  }
  m_confirm = static_cast<MButton*>(CreateControl(L"MButton", kConfirmId, CRect(), shell::GetText(22).c_str(), 1, 1));
  if (m_confirm != nullptr) {
    m_confirm->SetImage(L"img_button.png", 4);
    m_confirm->SetFontWidth(14);
  }
  UISize(client);
}

void RecordEditDlg::UISize(CRect client) {
  const int w = client.Width(), h = client.Height();
  if (m_titleText != nullptr) m_titleText->SetRect(CRect(w / 2 - 100, 10, w / 2 + 100, 40));
  if (m_close != nullptr) m_close->SetRect(CRect(w - 40, 15, w - 10, 45));
  if (m_caption != nullptr) m_caption->SetRect(CRect(25, 60, 125, 90));
  if (m_field != nullptr) m_field->SetRect(CRect(125, 60, 325, 90));
  if (m_confirm != nullptr) m_confirm->SetRect(CRect((w - 120) / 2 + 40, h - 50, (w - 120) / 2 + 160, h - 20));
}

int RecordEditDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  if (m_field != nullptr) {
    m_field->SetEditText(m_name.c_str());
    SetFocusControl(m_field);
    // Entering the field starts the capture.
    m_field->OpenEditor();
  }
  return 1;
}

LRESULT RecordEditDlg::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  switch (id) {
    case kFieldId:
      if (code == CN_EDITBEGIN) {
        if (m_field != nullptr) m_field->SetEditText(L"");
        m_listening = true;
      } else if (code == CN_EDITEND) {
        m_listening = false;
      }
      return 1;
    case kCloseId:
      if (code == CN_CLICK) DoCancel();
      return 1;
    case kConfirmId:
      if (code == CN_CLICK) DoOK();
      return 1;
    default:
      return 0;
  }
}

void RecordEditDlg::OnRawKey(const RawKeyEvent& event, std::optional<POINT> screen) {
  if (!m_listening || event.up != 0 || event.name.empty() || m_field == nullptr) return;
  if (event.kind == RawKeyEvent::kMouse) {
    POINT pt{};
    if (screen) {
      pt = *screen;
    } else if (!platform::GetCursorPos(&pt)) {
      return;
    }
    if (!platform::ScreenToClient(GetSafeHwnd(), &pt)) return;
    if (!m_field->GetRect().PtInRect(CPoint(pt.x, pt.y))) return;
  } else if (event.kind != RawKeyEvent::kKeyboard) {
    return;
  }
  m_code = event.code;
  m_kind = event.kind;
  m_name = event.name;
  m_field->SetEditText(m_name.c_str());
}

int RecordEditDlg::PreTranslateMessage(MSG* msg) {
  if (msg == nullptr || msg->hwnd != GetSafeHwnd() || !m_listening) return MDialog::PreTranslateMessage(msg);
  RawKeyEvent event;
  event.time = std::uint32_t(msg->time);
  if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
    event.kind = RawKeyEvent::kKeyboard;
    event.code = int(msg->wParam);
    event.name = platform::GetKeyName(UINT(msg->wParam));
    OnRawKey(event);
    // Every key is the key to capture, Tab, Enter and Escape included.
    return 1;
  }
  // Where the pointer was when the press was queued, not where it is now.
  if (DecodeButton(*msg, event)) OnRawKey(event, msg->pt);
  return MDialog::PreTranslateMessage(msg);
}

}  // namespace ui
