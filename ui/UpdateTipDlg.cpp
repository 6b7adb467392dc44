#include "ui/UpdateTipDlg.h"

#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/core/MProgress.h"
#include "toolkit/core/MText.h"

namespace ui {

using namespace DUI;

HWND UpdateTipDlg::CreateTip(HWND parent) {
  LoadBKImage(L"img_upgrade_bkg.png");
  // The skin's background has its own size: drawn as a nine-grid it fits
  // the window with its border intact.
  SetBackMode(BackModeFrame, 30);
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
  HWND hwnd = Create(parent, L"UpdateTipDlg", 0x96000000, 0, CRect(0, 0, kWidth, kHeight));
  if (hwnd != nullptr) CenterWindow(nullptr);
  return hwnd;
}

int UpdateTipDlg::Run(HWND parent) {
  if (CreateTip(parent) == nullptr) return 0;
  m_open = true;
  const UINT result = ShowModal(SW_SHOWNORMAL);
  m_open = false;
  DestroyWindow();
  return result == UINT(-1) ? 0 : int(result);
}

void UpdateTipDlg::End() {
  if (m_open) DoOK();
}

void UpdateTipDlg::InitUI(CRect client) {
  SetLayeredWindow(1);
  const int w = client.Width();
  if (auto* text = static_cast<MText*>(
          CreateControl(L"MText", kTextId, CRect(20, 10, w - 20, 60), shell::GetText(596).c_str(), 1, 1))) {
    text->SetTextColor(Color(0xFFC80A0A));
    text->SetAlignment(1, 4);
    text->SetMultiLine(1);
  }
  if (auto* state = static_cast<MText*>(CreateControl(L"MText", kStateId, CRect(20, 60, w - 20, 80), L"升级中", 1, 1))) {
    state->SetTextColor(Color(0xFFFFFFFF));
    state->SetAlignment(1, 4);
  }
  // A running bar: the update is under way.
  if (auto* bar = static_cast<MProgress*>(
          CreateControl(L"MProgress", kProgressId, CRect(20, 80, w - 20, 116), nullptr, 1, 1))) {
    bar->AddMTimer();
    bar->SetRun(1, 0);
  }
}

int UpdateTipDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  SetMTimer(kProgressPeriodMs);
  return 1;
}

}  // namespace ui
