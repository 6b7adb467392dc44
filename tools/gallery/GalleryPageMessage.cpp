// The gallery's "message" page: buttons that open the message box of each
// kind (printing "message kind=K result=R" when it closes) and the save-wait
// notice, and beside them a preview of each box kind built with the box's
// own layout, so that a screenshot shows them.

#include <cstdio>
#include <functional>
#include <memory>

#include "shell/Localisation.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"
#include "ui/CUIMessageBox.h"
#include "ui/SaveWaitDlg.h"
#include "ui/ShowMessage.h"

using namespace DUI;

namespace {

// A push button that runs an action when its click completes.
class ActionButton : public MButton {
 public:
  ActionButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, std::function<void()> action)
      : MButton(parent, id, rect, title, 1, 1), m_action(std::move(action)) {}

 protected:
  void OnReleaseInside(bool pressed) override {
    MButton::OnReleaseInside(pressed);
    // After the click's own notification, outside this call: the action may
    // run a modal loop.
    if (pressed && m_action && m_manager != nullptr) m_manager->PostMessageW(kRunAction, WPARAM(this), 0);
  }

 public:
  static constexpr UINT kRunAction = WM_USER + 700;
  void Run() {
    if (m_action) m_action();
  }

 private:
  std::function<void()> m_action;
};

// Runs the actions the buttons post to the window.
class ActionRunner : public MControlFont {
 public:
  explicit ActionRunner(MObject* parent) : MControlFont(parent, 0, CRect(), nullptr, 1, 1, 0) {}
  void DrawControl(HDC&, CRect) override {}
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg != ActionButton::kRunAction || wParam == 0) return 0;
    reinterpret_cast<ActionButton*>(wParam)->Run();
    return 1;
  }
};

std::unique_ptr<ui::SaveWaitDlg>& WaitDialog() {
  static std::unique_ptr<ui::SaveWaitDlg> wait;
  return wait;
}

void BuildMessagePage(GalleryDialog& gallery, CRect client) {
  MDialog& dlg = gallery;
  const int w = client.Width();
  auto caption = [&](UINT id, CRect rect, const wchar_t* text, int size, ARGB colour) {
    auto* t = static_cast<MText*>(dlg.CreateArea(L"MText", id, rect, text, 1, 1));
    if (t == nullptr) return;
    t->SetFontWidth(size);
    t->SetTextColor(Color(colour));
  };
  caption(300, CRect(24, 14, w - 24, 50), L"Qelt gallery: message boxes and the save-wait notice", 22, 0xFFFFFFFF);
  caption(301, CRect(24, 52, w - 24, 86), L"Each button opens the real box; the previews show its layout", 14,
          0xFFFA373E);
  dlg.GetPaintManager()->AttachControl(new ActionRunner(&dlg), 1);

  HWND owner = dlg.GetSafeHwnd();
  struct Opener {
    UINT id;
    const wchar_t* title;
    int kind;
  } const openers[] = {
      {40, L"One button", 0},
      {41, L"Two buttons", 4},
      {42, L"No button", 2},
  };
  int y = 110;
  for (const Opener& o : openers) {
    const int kind = o.kind;
    auto* button = new ActionButton(&dlg, o.id, CRect(24, y, 204, y + 40), o.title, [owner, kind] {
      const int result = ui::ShowMessage(L"The settings were written to the mouse.", owner, L"Save", kind);
      std::printf("message kind=%d result=%d\n", kind, result);
      std::fflush(stdout);
    });
    dlg.GetPaintManager()->AttachControl(button, 1);
    button->SetImage(L"img_button.png", 4);
    button->SetFontWidth(15);
    y += 56;
  }
  auto* wait = new ActionButton(&dlg, 43, CRect(24, y, 204, y + 40), L"Save-wait notice", [owner] {
    auto& dialog = WaitDialog();
    if (!dialog) {
      dialog = std::make_unique<ui::SaveWaitDlg>();
      dialog->CreateWait(owner);
    } else {
      dialog->Restart();
    }
    std::printf("wait shown\n");
    std::fflush(stdout);
  });
  dlg.GetPaintManager()->AttachControl(wait, 1);
  wait->SetImage(L"img_button.png", 4);
  wait->SetFontWidth(15);

  // Previews: the box's own layout over its own background, at its size
  // scaled into the page (430 x 230 each, two side by side, one below).
  const CRect previews[] = {CRect(230, 100, 660, 330), CRect(230, 350, 660, 580)};
  const int kinds[] = {0, 4};
  for (int i = 0; i < 2; ++i) {
    auto* back = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", 310 + UINT(i), previews[i], nullptr, 1, 1));
    if (back != nullptr) {
      back->SetImage(L"bk_prompt.png", 1);
      back->SetShowMode(ShowModeFrame, 30);
    }
    ui::CUIMessageBox::BuildControls(dlg, previews[i], kinds[i] == 0 ? L"Saved" : L"Delete profile?",
                                     kinds[i] == 0 ? L"The settings were written to the mouse."
                                                   : L"The profile and its macros will be removed.\n"
                                                     L"配置文件将被删除。",
                                     kinds[i], 100 * UINT(i + 1));
  }
}

}  // namespace

REGISTER_GALLERY_PAGE("message", "message boxes of each kind and the save-wait notice", BuildMessagePage)
