// The key assignment page.
//
// Index
//   1. Tables: selectors and their items, the layout
//   2. Building and layout
//   3. Notifications
//   4. The button list and the selectors
//   5. Assignments
//   6. Key capture and the number fields
//   7. Helpers

#include "ui/KeyPage.h"

#include <algorithm>
#include <cwchar>
#include <initializer_list>

#include "device/ButtonCodes.h"
#include "device/DeviceSequences.h"
#include "device/DeviceWorker.h"
#include "device/MacroStream.h"
#include "device/ProfileMapping.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/MouseCtrl.h"
#include "toolkit/controls/MouseKeyCtrl.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MButton2.h"
#include "toolkit/core/MButton3.h"
#include "toolkit/core/MComboBox2.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/RawKeyEvent.h"

using namespace DUI;

namespace ui {

// --- 1. Tables ------------------------------------------------------------------------------------
namespace {

constexpr Color kWhite(0xFFFFFFFF);
constexpr Color kLabel(0xFF9FB4C8);

// An item of a selector: the text id (0: the literal) and its data.
struct BoxItem {
  int text;
  const wchar_t* literal;
  long data;
};

constexpr BoxItem kMouseItems[] = {{106, nullptr, 1}, {107, nullptr, 3}, {108, nullptr, 2},
                                   {109, nullptr, 5}, {110, nullptr, 6}, {180, nullptr, 4}};
constexpr BoxItem kMediaItems[] = {{117, nullptr, 6}, {118, nullptr, 7}, {119, nullptr, 8}, {120, nullptr, 1},
                                   {121, nullptr, 2}, {122, nullptr, 4}, {123, nullptr, 5}, {124, nullptr, 3}};
constexpr BoxItem kSystemItems[] = {{127, nullptr, 1}, {128, nullptr, 2}, {129, nullptr, 3}, {130, nullptr, 4},
                                    {131, nullptr, 5}, {132, nullptr, 6}, {133, nullptr, 7}, {134, nullptr, 8},
                                    {31, nullptr, 9},  {36, nullptr, 11}, {32, nullptr, 10}};
constexpr BoxItem kDpiItems[] = {{141, nullptr, 3}, {0, L"DPI +", 1}, {0, L"DPI -", 2}};
constexpr BoxItem kSpecialItems[] = {{151, nullptr, 1}, {181, nullptr, 2}};

struct SelectorBox {
  UINT id;
  int macroType;
  const BoxItem* items;
  size_t count;
};

template <size_t N>
constexpr SelectorBox Selector(UINT id, int type, const BoxItem (&items)[N]) {
  return SelectorBox{id, type, items, N};
}

const SelectorBox kBoxes[] = {
    Selector(KeyPage::kMouseBox, mouseproto::kFnMouseButton, kMouseItems),
    Selector(KeyPage::kMediaBox, mouseproto::kFnMedia, kMediaItems),
    SelectorBox{KeyPage::kMacroBox, mouseproto::kFnMacro, nullptr, 0},  // one item per macro
    Selector(KeyPage::kSystemBox, mouseproto::kFnSystem, kSystemItems),
    Selector(KeyPage::kDpiBox, mouseproto::kFnDpi, kDpiItems),
    Selector(KeyPage::kSpecialBox, mouseproto::kFnSpecial, kSpecialItems),
};

const SelectorBox* FindBox(UINT id) {
  for (const SelectorBox& b : kBoxes) {
    if (b.id == id) return &b;
  }
  return nullptr;
}

// The selectors in the order they stand, label text beside each.
struct SelectorRow {
  UINT labelId;
  int labelText;
  UINT controlId;
};
constexpr SelectorRow kSelectorRows[] = {
    {KeyPage::kMouseLabel, 105, KeyPage::kMouseBox},     {KeyPage::kMediaLabel, 116, KeyPage::kMediaBox},
    {KeyPage::kMacroLabel, 125, KeyPage::kMacroBox},     {KeyPage::kSystemBox, 126, KeyPage::kSystemBox},
    {KeyPage::kDpiLabel, 140, KeyPage::kDpiBox},         {KeyPage::kSpecialLabel, 150, KeyPage::kSpecialBox},
    {KeyPage::kComboLabel, 160, KeyPage::kComboOpen},    {KeyPage::kRepeatLabel, 182, KeyPage::kRepeatOpen},
    {KeyPage::kDisableLabel, 139, KeyPage::kDisable},
};

// The modifier buttons 94 to 97 and their bits.
constexpr const wchar_t* kModifierTitles[4] = {L"Ctrl", L"Win", L"Alt", L"Shift"};
constexpr int kModifierBits[4] = {0x01, 0x08, 0x04, 0x02};

// Layout on the 1300 x 788 design, relative to the page's top-left corner
// (the page stands at 180, 80). The mouse's callouts are given in window
// coordinates by the model description; the callout control stands at
// kMouseArea, so they are moved by its window position.
const CRect kListArea(0, 0, 240, 658);
const CRect kFunctionArea(250, 0, 480, 658);
// Up to the window's right edge: the right-hand labels end there.
const CRect kMouseArea(480, 0, 1119, 480);
const CPoint kMouseAreaInWindow(660, 80);
const CRect kPanelArea(590, 490, 1090, 650);
constexpr int kCaptionHeight = 44;
constexpr int kSelectorTop = 112, kSelectorStep = 60;

// Message box kinds.
constexpr int kOneButton = 0, kTwoButtons = 4;

// The repeat fields' ranges.
constexpr int kCountLow = 0, kCountHigh = 255, kIntervalLow = 5, kIntervalHigh = 255;

}  // namespace

// --- 2. Building and layout --------------------------------------------------------------------

KeyPage::KeyPage(DeviceMainDlg& dlg, MainPage& container) : DevicePage(dlg, container) {}

std::unique_ptr<DevicePage> MakeKeyPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<KeyPage>(dlg, container);
}

