// The gallery's "edit" page: edit fields in each of their modes and number
// fields. Each field reports its notifications like every control of the
// gallery; the edit fields also print their text on every change and when
// they close ("edit id=N text=...").

#include <cstdio>

#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/NumberEdit.h"
#include "tools/gallery/GalleryDialog.h"
#include "tools/gallery/GalleryPage.h"
#include "tools/gallery/GallerySections.h"

using namespace DUI;

namespace {

MText* Caption(MDialog& dlg, UINT id, CRect rect, const wchar_t* text, int size = 14, ARGB colour = 0xFFC8C8C8) {
  auto* t = static_cast<MText*>(dlg.CreateArea(L"MText", id, rect, text, 1, 1));
  if (t == nullptr) return nullptr;
  t->SetFontWidth(size);
  t->SetTextColor(Color(colour));
  return t;
}

void BuildEditPage(GalleryDialog& gallery, CRect client) {
  MDialog& dlg = gallery;
  const int w = client.Width();
  Caption(dlg, 200, CRect(24, 14, w - 24, 50), L"Qelt gallery: edit fields, number fields and combo boxes", 22, 0xFFFFFFFF);
  Caption(dlg, 201, CRect(24, 52, w - 24, 86), L"Type, select with the mouse or Shift, Ctrl+A/C/X/V; Enter closes",
          14, 0xFFFA373E);
  auto* panel = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", 202, CRect(12, 100, w / 2 + 20, 588), nullptr, 1, 1));
  if (panel != nullptr) {
    panel->SetImage(L"img_area_content.png", 1);
    panel->SetShowMode(ShowModeFrame, 10);
  }

  // The fields, one row each: caption left, field right.
  struct Row {
    UINT id;
    const wchar_t* caption;
    const wchar_t* hint;
    const wchar_t* text;
    void (*setup)(MEdit&);
  } const rows[] = {
      {7, L"Profile name", L"Name this profile", L"Profil é 中文", nullptr},
      {8, L"Password", L"Secret", L"hunter2", [](MEdit& e) { e.EnablePassWord(1); }},
      {9, L"Numbers only", L"Digits", nullptr, [](MEdit& e) { e.SetNumberOnly(1); }},
      {10, L"Read-only", nullptr, L"Can be selected and copied", [](MEdit& e) { e.SetReadOnly(1); }},
      {11, L"Key capture", L"Press a key", nullptr, [](MEdit& e) { e.EnableCharMessage(0); }},
      {12, L"With a button", L"Search 搜索", nullptr, [](MEdit& e) { e.SetIconImage(L"img_help.png", 4); }},
      {13, L"Disabled", nullptr, L"Not now", [](MEdit& e) { e.SetEnabled(0); }},
  };
  int y = 116;
  for (const Row& r : rows) {
    Caption(dlg, 210 + r.id, CRect(32, y, 150, y + 32), r.caption);
    auto* edit = static_cast<MEdit*>(dlg.CreateControl(L"MEdit", r.id, CRect(156, y, w / 2, y + 32), r.hint, 1, 1));
    if (edit == nullptr) continue;
    edit->SetImage(L"img_edit.png", 4);
    edit->SetFontWidth(15);
    edit->SetTabStop(1);
    if (r.text != nullptr) edit->SetEditText(r.text);
    if (r.setup != nullptr) r.setup(*edit);
    y += 44;
  }

  Caption(dlg, 230, CRect(32, y + 8, 150, y + 38), L"Number (0–20)");
  for (int i = 0; i < 2; ++i) {
    auto* number = new NumberEdit(&dlg, 14 + UINT(i), CRect(156 + i * 120, y + 8, 256 + i * 120, y + 38), 1);
    dlg.GetPaintManager()->AttachControl(number, 1);
    number->SetFontWidth(15);
    number->SetEditText(i == 0 ? L"5" : L"20");
  }

  // Combo boxes on the right half.
  BuildComboSection(gallery, CRect(w / 2 + 40, 100, w - 12, 588));
}

// Tells scripts where the first field is ("ready edit=X,Y", its centre in
// screen coordinates); a screenshot shows that field open, its text
// selected.
void EditPageShown(GalleryDialog& gallery, bool screenshot) {
  auto* first = dynamic_cast<MEdit*>(gallery.GetControl(7));
  if (first == nullptr) return;
  if (screenshot) {
    first->OpenEditor();
    return;
  }
  POINT centre = first->GetRect().CenterPoint();
  gallery.ClientToScreen(&centre);
  std::printf("ready edit=%d,%d\n", centre.x, centre.y);
  std::fflush(stdout);
}

}  // namespace

REGISTER_GALLERY_PAGE_SHOWN("edit",
                            "edit fields (hint, password, numbers, read-only, key capture, icon), number fields, "
                            "combo boxes",
                            BuildEditPage, EditPageShown)
