// The gallery's "tabs" page: a vertical tab strip on a strip background and
// a horizontal one, each showing one page (MTabLayout) per tab; one tab has
// an extra button.

#include <string>

#include "toolkit/core/MPicture.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/MTabLayout.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/MButton.h"
#include "tools/gallery/GallerySections.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

MText* Caption(MControl* made, int size, ARGB colour, UINT align = 0) {
  auto* text = static_cast<MText*>(made);
  if (text == nullptr) return nullptr;
  text->SetFontWidth(size);
  text->SetTextColor(Color(colour));
  text->SetAlignment(align, 4);
  return text;
}

struct TabSpec {
  const wchar_t* title;
  const wchar_t* icon;
  const wchar_t* text;
};

const TabSpec kTabs[] = {
    {L"Buttons", L"img_tab_keys.png", L"Assign a function to each button of the mouse."},
    {L"Macros", L"img_tab_macro.png", L"Record key sequences and replay them. 录制宏。"},
    {L"DPI", L"img_tab_dpi.png", L"Five sensitivity stages, switched with the DPI button."},
    {L"Lighting", L"img_tab_light.png", L"Effects, colours and brightness. ライティング。"},
};

// A page for each tab of a strip: a caption, a line of text and a button.
void AddPages(MDialog& dlg, MTabCtrl* tabs, UINT firstId, CRect area) {
  auto* frame = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", firstId - 1, area, nullptr, 1, 1));
  if (frame != nullptr) {
    frame->SetImage(L"img_area_content.png", 1);
    frame->SetShowMode(ShowModeFrame, 8);
  }
  for (int i = 0; i < 4; ++i) {
    auto* page = static_cast<MTabLayout*>(dlg.CreateControl(L"MTabLayout", firstId + UINT(i), area, nullptr, 1, 1));
    if (page == nullptr) continue;
    const UINT base = firstId * 10 + UINT(i) * 3;
    const std::wstring heading = std::wstring(kTabs[i].title) + L" page";
    Caption(page->CreateArea(L"MText", base, CRect(area.left + 20, area.top + 16, area.right - 20, area.top + 48),
                             heading.c_str(), 1, 1),
            20, 0xFFFFFFFF);
    auto* body = Caption(page->CreateArea(L"MText", base + 1,
                                          CRect(area.left + 20, area.top + 56, area.right - 20, area.top + 110),
                                          kTabs[i].text, 1, 1),
                         14, 0xFFB4B4B4);
    if (body != nullptr) body->SetMultiLine(1);
    auto* button = static_cast<MButton*>(page->CreateControl(
        L"MButton", base + 2, CRect(area.left + 20, area.top + 124, area.left + 180, area.top + 160), L"Apply", 1, 1));
    if (button != nullptr) button->SetImage(L"img_button.png", 4);
    tabs->InsertItem(100 + UINT(i), kTabs[i].title, kTabs[i].icon, page, 3, 0);
  }
}

void BuildTabsPage(GalleryDialog& gallery, CRect) {
  MDialog& dlg = gallery;
  Caption(dlg.CreateArea(L"MText", 10, CRect(24, 14, 876, 50), L"Qelt gallery: tabs", 1, 1), 22, 0xFFFFFFFF);
  Caption(dlg.CreateArea(L"MText", 11, CRect(24, 52, 876, 86),
                         L"Click a tab to show its page; the cross on the Macros tab sends CN_SUBCLICK. The button opens a popup menu.", 1, 1),
          14, 0xFFB4B4B4);

  // A vertical strip on its background, 70-pixel tabs.
  auto* side = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 30, CRect(16, 100, 86, 584), nullptr, 1, 1));
  if (side != nullptr) {
    side->SetImage(L"img_tab_bkg.png", 1);
    side->SetLayoutType(MTabCtrl::LayoutVertical);
    side->SetFontWidth(12);
    side->SetItemBkImage(L"img_tabitem_bkg.png", 4);
    side->SetItemTextColor(Color(0xE1C8C8C8), Color(0xFFFFFFFF), Color(0xFFFA373E));
    AddPages(dlg, side, 41, CRect(96, 100, 440, 584));
    side->SetItemHeight(76, 76, 1);
    side->SetSelectItem(0);
  }

  // A horizontal strip sharing its width among the tabs.
  auto* top = static_cast<MTabCtrl*>(dlg.CreateControl(L"MTabCtrl", 31, CRect(456, 100, 884, 176), nullptr, 1, 1));
  if (top != nullptr) {
    top->SetFontWidth(13);
    top->SetItemTextColor(Color(0xE1C8C8C8), Color(0xFFFFFFFF), Color(0xFFFA373E));
    AddPages(dlg, top, 51, CRect(456, 184, 884, 470));
    top->SetLeftRightPading(8, 8);
    top->SetItemWidth(120, 60, 1);
    top->SetItemButton(1, L"img_tab_button.png");
    top->SetSelectItem(2);
  }

  // The popup menu under the horizontal strip's pages.
  BuildMenuSection(gallery, CRect(456, 484, 884, 584));
}

}  // namespace

REGISTER_GALLERY_PAGE("tabs", "tabs and their pages", BuildTabsPage)