namespace {

template <typename T>
T* Make(MainPage& page, const wchar_t* cls, UINT id, const wchar_t* title, int visible = 1) {
  return dynamic_cast<T*>(page.CreateControl(cls, id, CRect(), title, visible, 1));
}

MPicture* Frame(MainPage& page, UINT id, const wchar_t* image, int visible = 1) {
  auto* p = dynamic_cast<MPicture*>(page.CreateArea(L"MPicture", id, CRect(), L"", visible, 1));
  if (p != nullptr) {
    p->SetImage(image, 1);
    p->SetShowMode(ShowModeFrameMID, 0);
  }
  return p;
}

MText* Label(MainPage& page, UINT id, int size, Color colour, int visible = 1) {
  auto* t = dynamic_cast<MText*>(page.CreateArea(L"MText", id, CRect(), L"", visible, 1));
  if (t != nullptr) {
    t->SetFontWidth(size);
    t->SetTextColor(colour);
    t->SetAlignment(DT_LEFT, DT_VCENTER);
  }
  return t;
}

}  // namespace

void KeyPage::Build() {
  MainPage& page = m_container;
  m_listFrame = Frame(page, kListFrame, L"img_area_bkg.png");
  if (m_listFrame != nullptr) m_listFrame->SetShowModeMID(10, 50, 260, 10);
  m_listCaption = Frame(page, kListCaption, L"img_area_caption.png");
  m_listTitle = Label(page, kListTitle, 16, kWhite);
  m_functionFrame = Frame(page, kFunctionCaption, L"img_area2.png");
  if (m_functionFrame != nullptr) m_functionFrame->SetShowModeMID(30, 30, 30, 30);
  m_functionTitle = Label(page, kFunctionTitle, 16, kWhite);
  m_functionCaption = Frame(page, kFunctionFrame, L"img_area_content.png");
  if (m_functionCaption != nullptr) m_functionCaption->SetShowModeMID(10, 10, 10, 10);

  m_resetAll = Make<MButton>(page, L"MButton", kResetAll, L"");
  if (m_resetAll != nullptr) m_resetAll->SetImage(L"img_button.png", 4);
  m_keyList = Make<MouseKeyCtrl>(page, L"MouseKeyCtrl", kKeyList, L"");
  if (m_keyList != nullptr) {
    m_keyList->SetImage(L"img_list_bkg.png", 2);
    m_keyList->SetFontWidth(12);
  }
  m_keyName = Label(page, kKeyName, 14, kWhite);
  m_resetKey = Make<CImageButton>(page, L"CImageButton", kResetKey, L"");
  if (m_resetKey != nullptr) m_resetKey->SetImage(L"btn_reset.png", 4);

  for (const SelectorRow& s : kSelectorRows) {
    Selector sel{s.labelId, s.labelText, s.controlId};
    sel.label = Label(page, s.labelId, 12, kLabel);
    if (FindBox(s.controlId) != nullptr) {
      auto* box = Make<MComboBox2>(page, L"MComboBox2", s.controlId, L"");
      if (box != nullptr) {
        box->SetBackImage(L"img_combobox.png");
        box->SetGroupName(L"keyfunction");
      }
      sel.control = box;
    } else {
      auto* button = Make<MButton2>(page, L"MButton2", s.controlId, L"");
      if (button != nullptr) {
        button->SetImage(L"img_button2.png", 4);
        // Each keeps its own mark: an open panel does not unmark Disable.
        button->SetGroupName(s.controlId == kComboOpen ? L"KeyCombination"
                             : s.controlId == kRepeatOpen ? L"KeyRepeat" : L"KeyDisable");
      }
      sel.control = button;
      if (s.controlId == kComboOpen) m_comboOpen = button;
      if (s.controlId == kRepeatOpen) m_repeatOpen = button;
      if (s.controlId == kDisable) m_disable = button;
    }
    m_selectors.push_back(sel);
  }

  // The key-combination panel.
  m_comboPanel = Frame(page, kComboPanel, L"img_area_content.png", 0);
  if (m_comboPanel != nullptr) m_comboPanel->SetShowModeMID(10, 10, 10, 10);
  m_comboTitle = Label(page, kComboTitle, 14, kWhite, 0);
  m_comboClose = Make<CImageButton>(page, L"CImageButton", kComboClose, L"", 0);
  if (m_comboClose != nullptr) m_comboClose->SetImage(L"btn_close.png", 4);
  m_comboKey = Make<MEdit>(page, L"MEdit", kComboKey, L"", 0);
  if (m_comboKey != nullptr) {
    m_comboKey->SetImage(L"img_edit.png", 4);
    m_comboKey->SetTextColor(kWhite);
    m_comboKey->SetAlignment(DT_CENTER, DT_VCENTER);
    // A key-capture field: keys come through the window's key capture, not
    // as characters, and the input method stays off.
    m_comboKey->EnableCharMessage(0);
  }
  for (int i = 0; i < 4; ++i) {
    m_modifiers[i] = Make<MButton3>(page, L"MButton3", kCtrl + UINT(i), kModifierTitles[i], 0);
    if (m_modifiers[i] == nullptr) continue;
    m_modifiers[i]->SetImage(L"img_button2.png", 4);
    m_modifiers[i]->SetTitle(kModifierTitles[i]);
  }
  m_comboApply = Make<MButton>(page, L"MButton", kComboApply, L"", 0);
  if (m_comboApply != nullptr) m_comboApply->SetImage(L"img_button.png", 4);

  // The repeat panel.
  m_repeatPanel = Frame(page, kRepeatPanel, L"img_area_content.png", 0);
  if (m_repeatPanel != nullptr) m_repeatPanel->SetShowModeMID(10, 10, 10, 10);
  m_repeatTitle = Label(page, kRepeatTitle, 14, kWhite, 0);
  m_countLabel = Label(page, kCountLabel, 12, kLabel, 0);
  m_countEdit = Make<MEdit>(page, L"MEdit", kCountEdit, L"1", 0);
  m_intervalLabel = Label(page, kIntervalLabel, 12, kLabel, 0);
  m_unitLabel = Label(page, kUnitLabel, 12, kLabel, 0);
  m_intervalEdit = Make<MEdit>(page, L"MEdit", kIntervalEdit, L"5", 0);
  for (MEdit* e : {m_countEdit, m_intervalEdit}) {
    if (e == nullptr) continue;
    e->SetImage(L"img_edit.png", 4);
    e->SetTextColor(kWhite);
    e->SetAlignment(DT_CENTER, DT_VCENTER);
    e->SetLimitText(5);
  }
  m_repeatApply = Make<MButton>(page, L"MButton", kRepeatApply, L"", 0);
  if (m_repeatApply != nullptr) m_repeatApply->SetImage(L"img_button.png", 4);
  m_repeatClose = Make<CImageButton>(page, L"CImageButton", kRepeatClose, L"", 0);
  if (m_repeatClose != nullptr) m_repeatClose->SetImage(L"btn_close.png", 4);

  // The callouts lie over the model's picture, after everything else.
  m_mouse = Make<MouseCtrl>(page, L"MouseCtrl", kMouse, L"");
  if (m_mouse != nullptr) {
    m_mouse->SetImage(L"img_key_bkg.png", 2);
    m_mouse->SetFontWidth(12);
  }

  RefreshTexts();
  RebuildButtons();
}

