// The combo box and popup menu sections of the gallery (GallerySections.h).

#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MComboBox2.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MText.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryMenuButton.h"
#include "tools/gallery/GallerySections.h"

using namespace DUI;

namespace {

void Caption(MDialog& dlg, UINT id, CRect rect, const wchar_t* text, int size, ARGB colour) {
  auto* t = static_cast<MText*>(dlg.CreateArea(L"MText", id, rect, text, 1, 1));
  if (t == nullptr) return;
  t->SetFontWidth(size);
  t->SetTextColor(Color(colour));
}

MComboBox* Combo(MDialog& dlg, UINT id, CRect rect) {
  auto* combo = static_cast<MComboBox*>(dlg.CreateControl(L"MComboBox", id, rect, nullptr, 1, 1));
  if (combo != nullptr) combo->SetFontWidth(14);
  return combo;
}

}  // namespace

void BuildComboSection(GalleryDialog& gallery, CRect area) {
  MDialog& dlg = gallery;
  Caption(dlg, 650, CRect(area.left, area.top, area.right, area.top + 28), L"Combo boxes", 17, 0xFFFFFFFF);
  const int labelW = 110;
  const int comboW = std::min(220, area.Width() - labelW);
  const int x = area.left + labelW;
  struct Row {
    UINT id;
    const wchar_t* label;
    int top;
  };
  const Row rows[] = {
      {kGalleryReportRateCombo, L"Report rate", area.top + 40},
      {kGalleryLanguageCombo, L"Language", area.top + 84},
      {kGalleryDisabledCombo, L"Disabled", area.top + 128},
      {kGalleryProfileCombo, L"Profile", area.bottom - 32},
  };
  for (const Row& r : rows) {
    Caption(dlg, 651 + (r.id - kGalleryReportRateCombo), CRect(area.left, r.top, x - 8, r.top + 32), r.label, 14,
            0xFFB4B4B4);
  }
  if (MComboBox* rate = Combo(dlg, kGalleryReportRateCombo, CRect(x, rows[0].top, x + comboW, rows[0].top + 32))) {
    const int rates[] = {125, 250, 500, 1000, 2000, 4000, 8000};
    for (int hz : rates) rate->AddItem((std::to_wstring(hz) + L" Hz").c_str(), hz);
    rate->SelectData(1000);
  }
  if (MComboBox* profile = Combo(dlg, kGalleryProfileCombo, CRect(x, rows[3].top, x + comboW, rows[3].top + 32))) {
    for (int i = 1; i <= 12; ++i) profile->AddItem((L"Profile " + std::to_wstring(i)).c_str(), i);
    profile->SetCurSel(0);
  }
  if (MComboBox* off = Combo(dlg, kGalleryDisabledCombo, CRect(x, rows[2].top, x + comboW, rows[2].top + 32))) {
    off->AddItem(L"Unavailable", 0);
    off->SetCurSel(0);
    off->SetEnabled(0);
  }
  // Two grouped combo boxes in a panel (they exist only inside panels): the
  // checked one carries the accent outline.
  const int groupTop = area.top + 172;
  Caption(dlg, 655, CRect(area.left, groupTop, x - 8, groupTop + 32), L"Grouped", 14, 0xFFB4B4B4);
  if (auto* panel = static_cast<MPanel*>(
          dlg.CreateControl(L"MTabLayout", 620, CRect(x, groupTop, x + comboW, groupTop + 32), nullptr, 1, 1))) {
    const int w = (comboW - 8) / 2;
    for (int i = 0; i < 2; ++i) {
      const CRect r(x + i * (w + 8), groupTop, x + i * (w + 8) + w, groupTop + 32);
      auto* c = static_cast<MComboBox2*>(panel->CreateControl(L"MComboBox2", kGalleryGroupedCombo + UINT(i), r,
                                                              nullptr, 1, 1));
      if (c == nullptr) continue;
      c->SetGroupName(L"stage");
      for (int dpi : {800, 1600, 3200}) c->AddItem((std::to_wstring(dpi)).c_str(), dpi);
      c->SetCurSel(i);
      c->SetCheck(i == 0 ? 1 : 0);
    }
  }
  if (MComboBox* lang = Combo(dlg, kGalleryLanguageCombo, CRect(x, rows[1].top, x + comboW, rows[1].top + 32))) {
    const wchar_t* names[] = {L"English", L"简体中文", L"繁體中文", L"日本語", L"한국어", L"Українська"};
    for (int i = 0; i < 6; ++i) lang->AddItem(names[i], i);
    lang->SetCurSel(0);
  }
}

void BuildMenuSection(GalleryDialog& gallery, CRect area) {
  MDialog& dlg = gallery;
  Caption(dlg, 660, CRect(area.left, area.top, area.right, area.top + 28), L"Popup menu", 17, 0xFFFFFFFF);
  Caption(dlg, 661, CRect(area.left, area.top + 30, area.right, area.top + 52),
          L"Click the button; a press anywhere else closes the menu.", 13, 0xFFB4B4B4);
  auto* button = new GalleryMenuButton(&dlg, kGalleryMenuButton,
                                       CRect(area.left, area.top + 60, area.left + 160, area.top + 96), L"Actions");
  dlg.GetPaintManager()->AttachControl(button, 1);
  button->SetImage(L"img_button.png", 4);
  button->SetFontWidth(14);
}
