// The gallery's "windows" page: buttons that open the program's small
// windows, the DPI message (each click shows the next stage value), the
// About window (modal), the update question (modal; on yes the update tip
// shows until its close after 1 s of the toolkit clock) and the update tip
// alone. Each prints what happened. For a screenshot the page opens the DPI
// message, the About window and the update tip without their modal loops,
// so the picture shows all three beside the page; the page itself shows a
// preview of the update question.

#include <cstdio>
#include <functional>
#include <memory>

#include "shell/Localisation.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"
#include "ui/AboutDlg.h"
#include "ui/CUIMessageBox.h"
#include "ui/DPIMsgDlg.h"
#include "ui/UpdateNotice.h"
#include "ui/UpdateTipDlg.h"

using namespace DUI;

namespace {

constexpr UINT kRunAction = WM_USER + 710;
constexpr UINT kTipTimer = 710;

// A push button that runs its action after the click, from the window's
// queue: the action may run a modal loop.
class WindowsActionButton : public MButton {
 public:
  WindowsActionButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, std::function<void()> action)
      : MButton(parent, id, rect, title, 1, 1), m_action(std::move(action)) {}
  void Run() {
    if (m_action) m_action();
  }

 protected:
  void OnReleaseInside(bool pressed) override {
    MButton::OnReleaseInside(pressed);
    if (pressed && m_action && m_manager != nullptr) m_manager->PostMessageW(kRunAction, WPARAM(this), 0);
  }

 private:
  std::function<void()> m_action;
};

// Runs the buttons' actions, and ends the update tip on its timer as the
// worker's job 27 would.
class WindowsActionRunner : public MControlFont {
 public:
  explicit WindowsActionRunner(MObject* parent) : MControlFont(parent, 0, CRect(), nullptr, 1, 1, 0) {}
  void DrawControl(HDC&, CRect) override {}
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg != kRunAction || wParam == 0) return 0;
    reinterpret_cast<WindowsActionButton*>(wParam)->Run();
    return 1;
  }
};

struct Windows {
  std::unique_ptr<ui::DPIMsgDlg> dpi;
  std::unique_ptr<ui::UpdateTipDlg> tip;
  std::unique_ptr<ui::AboutDlg> about;  // screenshot only: the modeless copy
  int stage = 0;
};

Windows& Open() {
  static Windows windows;
  return windows;
}

// The worker's job 27 ends the tip after a moment; here the tip ends itself
// 1 s after it opens, on the toolkit clock.
class GalleryTip : public ui::UpdateTipDlg {
 public:
  int OnInitDialog() override {
    const int result = ui::UpdateTipDlg::OnInitDialog();
    SetTimer(kTipTimer, 1000);
    return result;
  }
  void OnTimer(UINT id) override {
    if (id != kTipTimer) return;
    KillTimer(kTipTimer);
    End();
  }
};

void RunTip(HWND owner, bool viaQuestion) {
  auto& w = Open();
  w.tip = std::make_unique<GalleryTip>();
  if (viaQuestion) {
    const int answer = ui::UpdateNotice::OfferUpdate(
        owner, L"131", [] { std::printf("job 27 queued\n"); }, *w.tip);
    std::printf("update answer=%d\n", answer);
  } else {
    std::printf("update tip result=%d\n", w.tip->Run(owner));
  }
  std::fflush(stdout);
}

