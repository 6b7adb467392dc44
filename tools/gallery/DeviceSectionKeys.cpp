// The button map section: the buttons of the cable model "Veyra Core" at
// the positions its model description (data/device/veyra_core.xml) gives,
// as callouts over its picture and as a list, and the seven report rates of
// an 8000 Hz model. Picking a button in either control selects it in the
// other, as the key page does; picking a rate names it below.

#include "tools/gallery/DeviceSectionKeys.h"

#include <algorithm>
#include <string>

#include "toolkit/controls/MouseCtrl.h"
#include "toolkit/controls/MouseKeyCtrl.h"
#include "toolkit/controls/ReporteCtrl.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/PaintManager.h"
#include "tools/gallery/GalleryDialog.h"

using namespace DUI;
using namespace gallery_keys;

namespace {

// The model's positions are on the 1300 x 788 design; the callouts use the
// part of it from (680, 110), 620 x 440, where the picture (300 x 420)
// stands at (850, 120).
constexpr int kDesignLeft = 680, kDesignTop = 110, kDesignWidth = 620, kDesignHeight = 440;
constexpr int kPictureLeft = 850, kPictureTop = 120, kPictureWidth = 300, kPictureHeight = 420;

struct Button {
  const wchar_t* name;
  const wchar_t* function;
  int keyValue;
  int side;
  int x1, x2, y;  // the model description's "rect"
};

// The "mouse_key" entries of veyra_core.xml with their English texts.
constexpr Button kButtons[] = {
    {L"Left button", L"Left click", 0, 0, 760, 935, 210},
    {L"Right button", L"Right click", 1, 1, 1065, 1220, 210},
    {L"Middle button", L"Middle click", 2, 1, 1000, 1220, 270},
    {L"Back button", L"Back", 3, 0, 760, 864, 410},
    {L"Forward button", L"Forward", 4, 0, 760, 860, 350},
    {L"DPI button", L"DPI cycle", 5, 1, 1000, 1220, 330},
};

struct Rate {
  const wchar_t* title;
  int code;
  int extra;
};

constexpr Rate kRates[] = {
    {L"125Hz", 8, 67825},        {L"250Hz", 4, 15559424},    {L"500Hz", 2, 5109248},
    {L"1000Hz", 1, 2139135},     {L"2000Hz", 16, 13173035},  {L"4000Hz", 32, 16776960},
    {L"8000Hz", 64, 16777215},
};

MText* Caption(MPanel& panel, UINT id, CRect rect, const wchar_t* text, int size, ARGB colour) {
  auto* t = static_cast<MText*>(panel.CreateArea(L"MText", id, rect, text, 1, 1));
  if (t == nullptr) return nullptr;
  t->SetFontWidth(size);
  t->SetTextColor(Color(colour));
  return t;
}

// The section's panel links its controls and passes every notification on
// to the dialog, which prints it.
class KeysSection : public MPanel {
 public:
  KeysSection(MObject* parent, CRect rect) : MPanel(parent, kSectionId, rect, 1) {}

  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
    if (code == CN_CLICK || code == CN_PRESS) {
      auto* mouse = dynamic_cast<MouseCtrl*>(GetControl(kMouseId));
      auto* keys = dynamic_cast<MouseKeyCtrl*>(GetControl(kKeyListId));
      auto* rates = dynamic_cast<ReporteCtrl*>(GetControl(kReportId));
      if (mouse != nullptr && keys != nullptr) {
        if (id == kMouseId) keys->SetSelectItem(int(wParam));
        if (id == kKeyListId) mouse->SetSelectItem(int(wParam));
      }
      if (code == CN_CLICK && mouse != nullptr && keys != nullptr && rates != nullptr) ShowStatus(*keys, *rates);
    }
    return MPanel::OnMessage(id, code, wParam, lParam);
  }

  void ShowStatus(const MouseKeyCtrl& keys, const ReporteCtrl& rates) {
    auto* status = dynamic_cast<MText*>(GetControl(kStatusId));
    if (status == nullptr) return;
    const int key = keys.GetSelectItem();
    const std::wstring line = keys.GetItemKeyName(key) + L": " + keys.GetItemKeyDesc(key) + L"    report rate " +
                              rates.GetItemKeyName(rates.GetSelectItem());
    status->SetTitle(line.c_str());
  }
};

}  // namespace

