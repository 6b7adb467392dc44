#include "ui/MacroPage.h"

// Index
//   1. Building and layout
//   2. Notifications and menus
//   3. Macros
//   4. Events
//   5. The recorder
//   6. The event editor

#include <algorithm>
#include <climits>
#include <cwchar>
#include <set>

#include "platform/filechooser/FileChooser.h"
#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "store/ExchangeImporter.h"
#include "store/ExchangeWriter.h"
#include "store/SettingsStore.h"
#include "toolkit/controls/CRecordList.h"
#include "toolkit/controls/MacroList.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/CIconButton.h"
#include "toolkit/core/CRadioButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/MenuWnd.h"
#include "toolkit/core/Notify.h"
#include "ui/DeviceMainDlg.h"
#include "ui/RecordEditDlg.h"

namespace ui {

using namespace DUI;

namespace {

constexpr ARGB kWhite = 0xFFFFFFFF;
constexpr ARGB kGrey = 0xFFB4B4B4;
constexpr int kMacroFunction = 4;  // key record function type: play a macro

// Where each control sits in the container at scale 1 (container-relative).
struct Place {
  UINT id;
  int left, top, right, bottom;
};
constexpr Place kPlaces[] = {
    // The macros.
    {MacroPage::kMacroFrame, 0, 0, 300, 658},
    {MacroPage::kMacroCaption, 20, 0, 280, 50},
    {MacroPage::kMacroContent, 10, 60, 290, 592},
    {MacroPage::kMacroList, 14, 64, 286, 588},
    {MacroPage::kNewMacro, 20, 606, 140, 642},
    {MacroPage::kDeleteMacro, 160, 606, 280, 642},
    // The events.
    {MacroPage::kEventFrame, 315, 0, 755, 658},
    {MacroPage::kEventCaption, 335, 0, 735, 50},
    {MacroPage::kColumnBand, 325, 58, 745, 88},
    {MacroPage::kColumnNo, 335, 58, 385, 88},
    {MacroPage::kColumnType, 385, 58, 470, 88},
    {MacroPage::kColumnEvent, 470, 58, 735, 88},
    {MacroPage::kEventContent, 325, 92, 745, 522},
    {MacroPage::kRecordList, 327, 94, 743, 520},
    {MacroPage::kInsert, 325, 532, 435, 566},
    {MacroPage::kDeleteEvent, 443, 532, 553, 566},
    {MacroPage::kClearEvents, 561, 532, 671, 566},
    {MacroPage::kMoveUp, 687, 537, 711, 561},
    {MacroPage::kMoveDown, 719, 537, 743, 561},
    // The event editor under the events.
    {MacroPage::kEditorFrame, 325, 576, 745, 650},
    {MacroPage::kEditorBack, 562, 588, 563, 638},
    {MacroPage::kEditorCaption, 327, 578, 743, 580},
    {MacroPage::kKindCaption, 337, 595, 412, 629},
    {MacroPage::kKindSelector, 412, 597, 552, 627},
    {MacroPage::kValueCaption, 574, 595, 622, 629},
    {MacroPage::kValueField, 622, 597, 735, 627},
    {MacroPage::kButtonSelector, 622, 597, 735, 627},
    // Recording and playback.
    {MacroPage::kSettingsFrame, 770, 0, 1100, 658},
    {MacroPage::kSettingsCaption, 790, 0, 1080, 50},
    {MacroPage::kRecord, 790, 66, 1080, 104},
    {MacroPage::kDelayCaption, 790, 124, 1080, 154},
    {MacroPage::kDelayNone, 800, 160, 1080, 186},
    {MacroPage::kDelayRecorded, 800, 192, 1080, 218},
    {MacroPage::kDelayFixed, 800, 224, 1080, 250},
    {MacroPage::kDelayFrame, 826, 256, 946, 286},
    {MacroPage::kDelayField, 826, 256, 946, 286},
    {MacroPage::kDelayUnit, 954, 256, 1000, 286},
    {MacroPage::kPlayCaption, 790, 316, 1080, 346},
    {MacroPage::kPlayHeld, 800, 352, 1080, 378},
    {MacroPage::kPlayToggle, 800, 384, 1080, 410},
    {MacroPage::kPlayTimes, 800, 416, 1080, 442},
    {MacroPage::kPlayTimesField, 826, 448, 946, 478},
};

// Texts of the controls that carry one, for building and RefreshTexts.
struct Caption {
  UINT id;
  int text;
};
constexpr Caption kCaptions[] = {
    {MacroPage::kMacroCaption, 350}, {MacroPage::kEventCaption, 352},  {MacroPage::kSettingsCaption, 355},
    {MacroPage::kNewMacro, 353},     {MacroPage::kDeleteMacro, 30},    {MacroPage::kColumnNo, 388},
    {MacroPage::kColumnType, 389},   {MacroPage::kColumnEvent, 390},   {MacroPage::kInsert, 39},
    {MacroPage::kDeleteEvent, 357},  {MacroPage::kClearEvents, 404},   {MacroPage::kDelayCaption, 360},
    {MacroPage::kDelayNone, 361},    {MacroPage::kDelayRecorded, 362}, {MacroPage::kDelayFixed, 363},
    {MacroPage::kPlayCaption, 364},  {MacroPage::kPlayHeld, 365},      {MacroPage::kPlayToggle, 366},
    {MacroPage::kPlayTimes, 367},    {MacroPage::kKindCaption, 391},   {MacroPage::kValueCaption, 392},
};

// The button selector's items in their order: data, text.
constexpr std::pair<int, int> kButtonItems[] = {{1, 106}, {3, 107}, {2, 108}, {5, 109}, {6, 110}};

std::wstring T(int id) { return shell::GetText(id); }

int ToInt(const std::wstring& text) { return int(std::wcstol(text.c_str(), nullptr, 10)); }

// The arrow and its two spaces in front of a key or button name.
std::wstring StripArrow(const std::wstring& text) {
  std::size_t i = 0;
  if (!text.empty() && (text[0] == L'↓' || text[0] == L'↑')) i = 1;
  while (i < text.size() && text[i] == L' ') ++i;
  return text.substr(i);
}

}  // namespace

MacroPage::MacroPage(DeviceMainDlg& dlg, MainPage& container) : DevicePage(dlg, container) {}

// The window outlives its pages' listeners: it drops them before the pages.
MacroPage::~MacroPage() = default;

std::unique_ptr<DevicePage> MakeMacroPage(DeviceMainDlg& dlg, MainPage& container) {
  return std::make_unique<MacroPage>(dlg, container);
}

// --- 1. Building and layout ----------------------------------------------------------------------

MText* MacroPage::Text(UINT id, int textId, int size, ARGB colour) {
  auto* text = static_cast<MText*>(Keep(m_container.CreateArea(L"MText", id, CRect(), T(textId).c_str(), 1, 1)));
  if (text != nullptr) {
    text->SetFontWidth(size);
    text->SetTextColor(Color(colour));
    text->SetAlignment(DT_LEFT, DT_VCENTER);
    m_allControls.push_back(text);
  }
  return text;
}

MPicture* MacroPage::Picture(UINT id, const wchar_t* image) {
  auto* picture = static_cast<MPicture*>(Keep(m_container.CreateArea(L"MPicture", id, CRect(), nullptr, 1, 1)));
  if (picture != nullptr) picture->SetImage(image, 1);
  return picture;
}

CRadioButton* MacroPage::Radio(UINT id, int textId, const wchar_t* group) {
  auto* radio = static_cast<CRadioButton*>(
      Keep(m_container.CreateControl(L"CRadioButton", id, CRect(), T(textId).c_str(), 1, 1)));
  if (radio != nullptr) {
    radio->SetImage(L"btn_radiobox.png", 8);
    radio->SetGroupName(group);
    radio->SetFontWidth(14);
    m_allControls.push_back(radio);
  }
  return radio;
}

MButton* MacroPage::Button(UINT id, int textId, const wchar_t* image) {
  auto* button = static_cast<MButton*>(
      Keep(m_container.CreateControl(L"MButton", id, CRect(), textId > 0 ? T(textId).c_str() : L"", 1, 1)));
  if (button != nullptr) {
    button->SetImage(image, 4);
    button->SetFontWidth(14);
    m_allControls.push_back(button);
  }
  return button;
}

void MacroPage::Build() {
  CreateControls();
  Refresh();
}

void MacroPage::CreateControls() {
  for (UINT id : {kMacroFrame, kEventFrame, kSettingsFrame}) {
    if (MPicture* frame = Picture(id, L"img_area_bkg.png")) frame->SetShowModeMID(10, 50, 260, 10);
  }
  for (UINT id : {kMacroContent, kEventContent}) {
    if (MPicture* content = Picture(id, L"img_area_content.png")) content->SetShowMode(ShowModeFrame, 10);
  }
  Text(kMacroCaption, 350, 16, kWhite);
  Text(kEventCaption, 352, 16, kWhite);
  Text(kSettingsCaption, 355, 16, kWhite);

  m_macroList =
      static_cast<MacroList*>(Keep(m_container.CreateControl(L"MacroList", kMacroList, CRect(), nullptr, 1, 1)));
  if (m_macroList != nullptr) {
    m_macroList->SetImage(L"img_list_bkg.png", 2);
    m_macroList->SetEditImage(L"btn_more.png", 4);
    m_macroList->EnableShowEdit(1);
    m_allControls.push_back(m_macroList);
  }
  Button(kNewMacro, 353, L"img_button.png");
  Button(kDeleteMacro, 30, L"img_button.png");

  if (MPicture* band = Picture(kColumnBand, L"img_eventcaption.png")) band->SetShowMode(ShowModeStretch, 0);
  Text(kColumnNo, 388, 13, kGrey);
  if (MText* type = Text(kColumnType, 389, 13, kGrey)) type->SetAlignment(DT_CENTER, DT_VCENTER);
  Text(kColumnEvent, 390, 13, kGrey);
  m_records =
      static_cast<CRecordList*>(Keep(m_container.CreateControl(L"CRecordList", kRecordList, CRect(), nullptr, 1, 1)));
  if (m_records != nullptr) {
    m_records->SetImage(L"icon\\icon_list.png", 8);
    m_records->SetItemImage(L"img_list_bkg.png", 2);
    m_records->SetMoreImage(L"btn_more.png", 4);
    m_allControls.push_back(m_records);
  }
  Button(kInsert, 39, L"img_button.png");
  Button(kDeleteEvent, 357, L"img_button.png");
  Button(kClearEvents, 404, L"img_button.png");
  Button(kMoveUp, 0, L"img_recorditem_up.png");
  Button(kMoveDown, 0, L"img_recorditem_down.png");

  // The event editor: hidden until a row is selected.
  if (MPicture* frame = Picture(kEditorFrame, L"img_area2.png")) {
    frame->SetShowMode(ShowModeFrame, 30);
    m_editorControls.push_back(frame);
  }
  if (MPicture* divider = Picture(kEditorBack, L"img_area_content.png")) {
    divider->SetShowMode(ShowModeStretch, 0);
    m_editorControls.push_back(divider);
  }
  if (MPicture* rule = Picture(kEditorCaption, L"img_area_caption.png")) {
    rule->SetShowMode(ShowModeStretch, 0);
    m_editorControls.push_back(rule);
  }
  if (MText* kind = Text(kKindCaption, 391, 13, kGrey)) m_editorControls.push_back(kind);
  m_kindSelector =
      static_cast<MComboBox*>(Keep(m_container.CreateControl(L"MComboBox", kKindSelector, CRect(), nullptr, 1, 1)));
  if (m_kindSelector != nullptr) {
    m_kindSelector->SetFontWidth(13);
    m_editorControls.push_back(m_kindSelector);
    m_allControls.push_back(m_kindSelector);
  }
  if (MText* value = Text(kValueCaption, 392, 13, kGrey)) m_editorControls.push_back(value);
  m_valueField = static_cast<MEdit*>(Keep(m_container.CreateControl(L"MEdit", kValueField, CRect(), L"", 1, 1)));
  if (m_valueField != nullptr) {
    m_valueField->SetImage(L"img_edit.png", 4);
    m_valueField->SetFontWidth(14);
    m_valueField->SetAlignment(DT_CENTER, DT_VCENTER);
    m_editorControls.push_back(m_valueField);
    m_allControls.push_back(m_valueField);
  }
  m_buttonSelector =
      static_cast<MComboBox*>(Keep(m_container.CreateControl(L"MComboBox", kButtonSelector, CRect(), nullptr, 1, 1)));
  if (m_buttonSelector != nullptr) {
    m_buttonSelector->SetFontWidth(13);
    for (const auto& [data, text] : kButtonItems) m_buttonSelector->AddItem(T(text).c_str(), data);
    m_editorControls.push_back(m_buttonSelector);
    m_allControls.push_back(m_buttonSelector);
  }

  m_record = static_cast<CIconButton*>(
      Keep(m_container.CreateControl(L"CIconButton", kRecord, CRect(), T(358).c_str(), 1, 1)));
  if (m_record != nullptr) {
    m_record->SetImage(L"img_button.png", 4);
    m_record->SetIconImage(L"icon\\icon_rec.png", 4);
    m_record->SetFontWidth(14);
  }
  Text(kDelayCaption, 360, 14, kWhite);
  m_delayRadios[0] = Radio(kDelayNone, 361, L"IDC_MACRO_STC_DELAYSET");
  m_delayRadios[1] = Radio(kDelayRecorded, 362, L"IDC_MACRO_STC_DELAYSET");
  m_delayRadios[2] = Radio(kDelayFixed, 363, L"IDC_MACRO_STC_DELAYSET");
  if (m_delayRadios[1] != nullptr) m_delayRadios[1]->SetCheck(1);
  Keep(m_container.CreateArea(L"CArea", kDelayFrame, CRect(), nullptr, 1, 1));
  m_delayField = static_cast<MEdit*>(Keep(m_container.CreateControl(L"MEdit", kDelayField, CRect(), L"", 1, 0)));
  if (m_delayField != nullptr) {
    m_delayField->SetImage(L"img_edit.png", 4);
    m_delayField->SetFontWidth(14);
    m_delayField->SetAlignment(DT_CENTER, DT_VCENTER);
    m_delayField->SetNumberOnly(1);
    m_delayField->SetLimitText(5);
    m_delayField->SetEditText(L"10");
    m_allControls.push_back(m_delayField);
  }
  if (auto* unit = static_cast<MText*>(Keep(m_container.CreateArea(L"MText", kDelayUnit, CRect(), L"ms", 1, 1)))) {
    unit->SetFontWidth(14);
    unit->SetTextColor(Color(kGrey));
    unit->SetAlignment(DT_LEFT, DT_VCENTER);
  }
  Text(kPlayCaption, 364, 14, kWhite);
  m_playRadios[0] = Radio(kPlayHeld, 365, L"IDC_MACRO_RADIO_LOOP1");
  m_playRadios[1] = Radio(kPlayToggle, 366, L"IDC_MACRO_RADIO_LOOP1");
  m_playRadios[2] = Radio(kPlayTimes, 367, L"IDC_MACRO_RADIO_LOOP1");
  if (m_playRadios[2] != nullptr) m_playRadios[2]->SetCheck(1);
  m_playTimesField =
      static_cast<MEdit*>(Keep(m_container.CreateControl(L"MEdit", kPlayTimesField, CRect(), L"", 1, 1)));
  if (m_playTimesField != nullptr) {
    m_playTimesField->SetImage(L"img_edit.png", 4);
    m_playTimesField->SetFontWidth(14);
    m_playTimesField->SetAlignment(DT_CENTER, DT_VCENTER);
    m_playTimesField->SetNumberOnly(1);
    m_playTimesField->SetLimitText(3);
    m_playTimesField->SetEditText(L"1");
    m_allControls.push_back(m_playTimesField);
  }
  SetEditorVisible(false);
}

void MacroPage::Layout(CRect rect, float scale) {
  const auto s = [scale](int v) { return int(float(v) * scale + 0.5f); };
  for (const Place& p : kPlaces) {
    if (MControl* control = Control(p.id)) {
      control->SetRect(
          CRect(rect.left + s(p.left), rect.top + s(p.top), rect.left + s(p.right), rect.top + s(p.bottom)));
    }
  }
  if (m_macroList != nullptr) m_macroList->SetScaleValue(scale);
  if (m_records != nullptr) m_records->SetScaleValue(scale);
  if (m_record != nullptr) {
    // The icon sits left of the centred title.
    const CRect r = m_record->GetRect();
    const int w = r.Width(), h = r.Height();
    m_record->SetTextRect(CRect(0, 0, w, h), CRect(w / 2 - s(86), 0, w / 2 - s(66), h));
  }
}

MControl* MacroPage::Control(UINT id) const {
  for (MControl* c : m_placed) {
    if (c->GetControlID() == id) return c;
  }
  return nullptr;
}

MControl* MacroPage::Keep(MControl* control) {
  if (control != nullptr) m_placed.push_back(control);
  return control;
}

void MacroPage::RefreshTexts() {
  for (const Caption& c : kCaptions) {
    if (auto* control = dynamic_cast<MControlFont*>(Control(c.id))) control->SetTitle(T(c.text).c_str());
  }
  if (m_record != nullptr) m_record->SetTitle(T(m_recording ? 359 : 358).c_str());
  // The editor's kind item comes from the language as well.
  if (m_kindSelector != nullptr && m_kindSelector->IsVisible()) OnRowSelected();
  if (m_buttonSelector != nullptr) {
    for (int i = 0; i < m_buttonSelector->GetItemCount(); ++i) {
      for (const auto& [data, text] : kButtonItems) {
        if (m_buttonSelector->GetItemData(i) == data) m_buttonSelector->SetItemText(i, T(text));
      }
    }
  }
  // Macro names carry the default words of the language they were made in.
  if (m_macroList != nullptr) {
    std::vector<MacroRecord> macros;
    m_dlg.Store().ListMacros(macros);
    for (const MacroRecord& m : macros) {
      const int row = m_macroList->FindItemData(m.macro_id);
      if (row >= 0) m_macroList->ModifyItemString(row, DisplayName(m.name).c_str());
    }
  }
}

// Each model keeps its own database, and with it its own macros.
void MacroPage::OnModelShown() { Refresh(); }

void MacroPage::OnShow(bool shown) {
  if (!shown && m_recording) StopRecording(Now());
}

void MacroPage::SetEditorVisible(bool visible) {
  for (MControl* c : m_editorControls) c->SetVisible(visible ? 1 : 0);
}

void MacroPage::EnableForRecording(bool enabled) {
  const int on = enabled ? 1 : 0;
  for (MControl* c : m_allControls) c->SetEnabled(on);
  // The fields follow their radios again afterwards.
  if (enabled) {
    if (m_delayField != nullptr) m_delayField->SetEnabled(m_delayRadios[2] && m_delayRadios[2]->GetCheck());
    if (m_playTimesField != nullptr) m_playTimesField->SetEnabled(m_playRadios[2] && m_playRadios[2]->GetCheck());
  }
  if (MTabCtrl* tabs = m_dlg.GetTabs()) tabs->SetEnabled(on);
  if (MControl* profile = m_dlg.GetProfileButton()) profile->SetEnabled(on);
}

// --- 2. Notifications and menus ---------------------------------------------------------------

bool MacroPage::OnNotify(UINT id, UINT code, WPARAM, LPARAM lParam) {
  switch (id) {
    case kMacroList:
      if (code == CN_CLICK) ShowMacro(SelectedMacro());
      if (code == CN_SUBCLICK && m_macroList != nullptr) {
        ShowMacro(SelectedMacro());
        const CRect icon = m_container.ContentToWindow(m_macroList->GetEditRect(m_macroList->GetCurSel()));
        POINT at{icon.left, icon.bottom + 2};
        platform::ClientToScreen(m_dlg.GetSafeHwnd(), &at);
        ShowMenu(CPoint(at.x, at.y), DeviceMainDlg::kMacroMenu, 150, {{kMenuImportMacro, 26}, {kMenuExportMacro, 27}});
      }
      if (code == CN_EDITEND && m_macroList != nullptr) {
        const int row = int(lParam);
        RenameMacro(int(m_macroList->GetItemData(row)), m_macroList->GetItemText(row));
      }
      return true;
    case kRecordList:
      if (code == CN_CLICK) OnRowSelected();
      if (code == CN_EDITEND) EditDelayInPlace(int(lParam));
      if (code == CN_SUBCLICK) {
        OnRowSelected();
        POINT at{};
        platform::GetCursorPos(&at);
        ShowMenu(CPoint(at.x - 125, at.y + 2), DeviceMainDlg::kRecordMenu, 120,
                 {{kRecordTop, 400}, {kRecordUp, 401}, {kRecordDown, 402}, {kRecordBottom, 403}});
      }
      return true;
    case kNewMacro:
      if (code == CN_CLICK) NewMacro();
      return true;
    case kDeleteMacro:
      if (code == CN_CLICK) DeleteMacro();
      return true;
    case kInsert:
      if (code == CN_CLICK) OpenInsertMenu();
      return true;
    case kDeleteEvent:
      if (code == CN_CLICK && m_records != nullptr && m_records->GetCurSel() >= 0) {
        m_records->DeleteItem(m_records->GetCurSel());
        // The editor showed the row just deleted.
        SetEditorVisible(false);
        SaveEvents();
      }
      return true;
    case kClearEvents:
      if (code == CN_CLICK) RunRecordCommand(kRecordClear);
      return true;
    case kRecord:
      if (code == CN_CLICK) ToggleRecording();
      return true;
    case kDelayNone:
    case kDelayRecorded:
    case kDelayFixed:
      if (code == CN_CLICK) {
        if (m_delayField != nullptr) {
          if (id == kDelayFixed) m_delayField->SetEditText(L"10");
          m_delayField->SetEnabled(id == kDelayFixed ? 1 : 0);
        }
        SaveMacroSettings();
      }
      return true;
    case kDelayField:
      if (code == CN_EDITEND) {
        ClampDelayField();
        SaveMacroSettings();
      }
      return true;
    case kPlayHeld:
    case kPlayToggle:
    case kPlayTimes:
      if (code == CN_CLICK) {
        if (m_playTimesField != nullptr) {
          if (id == kPlayTimes) m_playTimesField->SetEditText(L"1");
          m_playTimesField->SetEnabled(id == kPlayTimes ? 1 : 0);
        }
        SaveMacroSettings();
      }
      return true;
    case kPlayTimesField:
      if (code == CN_EDITEND) {
        ClampPlayTimesField();
        SaveMacroSettings();
      }
      return true;
    case kKindSelector:
      if (code == CN_CLICK) OnKindChosen();
      return true;
    case kValueField:
      if (code == CN_EDITBEGIN) OnValueEditBegin();
      if (code == CN_EDITEND) OnValueEditEnd();
      return true;
    case kButtonSelector:
      if (code == CN_CLICK) OnButtonChosen();
      return true;
    case kMoveUp:
      if (code == CN_CLICK) MoveUp();
      return true;
    case kMoveDown:
      if (code == CN_CLICK) MoveDown();
      return true;
    default:
      return false;
  }
}

bool MacroPage::OnWindowMessage(UINT msg, WPARAM, LPARAM lParam) {
  switch (msg) {
    case DeviceMainDlg::kMacroMenu:
      RunMacroCommand(int(lParam));
      return true;
    case DeviceMainDlg::kInsertMenu:
      InsertEvent(int(lParam));
      return true;
    case DeviceMainDlg::kRecordMenu:
      RunRecordCommand(int(lParam));
      return true;
    default:
      return false;
  }
}

void MacroPage::ShowMenu(CPoint screen, UINT message, int width, const std::vector<std::pair<int, int>>& items) {
  m_menu = std::make_unique<MenuWnd>(&m_dlg);
  m_menu->SetItemFont(L"Open Sans", 14, 0);
  m_menu->LoadBKImage(L"img_menu_bkg.png");
  m_menu->SetBackMode(BackModeFrame, 6);
  m_menu->SetItemBkImage(L"img_menu_item.png");
  m_menu->SetItemIndent(10);
  if (!m_menu->Create(m_dlg.GetSafeHwnd(), screen, message, width)) {
    m_menu.reset();
    return;
  }
  for (const auto& [command, text] : items) m_menu->AddMenu(T(text).c_str(), UINT(command));
  m_menu->ShowWindow(SW_SHOW);
}

void MacroPage::OpenInsertMenu() {
  if (m_records == nullptr) return;
  if (m_records->GetItemCount() >= kRowLimit) {
    m_dlg.Message(T(386).c_str(), T(368).c_str(), 0);
    return;
  }
  const CRect button = Control(kInsert) != nullptr ? Control(kInsert)->GetRect() : CRect();
  POINT at{button.left, button.top - 140};
  platform::ClientToScreen(m_dlg.GetSafeHwnd(), &at);
  ShowMenu(CPoint(at.x, at.y), DeviceMainDlg::kInsertMenu, 170,
           {{kInsertLeft, 415}, {kInsertMiddle, 416}, {kInsertRight, 417}, {kInsertKey, 397}, {kInsertDelay, 398}});
}

// --- 3. Macros ----------------------------------------------------------------------------------------

std::wstring MacroPage::DisplayName(const std::wstring& stored) {
  std::wstring name = stored;
  for (const std::wstring word : {L"Custom", L"自定义"}) {
    if (name.compare(0, word.size(), word) == 0) {
      name = T(351) + name.substr(word.size());
      break;
    }
  }
  for (const std::wstring word : {L"Copy", L"复制"}) {
    const std::size_t at = name.find(word);
    if (at != std::wstring::npos) {
      name = name.substr(0, at) + L" " + T(31);
      break;
    }
  }
  return name;
}

void MacroPage::RefreshMacroPage() { Refresh(); }

void MacroPage::Refresh() {
  if (m_macroList == nullptr || m_records == nullptr) return;
  if (m_recording) StopRecording(Now());
  m_macroList->DeleteAllItems();
  m_records->DeleteAllItems();
  std::vector<MacroRecord> macros;
  m_dlg.Store().ListMacros(macros);
  for (const MacroRecord& m : macros) m_macroList->AddString(DisplayName(m.name).c_str(), m.macro_id, -1);
  m_macroList->SetCurSel(macros.empty() ? -1 : 0);
  ShowMacro(SelectedMacro());
}

int MacroPage::SelectedMacro() const {
  if (m_macroList == nullptr || m_macroList->GetCurSel() < 0) return 0;
  return int(m_macroList->GetItemData(m_macroList->GetCurSel()));
}

void MacroPage::ShowMacro(int macroId) {
  if (m_records == nullptr) return;
  SetEditorVisible(false);
  m_records->DeleteAllItems();
  if (m_delayField != nullptr) m_delayField->SetEnabled(0);
  if (m_playTimesField != nullptr) m_playTimesField->SetEnabled(0);
  MacroRecord macro;
  if (macroId <= 0 || !m_dlg.Store().GetMacro(macroId, macro)) return;
  const int delay = std::clamp(macro.delay_type, 0, 2);
  for (int i = 0; i < 3; ++i) {
    if (m_delayRadios[i] != nullptr && i == delay) m_delayRadios[i]->SetCheck(1);
  }
  if (delay == 2 && m_delayField != nullptr) {
    m_delayField->SetEnabled(1);
    m_delayField->SetEditText(std::to_wstring(macro.delay_time).c_str());
  }
  // The radios run 1, 2, 0 from the top.
  const int playRadio = macro.play_type == 1 ? 0 : macro.play_type == 2 ? 1 : 2;
  if (m_playRadios[playRadio] != nullptr) m_playRadios[playRadio]->SetCheck(1);
  if (playRadio == 2 && m_playTimesField != nullptr) {
    m_playTimesField->SetEnabled(1);
    m_playTimesField->SetEditText(std::to_wstring(macro.play_times).c_str());
  }
  std::vector<MacroEvent> events;
  m_dlg.Store().ListMacroEvents(macroId, events);
  for (const MacroEvent& e : events) m_records->AddString(e.desc, e.type, e.value, e.delay_time);
}

void MacroPage::NewMacro() {
  if (m_macroList == nullptr) return;
  const std::wstring name = T(351) + L" " + std::to_wstring(m_macroList->GetItemCount() + 1);
  const int id = m_dlg.Store().AddMacro(name);
  if (id <= 0) return;
  m_macroList->AddString(DisplayName(name).c_str(), id, -1);
  m_macroList->SetCurSel(m_macroList->GetItemCount() - 1);
  ShowMacro(id);
  m_dlg.RefreshKeyPage();
}

void MacroPage::DeleteMacro() {
  if (m_macroList == nullptr) return;
  const int row = m_macroList->GetCurSel();
  const int id = SelectedMacro();
  if (row < 0 || id <= 0 || !m_dlg.Store().DeleteMacro(id)) return;
  m_macroList->DeleteItem(row);
  const int count = m_macroList->GetItemCount();
  m_macroList->SetCurSel(count == 0 ? -1 : std::max(0, row - 1));
  // The list shows the macro now selected, so that an edit that follows is
  // saved to the macro it shows.
  ShowMacro(SelectedMacro());
  m_dlg.RefreshKeyPage();
}

void MacroPage::RenameMacro(int macroId, const std::wstring& name) {
  if (macroId <= 0 || name.empty()) return;
  SettingsStore& store = m_dlg.Store();
  if (!store.RenameMacro(macroId, name)) return;
  std::vector<ProfileRecord> profiles;
  store.ListProfiles(profiles);
  for (const ProfileRecord& p : profiles) {
    std::vector<KeyRecord> keys;
    store.ListKeyRecords(p.profile, keys);
    for (const KeyRecord& k : keys) {
      if (k.macro_type == kMacroFunction && k.macro_value == macroId)
        store.SetKeyMacroDesc(p.profile, k.key_code, name);
    }
  }
  m_dlg.RefreshKeyPage();
}

int MacroPage::FieldNumber(MEdit* field, const wchar_t* ifEmpty) {
  if (field == nullptr) return ToInt(ifEmpty);
  if (field->GetEditText().empty()) field->SetEditText(ifEmpty);
  return ToInt(field->GetEditText());
}

int MacroPage::ClampDelayField() {
  if (m_delayField == nullptr) return 10;
  const int typed = ToInt(m_delayField->GetEditText());
  const int n = std::clamp(typed, 1, 10000);
  if (n != typed || m_delayField->GetEditText() != std::to_wstring(n))
    m_delayField->SetEditText(std::to_wstring(n).c_str());
  m_delayField->SetTooltip(std::to_wstring(n).c_str());
  return n;
}

int MacroPage::ClampPlayTimesField() {
  if (m_playTimesField == nullptr) return 1;
  const int most = m_dlg.GetCurrentDeviceType() < 201 ? 999 : 255;
  const int typed = ToInt(m_playTimesField->GetEditText());
  const int n = std::clamp(typed, 1, most);
  if (n != typed || m_playTimesField->GetEditText() != std::to_wstring(n)) {
    m_playTimesField->SetEditText(std::to_wstring(n).c_str());
  }
  return n;
}

void MacroPage::SaveMacroSettings() {
  MacroRecord macro;
  const int id = SelectedMacro();
  if (id <= 0 || !m_dlg.Store().GetMacro(id, macro)) return;
  macro.delay_type = 1;
  if (m_delayRadios[0] != nullptr && m_delayRadios[0]->GetCheck()) macro.delay_type = 0;
  if (m_delayRadios[2] != nullptr && m_delayRadios[2]->GetCheck()) {
    macro.delay_type = 2;
    macro.delay_time = FieldNumber(m_delayField, L"10");
  }
  macro.play_type = 0;
  if (m_playRadios[0] != nullptr && m_playRadios[0]->GetCheck()) macro.play_type = 1;
  if (m_playRadios[1] != nullptr && m_playRadios[1]->GetCheck()) macro.play_type = 2;
  if (macro.play_type == 0) macro.play_times = FieldNumber(m_playTimesField, L"1");
  m_dlg.Store().UpdateMacro(macro);
}

void MacroPage::RunMacroCommand(int command) {
  platform::FileDialogRequest request;
  request.filter = {L"Macro (*.xml)", L"*.xml"};
  const bool single = command == kMenuImportMacro || command == kMenuExportMacro;
  const bool import = command == kMenuImportMacro || command == kMenuImportAll;
  if (!single && command != kMenuImportAll && command != kMenuExportAll) return;
  const int id = SelectedMacro();
  std::wstring shown;
  if (m_macroList != nullptr && m_macroList->GetCurSel() >= 0)
    shown = m_macroList->GetItemText(m_macroList->GetCurSel());
  if (!import && single && id <= 0) return;
  request.title = T(import ? 26 : 27);
  request.suggestedName = (single ? shown : T(350)) + L".xml";
  request.confirmOverwrite = [](const std::filesystem::path&) { return true; };
  platform::FileChooser& chooser = platform::FileChooser::Current();
  const platform::FileDialogResult chosen = import ? chooser.OpenFile(request) : chooser.SaveFile(request);
  if (chosen.status != platform::FileDialogResult::Status::Chosen) return;
  if (import) {
    ExchangeImporter importer(m_dlg.Store());
    const MacroImportResult result = single ? importer.ImportMacro(chosen.path) : importer.ImportMacros(chosen.path);
    if (!result.ok) return;
    Refresh();
    // The last imported macro is the one to look at.
    if (!result.added.empty() && m_macroList != nullptr) {
      const int row = m_macroList->FindItemData(result.added.back().macro_id);
      if (row >= 0) {
        m_macroList->SetCurSel(row);
        ShowMacro(result.added.back().macro_id);
      }
    }
    m_dlg.RefreshKeyPage();
    return;
  }
  ExchangeWriter writer(m_dlg.Store());
  if (single) {
    writer.ExportMacro(id, shown, chosen.path);
  } else {
    writer.ExportAllMacros(chosen.path);
  }
}

// --- 4. Events ------------------------------------------------------------------------------------------

std::wstring MacroPage::DelayText(int ms) { return std::to_wstring(ms) + L" ms"; }

std::wstring MacroPage::EventText(int type, const std::wstring& name) {
  if (type == 2 || type == 4) return L"↓  " + name;
  if (type == 6 || type == 7) return name;
  return L"↑  " + name;
}

const MacroPage::ButtonName* MacroPage::FindButton(int data) {
  static constexpr ButtonName kButtons[] = {
      {1, L"LB", 1}, {2, L"MB", 4}, {3, L"RB", 2}, {5, L"Forward", 16}, {6, L"Backward", 8},
  };
  for (const ButtonName& b : kButtons) {
    if (b.data == data) return &b;
  }
  return nullptr;
}

std::uint32_t MacroPage::Now() const { return m_ticks ? m_ticks() : std::uint32_t(platform::GetTickCount64()); }

void MacroPage::SaveEvents() {
  const int id = SelectedMacro();
  if (id <= 0 || m_records == nullptr) return;
  std::vector<MacroEvent> events;
  int index = 0;
  for (const RecordItem& item : m_records->GetRecordItems()) {
    MacroEvent e;
    e.macro_id = id;
    e.type = item.type;
    e.record_index = index++;
    e.value = item.key;
    e.delay_time = item.value;
    e.desc = item.text;
    events.push_back(std::move(e));
  }
  m_dlg.Store().SaveMacroEvents(id, events);
}

int MacroPage::FreeStamps(int wanted, int count) const {
  std::set<int> used;
  if (m_records != nullptr) {
    for (const RecordItem& item : m_records->GetRecordItems()) used.insert(item.value);
  }
  const auto fits = [&](int first) {
    for (int i = 0; i < count; ++i) {
      if (used.count(int(unsigned(first) + unsigned(i))) != 0) return false;
    }
    return true;
  };
  if (fits(wanted)) return wanted;
  // Above every stamp in use, stamps are free; wrap like the tick count.
  int first = int(unsigned(*used.rbegin()) + 1u);
  while (!fits(first)) first = int(unsigned(first) + 1u);
  return first;
}

void MacroPage::InsertEvent(int command) {
  if (m_records == nullptr) return;
  const ButtonName* button = nullptr;
  int rows = 4, pressType = 4, releaseType = 5, code = 0;
  std::wstring name;
  switch (command) {
    case kInsertLeft:
      button = FindButton(1);
      break;
    case kInsertMiddle:
      button = FindButton(2);
      break;
    case kInsertRight:
      button = FindButton(3);
      break;
    case kInsertKey:
      pressType = 2, releaseType = 3;
      break;
    case kInsertDelay:
      rows = 1;
      break;
    default:
      return;
  }
  if (m_records->GetItemCount() + rows > kRowLimit) {
    m_dlg.Message(T(386).c_str(), T(368).c_str(), 0);
    return;
  }
  if (button != nullptr) {
    name = button->name;
    code = button->mask;
  }
  if (command == kInsertKey) {
    int captured = 0;
    std::wstring capturedName;
    const bool confirmed = m_keyDialog ? m_keyDialog(captured, capturedName)
                                       : RecordEditDlg::Run(m_dlg.GetSafeHwnd(), captured, capturedName);
    if (!confirmed || captured == 0 || capturedName.empty()) {
      SaveEvents();
      return;
    }
    code = captured;
    name = capturedName;
  }
  const int g = m_records->GetSelectEvent();
  const int t = FreeStamps(int(Now()), rows == 1 ? 1 : 3);
  const auto put = [&](int at, const std::wstring& text, int type, int key, int stamp) {
    if (g < 0) {
      m_records->AddString(text, type, key, stamp);
    } else {
      m_records->InsertString(at, text, type, key, stamp);
    }
  };
  if (rows == 1) {
    put(g, DelayText(kInsertedDelay), 1, kInsertedDelay, t);
  } else {
    put(g + 1, EventText(pressType, name), pressType, code, t);
    put(g + 2, DelayText(kInsertedDelay), 1, kInsertedDelay, t + 1);
    put(g + 3, EventText(releaseType, name), releaseType, code, t);
    put(g + 4, DelayText(kInsertedDelay), 1, kInsertedDelay, t + 2);
  }
  SaveEvents();
}

void MacroPage::MoveUp() {
  if (m_records == nullptr) return;
  const int sel = m_records->GetCurSel();
  if (sel <= 0) return;
  m_records->SwapItem(sel, sel - 1);
  m_records->SetCurSel(sel - 1);
  SaveEvents();
}

void MacroPage::MoveDown() {
  if (m_records == nullptr) return;
  const int sel = m_records->GetCurSel();
  if (sel < 0 || sel + 1 >= m_records->GetItemCount()) return;
  m_records->SwapItem(sel, sel + 1);
  m_records->SetCurSel(sel + 1);
  SaveEvents();
}

void MacroPage::RunRecordCommand(int command) {
  if (m_records == nullptr) return;
  const int sel = m_records->GetCurSel();
  switch (command) {
    case kRecordTop:
      if (sel > 0) m_records->MoveTop(sel);
      break;
    case kRecordUp:
      MoveUp();
      return;
    case kRecordDown:
      MoveDown();
      return;
    case kRecordBottom:
      if (sel >= 0) m_records->MoveBottom(sel);
      break;
    case kRecordClear:
      m_records->DeleteAllItems();
      SetEditorVisible(false);
      break;
    default:
      return;
  }
  SaveEvents();
}

// --- 5. The recorder -------------------------------------------------------------------------------

void MacroPage::ToggleRecording() {
  if (!m_recording && SelectedMacro() <= 0) {
    m_dlg.Message(T(387).c_str(), T(358).c_str(), 0);
    return;
  }
  if (m_recording) {
    StopRecording(m_stopPress.value_or(Now()));
  } else {
    StartRecording();
  }
}

void MacroPage::StartRecording() {
  m_dlg.ClearRawInputListener();
  m_stamp = FreeStamps(int(Now()), 1);
  m_stamp = int(unsigned(m_stamp) - 1u);
  m_recordMode = 1;
  m_fixedDelay = 0;
  if (m_delayRadios[0] != nullptr && m_delayRadios[0]->GetCheck()) m_recordMode = 0;
  if (m_delayRadios[2] != nullptr && m_delayRadios[2]->GetCheck()) {
    m_recordMode = 2;
    m_fixedDelay = FieldNumber(m_delayField, L"10");
  }
  m_haveLastTime = false;
  m_lastTime = 0;
  m_stopPress.reset();
  m_held.clear();
  m_recording = true;
  m_dlg.SetRawInputListener(kRawInputRecord, [this](const RawKeyEvent& e) { AddRecordedEvent(e); });
  if (m_record != nullptr) {
    m_record->SetTitle(T(359).c_str());
    m_record->SetIconImage(L"icon\\icon_stop_rec.png", 4);
  }
  SetEditorVisible(false);
  EnableForRecording(false);
}

void MacroPage::StopRecording(std::uint32_t time) {
  if (!m_recording) return;
  m_dlg.ClearRawInputListener();
  ReleaseHeld(time);
  // The pause after the last event belongs to the macro as well.
  if (m_recordMode == 1 && m_haveLastTime) {
    const std::int32_t since = std::int32_t(time - m_lastTime);
    const int delay = std::clamp(since, 0, kLongestDelay);
    if (delay > 0) AddRow(DelayText(delay), 1, delay);
  } else if (m_recordMode == 2 && m_fixedDelay > 0 && m_records != nullptr && m_records->GetItemCount() > 0) {
    AddRow(DelayText(m_fixedDelay), 1, m_fixedDelay);
  }
  m_recording = false;
  SaveEvents();
  if (m_record != nullptr) {
    m_record->SetTitle(T(358).c_str());
    m_record->SetIconImage(L"icon\\icon_rec.png", 4);
  }
  EnableForRecording(true);
}

void MacroPage::StopMacroRecording() {
  if (m_recording) StopRecording(Now());
}

void MacroPage::OnWindowActivate(bool active) {
  // Releases are not seen while another window has the keyboard.
  if (!active && m_recording) ReleaseHeld(Now());
}

int MacroPage::NextRecordingStamp() {
  m_stamp = FreeStamps(int(unsigned(m_stamp) + 1u), 1);
  return m_stamp;
}

void MacroPage::AddRow(const std::wstring& text, int type, int key) {
  if (m_records != nullptr) m_records->AddString(text, type, key, NextRecordingStamp());
}

void MacroPage::AddDelayBefore(std::uint32_t time) {
  if (m_recordMode == 1) {
    if (m_haveLastTime) {
      // An event queued before the last one (clock steps) counts as no pause.
      const std::int32_t since = std::int32_t(time - m_lastTime);
      const int delay = std::clamp(since, 0, kLongestDelay);
      if (delay > 0) AddRow(DelayText(delay), 1, delay);
    }
    m_haveLastTime = true;
    m_lastTime = time;
  } else if (m_recordMode == 2) {
    if (m_fixedDelay > 0 && m_records != nullptr && m_records->GetEventCount() > 0) {
      AddRow(DelayText(m_fixedDelay), 1, m_fixedDelay);
    }
  }
}

bool MacroPage::CursorOnRecordButton() const {
  if (m_record == nullptr) return false;
  POINT pt{};
  if (!platform::GetCursorPos(&pt) || !platform::ScreenToClient(m_dlg.GetSafeHwnd(), &pt)) return false;
  return m_container.ContentToWindow(m_record->GetRect()).PtInRect(CPoint(pt.x, pt.y)) != 0;
}

void MacroPage::AddRecordedEvent(const RawKeyEvent& event) {
  if (!m_recording || m_records == nullptr) return;
  if (event.kind != RawKeyEvent::kMouse && event.kind != RawKeyEvent::kKeyboard) return;
  if (event.name.empty()) return;
  // The click that stops the recording is not part of the macro; its press
  // marks the end of the last pause.
  if (event.kind == RawKeyEvent::kMouse && CursorOnRecordButton()) {
    if (event.up == 0) m_stopPress = event.time;
    return;
  }
  RecordInput(event);
}

bool MacroPage::RecordInput(const RawKeyEvent& event) {
  auto held = std::find_if(m_held.begin(), m_held.end(),
                           [&](const Held& h) { return h.kind == event.kind && h.code == event.code; });
  if (event.up == 0 && held != m_held.end()) return false;  // auto-repeat
  if (event.up != 0 && held == m_held.end()) return false;  // pressed before the recording began
  const bool mouse = event.kind == RawKeyEvent::kMouse;
  const int type = mouse ? (event.up ? 5 : 4) : (event.up ? 3 : 2);
  AddDelayBefore(event.time);
  AddRow(EventText(type, event.name), type, event.code);
  if (event.up == 0) {
    m_held.push_back({event.kind, event.code, event.name});
  } else {
    m_held.erase(held);
  }
  // Each key still down will take one more event, its release.
  if (m_records->GetEventCount() + int(m_held.size()) >= kEventLimit) {
    StopRecording(event.time);
    m_dlg.Message(T(386).c_str(), T(355).c_str(), 0);
  }
  return true;
}

void MacroPage::ReleaseHeld(std::uint32_t time) {
  const std::vector<Held> held = m_held;
  for (auto it = held.rbegin(); it != held.rend(); ++it) {
    RawKeyEvent release;
    release.kind = it->kind;
    release.up = 1;
    release.code = it->code;
    release.name = it->name;
    release.time = time;
    auto h = std::find_if(m_held.begin(), m_held.end(),
                          [&](const Held& x) { return x.kind == it->kind && x.code == it->code; });
    if (h == m_held.end()) continue;
    const int type = it->kind == RawKeyEvent::kMouse ? 5 : 3;
    AddDelayBefore(time);
    AddRow(EventText(type, it->name), type, it->code);
    m_held.erase(h);
  }
}

// --- 6. The event editor --------------------------------------------------------------------------

void MacroPage::OnRowSelected() {
  if (m_records == nullptr || m_kindSelector == nullptr || m_valueField == nullptr || m_buttonSelector == nullptr)
    return;
  const int sel = m_records->GetCurSel();
  if (sel < 0) return;
  CString text;
  int type = 0, key = 0, stamp = 0;
  if (!m_records->GetRecordInfo(sel, text, type, key, stamp)) return;
  SetEditorVisible(true);
  m_buttonSelector->SetVisible(0);
  m_valueField->EnableCharMessage(1);
  m_valueField->SetEditText(L"");
  m_valueField->SetTipInfo(L"");
  m_kindSelector->DelAllItems();
  switch (type) {
    case 1:
      m_kindSelector->AddItem(T(395).c_str(), 3);
      m_kindSelector->SetCurSel(0);
      m_valueField->SetNumberOnly(1);
      m_valueField->SetLimitText(5);
      m_valueField->SetEditText(std::to_wstring(key).c_str());
      break;
    case 2:
    case 3:
      m_kindSelector->AddItem(T(394).c_str(), 2);
      m_kindSelector->SetCurSel(0);
      m_valueField->SetNumberOnly(0);
      m_valueField->SetLimitText(10);
      m_valueField->SetEditText(StripArrow(text).c_str());
      m_valueField->EnableCharMessage(0);
      m_valueField->SetTipInfo(T(385).c_str());
      break;
    case 4:
    case 5:
      m_kindSelector->AddItem(T(393).c_str(), 1);
      m_kindSelector->SetCurSel(0);
      m_valueField->SetVisible(0);
      m_buttonSelector->SetVisible(1);
      for (const auto& [data, textId] : kButtonItems) {
        (void)textId;
        const ButtonName* b = FindButton(data);
        if (b != nullptr && b->mask == key) m_buttonSelector->SelectData(data);
      }
      break;
    default:
      break;
  }
}

void MacroPage::OnKindChosen() {
  if (m_kindSelector == nullptr || m_valueField == nullptr || m_buttonSelector == nullptr) return;
  m_buttonSelector->SetVisible(0);
  m_valueField->SetVisible(1);
  m_valueField->SetEditText(L"");
  m_valueField->EnableCharMessage(1);
  switch (m_kindSelector->GetCurData()) {
    case 3:
      m_valueField->SetEditText(L"10");
      m_valueField->SetLimitText(5);
      m_valueField->SetNumberOnly(1);
      break;
    case 2:
      m_valueField->SetLimitText(10);
      m_valueField->EnableCharMessage(0);
      m_valueField->SetTipInfo(T(385).c_str());
      m_valueField->SetNumberOnly(0);
      break;
    case 1:
      m_valueField->SetVisible(0);
      m_buttonSelector->SetVisible(1);
      break;
    default:
      break;
  }
}

void MacroPage::OnValueEditBegin() {
  if (m_kindSelector == nullptr || m_valueField == nullptr || m_kindSelector->GetCurData() != 2) return;
  m_capturedCode = 0;
  m_capturedName.clear();
  m_valueField->SetEditText(L"");
  m_dlg.SetRawInputListener(kRawInputEventEditor, [this](const RawKeyEvent& e) { OnEditorKey(e); });
}

void MacroPage::OnEditorKey(const RawKeyEvent& event) {
  if (event.kind != RawKeyEvent::kKeyboard || event.up != 0 || event.name.empty()) return;
  m_capturedCode = event.code;
  m_capturedName = event.name;
  if (m_valueField != nullptr) m_valueField->SetEditText(event.name.c_str());
}

void MacroPage::OnValueEditEnd() {
  if (m_kindSelector == nullptr || m_valueField == nullptr || m_records == nullptr) return;
  const long kind = m_kindSelector->GetCurData();
  const int sel = m_records->GetCurSel();
  if (kind == 2) {
    if (m_dlg.GetRawInputMode() == kRawInputEventEditor) m_dlg.ClearRawInputListener();
    if (m_capturedCode < 1 || m_capturedName.empty() || sel < 0) return;
    const int stamp = m_records->GetRecrodTimeStamp(sel);
    m_records->SetRecordInfo(stamp, 2, EventText(2, m_capturedName), m_capturedCode);
    m_records->SetRecordInfo(stamp, 3, EventText(3, m_capturedName), m_capturedCode);
    SaveEvents();
    return;
  }
  int n = ToInt(m_valueField->GetEditText());
  if (kind == 3) n = std::clamp(n, 1, 10000);
  if (m_valueField->GetEditText() != std::to_wstring(n)) m_valueField->SetEditText(std::to_wstring(n).c_str());
  if (kind != 3 || sel < 0) return;
  CString text;
  int type = 0, key = 0, stamp = 0;
  // Only a delay row takes a delay: the selection may have moved to
  // another kind of row since the field was filled.
  if (!m_records->GetRecordInfo(sel, text, type, key, stamp) || type != 1) return;
  m_records->SetRecordInfo(sel, DelayText(n), 1, n, stamp);
  SaveEvents();
}

void MacroPage::EditDelayInPlace(int row) {
  if (m_records == nullptr) return;
  CString text;
  int type = 0, key = 0, stamp = 0;
  if (!m_records->GetRecordInfo(row, text, type, key, stamp) || type != 1) return;
  const CString typed = m_records->GetEditText();
  wchar_t* end = nullptr;
  const long ms = std::wcstol(typed.c_str(), &end, 10);
  // Only a number replaces the delay; anything else leaves the row as it was.
  if (typed.empty() || end == nullptr || *end != 0) return;
  const int n = int(std::clamp(ms, 1L, 10000L));
  m_records->SetRecordInfo(row, DelayText(n), 1, n, stamp);
  SaveEvents();
  OnRowSelected();
}

void MacroPage::OnButtonChosen() {
  if (m_buttonSelector == nullptr || m_records == nullptr) return;
  const ButtonName* b = FindButton(int(m_buttonSelector->GetCurData()));
  const int sel = m_records->GetCurSel();
  if (b == nullptr) return;
  if (sel >= 0) {
    const int stamp = m_records->GetRecrodTimeStamp(sel);
    m_records->SetRecordInfo(stamp, 4, EventText(4, b->name), b->mask);
    m_records->SetRecordInfo(stamp, 5, EventText(5, b->name), b->mask);
  }
  SaveEvents();
}

}  // namespace ui