void KeyPage::Layout(CRect rect, float scale) {
  // The labels of the right-hand buttons end near the window's edge, past
  // the margin the other pages keep: this page reaches to the frame.
  m_pageRect = rect;
  m_scale = scale;
  const int wide = rect.right + int(19.0f * scale);
  if (m_container.GetRect().right != wide) {
    CRect widened = rect;
    widened.right = wide;
    m_container.SetRect(widened);
  }
  const auto at = [&](CRect r) {
    const auto s = [scale](int v) { return int(float(v) * scale + 0.5f); };
    return CRect(rect.left + s(r.left), rect.top + s(r.top), rect.left + s(r.right), rect.top + s(r.bottom));
  };
  const auto place = [&](MControl* c, CRect r) {
    if (c != nullptr) c->SetRect(at(r));
  };
  // The list and its frame.
  place(m_listFrame, kListArea);
  place(m_listCaption, CRect(kListArea.left, 0, kListArea.right, kCaptionHeight));
  place(m_listTitle, CRect(kListArea.left + 16, 0, kListArea.right - 16, kCaptionHeight));
  if (m_keyList != nullptr) {
    const int rows = std::max(1, m_keyList->GetItemCount());
    const int height = std::min(520, rows * (MouseKeyCtrl::kRowHeight + MouseKeyCtrl::kRowGap));
    place(m_keyList, CRect(16, 60, kListArea.right - 16, 60 + height));
  }
  place(m_resetAll, CRect(20, 602, kListArea.right - 20, 638));

  // The function column.
  place(m_functionFrame, kFunctionArea);
  place(m_functionTitle, CRect(kFunctionArea.left + 16, 0, kFunctionArea.right - 16, kCaptionHeight));
  place(m_functionCaption, CRect(kFunctionArea.left + 10, 52, kFunctionArea.right - 10, 96));
  place(m_keyName, CRect(kFunctionArea.left + 22, 56, kFunctionArea.right - 50, 92));
  place(m_resetKey, CRect(kFunctionArea.right - 44, 62, kFunctionArea.right - 20, 86));
  for (size_t i = 0; i < m_selectors.size(); ++i) {
    const int y = kSelectorTop + int(i) * kSelectorStep;
    place(m_selectors[i].label, CRect(kFunctionArea.left + 20, y, kFunctionArea.right - 20, y + 20));
    const bool button = FindBox(m_selectors[i].controlId) == nullptr;
    const int right = button ? kFunctionArea.left + 120 : kFunctionArea.right - 20;
    place(m_selectors[i].control, CRect(kFunctionArea.left + 20, y + 22, right, y + 52));
  }

  // The callouts over the picture.
  if (m_mouse != nullptr) {
    place(m_mouse, kMouseArea);
    m_mouse->SetScaleValue(scale);
  }

  // The two panels share the place below the picture.
  const CRect p = kPanelArea;
  place(m_comboPanel, p);
  place(m_comboTitle, CRect(p.left + 16, p.top + 6, p.right - 50, p.top + 36));
  place(m_comboClose, CRect(p.right - 34, p.top + 8, p.right - 10, p.top + 32));
  place(m_comboKey, CRect(p.left + 16, p.top + 42, p.right - 16, p.top + 72));
  for (int i = 0; i < 4; ++i) {
    const int x = p.left + 16 + i * 90;
    place(m_modifiers[i], CRect(x, p.top + 82, x + 80, p.top + 114));
  }
  place(m_comboApply, CRect(p.right - 136, p.top + 120, p.right - 16, p.top + 152));

  place(m_repeatPanel, p);
  place(m_repeatTitle, CRect(p.left + 16, p.top + 6, p.right - 50, p.top + 36));
  place(m_repeatClose, CRect(p.right - 34, p.top + 8, p.right - 10, p.top + 32));
  place(m_countLabel, CRect(p.left + 16, p.top + 46, p.left + 110, p.top + 76));
  place(m_countEdit, CRect(p.left + 110, p.top + 46, p.left + 180, p.top + 76));
  place(m_intervalLabel, CRect(p.left + 210, p.top + 46, p.left + 300, p.top + 76));
  place(m_intervalEdit, CRect(p.left + 300, p.top + 46, p.left + 370, p.top + 76));
  place(m_unitLabel, CRect(p.left + 378, p.top + 46, p.left + 440, p.top + 76));
  place(m_repeatApply, CRect(p.right - 136, p.top + 120, p.right - 16, p.top + 152));
}

