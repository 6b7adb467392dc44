#include "ui/SaveWaitDlg.h"

#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MProgress2.h"
#include "toolkit/core/MText.h"

namespace ui {

using namespace DUI;

HWND SaveWaitDlg::CreateWait(HWND owner) {
  // A notice: it never takes the activation from the window being worked in.
  HWND hwnd = Create(owner, L"SaveWait", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                     CRect(0, 0, kWidth, kHeight));
  if (hwnd != nullptr) CenterWindow(nullptr);
  return hwnd;
}

void SaveWaitDlg::InitUI(CRect client) {
  const int w = client.Width();
  m_logo = static_cast<MPicture*>(CreateControl(L"MPicture", kLogoId, CRect(10, 10, 10, 10), nullptr, 1, 1));
  if (m_logo != nullptr && m_logo->SetImage(L"logo.png", 1)) {
    // At its natural size.
    const CSize size = m_logo->GetImageSize();
    m_logo->SetRect(CRect(10, 10, 10 + size.cx, 10 + size.cy));
  }
  m_text = static_cast<MText*>(
      CreateControl(L"MText", kTextId, CRect(10, 100, w - 10, 130), shell::GetText(kLanguageTextId).c_str(), 1, 1));
  if (m_text != nullptr) {
    m_text->SetFontWidth(20);
    m_text->SetAlignment(1, 4);
  }
  m_progress = static_cast<MProgress2*>(CreateControl(L"MProgress2", kProgressId, CRect(10, 130, w - 10, 150),
                                                      nullptr, 1, 1));
  if (m_progress != nullptr) m_progress->AddMTimer();
}

int SaveWaitDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  SetTimer(kHideTimer, kShowMs);
  m_progressTimer = SetMTimer(kProgressPeriodMs);
  return 1;
}

void SaveWaitDlg::Restart() {
  m_restarts = 0;
  if (m_progress != nullptr) {
    m_progress->SetRun(1, -1);
    m_progress->SetProgress(0);
  }
  KillTimer(kHideTimer);
  SetTimer(kHideTimer, kShowMs);
  ShowWindow(SW_SHOW);
}

void SaveWaitDlg::OnTimer(UINT id) {
  if (id != kHideTimer) return;
  KillTimer(kHideTimer);
  ShowWindow(SW_HIDE);
}

}  // namespace ui
