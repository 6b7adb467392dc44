#include "ui/UpdateTipDlg.h"

#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/core/MProgress.h"
#include "toolkit/core/MText.h"

namespace ui {

using namespace DUI;

int UpdateTipDlg::Run(HWND parent) {
  LoadBKImage(L"img_upgrade_bkg.png");
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
  if (Create(parent, L"UpdateTipDlg", 0x96000000, 0, CRect(0, 0, kWidth, kHeight)) == nullptr) return 0;
  CenterWindow(nullptr);
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
  CreateControl(L"MProgress", kProgressId, CRect(20, 80, w - 20, 116), nullptr, 1, 1);
}

}  // namespace ui