void KeyPage::RefreshTexts() {
  const auto title = [](MControlFont* c, const std::wstring& text) {
    if (c != nullptr) c->SetTitle(text.c_str());
  };
  title(m_listTitle, Text(100));
  title(m_functionTitle, Text(101));
  title(m_resetAll, Text(102));
  if (m_resetKey != nullptr) m_resetKey->SetTooltip(Text(104).c_str());
  for (Selector& s : m_selectors) {
    title(s.label, Text(s.labelText));
    if (s.controlId == kComboOpen || s.controlId == kRepeatOpen)
      title(dynamic_cast<MControlFont*>(s.control), Text(11));
    if (s.controlId == kDisable) title(dynamic_cast<MControlFont*>(s.control), Text(139));
  }
  for (const SelectorBox& selector : kBoxes) {
    MComboBox2* box = Box(selector.id);
    if (box == nullptr || selector.items == nullptr) continue;
    const int selected = std::max(0, box->GetCurSel());
    box->DelAllItems();
    for (size_t i = 0; i < selector.count; ++i) {
      const BoxItem& item = selector.items[i];
      const std::wstring text = item.literal != nullptr ? std::wstring(item.literal) : Text(item.text);
      box->AddItem(text.c_str(), item.data);
    }
    box->SetCurSel(selected);
  }
  title(m_comboTitle, Text(160));
  if (m_comboClose != nullptr) m_comboClose->SetTooltip(Text(183).c_str());
  if (m_comboKey != nullptr) m_comboKey->SetTipInfo(Text(162).c_str());
  title(m_comboApply, Text(38));
  title(m_repeatTitle, Text(kTextRepeat));
  title(m_countLabel, Text(185));
  title(m_intervalLabel, Text(186));
  title(m_unitLabel, Text(187));
  title(m_repeatApply, Text(38));
  if (m_repeatClose != nullptr) m_repeatClose->SetTooltip(Text(183).c_str());
  // The buttons' names and functions come from the model in this language.
  RebuildButtons();
  RefreshKeyPage();
}

// --- 3. Notifications --------------------------------------------------------------------------

bool KeyPage::OnNotify(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  if (code == CN_CLICK) {
    switch (id) {
      case kResetAll: ResetAll(); return true;
      case kKeyList: SelectButton(int(wParam), true); return true;
      case kMouse: SelectButton(int(wParam), false); return true;
      case kResetKey: ResetKey(); return true;
      case kMouseBox: case kMediaBox: case kMacroBox: case kSystemBox: case kDpiBox: case kSpecialBox:
        AssignFromBox(id);
        return true;
      case kComboOpen: OpenCombination(); return true;
      case kRepeatOpen: OpenRepeat(); return true;
      case kDisable: Disable(); return true;
      case kComboClose: HidePanels(); return true;
      case kCtrl: case kWin: case kAlt: case kShift: return false;  // they keep their own state
      case kComboApply: AssignCombination(); return true;
      case kRepeatApply: AssignRepeat(); return true;
      case kRepeatClose: HidePanels(); return true;
      default: break;
    }
  }
  if (id == kComboKey && code == CN_EDITBEGIN) {
    StartCapture();
    return true;
  }
  if (id == kComboKey && code == CN_EDITEND) {
    StopCapture();
    return true;
  }
  if ((id == kCountEdit || id == kIntervalEdit) && code == CN_EDITEND) {
    ClampField(id);
    return true;
  }
  return false;
}

void KeyPage::OnShow(bool shown) {
  if (!shown) {
    StopCapture();
    return;
  }
  FillMacroBox();
}

void KeyPage::OnModelShown() {
  RebuildButtons();
  RefreshKeyPage();
  if (!m_pageRect.IsRectEmpty()) Layout(m_pageRect, m_scale);
}

void KeyPage::OnProfileChanged() { RefreshKeyPage(); }

void KeyPage::RefreshMacroPage() { FillMacroBox(); }

// --- 4. The button list and the selectors ----------------------------------------------------

