#include "ui/AboutDlg.h"

#include <cstdio>

#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"

namespace ui {

using namespace DUI;

namespace {

const Color kGrey(0xFF969696);

}  // namespace

AboutDlg::AboutDlg(int release) : m_release(release) {}

CString AboutDlg::FirmwareLine(int release) {
  wchar_t hex[16];
  std::swprintf(hex, 16, L"%x", unsigned(release));
  const CString digits = hex;
  const CString major = digits.substr(0, 1);
  const CString minor = digits.size() > 2 ? digits.substr(digits.size() - 2) : digits;
  return shell::GetText(16) + L": v" + major + L"." + minor;
}

void AboutDlg::ShowAbout(HWND owner, int release) {
  AboutDlg about(release);
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
  if (about.Create(owner, L"About Window", 0x96000000, 0, CRect(0, 0, kWidth, kHeight)) == nullptr) return;
  about.CenterWindow(nullptr);
  about.ShowModal(SW_SHOWNORMAL);
  about.DestroyWindow();
}

void AboutDlg::InitUI(CRect client) {
  const int x0 = client.left, w = client.right, h = client.bottom;
  // The skin's close button is 30 x 30 (four frames across): its rectangle
  // is the image's, ending 10 pixels from the right edge.
  if (auto* close = dynamic_cast<CImageButton*>(
          CreateControl(L"CImageButton", kCloseId, CRect(w - 40, 15, w - 10, 45), nullptr, 1, 1))) {
    close->SetImage(L"sysbtn_close.png", 4);
    close->SetTooltip(shell::GetText(5).c_str());
  }
  const int l = (w - x0 - 260) / 2;
  if (auto* logo = static_cast<MPicture*>(CreateControl(L"MPicture", kLogoId, CRect(l, 80, l + 260, 120), nullptr,
                                                        1, 1))) {
    logo->SetImage(L"logo.png", 1);
  }
  const CString line = FirmwareLine(m_release);
  const int m = (w - x0) / 2;
  auto text = [&](UINT id, CRect rect, const CString& title) {
    if (auto* t = static_cast<MText*>(CreateControl(L"MText", id, rect, title.c_str(), 1, 1))) {
      t->SetTextColor(kGrey);
      t->SetAlignment(1, 4);
    }
  };
  text(kVersionTopId, CRect(m - 100, 150, m + 100, 185), line);
  text(kVersionId, CRect(m - 100, 185, m + 100, 220), line);
  text(kTextId, CRect(10, h - 40, w - 10, h - 5), shell::GetText(2));
}

int AboutDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  GetPaintManager()->SetBackColor(0x1A1A1A, 0x969696);
  return 1;
}

LRESULT AboutDlg::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  if (code == CN_CLICK && id == kCloseId) DoOK();
  return 0;
}

int AboutDlg::PreTranslateMessage(MSG* msg) {
  // Escape closes like the close button.
  if (msg != nullptr && msg->hwnd == GetSafeHwnd() && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    DoOK();
    return 1;
  }
  return MDialog::PreTranslateMessage(msg);
}

}  // namespace ui
