#include "tools/gallery/DeviceSectionMacros.h"

#include <cwchar>
#include <string>
#include <vector>

#include "toolkit/controls/CRecordList.h"
#include "toolkit/controls/MacroList.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/PaintManager.h"
#include "tools/gallery/GalleryDialog.h"

using namespace DUI;

namespace {

struct Event {
  const wchar_t* text;
  int type, key, stamp;
};

struct Macro {
  std::wstring name;
  std::vector<Event> events;
};

// Plausible recordings: keys recorded live carry a stamp each; the button
// clicks inserted by hand share one per press and release.
std::vector<Macro> SampleMacros() {
  return {
      {L"Reload 装填",
       {{L"↓  R", 2, 'R', 11}, {L"42 ms", 1, 42, 12}, {L"↑  R", 3, 'R', 13}, {L"120 ms", 1, 120, 14},
        {L"↓  Left button", 4, 1, 20}, {L"10 ms", 1, 10, 21}, {L"↑  Left button", 5, 1, 20}, {L"10 ms", 1, 10, 22},
        {L"↓  Shift", 2, 0x10, 30}, {L"↓  W", 2, 'W', 31}, {L"350 ms", 1, 350, 32}, {L"↑  W", 3, 'W', 33},
        {L"↑  Shift", 3, 0x10, 34}}},
      {L"Burst fire",
       {{L"↓  Left button", 4, 1, 40}, {L"10 ms", 1, 10, 41}, {L"↑  Left button", 5, 1, 40}, {L"60 ms", 1, 60, 42},
        {L"↓  Left button", 4, 1, 43}, {L"10 ms", 1, 10, 44}, {L"↑  Left button", 5, 1, 43}}},
      {L"Build order",
       {{L"↓  B", 2, 'B', 50}, {L"↑  B", 3, 'B', 51}, {L"80 ms", 1, 80, 52}, {L"↓  E", 2, 'E', 53},
        {L"↑  E", 3, 'E', 54}}},
      {L"Copy line", {{L"↓  Ctrl", 2, 0x11, 60}, {L"↓  C", 2, 'C', 61}, {L"↑  C", 3, 'C', 62}, {L"↑  Ctrl", 3, 0x11, 63}}},
      {L"Custom 5", {}},
      {L"A macro whose name is far too long for its row", {{L"500 ms", 1, 500, 70}}},
  };
}

// The section's panel: it owns the sample data and answers its lists'
// notifications the way the macro page does, then passes them on.
class MacrosPanel : public MPanel {
 public:
  MacrosPanel(MObject* parent, UINT id, CRect rect) : MPanel(parent, id, rect, 1), m_macros(SampleMacros()) {}