void KeyPage::RebuildButtons() {
  if (m_mouse == nullptr || m_keyList == nullptr) return;
  m_mouse->DeleteAllItems();
  m_keyList->DeleteAllItems();
  for (const ModelButton& b : m_dlg.GetModelButtons()) {
    const std::wstring name = shell::GetText(b.NameId());
    const CPoint a(b.a.x - kMouseAreaInWindow.x, b.a.y - kMouseAreaInWindow.y);
    const CPoint z(b.b.x - kMouseAreaInWindow.x, b.b.y - kMouseAreaInWindow.y);
    m_mouse->AddItem(name, b.key_value, b.direction, a, z);
    m_keyList->AddItem(name, shell::GetText(b.FuncDescId()), b.key_value);
  }
  m_mouse->SetSelectItem(0);
  m_keyList->SetSelectItem(0);
}

void KeyPage::SelectButton(int index, bool fromList) {
  if (m_mouse == nullptr || m_keyList == nullptr) return;
  if (index < 0 || index >= m_keyList->GetItemCount()) return;
  if (fromList) m_mouse->SetSelectItem(index);
  else m_keyList->SetSelectItem(index);
  m_currentKey = m_keyList->GetItemKeyValue(index);
  if (m_keyName != nullptr) m_keyName->SetTitle(m_keyList->GetItemKeyName(index).c_str());
  ShowSelectors();
  if (fromList && !m_pageRect.IsRectEmpty()) Layout(m_pageRect, m_scale);
}

MComboBox2* KeyPage::Box(UINT id) const {
  for (const Selector& s : m_selectors) {
    if (s.controlId == id) return dynamic_cast<MComboBox2*>(s.control);
  }
  return nullptr;
}

void KeyPage::HidePanels() {
  StopCapture();
  for (MControl* c : std::initializer_list<MControl*>{m_comboPanel, m_comboTitle, m_comboClose, m_comboKey,
                                                       m_modifiers[0], m_modifiers[1], m_modifiers[2],
                                                       m_modifiers[3], m_comboApply}) {
    if (c != nullptr) c->SetVisible(0);
  }
  for (MButton3* m : m_modifiers) {
    if (m != nullptr) m->SetCheck(0);
  }
  for (MControl* c : std::initializer_list<MControl*>{m_repeatPanel, m_repeatTitle, m_countLabel, m_countEdit,
                                                       m_intervalLabel, m_intervalEdit, m_unitLabel, m_repeatApply,
                                                       m_repeatClose}) {
    if (c != nullptr) c->SetVisible(0);
  }
  if (m_countEdit != nullptr) m_countEdit->SetEditText(L"1");
  if (m_intervalEdit != nullptr) m_intervalEdit->SetEditText(L"5");
  // An opener is marked while its panel is open.
  if (m_comboOpen != nullptr) m_comboOpen->SetCheck(0);
  if (m_repeatOpen != nullptr) m_repeatOpen->SetCheck(0);
}

void KeyPage::ShowSelectors() {
  HidePanels();
  // The resting state: nothing marked but the mouse-button box.
  for (const SelectorBox& selector : kBoxes) {
    if (MComboBox2* box = Box(selector.id)) box->SetCheck(0);
  }
  if (m_disable != nullptr) m_disable->SetCheck(0);
  MComboBox2* mouse = Box(kMouseBox);
  if (mouse != nullptr) {
    mouse->SetCheck(1);
    mouse->SetCurSel(1);
  }
  if (MComboBox2* b = Box(kMediaBox)) b->SetCurSel(3);
  if (MComboBox2* b = Box(kMacroBox)) b->SetCurSel(0);
  if (MComboBox2* b = Box(kSystemBox)) b->SetCurSel(2);

  // Without a stored record the button has its model default, which the
  // selectors show rather than an unrelated resting choice.
  KeyRecord record;
  bool found = m_dlg.Store().GetKeyRecord(m_dlg.GetCurrentProfile(), m_currentKey, record);
  for (const KeyRecord& d : m_dlg.GetDefaultKeys()) {
    if (found) break;
    if (d.key_code == m_currentKey) record = d, found = true;
  }
  if (!found) return;
  const auto mark = [&](UINT id) {
    MComboBox2* box = Box(id);
    if (box == nullptr) return;
    if (mouse != nullptr && id != kMouseBox) {
      mouse->SetCheck(0);
      mouse->SetCurSel(0);
    }
    box->SetCheck(1);
    box->SelectData(record.macro_value);
  };
  switch (record.macro_type) {
    case mouseproto::kFnMouseButton: mark(kMouseBox); break;
    case mouseproto::kFnMedia: mark(kMediaBox); break;
    case mouseproto::kFnMacro: mark(kMacroBox); break;
    case mouseproto::kFnDpi: mark(kDpiBox); break;
    case mouseproto::kFnSpecial: mark(kSpecialBox); break;
    case mouseproto::kFnSystem: mark(kSystemBox); break;
    case mouseproto::kFnDisabled:
      if (mouse != nullptr) mouse->SetCheck(0);
      if (m_disable != nullptr) m_disable->SetCheck(1);
      break;
    default: break;  // key combinations and repeats keep the resting state
  }
}

