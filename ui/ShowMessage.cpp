#include "ui/ShowMessage.h"

#include "ui/CUIMessageBox.h"

namespace ui {

using namespace DUI;

int ShowMessage(const wchar_t* text, HWND parent, const wchar_t* title, int kind) {
  CUIMessageBox box(title, text, kind);
  box.LoadBKImage(L"bk_prompt.png");
  box.SetBackMode(BackModeFrame, 30);
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN. No tool-window
  // style: the box must take the activation, and with it Enter and Escape.
  if (box.Create(parent, L"MessageBox", 0x96000000, 0, CRect(0, 0, 430, 230)) == nullptr) return 0;
  box.CenterWindow(nullptr);
  const UINT result = box.ShowModal(SW_SHOWNORMAL);
  box.DestroyWindow();
  return result == UINT(-1) ? 0 : int(result);
}

}  // namespace ui