void BuildWindowsPage(GalleryDialog& gallery, CRect client) {
  MDialog& dlg = gallery;
  const int w = client.Width();
  auto caption = [&](UINT id, CRect rect, const wchar_t* text, int size, ARGB colour) {
    auto* t = static_cast<MText*>(dlg.CreateArea(L"MText", id, rect, text, 1, 1));
    if (t == nullptr) return;
    t->SetFontWidth(size);
    t->SetTextColor(Color(colour));
  };
  caption(300, CRect(24, 14, w - 24, 50), L"Qelt gallery: the program's small windows", 22, 0xFFFFFFFF);
  caption(301, CRect(24, 52, w - 24, 86), L"DPI message, About window, update question and update tip", 14,
          0xFFFA373E);
  dlg.GetPaintManager()->AttachControl(new WindowsActionRunner(&dlg), 1);

  HWND owner = dlg.GetSafeHwnd();
  static const int kStages[] = {400, 800, 1600, 3200, 6400, 26000};
  struct Opener {
    UINT id;
    const wchar_t* title;
    std::function<void()> action;
  } const openers[] = {
      {40, L"DPI message",
       [owner] {
         auto& o = Open();
         if (!o.dpi) {
           o.dpi = std::make_unique<ui::DPIMsgDlg>();
           o.dpi->CreateMsg(owner);
         }
         const int dpi = kStages[o.stage++ % 6];
         o.dpi->ShowValue(dpi);
         std::printf("dpi shown=%d\n", dpi);
         std::fflush(stdout);
       }},
      {41, L"About window",
       [owner] {
         ui::AboutDlg::ShowAbout(owner, 0x0105);
         std::printf("about closed\n");
         std::fflush(stdout);
       }},
      {42, L"Update question", [owner] { RunTip(owner, true); }},
      {43, L"Update tip", [owner] { RunTip(owner, false); }},
  };
  int y = 110;
  for (const Opener& o : openers) {
    auto* button = new WindowsActionButton(&dlg, o.id, CRect(24, y, 224, y + 40), o.title, o.action);
    dlg.GetPaintManager()->AttachControl(button, 1);
    button->SetImage(L"img_button.png", 4);
    button->SetFontWidth(15);
    y += 56;
  }

  // A preview of the update question as the message box lays it out.
  const CRect preview(260, 110, 690, 340);
  if (auto* back = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", 310, preview, nullptr, 1, 1))) {
    back->SetImage(L"bk_prompt.png", 1);
    back->SetShowMode(ShowModeFrame, 30);
  }
  ui::CUIMessageBox::BuildControls(dlg, preview, shell::GetText(551), ui::UpdateNotice::OfferText(L"131"), 4, 100);
}

// For a screenshot: the three windows open at once, without modal loops.
// Interactive: prints where the DPI message button is on the screen
// ("windows dpi=X,Y") for scripts that click it.
void ShowWindowsPage(GalleryDialog& gallery, bool screenshot) {
  if (!screenshot) {
    MControl* button = gallery.GetControl(40);
    if (button == nullptr) return;
    POINT centre = button->GetRect().CenterPoint();
    gallery.ClientToScreen(&centre);
    std::printf("windows dpi=%d,%d\n", int(centre.x), int(centre.y));
    std::fflush(stdout);
    return;
  }
  HWND owner = gallery.GetSafeHwnd();
  auto& o = Open();
  o.dpi = std::make_unique<ui::DPIMsgDlg>();
  o.dpi->CreateMsg(owner);
  o.dpi->ShowValue(3200);
  o.about = std::make_unique<ui::AboutDlg>(0x0105);
  if (o.about->Create(owner, L"About Window", 0x96000000, 0, CRect(0, 0, ui::AboutDlg::kWidth, ui::AboutDlg::kHeight))) {
    o.about->MoveWindow(40, 40, ui::AboutDlg::kWidth, ui::AboutDlg::kHeight, 1);
    o.about->ShowWindow(SW_SHOWNOACTIVATE);
  }
  o.tip = std::make_unique<ui::UpdateTipDlg>();
  if (o.tip->CreateTip(owner)) {
    o.tip->MoveWindow(40, 380, ui::UpdateTipDlg::kWidth, ui::UpdateTipDlg::kHeight, 1);
    o.tip->ShowWindow(SW_SHOWNOACTIVATE);
  }
}

}  // namespace

REGISTER_GALLERY_PAGE_SHOWN("windows", "the DPI message, the About window and the update notice", BuildWindowsPage,
                            ShowWindowsPage)