void KeyPage::RefreshKeyPage() {
  if (m_mouse == nullptr || m_keyList == nullptr) return;
  // The second button comes up first: the left button cannot be reassigned.
  const int index = m_keyList->GetItemCount() > 1 ? 1 : 0;
  m_currentKey = m_keyList->GetItemCount() > 1 ? m_keyList->GetItemKeyValue(index) : 1;
  m_mouse->SetSelectItem(index);
  m_keyList->SetSelectItem(index);
  if (m_keyName != nullptr) m_keyName->SetTitle(m_keyList->GetItemKeyName(index).c_str());
  for (int i = 0; i < m_keyList->GetItemCount(); ++i)
    m_keyList->SetItemKeyDesc(i, DefaultDescription(m_keyList->GetItemKeyValue(i)));
  std::vector<KeyRecord> stored;
  m_dlg.Store().ListKeyRecords(m_dlg.GetCurrentProfile(), stored);
  for (const KeyRecord& r : stored) {
    if (r.fn_layer != 0) continue;
    const int i = ListIndexOf(r.key_code);
    if (i >= 0) m_keyList->SetItemKeyDesc(i, DisplayText(r));
  }
  FillMacroBox();
  ShowSelectors();
}

void KeyPage::FillMacroBox() {
  MComboBox2* box = Box(kMacroBox);
  if (box == nullptr) return;
  const long selected = box->GetCurData();
  std::vector<MacroRecord> macros;
  m_dlg.Store().ListMacros(macros);
  box->DelAllItems();
  for (const MacroRecord& m : macros) box->AddItem(MacroListName(m.name).c_str(), m.macro_id);
  if (box->SelectData(selected) < 0 && box->GetItemCount() > 0) box->SetCurSel(0);
}

// --- 5. Assignments --------------------------------------------------------------------------------

bool KeyPage::PassesGuard() {
  // The left button always keeps its click, so that the mouse stays usable.
  if (m_currentKey != 0) return true;
  m_dlg.Message(Text(kTextGuard).c_str(), Text(kTextGuardTitle).c_str(), kOneButton);
  return false;
}

KeyRecord KeyPage::NewRecord() const {
  KeyRecord r;
  r.profile = m_dlg.GetCurrentProfile();
  r.fn_layer = 0;
  r.key_code = m_currentKey;
  r.layout_value = m_currentKey;
  for (const KeyRecord& d : m_dlg.GetDefaultKeys()) {
    if (d.key_code == m_currentKey) r.layout_desc = d.layout_desc;
  }
  return r;
}

void KeyPage::Assign(KeyRecord record) {
  const bool stored = m_dlg.Store().SaveKeyRecord(record) > 0;
  if (stored && m_keyList != nullptr) {
    const int i = ListIndexOf(record.key_code);
    if (i >= 0) m_keyList->SetItemKeyDesc(i, DisplayText(record));
  }
  m_dlg.AppendJob(DeviceWorker::kJobButtonFunctions);
  m_dlg.ShowSaveWait();
}

void KeyPage::AssignFromBox(UINT boxId) {
  if (!PassesGuard()) {
    ShowSelectors();
    return;
  }
  const SelectorBox* selector = FindBox(boxId);
  MComboBox2* box = Box(boxId);
  if (selector == nullptr || box == nullptr || box->GetCurSel() < 0) return;
  HidePanels();
  KeyRecord record = NewRecord();
  record.macro_type = selector->macroType;
  record.macro_value = int(box->GetCurData());
  record.macro_desc = box->GetItemText(box->GetCurSel());
  if (boxId == kMacroBox) {
    // A macro the mouse cannot hold is not assigned: the button keeps what
    // it has, and the user learns why.
    std::vector<MacroEvent> events;
    m_dlg.Store().ListMacroEvents(record.macro_value, events);
    const auto stream = mouseproto::BuildMacroStream(record.key_code, ProfileMapping::MacroEvents(events));
    if (!events.empty() && mouseproto::BuildMacroRequests(stream).empty()) {
      MacroTooLong(record.key_code, record.macro_value);
      return;
    }
    m_dlg.Worker().Sequences().SetPendingMacro(record.key_code);
  }
  // The selected box is the marked one.
  for (const SelectorBox& s : kBoxes) {
    if (MComboBox2* b = Box(s.id)) b->SetCheck(s.id == boxId ? 1 : 0);
  }
  if (m_disable != nullptr) m_disable->SetCheck(0);
  Assign(record);
}

void KeyPage::MacroTooLong(int keyCode, int macroId) {
  (void)macroId;
  m_dlg.Message(Text(kTextMacroTooLong).c_str(), Text(125).c_str(), kOneButton);
  if (keyCode == m_currentKey) ShowSelectors();
}

void KeyPage::OpenCombination() {
  if (!PassesGuard()) {
    if (m_comboOpen != nullptr) m_comboOpen->SetCheck(0);
    return;
  }
  m_capturedCode = 0;
  m_capturedName.clear();
  HidePanels();
  for (MControl* c : std::initializer_list<MControl*>{m_comboPanel, m_comboTitle, m_comboClose, m_comboKey,
                                                       m_modifiers[0], m_modifiers[1], m_modifiers[2],
                                                       m_modifiers[3], m_comboApply}) {
    if (c != nullptr) c->SetVisible(1);
  }
  if (m_comboKey != nullptr) m_comboKey->SetEditText(L"");
  if (m_comboOpen != nullptr) m_comboOpen->SetCheck(1);
}

void KeyPage::AssignCombination() {
  if (!PassesGuard()) return;
  int bits = 0;
  for (int i = 0; i < 4; ++i) {
    if (m_modifiers[i] != nullptr && m_modifiers[i]->GetCheck()) bits |= kModifierBits[i];
  }
  const int usage = mouseproto::KeyUsage(m_capturedCode);
  // A combination with neither a key nor a modifier means nothing.
  if (usage == 0 && bits == 0) return;
  KeyRecord record = NewRecord();
  record.macro_type = mouseproto::kFnKeyboard;
  record.macro_value = usage;
  record.macro_value2 = bits;
  record.macro_desc = CombinationText(bits, usage != 0 ? m_capturedName : std::wstring());
  Assign(record);
}