  void Build() {
    const CRect r = m_rect;
    const int split = r.left + 250;
    Frame(1301, CRect(r.left, r.top, split - 12, r.bottom));
    Frame(1302, CRect(split, r.top, r.right, r.bottom));
    Text(1303, CRect(r.left + 14, r.top + 8, split - 24, r.top + 36), L"Macros", 16, 0xFFFFFFFF);
    Text(1304, CRect(split + 14, r.top + 8, r.right - 14, r.top + 36), L"Events", 16, 0xFFFFFFFF);
    if (auto* band = static_cast<MPicture*>(CreateArea(L"MPicture", 1305,
                                                        CRect(split + 8, r.top + 40, r.right - 8, r.top + 70), nullptr,
                                                        1, 1))) {
      band->SetImage(L"img_eventcaption.png", 1);
      band->SetShowMode(ShowModeStretch, 0);
    }
    Text(1306, CRect(split + 8 + 15, r.top + 40, split + 8 + 65, r.top + 70), L"No.", 13, 0xFFB4B4B4);
    Text(1307, CRect(split + 8 + 65, r.top + 40, split + 8 + 190, r.top + 70), L"Type", 13, 0xFFB4B4B4)
        ->SetAlignment(1);
    Text(1308, CRect(split + 8 + 190, r.top + 40, r.right - 8, r.top + 70), L"Event", 13, 0xFFB4B4B4);

    m_list = static_cast<MacroList*>(CreateControl(L"MacroList", kGalleryMacroList,
                                                   CRect(r.left + 8, r.top + 44, split - 20, r.bottom - 10), nullptr,
                                                   1, 1));
    m_records = static_cast<CRecordList*>(CreateControl(L"CRecordList", kGalleryRecordList,
                                                        CRect(split + 8, r.top + 74, r.right - 8, r.bottom - 10),
                                                        nullptr, 1, 1));
    if (m_list == nullptr || m_records == nullptr) return;
    m_list->SetImage(L"img_list_bkg.png", 2);
    m_list->SetEditImage(L"btn_more.png", 4);
    m_list->EnableShowEdit(1);
    for (size_t i = 0; i < m_macros.size(); ++i) m_list->AddString(m_macros[i].name.c_str(), long(i), -1);
    m_records->SetImage(L"icon\\icon_list.png", 8);
    m_records->SetItemImage(L"img_list_bkg.png", 2);
    m_records->SetMoreImage(L"btn_more.png", 4);
    m_list->SetCurSel(0);
    ShowMacro(0);
    // A release row selected: its press is highlighted with it.
    m_records->SetCurSel(6);
  }

  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
    if (id == kGalleryMacroList && code == CN_CLICK) ShowMacro(m_list->GetCurSel());
    if (id == kGalleryMacroList && code == CN_EDITEND) {
      const int row = int(lParam);
      const long macro = m_list->GetItemData(row);
      if (macro >= 0 && size_t(macro) < m_macros.size()) m_macros[size_t(macro)].name = m_list->GetItemText(row);
    }
    if (id == kGalleryRecordList && code == CN_EDITEND) EditDelay(int(lParam));
    return MPanel::OnMessage(id, code, wParam, lParam);
  }

 private:
  void Frame(UINT id, CRect rect) {
    if (auto* frame = static_cast<MPicture*>(CreateArea(L"MPicture", id, rect, nullptr, 1, 1))) {
      frame->SetImage(L"img_area_content.png", 1);
      frame->SetShowMode(ShowModeFrame, 8);
    }
  }
  MText* Text(UINT id, CRect rect, const wchar_t* text, int size, ARGB colour) {
    auto* made = static_cast<MText*>(CreateArea(L"MText", id, rect, text, 1, 1));
    made->SetFontWidth(size);
    made->SetTextColor(Color(colour));
    return made;
  }

  void ShowMacro(int row) {
    m_records->DeleteAllItems();
    const long macro = m_list->GetItemData(row);
    if (row < 0 || macro < 0 || size_t(macro) >= m_macros.size()) return;
    for (const Event& e : m_macros[size_t(macro)].events) m_records->AddString(e.text, e.type, e.key, e.stamp);
  }

  // A delay row takes a number typed over it; other rows keep their text.
  void EditDelay(int row) {
    CString text;
    int type = 0, key = 0, stamp = 0;
    if (!m_records->GetRecordInfo(row, text, type, key, stamp) || type != 1) return;
    const CString typed = m_records->GetEditText();
    wchar_t* end = nullptr;
    const long ms = std::wcstol(typed.c_str(), &end, 10);
    if (typed.empty() || end == nullptr || *end != 0) return;
    const int clamped = int(std::max(1L, std::min(ms, 10000L)));
    m_records->SetRecordInfo(row, std::to_wstring(clamped) + L" ms", 1, clamped, stamp);
  }

  std::vector<Macro> m_macros;
  MacroList* m_list = nullptr;
  CRecordList* m_records = nullptr;
};

}  // namespace

void BuildMacrosSection(GalleryDialog& dlg, CRect area) {
  auto* panel = new MacrosPanel(&dlg, kGalleryMacrosPanel, area);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  panel->Build();
}
