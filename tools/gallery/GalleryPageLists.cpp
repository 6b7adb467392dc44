// The gallery's "lists" page: a list with icons, selection and edit icons,
// a list that fits without a bar, and panels whose content scrolls
// vertically and sideways.

#include <string>

#include "toolkit/core/CScrollHorizontal.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/DListBox.h"
#include "toolkit/core/MImageList.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/MButton.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

MText* Caption(MControl* made, int size, ARGB colour) {
  auto* text = static_cast<MText*>(made);
  if (text == nullptr) return nullptr;
  text->SetFontWidth(size);
  text->SetTextColor(Color(colour));
  return text;
}

// A framed backdrop behind a group of controls.
void Backdrop(MDialog& dlg, UINT id, CRect rect) {
  auto* frame = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", id, rect, nullptr, 1, 1));
  if (frame == nullptr) return;
  frame->SetImage(L"img_area_content.png", 1);
  frame->SetShowMode(ShowModeFrame, 8);
}

void BuildListsPage(GalleryDialog& gallery, CRect client) {
  MDialog& dlg = gallery;
  (void)client;
  Caption(dlg.CreateArea(L"MText", 10, CRect(24, 14, 876, 50), L"Qelt gallery: lists, panels and scrolling", 1, 1),
          22, 0xFFFFFFFF);
  Caption(dlg.CreateArea(L"MText", 11, CRect(24, 52, 876, 86),
                         L"Wheel, drag the thumbs, click and right-click the rows; notifications print on stdout.", 1,
                         1),
          14, 0xFFB4B4B4);

  // A list of profiles: 24 rows, icons, an edit icon on the hovered and
  // selected rows.
  Backdrop(dlg, 20, CRect(16, 100, 300, 584));
  Caption(dlg.CreateArea(L"MText", 21, CRect(30, 108, 290, 136), L"Profiles (DListBox, id 30)", 1, 1), 15,
          0xFFFA373E);
  static MImageList icons;  // the list does not own its icons
  icons.Create(L"img_tab_keys.png", 3);
  if (auto* list = static_cast<DListBox*>(dlg.CreateControl(L"DListBox", 30, CRect(24, 140, 292, 576), nullptr, 1, 1))) {
    list->SetImageList(&icons);
    list->SetEditImage(L"img_list_edit.png", 2);
    const wchar_t* names[] = {L"Default", L"Shooter 射击", L"Strategy", L"Office", L"Drawing", L"Racing レース",
                              L"MOBA 모바",  L"Video",        L"Browser",  L"A profile whose name is far too long for its row"};
    for (int i = 0; i < 24; ++i) {
      std::wstring name = names[i % 10];
      if (i >= 10) name += L" " + std::to_wstring(i / 10 + 1);
      list->AddString(name.c_str(), 1000 + i, i % 2);
    }
    list->SetCurSel(2);
  }

  // A short list that fits: no bar.
  Backdrop(dlg, 22, CRect(316, 100, 584, 300));
  Caption(dlg.CreateArea(L"MText", 23, CRect(330, 108, 580, 136), L"Fits (DListBox, id 31)", 1, 1), 15,
          0xFFFA373E);
  if (auto* list = static_cast<DListBox*>(dlg.CreateControl(L"DListBox", 31, CRect(324, 140, 576, 292), nullptr, 1, 1))) {
    for (const wchar_t* t : {L"Left button", L"Right button", L"Wheel click", L"Forward"}) list->AddString(t, 0, -1);
  }

  // A panel whose content is taller than it: texts and buttons in rows.
  Backdrop(dlg, 24, CRect(316, 316, 584, 584));
  Caption(dlg.CreateArea(L"MText", 25, CRect(330, 324, 580, 352), L"Tall panel (id 40)", 1, 1), 15,
          0xFFFA373E);
  auto* tall = new MPanel(&dlg, 40, CRect(324, 356, 576, 576), 1);
  dlg.GetPaintManager()->AttachControl(tall, 1);
  for (int i = 0; i < 9; ++i) {
    const int top = 360 + i * 44;
    const std::wstring label = L"Setting " + std::to_wstring(i + 1);
    Caption(tall->CreateArea(L"MText", 100 + UINT(i), CRect(336, top, 460, top + 36), label.c_str(), 1, 1),
            14, 0xFFE0E0E0);
    auto* button = static_cast<MButton*>(
        tall->CreateControl(L"MButton", 120 + UINT(i), CRect(466, top + 4, 560, top + 32), L"Apply", 1, 1));
    if (button == nullptr) continue;
    button->SetImage(L"img_button.png", 4);
    button->SetFontWidth(13);
  }

  // A panel whose content is wider than it.
  Backdrop(dlg, 26, CRect(600, 100, 884, 300));
  Caption(dlg.CreateArea(L"MText", 27, CRect(614, 108, 880, 136), L"Wide panel (id 41)", 1, 1), 15,
          0xFFFA373E);
  auto* wide = new MPanel(&dlg, 41, CRect(608, 140, 876, 292), 1);
  dlg.GetPaintManager()->AttachControl(wide, 1);
  const wchar_t* stages[] = {L"400", L"800", L"1600", L"3200", L"6400", L"12800"};
  for (int i = 0; i < 6; ++i) {
    const int left = 616 + i * 96;
    auto* card = static_cast<MPicture*>(wide->CreateArea(L"MPicture", 140 + UINT(i), CRect(left, 150, left + 88, 276), nullptr, 1, 1));
    if (card != nullptr) {
      card->SetImage(L"img_area2.png", 1);
      card->SetShowMode(ShowModeFrame, 12);
    }
    auto* value = Caption(wide->CreateControl(L"MText", 150 + UINT(i), CRect(left, 190, left + 88, 230), stages[i], 1, 1),
                          18, 0xFFFFFFFF);
    if (value != nullptr) value->SetAlignment(1, 4);
  }

  // Both ways at once.
  Backdrop(dlg, 28, CRect(600, 316, 884, 584));
  Caption(dlg.CreateArea(L"MText", 29, CRect(614, 324, 880, 352), L"Both ways (id 42)", 1, 1), 15,
          0xFFFA373E);
  auto* both = new MPanel(&dlg, 42, CRect(608, 356, 876, 576), 1);
  dlg.GetPaintManager()->AttachControl(both, 1);
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 5; ++col) {
      const int left = 616 + col * 92, top = 364 + row * 40;
      const std::wstring cell = L"R" + std::to_wstring(row + 1) + L" C" + std::to_wstring(col + 1);
      Caption(both->CreateArea(L"MText", 200 + UINT(row * 5 + col), CRect(left, top, left + 88, top + 32), cell.c_str(), 1, 1),
              13, col % 2 ? 0xFFB8BDC6 : 0xFFFFFFFF);
    }
  }
  // Opened scrolled part of the way, so the page shows content moved both ways.
  if (MScroll* bar = both->GetScrollVertical()) bar->SetScrollCurrentPos(bar->GetScrollMaxRange() / 3);
  if (MScroll* bar = both->GetScrollHorizontal()) bar->SetScrollCurrentPos(bar->GetScrollMaxRange() / 3);
}

}  // namespace

REGISTER_GALLERY_PAGE("lists", "lists, panels and scrolling", BuildListsPage)