void KeyPage::OpenRepeat() {
  if (!PassesGuard()) {
    if (m_repeatOpen != nullptr) m_repeatOpen->SetCheck(0);
    return;
  }
  m_capturedCode = 0;
  m_capturedName.clear();
  HidePanels();
  for (MControl* c : std::initializer_list<MControl*>{m_repeatPanel, m_repeatTitle, m_countLabel, m_countEdit,
                                                       m_intervalLabel, m_intervalEdit, m_unitLabel, m_repeatApply,
                                                       m_repeatClose}) {
    if (c != nullptr) c->SetVisible(1);
  }
  if (m_repeatOpen != nullptr) m_repeatOpen->SetCheck(1);
}

void KeyPage::AssignRepeat() {
  if (!PassesGuard()) return;
  // A field still being edited counts with its clamped value.
  ClampField(kCountEdit);
  ClampField(kIntervalEdit);
  KeyRecord record = NewRecord();
  record.macro_type = mouseproto::kFnRepeat;
  record.macro_value = ClampedNumber(m_intervalEdit->GetEditText(), kIntervalLow, kIntervalHigh);
  record.macro_value2 = ClampedNumber(m_countEdit->GetEditText(), kCountLow, kCountHigh);
  record.macro_desc = m_repeatTitle != nullptr ? m_repeatTitle->GetTitle() : Text(kTextRepeat);
  Assign(record);
}

void KeyPage::Disable() {
  if (!PassesGuard()) {
    if (m_disable != nullptr) m_disable->SetCheck(0);
    return;
  }
  HidePanels();
  for (const SelectorBox& s : kBoxes) {
    if (MComboBox2* b = Box(s.id)) b->SetCheck(0);
  }
  if (m_disable != nullptr) m_disable->SetCheck(1);
  KeyRecord record = NewRecord();
  record.macro_type = mouseproto::kFnDisabled;
  record.macro_value = 1;
  record.macro_desc = Text(kTextDisable);
  Assign(record);
}

bool KeyPage::Confirmed() {
  // Only the first button agrees: a box closed without an answer resets
  // nothing.
  return m_dlg.Message(Text(kTextReset).c_str(), Text(kTextResetTitle).c_str(), kTwoButtons) == 1;
}

void KeyPage::ResetKey() {
  if (!Confirmed()) return;
  KeyRecord record = NewRecord();
  record.macro_type = mouseproto::kFnMouseButton;
  record.macro_value = 0;
  m_dlg.Store().SaveKeyRecord(record);  // removes the row: the model default applies
  const int i = ListIndexOf(m_currentKey);
  if (i >= 0 && m_keyList != nullptr) m_keyList->SetItemKeyDesc(i, DefaultDescription(m_currentKey));
  ShowSelectors();
  m_dlg.AppendJob(DeviceWorker::kJobButtonFunctions);
  m_dlg.ShowSaveWait();
}

void KeyPage::ResetAll() {
  if (!Confirmed()) return;
  if (m_keyList != nullptr && m_mouse != nullptr && m_keyList->GetItemCount() > 0) {
    m_currentKey = m_keyList->GetItemKeyValue(0);
    m_keyList->SetSelectItem(0);
    m_mouse->SetSelectItem(0);
    if (m_keyName != nullptr) m_keyName->SetTitle(m_keyList->GetItemKeyName(0).c_str());
    for (int i = 0; i < m_keyList->GetItemCount(); ++i)
      m_keyList->SetItemKeyDesc(i, DefaultDescription(m_keyList->GetItemKeyValue(i)));
  } else {
    m_currentKey = 0;
  }
  m_dlg.Store().DeleteKeyRecords(m_dlg.GetCurrentProfile());
  ShowSelectors();
  m_dlg.AppendJob(DeviceWorker::kJobButtonFunctions);
  m_dlg.ShowSaveWait();
}

// --- 6. Key capture and the number fields ----------------------------------------------------

void KeyPage::StartCapture() {
  m_capturedCode = 0;
  m_capturedName.clear();
  if (m_comboKey != nullptr) m_comboKey->SetEditText(L"");
  m_capturing = true;
  m_dlg.SetRawInputListener(kRawInputKeyCapture, [this](const RawKeyEvent& e) { OnRawKey(e); });
}

void KeyPage::StopCapture() {
  if (!m_capturing) return;
  m_capturing = false;
  if (m_dlg.GetRawInputMode() == kRawInputKeyCapture) m_dlg.ClearRawInputListener();
}

void KeyPage::OnRawKey(const RawKeyEvent& e) {
  if (e.kind != RawKeyEvent::kKeyboard) return;
  // A side-specific Shift, Ctrl or Alt alone is chosen with the buttons.
  if (e.code >= 160 && e.code <= 165) return;
  m_capturedCode = e.code;
  m_capturedName = e.name;
  if (m_comboKey != nullptr) m_comboKey->SetEditText(e.name.c_str());
}

void KeyPage::ClampField(UINT id) {
  MEdit* edit = id == kCountEdit ? m_countEdit : m_intervalEdit;
  if (edit == nullptr) return;
  const int low = id == kCountEdit ? kCountLow : kIntervalLow;
  const int high = id == kCountEdit ? kCountHigh : kIntervalHigh;
  const std::wstring text = edit->GetEditText();
  const int value = ClampedNumber(text, low, high);
  const std::wstring shown = std::to_wstring(value);
  if (shown != text) edit->SetEditText(shown.c_str());
}

