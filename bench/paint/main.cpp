// Paint benchmark: a 1300 x 788 dialog with 150 controls (nine-grid
// panels, image buttons, Latin and CJK texts, icons) painted in full on the
// headless backend, through the whole paint cycle (begin paint, back
// buffer, controls, present). The controls' caches are built by the first
// paint, as in a running program; a second figure rebuilds every cache on
// each frame. A last figure types one character into an edit field of the
// dialog and measures from the key to the presented frame. The last two
// lines are the figures the goals are about.
//
//   bench_paint [--screenshot FILE]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/draw/Canvas.h"
#include "platform/window/Window.h"
#include "platform/window/Headless.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MProgress.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Manager.h"

using namespace DUI;

namespace {

constexpr int kWidth = 1300;
constexpr int kHeight = 788;

// Skin images of the benchmark's own, written beside the program's skin
// when missing, so the figure does not depend on the generated skin.
void WriteImages() {
  const std::filesystem::path folder(platform::ToUtf8(MRender::GetSkinFolder()));
  std::filesystem::create_directories(folder);
  if (!std::filesystem::exists(folder / "bench_frame.png")) {
    platform::Bitmap bmp(64, 64);
    platform::Canvas c(bmp);
    c.FillRoundRect({0.5f, 0.5f, 63, 63}, 10, 10,
                    platform::Brush::Linear({0, 0}, {0, 64}, 0xF0262A33, 0xF0181B21));
    c.DrawRoundRect({0.5f, 0.5f, 63, 63}, 10, 10, platform::Pen{0xFF3A4050, 1, {}});
    bmp.SavePng(folder / "bench_frame.png");
  }
  if (!std::filesystem::exists(folder / "bench_button.png")) {
    platform::Bitmap bmp(4 * 48, 32);
    platform::Canvas c(bmp);
    const ARGB tops[4] = {0xFF3A3F4A, 0xFF4A5060, 0xFFFA373E, 0xFF2A2C30};
    for (int i = 0; i < 4; ++i) {
      const float x = float(i * 48);
      c.FillRoundRect({x + 0.5f, 0.5f, 47, 31}, 6, 6,
                      platform::Brush::Linear({x, 0}, {x, 32}, tops[i], 0xFF202228));
    }
    bmp.SavePng(folder / "bench_button.png");
  }
  if (!std::filesystem::exists(folder / "bench_icon.png")) {
    platform::Bitmap bmp(24, 24);
    platform::Canvas c(bmp);
    c.FillEllipse({2, 2, 20, 20}, platform::Brush::SolidColor(0xFFFA373E));
    bmp.SavePng(folder / "bench_icon.png");
  }
}

class BenchDialog : public MDialog {
 public:
  static constexpr UINT kEditId = 90;
  int controls = 0;

