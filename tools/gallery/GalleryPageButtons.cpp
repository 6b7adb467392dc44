// The gallery page "buttons": push, image, text, icon, help and long-press
// buttons; grouped buttons, toggles and a switch; check boxes and radio
// buttons in two groups; the plain and rounded areas; the progress bars in
// their three looks, one of them running. The buttons beside the bars move
// them, and the line at the bottom names the last notification, so every
// control can be tried by hand.

#include <cstdio>
#include <string>

#include "toolkit/core/CArea.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CHelpButton.h"
#include "toolkit/core/CIconButton.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/CSwitchButton.h"
#include "toolkit/core/CTextButton.h"
#include "toolkit/core/LongPressButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MButton2.h"
#include "toolkit/core/MButton3.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MProgress.h"
#include "toolkit/core/MProgress2.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/PaintManager.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

// Control ids of the page.
enum : UINT {
  kApply = GalleryDialog::kApplyId,
  kReset = 101,
  kDisabled,
  kMinimise,
  kSettings,
  kClose,
  kRestore,
  kRecord,
  kWebsite,
  kSupport,
  kHelp,
  kHold,
  kLeftClick = 120,
  kRightClick,
  kMiddleClick,
  kCtrl,
  kWin,
  kAlt,
  kShift,
  kLighting,
  kAngleSnap = 130,
  kRipple,
  kMotionSync,
  kStartMinimised,
  kLod1,
  kLod2,
  kToTray,
  kExit,
  kNoRadio,
  kLineBar = 150,
  kStripBar,
  kImageBar,
  kRunningBar,
  kLess,
  kMore,
  kPause,
  kStatus = 160,
};

MText* Label(MDialog& dlg, UINT id, CRect rect, const wchar_t* text, int size, ARGB colour, UINT align = 0) {
  auto* label = static_cast<MText*>(dlg.CreateArea(L"MText", id, rect, text, 1, 1));
  if (label == nullptr) return nullptr;
  label->SetFontWidth(size);
  label->SetTextColor(Color(colour));
  label->SetAlignment(align, 4);
  return label;
}

// A framed section with its heading.
void Section(MDialog& dlg, UINT id, CRect frame, const wchar_t* heading) {
  auto* panel = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", id, frame, nullptr, 1, 1));
  if (panel != nullptr) {
    panel->SetImage(L"img_area_content.png", 1);
    panel->SetShowMode(ShowModeFrame, 10);
  }
  Label(dlg, id + 1, CRect(frame.left + 12, frame.top + 6, frame.right - 12, frame.top + 28), heading, 15,
        0xFFFA373E);
}

// A framed section whose controls live in a panel, for the classes only a
// panel builds. The frame and heading are the dialog's areas beneath the
// panel: a panel's own image would cover its areas.
MPanel* PanelSection(MDialog& dlg, UINT id, CRect frame, const wchar_t* heading) {
  Section(dlg, id, frame, heading);
  auto* panel = new MPanel(&dlg, id + 2, frame, 1);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  return panel;
}

template <typename T>
T* Make(MDialog& dlg, const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int enabled = 1) {
  return dynamic_cast<T*>(dlg.CreateControl(className, id, rect, title, 1, enabled));
}

template <typename T>
T* Make(MPanel* panel, const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int enabled = 1) {
  return dynamic_cast<T*>(panel->CreateControl(className, id, rect, title, 1, enabled));
}

