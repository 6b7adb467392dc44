#include "ui/DPIMsgDlg.h"

#include <string>

#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MProgress.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Manager.h"

namespace ui {

using namespace DUI;

CRect DPIMsgDlg::CornerRect(const RECT& workArea) {
  return CRect(workArea.right - 302, workArea.bottom - 132, workArea.right - 2, workArea.bottom - 2);
}

HWND DPIMsgDlg::CreateMsg(HWND owner) {
  RECT work{0, 0, 1920, 1080};
  platform::GetWorkArea(&work);
  // A notice: it never takes the activation from the window being worked in.
  HWND hwnd = Create(owner, L"DPIMsgDlg", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CornerRect(work));
  if (hwnd != nullptr) ShowWindow(SW_HIDE);
  return hwnd;
}

void DPIMsgDlg::InitUI(CRect client) {
  const int w = client.Width();
  m_close = CreateControl(L"CImageButton", kCloseId, CRect(w - 36, 10, w - 6, 40), nullptr, 1, 1);
  if (auto* close = dynamic_cast<CImageButton*>(m_close)) {
    close->SetImage(L"sysbtn_close.png", 4);
    close->SetTooltip(shell::GetText(5).c_str());
  }
  m_valueArea = static_cast<MText*>(CreateArea(L"MText", kValueId, CRect(10, 30, 170, 80), L"1600", 1, 1));
  if (m_valueArea != nullptr) {
    m_valueArea->SetTextColor(Manager::m_select_color);
    m_valueArea->SetFontWidth(36);
  }
  m_unitArea = static_cast<MText*>(CreateArea(L"MText", kUnitId, CRect(170, 50, 310, 80), L"DPI", 1, 1));
  if (m_unitArea != nullptr) {
    m_unitArea->SetFontWidth(20);
    m_unitArea->SetTextColor(Color(0xFFC8C8C8));
  }
  m_bar = static_cast<MProgress*>(CreateControl(L"MProgress", kBarId, CRect(10, 80, w - 20, 100), nullptr, 1, 1));
  if (m_bar != nullptr) m_bar->SetMaximum(kBarMaximum);
}

void DPIMsgDlg::UISize(CRect) {}

int DPIMsgDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  MoveToCorner();
  return 1;
}

void DPIMsgDlg::MoveToCorner() {
  RECT work{};
  if (!platform::GetWorkArea(&work)) return;
  const CRect r = CornerRect(work);
  MoveWindow(&r, 1);
}

void DPIMsgDlg::ShowValue(int dpi) {
  if (GetSafeHwnd() == nullptr) return;
  m_value = dpi;
  m_valueText = std::to_wstring(dpi);
  if (m_valueArea != nullptr) m_valueArea->SetTitle(m_valueText.c_str());
  // The bar clamps values above its maximum to a full bar.
  if (m_bar != nullptr) m_bar->SetProgress(dpi);
  MoveToCorner();
  // Raised on every show: another topmost window may have covered it since.
  SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ShowWindow(SW_SHOWNOACTIVATE);
  KillTimer(kHideTimer);
  SetTimer(kHideTimer, kShowMs);
  InvalidateRect(GetDialogClientRect(), 0);
}

LRESULT DPIMsgDlg::OnMessage(UINT id, UINT code, WPARAM, LPARAM) {
  if (code != CN_CLICK) return 0;
  if (id == kCloseId) {
    KillTimer(kHideTimer);
    ShowWindow(SW_HIDE);
  }
  return 1;
}

void DPIMsgDlg::OnTimer(UINT id) {
  if (id != kHideTimer) return;
  KillTimer(kHideTimer);
  ShowWindow(SW_HIDE);
}

void DPIMsgDlg::Close() {
  m_bar = nullptr;
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

}  // namespace ui
