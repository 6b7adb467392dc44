#include "tools/gallery/GalleryDialog.h"

#include <cstdio>

#include "platform/Text.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "tools/gallery/GalleryPage.h"

using namespace DUI;

namespace {

MText* Text(MDialog& dlg, UINT id, CRect rect, const wchar_t* title, int size, ARGB colour, UINT align = 0) {
  auto* text = static_cast<MText*>(dlg.CreateArea(L"MText", id, rect, title, 1, 1));
  if (text == nullptr) return nullptr;
  text->SetFontWidth(size);
  text->SetTextColor(Color(colour));
  text->SetAlignment(align, 4);
  return text;
}

}  // namespace

void GalleryDialog::InitUI(CRect client) {
  m_manager.SetBackColor(RGB(0x17, 0x19, 0x1E), RGB(0x3A, 0x3F, 0x4A));
  SetCaptionRect(CRect(0, 0, client.Width(), 90));
  const GalleryPage* page = FindGalleryPage(m_page.c_str());
  if (page != nullptr) page->build(*this, client);
}

namespace {

// The core page: texts in Latin and CJK scripts, a picture in each show
// mode and push buttons.
void BuildCorePage(GalleryDialog& gallery, CRect client) {
  MDialog& dlg = gallery;
  (void)client;
  constexpr int kWidth = GalleryDialog::kWidth;
  constexpr int kHeight = GalleryDialog::kHeight;
  constexpr UINT kApplyId = GalleryDialog::kApplyId;

  // A nine-grid panel behind everything.
  auto* panel = static_cast<MPicture*>(dlg.CreateArea(L"MPicture", 40, CRect(12, 100, kWidth - 12, kHeight - 12), nullptr, 1, 1));
  if (panel != nullptr) {
    panel->SetImage(L"img_area_content.png", 1);
    panel->SetShowMode(ShowModeFrame, 10);
  }

  Text(dlg, 10, CRect(24, 14, kWidth - 24, 50), L"Qelt gallery: texts, pictures and buttons", 22, 0xFFFFFFFF);
  Text(dlg, 11, CRect(24, 52, kWidth - 24, 86), L"鼠标设置 · 滑鼠設定 · マウス設定 · 마우스 설정", 20, 0xFFFA373E);

  // One picture per show mode, each with its caption.
  static const struct {
    enumShowMode mode;
    const wchar_t* caption;
    const wchar_t* image;
    int frames;
  } kModes[] = {
      {ShowModeNormal, L"0 natural", L"btn_close.png", 4},
      {ShowModeTile, L"1 tiled", L"img_help.png", 1},
      {ShowModeStretch, L"2 stretched", L"logo.png", 1},
      {ShowModeFrame, L"3 nine-grid", L"img_area2.png", 1},
      {ShowModeFrameMID, L"4 four borders", L"img_button_accent.png", 4},
      {ShowModeSource, L"5 source rect", L"device\\veyra_air_key.png", 1},
  };
  const int cell = (kWidth - 48) / 6;
  for (int i = 0; i < 6; ++i) {
    const int x = 24 + i * cell;
    auto* pic = static_cast<MPicture*>(dlg.CreateControl(L"MPicture", 20 + UINT(i), CRect(x + 6, 116, x + cell - 6, 236), nullptr, 1, 1));
    if (pic == nullptr) continue;
    if (!pic->SetImage(kModes[i].image, kModes[i].frames)) {
      std::fprintf(stderr, "gallery: skin image %s is missing\n", platform::ToUtf8(kModes[i].image).c_str());
    }
    pic->SetAlignment(1, 4);
    if (kModes[i].mode == ShowModeFrameMID) pic->SetShowModeMID(10, 10, 10, 10);
    else pic->SetShowMode(kModes[i].mode, 10);
    if (kModes[i].mode == ShowModeSource) {
      const CSize size = pic->GetImageSize();
      pic->SetSourceRect(CRect(0, 0, size.cx / 2, size.cy / 2));
    }
    Text(dlg, 30 + UINT(i), CRect(x, 240, x + cell, 264), kModes[i].caption, 13, 0xFFC8C8C8, 1);
  }

  Text(dlg, 12, CRect(24, 280, kWidth - 24, 340),
       L"Every control draws itself into its cache from the generated skin; "
       L"the window copies the caches into one back buffer and presents it.",
       14, 0xFFB4B4B4);
  if (auto* para = static_cast<MText*>(dlg.GetControl(12))) para->SetMultiLine(1);
  Text(dlg, 13, CRect(24, 344, kWidth - 24, 372), L"日本語のテキスト、한국어 텍스트、中文文本 — mixed with Latin.", 16,
       0xFFE0E0E0);

  struct ButtonSpec {
    UINT id;
    const wchar_t* title;
    int enabled;
    const wchar_t* tooltip;
  } const kButtons[] = {
      {kApplyId, L"Apply 应用", 1, L"Writes the settings to the mouse"},
      {4, L"Reset リセット", 1, L"Restores the factory settings"},
      {5, L"Disabled", 0, nullptr},
  };
  int x = 24;
  for (const ButtonSpec& b : kButtons) {
    auto* button = static_cast<MButton*>(dlg.CreateControl(L"MButton", b.id, CRect(x, 400, x + 180, 444), b.title, 1, 1));
    if (button == nullptr) continue;
    button->SetImage(L"img_button.png", 4);
    button->SetFontWidth(15);
    if (b.tooltip != nullptr) button->SetTooltip(b.tooltip);
    if (!b.enabled) button->SetEnabled(0);
    x += 200;
  }
}

}  // namespace

REGISTER_GALLERY_PAGE("core", "texts, pictures in every show mode, push buttons", BuildCorePage)

LRESULT GalleryDialog::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  const char* name = NotifyCodeName(code);
  if (name != nullptr) {
    std::printf("notify id=%u code=%s wparam=%lu lparam=%ld\n", id, name, static_cast<unsigned long>(wParam),
                static_cast<long>(lParam));
  } else {
    std::printf("notify id=%u code=%u wparam=%lu lparam=%ld\n", id, code, static_cast<unsigned long>(wParam),
                static_cast<long>(lParam));
  }
  std::fflush(stdout);
  // Edit fields also tell their text, so a script can check what was typed.
  if (code == CN_EDITCHANGE || code == CN_EDITEND) {
    if (auto* field = dynamic_cast<MControlFont*>(GetControl(id))) {
      std::printf("edit id=%u text=%s\n", id, platform::ToUtf8(field->GetTitle()).c_str());
      std::fflush(stdout);
    }
  }
  if (m_notifyHook) m_notifyHook(id, code, wParam, lParam);
  return 0;
}

CRect GalleryDialog::ControlRect(UINT id) {
  MControl* c = GetControl(id);
  return c != nullptr ? c->GetRect() : CRect();
}
