// The gallery page "skins": the images of the device controls and the main
// window, loaded through the toolkit by the names the pages use
// (backslashes included): the model pictures of the device list, the tab
// and event icon strips, a battery gauge put together from its three
// images, the label box in both frames and the slider thumbs.

#include <cstdio>

#include "platform/Text.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

MPicture* Picture(MDialog& dlg, UINT id, CRect rect, const wchar_t* file, enumShowMode mode = ShowModeNormal,
                  int frames = 1) {
  auto* pic = static_cast<MPicture*>(dlg.CreateControl(L"MPicture", id, rect, nullptr, 1, 1));
  if (pic == nullptr) return nullptr;
  if (!pic->SetImage(file, frames)) std::fprintf(stderr, "gallery: skin image %s is missing\n", platform::ToUtf8(file).c_str());
  pic->SetAlignment(0, 0);
  pic->SetShowMode(mode, 6);
  return pic;
}

void Caption(MDialog& dlg, UINT id, CRect rect, const wchar_t* title) {
  auto* text = static_cast<MText*>(dlg.CreateArea(L"MText", id, rect, title, 1, 1));
  if (text == nullptr) return;
  text->SetFontWidth(13);
  text->SetTextColor(Color(0xFFB8BDC6));
  text->SetAlignment(0, 4);
}

void BuildSkinsPage(GalleryDialog& gallery, CRect) {
  MDialog& dlg = gallery;
  constexpr int kWidth = GalleryDialog::kWidth;
  auto* title = static_cast<MText*>(dlg.CreateArea(L"MText", 10, CRect(24, 14, kWidth - 24, 50),
                                                   L"Qelt gallery: device and main window images", 1, 1));
  if (title != nullptr) {
    title->SetFontWidth(22);
    title->SetTextColor(Color(0xFFFFFFFF));
  }

  // The models as the device list shows them.
  const wchar_t* const kModels[] = {L"device\\veyra_air.png", L"device\\veyra_core.png", L"device\\veyra_swift8k.png"};
  for (int i = 0; i < 3; ++i) Picture(dlg, 20 + UINT(i), CRect(24 + i * 210, 70, 224 + i * 210, 350), kModels[i]);

  // Strips shown whole, one row each.
  const wchar_t* const kTabs[] = {L"icon\\tab_home.png",  L"icon\\tab_mousekey.png", L"icon\\tab_mousedpi.png",
                                  L"icon\\tab_macro.png", L"icon\\tab_light.png",    L"icon\\tab_mouseset.png"};
  for (int i = 0; i < 6; ++i) {
    const int x = 24 + (i % 3) * 110, y = 380 + (i / 3) * 40;
    Picture(dlg, 30 + UINT(i), CRect(x, y, x + 96, y + 32), kTabs[i]);
  }
  Caption(dlg, 40, CRect(24, 460, 340, 480), L"tab icons: normal, hover, selected");
  Picture(dlg, 41, CRect(24, 490, 184, 510), L"icon\\icon_list.png");
  Caption(dlg, 42, CRect(24, 515, 340, 535), L"event icons: other, key, mouse, delay");

  // A gauge at 70 %, charging: outline, the level strip cut to the level
  // from (4, 4), and the charging mark beside it.
  Picture(dlg, 50, CRect(680, 90, 722, 112), L"icon\\icon_battery_bkg.png");
  auto* level = Picture(dlg, 51, CRect(684, 94, 705, 108), L"icon\\icon_batteryvalue.png", ShowModeSource);
  if (level != nullptr) level->SetSourceRect(CRect(0, 0, 21, 14));
  Picture(dlg, 52, CRect(728, 92, 740, 110), L"icon\\icon_charge.png");
  Caption(dlg, 53, CRect(680, 118, 880, 138), L"battery 70 %, charging");

  // The label box, normal (frame 0 as a nine-grid with corner 6, as the
  // callouts draw it) and highlighted (frame 1 at its own size).
  Picture(dlg, 60, CRect(680, 160, 800, 186), L"img_key_bkg.png", ShowModeFrame, 2);
  auto* selected = Picture(dlg, 61, CRect(680, 196, 746, 222), L"img_key_bkg.png");
  if (selected != nullptr) {
    selected->SetSourceRect(CRect(66, 0, 132, 26));
    selected->SetShowMode(ShowModeSource, 0);
  }
  Caption(dlg, 62, CRect(680, 228, 880, 248), L"label box: normal, selected");

  Picture(dlg, 70, CRect(680, 270, 744, 283), L"img_dpi_bar.png");
  Picture(dlg, 71, CRect(680, 300, 760, 320), L"img_slider_bar.png");
  Caption(dlg, 72, CRect(680, 326, 880, 346), L"slider thumbs");
  Picture(dlg, 73, CRect(680, 370, 744, 386), L"icon\\icon_rec.png");
  Picture(dlg, 74, CRect(680, 396, 744, 412), L"icon\\icon_stop_rec.png");
  Picture(dlg, 75, CRect(680, 422, 744, 438), L"icon\\icon_arrow_up.png");
  Picture(dlg, 76, CRect(760, 370, 792, 402), L"icon//icon_windows.png");
  Picture(dlg, 77, CRect(810, 370, 874, 434), L"orvane.png");
  Caption(dlg, 78, CRect(680, 446, 880, 466), L"button icons, program icon");
}

}  // namespace

REGISTER_GALLERY_PAGE("skins", "device and main window images, by the names the pages use", BuildSkinsPage)