void BuildKeysSection(GalleryDialog& dlg, CRect area) {
  auto* section = new KeysSection(&dlg, area);
  dlg.GetPaintManager()->AttachControl(section, 1);

  const int w = area.Width();
  constexpr int kCaption = 24, kGap = 12, kStripHeight = 46, kStatus = 24;
  // The list takes at most a third of a narrow area.
  const int kListWidth = std::min(220, w / 3);

  // The report-rate strip along the bottom, shrunk to the width when needed.
  const int stripTop = area.bottom - kStripHeight;
  Caption(*section, 1430, CRect(area.left, stripTop - kCaption - kStatus, area.right, stripTop - kStatus),
          L"Report rate (ReporteCtrl)", 15, 0xFFFA373E);
  auto* rates = static_cast<ReporteCtrl*>(
      section->CreateControl(L"ReporteCtrl", kReportId, CRect(area.left, stripTop, area.right, area.bottom), nullptr, 1, 1));
  if (rates != nullptr) {
    for (const Rate& r : kRates) rates->AddItem(r.title, r.code, r.extra);
    const int natural = rates->GetCardsWidth(rates->GetItemCount());
    if (natural > w) rates->SetScaleValue(float(w) / float(natural));
    rates->SetSelectItemValue(1);
  }
  auto* status = Caption(*section, kStatusId, CRect(area.left, stripTop - kStatus, area.right, stripTop - 2), L"", 13,
                         0xFFB4B4B4);
  (void)status;

  // The list of buttons on the left.
  const int upperBottom = stripTop - kCaption - kStatus - 8;
  Caption(*section, 1431, CRect(area.left, area.top, area.left + kListWidth, area.top + kCaption),
          L"Buttons (MouseKeyCtrl)", 15, 0xFFFA373E);
  auto* keys = static_cast<MouseKeyCtrl*>(section->CreateControl(
      L"MouseKeyCtrl", kKeyListId, CRect(area.left, area.top + kCaption + 4, area.left + kListWidth, upperBottom),
      nullptr, 1, 1));
  if (keys != nullptr) {
    keys->SetImage(L"img_list_bkg.png", 2);
    keys->SetFontWidth(12);
    for (const Button& b : kButtons) keys->AddItem(b.name, b.function, b.keyValue);
    // As the key page does: the list is as high as its buttons.
    CRect r = keys->GetRect();
    r.bottom = std::min(upperBottom, r.top + keys->GetRowsHeight(keys->GetItemCount()));
    keys->SetRect(r);
  }

  // The picture with its callouts on the right, scaled down to fit.
  const int mouseLeft = area.left + kListWidth + kGap;
  const int availW = area.right - mouseLeft, availH = upperBottom - area.top;
  const float s = std::min({1.0f, float(availW) / kDesignWidth, float(availH) / kDesignHeight});
  const int left = mouseLeft + (availW - int(kDesignWidth * s)) / 2;
  const int top = area.top;
  auto* picture = static_cast<MPicture*>(section->CreateArea(
      L"MPicture", kPictureId,
      CRect(left + int((kPictureLeft - kDesignLeft) * s), top + int((kPictureTop - kDesignTop) * s),
            left + int((kPictureLeft - kDesignLeft + kPictureWidth) * s),
            top + int((kPictureTop - kDesignTop + kPictureHeight) * s)),
      nullptr, 1, 1));
  if (picture != nullptr) {
    picture->SetImage(L"device/veyra_core_key.png", 1);
    picture->SetShowMode(ShowModeStretch, 0);
  }
  auto* mouse = static_cast<MouseCtrl*>(section->CreateControl(
      L"MouseCtrl", kMouseId,
      CRect(left, top, left + int(kDesignWidth * s), top + int(kDesignHeight * s)), nullptr, 1, 1));
  if (mouse != nullptr) {
    mouse->SetImage(L"img_key_bkg.png", 2);
    mouse->SetFontWidth(std::max(9, int(11 * s)));
    mouse->SetScaleValue(s);
    for (const Button& b : kButtons) {
      mouse->AddItem(b.name, b.keyValue, b.side, CPoint(b.x1 - kDesignLeft, b.y - kDesignTop),
                     CPoint(b.x2 - kDesignLeft, b.y - kDesignTop));
    }
  }
  // Item 1 picked at the start, as after a page refresh.
  if (mouse != nullptr) mouse->SetSelectItem(1);
  if (keys != nullptr) keys->SetSelectItem(1);
  if (keys != nullptr && rates != nullptr) section->ShowStatus(*keys, *rates);
}