// --- 7. Helpers --------------------------------------------------------------------------------------

std::wstring KeyPage::ModifierText(int bits) {
  struct Part {
    int bit;
    const wchar_t* first;
    const wchar_t* later;
  };
  static constexpr Part kOrder[] = {
      {0x02, L"Shift", L"+ Shift"}, {0x01, L"Ctrl", L"+ Ctrl"}, {0x08, L"Win", L"+ Win"}, {0x04, L"Alt", L"+ Alt"}};
  std::wstring text;
  for (const Part& p : kOrder) {
    if (!(bits & p.bit)) continue;
    text += text.empty() ? p.first : p.later;
  }
  return text;
}

std::wstring KeyPage::CombinationText(int bits, const std::wstring& keyName) {
  const std::wstring modifiers = ModifierText(bits);
  if (!modifiers.empty() && !keyName.empty()) return modifiers + L" + " + keyName;
  return modifiers.empty() ? keyName : modifiers;
}

int KeyPage::ClampedNumber(const std::wstring& text, int low, int high) {
  long value = std::wcstol(text.c_str(), nullptr, 10);
  if (value < low) value = low;
  if (value > high) value = high;
  return int(value);
}

std::wstring KeyPage::DisplayText(const KeyRecord& record) {
  switch (record.macro_type) {
    case mouseproto::kFnMouseButton:
    case mouseproto::kFnMedia:
    case mouseproto::kFnSpecial:
    case mouseproto::kFnSystem: {
      const mouseproto::ButtonCodeRow* row = mouseproto::FindButtonCode(record.macro_type, record.macro_value);
      if (row != nullptr && row->text_id != 0 && !row->shows_desc) return shell::GetText(row->text_id);
      return record.macro_desc;
    }
    case mouseproto::kFnRepeat: return shell::GetText(kTextRepeat);
    case mouseproto::kFnDisabled: return shell::GetText(kTextDisable);
    case mouseproto::kFnMacro: return MacroKeyName(record.macro_desc, shell::CurrentLanguage());
    default: return record.macro_desc;
  }
}

namespace {

bool StartsWith(const std::wstring& s, const std::wstring& word) { return s.compare(0, word.size(), word) == 0; }
bool EndsWith(const std::wstring& s, const std::wstring& word) {
  return s.size() >= word.size() && s.compare(s.size() - word.size(), word.size(), word) == 0;
}

struct NameWords {
  int lcid;
  const wchar_t* custom;
  const wchar_t* copy;
  const wchar_t* copyFormat;  // the name before the copy word, then this
};
constexpr NameWords kNameWords[] = {
    {1033, L"Custom", L"Copy", L" Copy"},
    {2052, L"自定义", L"复制", L" 复制"},
    {1028, L"自定義", L"複製", L" 複製"},
    {1041, L"カスタム", L"複製", L" 複製"},
    {1049, L"Пользоват",
     L"Копировать",
     L" Копировать"},
};

}  // namespace

std::wstring KeyPage::MacroListName(const std::wstring& stored) {
  std::wstring name = stored;
  for (const wchar_t* word : {L"Custom", L"自定义"}) {
    if (StartsWith(name, word)) {
      name = shell::GetText(351) + name.substr(std::wcslen(word));
      break;
    }
  }
  for (const wchar_t* word : {L"Copy", L"复制"}) {
    const size_t at = name.find(word);
    if (at != std::wstring::npos) return name.substr(0, at) + L" " + shell::GetText(31);
  }
  return name;
}

std::wstring KeyPage::MacroKeyName(const std::wstring& stored, int lcid) {
  const NameWords* current = nullptr;
  for (const NameWords& w : kNameWords) {
    if (w.lcid == lcid) current = &w;
  }
  if (current == nullptr) return stored;
  std::wstring name = stored;
  for (const NameWords& w : kNameWords) {
    if (w.lcid == lcid || std::wcscmp(w.custom, current->custom) == 0) continue;
    if (StartsWith(name, w.custom)) {
      name = shell::GetText(351) + name.substr(std::wcslen(w.custom));
      break;
    }
  }
  for (const NameWords& w : kNameWords) {
    if (std::wcscmp(w.copy, current->copy) == 0) continue;
    // The Russian names know only the Chinese and English copy words.
    if (lcid == 1049 && w.lcid != 1033 && w.lcid != 2052) continue;
    if (EndsWith(name, w.copy)) {
      std::wstring before = name.substr(0, name.size() - std::wcslen(w.copy));
      // The format brings its own space.
      while (!before.empty() && before.back() == L' ') before.pop_back();
      return before + current->copyFormat;
    }
  }
  return name;
}

std::wstring KeyPage::DefaultDescription(int keyCode) const {
  for (const KeyRecord& d : m_dlg.GetDefaultKeys()) {
    if (d.key_code == keyCode) return shell::GetText(std::wcstol(d.macro_desc.c_str(), nullptr, 10));
  }
  return std::wstring();
}

int KeyPage::ListIndexOf(int keyCode) const {
  if (m_keyList == nullptr) return -1;
  for (int i = 0; i < m_keyList->GetItemCount(); ++i) {
    if (m_keyList->GetItemKeyValue(i) == keyCode) return i;
  }
  return -1;
}

std::wstring KeyPage::Text(int id) const { return shell::GetText(id); }

}  // namespace ui