void BuildButtonsPage(GalleryDialog& gallery, CRect) {
  MDialog& dlg = gallery;
  constexpr int kWidth = GalleryDialog::kWidth;
  Label(dlg, 10, CRect(24, 14, kWidth - 24, 50), L"Buttons, check boxes, radio buttons, areas and progress bars", 22,
        0xFFFFFFFF);
  Label(dlg, 11, CRect(24, 50, kWidth - 24, 80), L"按钮 · ボタン · 버튼 — every control here answers the mouse", 15,
        0xFFB4B4B4);

  // --- Push buttons -----------------------------------------------------------------
  MPanel* push = PanelSection(dlg, 200, CRect(16, 90, 444, 268), L"Push buttons");
  struct Push {
    UINT id;
    const wchar_t* title;
    const wchar_t* image;
    int enabled;
  } const pushes[] = {
      {kApply, L"Apply 应用", L"img_button_accent.png", 1},
      {kReset, L"Reset リセット", L"img_button.png", 1},
      {kDisabled, L"Disabled", L"img_button.png", 0},
  };
  int x = 30;
  for (const Push& p : pushes) {
    if (auto* b = Make<MButton>(push, L"MButton", p.id, CRect(x, 122, x + 128, 158), p.title, p.enabled)) {
      b->SetImage(p.image, 4);
      b->SetFontWidth(15);
    }
    x += 138;
  }
  struct Picture {
    UINT id;
    const wchar_t* image;
    int size;
    const wchar_t* tooltip;
  } const pictures[] = {
      {kMinimise, L"sysbtn_min.png", 30, L"Minimise"},
      {kSettings, L"sysbtn_setting.png", 30, L"Settings"},
      {kClose, L"sysbtn_close.png", 30, L"Close"},
      {kRestore, L"btn_reset.png", 24, L"Restore the defaults"},
  };
  x = 30;
  for (const Picture& p : pictures) {
    const int y = 170 + (30 - p.size) / 2;
    if (auto* b = Make<CImageButton>(push, L"CImageButton", p.id, CRect(x, y, x + p.size, y + p.size), nullptr)) {
      b->SetImage(p.image, 4);
      b->SetTooltip(p.tooltip);
    }
    x += p.size + 8;
  }
  if (auto* help = Make<CHelpButton>(push, L"CHelpButton", kHelp, CRect(x + 4, 175, x + 24, 195),
                                     L"Lift-off distance: how high the mouse\ncan be raised before it stops tracking.")) {
    help->SetImage(L"img_help.png", 1);
  }
  x += 40;
  if (auto* link = Make<CTextButton>(push, L"CTextButton", kWebsite, CRect(x, 170, x + 128, 200), L"Official website")) {
    link->SetFontWidth(15);
    link->SetTextColor(Color(0xFFC8C8C8));
  }
  if (auto* link = Make<CTextButton>(push, L"CTextButton", kSupport, CRect(x + 132, 170, x + 200, 200), L"Support")) {
    link->SetFontWidth(15);
    link->SetTextColor(Color(0xFFC8C8C8));
  }
  if (auto* record = Make<CIconButton>(push, L"CIconButton", kRecord, CRect(30, 212, 196, 248), L"Record macro")) {
    record->SetImage(L"img_button.png", 4);
    record->SetIconImage(L"btn_reset.png", 4);
    record->SetTextRect(CRect(36, 0, 160, 36), CRect(8, 0, 32, 36));
  }
  if (auto* hold = Make<LongPressButton>(push, L"LongPressButton", kHold, CRect(206, 212, 372, 248), L"Hold to repeat")) {
    hold->SetImage(L"img_button.png", 4);
  }

  // --- Grouped buttons and toggles ------------------------------------------------------
  MPanel* grouped = PanelSection(dlg, 210, CRect(16, 278, 444, 456), L"Grouped buttons, toggles and a switch");
  const wchar_t* const functions[] = {L"Left click", L"Right click", L"Middle"};
  for (int i = 0; i < 3; ++i) {
    auto* b = Make<MButton2>(grouped, L"MButton2", kLeftClick + UINT(i), CRect(30 + i * 92, 310, 116 + i * 92, 342),
                             nullptr);
    if (b == nullptr) continue;
    b->SetImage(L"img_button2.png", 4);
    b->SetTitle(functions[i]);
    if (i == 0) b->SetCheck(1);
  }
  const wchar_t* const modifiers[] = {L"Ctrl", L"Win", L"Alt", L"Shift"};
  for (int i = 0; i < 4; ++i) {
    auto* b = Make<MButton3>(grouped, L"MButton3", kCtrl + UINT(i), CRect(30 + i * 92, 354, 116 + i * 92, 386), nullptr);
    if (b == nullptr) continue;
    b->SetImage(L"img_button2.png", 4);
    b->SetTitle(modifiers[i]);
  }
  if (auto* lighting = Make<CSwitchButton>(grouped, L"CSwitchButton", kLighting, CRect(30, 402, 74, 424), nullptr)) {
    lighting->SetImage(L"img_switch.png", 4);
    lighting->SetFrameSize(0);
    lighting->SetCheck(1);
  }
  if (auto* label = static_cast<MText*>(grouped->CreateArea(L"MText", 215, CRect(84, 398, 430, 428),
                                                             L"Lighting (a switch: sends its new state)", 1, 1))) {
    label->SetFontWidth(14);
    label->SetTextColor(Color(0xFFC8C8C8));
  }

  // --- Check boxes and radio buttons -------------------------------------------------------
  Section(dlg, 220, CRect(456, 90, 884, 268), L"Check boxes and radio buttons");
  struct Check {
    UINT id;
    const wchar_t* title;
    int checked, enabled;
  } const checks[] = {
      {kAngleSnap, L"Angle snapping", 0, 1},
      {kRipple, L"Ripple control", 0, 1},
      {kMotionSync, L"Motion sync", 1, 1},
      {kStartMinimised, L"Start minimised", 1, 0},
  };
  int y = 122;
  for (const Check& c : checks) {
    if (auto* box = Make<CCheckButton>(dlg, L"CCheckButton", c.id, CRect(470, y, 660, y + 24), c.title)) {
      box->SetImage(L"btn_checkbox.png", 8);
      box->SetCheck(c.checked);
      if (!c.enabled) box->SetEnabled(0);
    }
    y += 34;
  }
  struct Radio {
    UINT id;
    const wchar_t* title;
    const wchar_t* group;
    int checked, enabled;
    int y;
  } const radios[] = {
      {kLod1, L"1.0 mm", L"IDC_PER_STC_LOD", 1, 1, 122},
      {kLod2, L"2.0 mm", L"IDC_PER_STC_LOD", 0, 1, 148},
      {kToTray, L"Minimise to tray", L"IDC_SET_STC_EXITMODE", 1, 1, 186},
      {kExit, L"Exit the program", L"IDC_SET_STC_EXITMODE", 0, 1, 212},
      {kNoRadio, L"Unavailable", L"IDC_SET_STC_EXITMODE", 0, 0, 238},
  };
  for (const Radio& r : radios) {
    if (auto* radio = Make<CRadioButton>(dlg, L"CRadioButton", r.id, CRect(680, r.y, 870, r.y + 24), r.title)) {
      radio->SetImage(L"btn_radiobox.png", 8);
      radio->SetGroupName(r.group);
      if (r.checked) radio->SetCheck(1);
      if (!r.enabled) radio->SetEnabled(0);
    }
  }

  // --- Areas -------------------------------------------------------------------------------------
  MPanel* areas = PanelSection(dlg, 230, CRect(456, 278, 884, 390), L"Areas");
  const int areaTop = 308, areaBottom = 356;
  if (auto* strip = static_cast<MPicture*>(
          areas->CreateArea(L"MPicture", 240, CRect(470, areaTop, 870, areaBottom), nullptr, 1, 1))) {
    strip->SetImage(L"img_area_caption.png", 1);
    strip->SetShowMode(ShowModeFrame, 8);
  }
  if (auto* blend = static_cast<CArea*>(areas->CreateArea(L"CArea", 241, CRect(480, areaTop + 6, 570, areaBottom - 6),
                                                       nullptr, 1, 1))) {
    blend->SetTransparent(80, 80, RGB(0xFF, 0xFF, 0xFF));
  }
  if (auto* framed = static_cast<CArea*>(areas->CreateArea(L"CArea", 242, CRect(580, areaTop + 6, 670, areaBottom - 6),
                                                        nullptr, 1, 1))) {
    framed->SetTransparent(0, 0, RGB(0x2B, 0x2F, 0x36));
    framed->SetFrame(1, Color(0xFFFA373E));
  }
  if (auto* fade = static_cast<CArea*>(areas->CreateArea(L"CArea", 243, CRect(680, areaTop + 6, 770, areaBottom - 6),
                                                      nullptr, 1, 1))) {
    fade->SetDirection(0);
    fade->SetTransparent(0, 100, RGB(0xFA, 0x37, 0x3E));
  }
  areas->CreateArea(L"CRoundArea", 244, CRect(780, areaTop + 6, 860, areaBottom - 6), nullptr, 1, 1);
  const wchar_t* const areaNames[] = {L"blend 80/80", L"framed", L"fade 0→100", L"round area"};
  for (int i = 0; i < 4; ++i) {
    auto* label = static_cast<MText*>(areas->CreateArea(
        L"MText", 245 + UINT(i), CRect(470 + i * 100, areaBottom + 2, 570 + i * 100, areaBottom + 22), areaNames[i], 1, 1));
    if (label == nullptr) continue;
    label->SetFontWidth(12);
    label->SetTextColor(Color(0xFFB4B4B4));
    label->SetAlignment(1, 4);
  }

  // --- Progress bars -------------------------------------------------------------------------------
  Section(dlg, 250, CRect(456, 400, 884, 584), L"Progress bars");
  if (auto* line = Make<MProgress>(dlg, L"MProgress", kLineBar, CRect(470, 428, 760, 452), nullptr)) {
    line->SetShowText(1);
    line->SetProgress(40);
  }
  if (auto* strip = Make<MProgress>(dlg, L"MProgress", kStripBar, CRect(470, 466, 760, 480), nullptr)) {
    strip->SetImage(L"img_progress.png", 2);
    strip->SetProgress(65);
  }
  if (auto* images = Make<MProgress>(dlg, L"MProgress", kImageBar, CRect(470, 494, 760, 504), nullptr)) {
    images->SetBackGroundImage(CString(L"img_progress_track.png"));
    images->SetForeGroundImage(CString(L"img_progress_fill.png"));
    images->SetProgress(80);
  }
  if (auto* running = Make<MProgress2>(dlg, L"MProgress2", kRunningBar, CRect(470, 520, 760, 534), nullptr)) {
    running->SetImage(L"img_progress.png", 2);
    running->AddMTimer();
    dlg.SetMTimer(10);
  }
  Label(dlg, 251, CRect(470, 540, 760, 570), L"line and percentage · strip · track and fill · running", 12,
        0xFFB4B4B4);
  struct Side {
    UINT id;
    const wchar_t* title;
    int top;
  } const sides[] = {{kLess, L"−10", 428}, {kMore, L"+10", 466}};
  for (const Side& s : sides) {
    if (auto* b = Make<MButton>(dlg, L"MButton", s.id, CRect(774, s.top, 870, s.top + 30), s.title)) {
      b->SetImage(L"img_button.png", 4);
    }
  }
  // A toggle is a panel's class; this one is attached as a program attaches
  // a control of its own.
  auto* pause = new MButton3(&dlg, kPause, CRect(774, 512, 870, 542), 1, 1);
  dlg.GetPaintManager()->AttachControl(pause, 1);
  pause->SetImage(L"img_button2.png", 4);
  pause->SetTitle(L"Pause");

  Section(dlg, 260, CRect(16, 466, 444, 584), L"Last notification");
  auto* status = Label(dlg, kStatus, CRect(30, 496, 430, 576), L"Try the controls: what they send shows here.", 14,
                       0xFFE0E0E0);
  if (status != nullptr) status->SetMultiLine(1);

  gallery.SetNotifyHook([&gallery](UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    MDialog& d = gallery;
    if (code == CN_CLICK && (id == kLess || id == kMore)) {
      for (UINT bar : {kLineBar, kStripBar, kImageBar}) {
        if (auto* p = dynamic_cast<MProgress*>(d.GetControl(bar))) {
          const int next = p->GetProgress() + (id == kMore ? 10 : -10);
          p->SetProgress(next < 0 ? 0 : next);
        }
      }
    }
    if (code == CN_CLICK && id == kPause) {
      auto* running = dynamic_cast<MProgress2*>(d.GetControl(kRunningBar));
      auto* button = dynamic_cast<MButton3*>(d.GetControl(kPause));
      if (running != nullptr && button != nullptr) running->SetRun(button->GetCheck() ? 0 : 1, -1);
    }
    if (auto* line = dynamic_cast<MText*>(d.GetControl(kStatus))) {
      const char* name = NotifyCodeName(code);
      char text[160];
      std::snprintf(text, sizeof text, "Control %u sent %s (wParam %lu, lParam %ld)", id,
                    name != nullptr ? name : "?", static_cast<unsigned long>(wParam), static_cast<long>(lParam));
      const std::string s(text);
      line->SetTitle(std::wstring(s.begin(), s.end()).c_str());
    }
  });
}

}  // namespace

REGISTER_GALLERY_PAGE("buttons", "buttons, check boxes, radio buttons, areas and progress bars", BuildButtonsPage)