  void InitUI(CRect) override {
    auto count = [&](MControl* c) {
      if (c != nullptr) ++controls;
      return c;
    };
    // Ten nine-grid panels in two rows of five.
    for (int i = 0; i < 10; ++i) {
      const int x = 10 + (i % 5) * 256, y = 10 + (i / 5) * 384;
      auto* p = static_cast<MPicture*>(count(CreateArea(L"MPicture", 100 + UINT(i), CRect(x, y, x + 248, y + 376), nullptr, 1, 1)));
      p->SetImage(L"bench_frame.png", 1);
      p->SetShowMode(ShowModeFrame, 12);
    }
    static const wchar_t* kTexts[] = {L"DPI stage 1", L"回报率 1000 Hz", L"ボタン割り当て", L"조명 효과",
                                      L"Lift-off distance", L"宏录制", L"Profile 2", L"省电模式"};
    UINT id = 200;
    for (int panel = 0; panel < 10; ++panel) {
      const int px = 10 + (panel % 5) * 256, py = 10 + (panel / 5) * 384;
      for (int row = 0; row < 6; ++row) {
        const int y = py + 16 + row * 58;
        // The first caption of the first panel shares its line with the
        // edit field.
        const int textRight = (panel == 0 && row == 0) ? px + 110 : px + 236;
        auto* t = static_cast<MText*>(count(CreateArea(L"MText", id++, CRect(px + 12, y, textRight, y + 22),
                                                       kTexts[(panel + row) % 8], 1, 1)));
        t->SetTextColor(Color(0xFFC8C8C8));
        auto* b = static_cast<MButton*>(count(CreateControl(L"MButton", id++, CRect(px + 12, y + 24, px + 150, y + 52),
                                                            kTexts[(panel + row + 3) % 8], 1, 1)));
        b->SetImage(L"bench_button.png", 4);
        if (row % 3 == 0) {
          auto* icon = static_cast<MPicture*>(count(CreateControl(L"MPicture", id++, CRect(px + 160, y + 24, px + 188, y + 52), nullptr, 1, 1)));
          icon->SetImage(L"bench_icon.png", 1);
          icon->SetAlignment(1, 4);
        }
        if (row % 3 == 1) {
          auto* check = static_cast<CCheckButton*>(count(CreateControl(
              L"CCheckButton", id++, CRect(px + 160, y + 24, px + 236, y + 52), L"On", 1, 1)));
          check->SetCheck(1);
        }
        if (row % 3 == 0) {
          // A narrow combo box with its chosen item beside every icon.
          auto* combo = static_cast<MComboBox*>(
              count(CreateControl(L"MComboBox", id++, CRect(px + 192, y + 24, px + 244, y + 52), nullptr, 1, 1)));
          for (const wchar_t* rate : {L"500", L"1000", L"2000"}) combo->AddItem(rate);
          combo->SetCurSel(1);
        }
        if (row % 3 == 2) {
          auto* bar = static_cast<MProgress*>(count(CreateControl(
              L"MProgress", id++, CRect(px + 160, y + 24, px + 236, y + 52), nullptr, 1, 1)));
          bar->SetProgress(30 + 10 * row);
        }
      }
    }
    // An edit field on the first line of the first panel.
    count(CreateControl(L"MEdit", kEditId, CRect(126, 24, 246, 50), L"Name", 1, 1));
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// One full paint cycle of the whole client area.
double PaintOnce(BenchDialog& dlg, bool rebuildCaches) {
  if (rebuildCaches) {
    for (MControl* c : *dlg.GetPaintManager()->GetAreas()) c->SetUpdate(0);
    for (MControl* c : *dlg.GetControls()) c->SetUpdate(0);
  }
  const auto start = std::chrono::steady_clock::now();
  dlg.GetPaintManager()->Invalidate();
  platform::PumpPendingMessages();
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

// One character typed into the open edit field: from the key to the frame
// that shows it presented.
double TypeOnce() {
  const auto start = std::chrono::steady_clock::now();
  platform::headless::InjectText(L"m");
  platform::PumpPendingMessages();
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::milli>(end - start).count();
}

int main(int argc, char** argv) {
  if (!platform::InitWindowSystem(platform::WindowBackend::Headless)) {
    std::fprintf(stderr, "bench_paint: no headless window system\n");
    return 1;
  }
  Manager::SetPaintPause(0);
  WriteImages();
  BenchDialog dlg;
  if (dlg.Create(nullptr, L"bench", WS_POPUP, 0, CRect(0, 0, kWidth, kHeight)) == nullptr) return 1;
  dlg.ShowWindow(SW_SHOW);
  platform::PumpPendingMessages();
  std::printf("dialog %dx%d with %d controls\n", kWidth, kHeight, dlg.controls);

  for (int i = 0; i < 20; ++i) PaintOnce(dlg, false);
  std::vector<double> cold, warm;
  for (int i = 0; i < 30; ++i) cold.push_back(PaintOnce(dlg, true));
  for (int i = 0; i < 300; ++i) warm.push_back(PaintOnce(dlg, false));
  std::printf("repaint with every cache rebuilt, median ms: %.3f\n", Median(cold));
  std::printf("full repaint frames: %zu, min ms: %.3f, max ms: %.3f\n", warm.size(),
              *std::min_element(warm.begin(), warm.end()), *std::max_element(warm.begin(), warm.end()));
  auto* edit = static_cast<MEdit*>(dlg.GetControl(BenchDialog::kEditId));
  std::vector<double> keys;
  if (edit != nullptr && edit->OpenEditor()) {
    for (int i = 0; i < 300; ++i) {
      // Within the field's limit: start again now and then (not measured).
      if (i % 100 == 0) {
        edit->SetEditText(L"");
        platform::PumpPendingMessages();
      }
      keys.push_back(TypeOnce());
    }
    // An optional PNG of the painted dialog (the field still open with what
    // was typed), to look at what was measured.
    if (argc == 3 && std::string(argv[1]) == "--screenshot") {
      platform::SaveWindowScreenshot(dlg.GetSafeHwnd(), argv[2]);
    }
    edit->CloseEditor();
  }
  if (keys.empty() || edit->GetEditText().size() != 100) {
    std::fprintf(stderr, "bench_paint: typing into the edit field did not reach it\n");
    return 1;
  }
  std::printf("keystroke to present median ms: %.3f\n", Median(keys));
  std::printf("full repaint median ms: %.3f\n", Median(warm));
  dlg.DestroyWindow();
  platform::ShutdownWindowSystem();
  return 0;
}
