#pragma once
// MacroPage: the macro page (container 53): the macros, their events, the
// recorder and the event editor.
//
// Index
//   1. Control ids and limits
//   2. The page's life (DevicePage)
//   3. Macros: refresh, show, new, delete, rename, settings
//   4. Events: save, edit, insert, move
//   5. The recorder
//   6. The event editor
//   7. Seams for tests
//
// Macros are global, not per profile. The page keeps the store as the one
// truth: every change to the list of events or to a macro's settings is
// written back at once.
//
// Recording takes the window's key capture (raw-input mode 1). Delays come
// from the events' own times (when the input was queued), so a busy window
// does not stretch them. A press of a key that is already down (keyboard
// auto-repeat) is not recorded, and every key or button still down when the
// recording stops or the window loses the focus gets its release, so no
// macro keeps a press without its release.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/Color.h"
#include "toolkit/core/WinTypes.h"
#include "ui/DevicePage.h"
#include "ui/RawKeyEvent.h"

namespace DUI {
class MPicture;
class MText;
class MButton;
class MEdit;
class MComboBox;
class CRadioButton;
class CIconButton;
class CArea;
class MacroList;
class CRecordList;
class MenuWnd;
class MControl;
}  // namespace DUI

namespace ui {

class MacroPage : public DevicePage {
 public:
  // --- 1. Control ids and limits -----------------------------------------------------------
  enum : DUI::UINT {
    kMacroFrame = 150, kEventFrame = 151, kMacroCaption = 152, kSettingsFrame = 153, kEventCaption = 154,
    kEditorBack = 155, kMacroList = 156, kNewMacro = 157, kDeleteMacro = 158, kMacroContent = 159,
    kSettingsCaption = 160, kEventContent = 161, kColumnBand = 162, kColumnNo = 163, kColumnType = 164,
    kColumnEvent = 165, kRecordList = 166, kInsert = 167, kDeleteEvent = 168, kClearEvents = 169,
    kEditorFrame = 170, kEditorCaption = 171, kRecord = 172, kDelayCaption = 173, kDelayNone = 174,
    kDelayRecorded = 175, kDelayFixed = 176, kDelayFrame = 177, kDelayField = 178, kDelayUnit = 179,
    kPlayCaption = 180, kPlayHeld = 181, kPlayToggle = 182, kPlayTimes = 183, kPlayTimesField = 184,
    kKindCaption = 185, kKindSelector = 186, kValueField = 187, kButtonSelector = 188, kValueCaption = 189,
    kMoveUp = 190, kMoveDown = 191,
  };
  // Commands of the three menus (messages 1709, 1710, 1711).
  enum : int {
    kMenuImportMacro = 101, kMenuExportMacro = 102, kMenuImportAll = 105, kMenuExportAll = 106,
    kInsertKey = 101, kInsertDelay = 103, kInsertLeft = 105, kInsertMiddle = 106, kInsertRight = 107,
    kRecordTop = 100, kRecordUp = 101, kRecordDown = 102, kRecordBottom = 103, kRecordClear = 104,
  };
  static constexpr int kEventLimit = 30;       // events (not delays) one recording takes
  static constexpr int kRowLimit = 199;        // rows beyond which nothing is inserted
  static constexpr int kLongestDelay = 31000;  // a recorded delay is cut to this
  static constexpr int kInsertedDelay = 10;    // the delay rows of an insertion

  MacroPage(DeviceMainDlg& dlg, MainPage& container);
  ~MacroPage() override;

  // --- 2. The page's life -------------------------------------------------------------------------
  void Build() override;
  void Layout(DUI::CRect rect, float scale) override;
  bool OnNotify(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  bool OnWindowMessage(DUI::UINT msg, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  void OnShow(bool shown) override;
  void RefreshTexts() override;
  void OnModelShown() override;
  void RefreshMacroPage() override;
  void StopMacroRecording() override;
  void OnWindowActivate(bool active) override;

  // --- 3. Macros -------------------------------------------------------------------------------------
  // Re-reads the macros, selects the first and shows it.
  void Refresh();
  void ShowMacro(int macroId);
  // The macro selected in the list; 0 for none.
  int SelectedMacro() const;
  void NewMacro();
  void DeleteMacro();
  // Gives the macro a new name: the store, every key record that plays it,
  // and the key page's selector.
  void RenameMacro(int macroId, const std::wstring& name);
  void SaveMacroSettings();
  // The name shown in the list for a stored name (default words in the
  // current language).
  static std::wstring DisplayName(const std::wstring& stored);

  // --- 4. Events ---------------------------------------------------------------------------------------
  void SaveEvents();
  void InsertEvent(int command);
  void MoveUp();
  void MoveDown();
  void RunRecordCommand(int command);
  void RunMacroCommand(int command);
  void OpenInsertMenu();

  // --- 5. The recorder -----------------------------------------------------------------------------
  void ToggleRecording();
  bool IsRecording() const { return m_recording; }
  void AddRecordedEvent(const RawKeyEvent& event);

  // --- 6. The event editor -------------------------------------------------------------------------
  void OnRowSelected();
  void OnKindChosen();
  void OnValueEditBegin();
  void OnValueEditEnd();
  void OnButtonChosen();
  // The record list's own editor (a double click on a row) closed: a delay
  // row takes the number typed, clamped to 1..10000.
  void EditDelayInPlace(int row);
  // Key events while the value field captures a key (raw-input mode 12).
  void OnEditorKey(const RawKeyEvent& event);

  // --- 7. Seams for tests ----------------------------------------------------------------------------
  // Runs the record edit dialog for a keystroke: true with the captured
  // code and name when it was confirmed. The default shows RecordEditDlg
  // modally; tests replace it.
  using KeyDialog = std::function<bool(int& code, std::wstring& name)>;
  void SetKeyDialog(KeyDialog dialog) { m_keyDialog = std::move(dialog); }
  // The clock of insertion stamps (default: the toolkit's tick count).
  void SetTickSource(std::function<std::uint32_t()> ticks) { m_ticks = std::move(ticks); }

  DUI::MacroList* GetMacroList() const { return m_macroList; }
  DUI::CRecordList* GetRecordList() const { return m_records; }
  DUI::MControl* Control(DUI::UINT id) const;
  DUI::MenuWnd* GetOpenMenu() const { return m_menu.get(); }

 private:
  struct ButtonName {
    int data;
    const wchar_t* name;
    int mask;
  };
  static const ButtonName* FindButton(int data);
  static std::wstring EventText(int type, const std::wstring& name);
  static std::wstring DelayText(int ms);
  std::uint32_t Now() const;

  void CreateControls();
  DUI::MControl* Keep(DUI::MControl* control);
  DUI::MText* Text(DUI::UINT id, int textId, int size, DUI::ARGB colour);
  DUI::MPicture* Picture(DUI::UINT id, const wchar_t* image);
  DUI::CRadioButton* Radio(DUI::UINT id, int textId, const wchar_t* group);
  DUI::MButton* Button(DUI::UINT id, int textId, const wchar_t* image);
  void SetEditorVisible(bool visible);
  // Every control but the record button during a recording.
  void EnableForRecording(bool enabled);
  void ShowMenu(DUI::CPoint screen, DUI::UINT message, int width, const std::vector<std::pair<int, int>>& items);

  // Stamps: a first stamp from which `count` consecutive stamps are unused
  // in the list, starting from `wanted` when possible.
  int FreeStamps(int wanted, int count) const;
  int NextRecordingStamp();
  void AddRow(const std::wstring& text, int type, int key);
  // The recorder's delay before an event at `time`.
  void AddDelayBefore(std::uint32_t time);
  void StartRecording();
  void StopRecording(std::uint32_t time);
  // Releases, at `time`, every key and button still held.
  void ReleaseHeld(std::uint32_t time);
  bool RecordInput(const RawKeyEvent& event);
  bool CursorOnRecordButton() const;

  int ClampDelayField();
  int ClampPlayTimesField();
  int FieldNumber(DUI::MEdit* field, const wchar_t* ifEmpty);

  // Controls (owned by the container).
  DUI::MacroList* m_macroList = nullptr;
  DUI::CRecordList* m_records = nullptr;
  DUI::CIconButton* m_record = nullptr;
  DUI::CRadioButton* m_delayRadios[3] = {};  // 174, 175, 176
  DUI::CRadioButton* m_playRadios[3] = {};   // 181, 182, 183
  DUI::MEdit* m_delayField = nullptr;
  DUI::MEdit* m_playTimesField = nullptr;
  DUI::MComboBox* m_kindSelector = nullptr;
  DUI::MComboBox* m_buttonSelector = nullptr;
  DUI::MEdit* m_valueField = nullptr;
  std::vector<DUI::MControl*> m_editorControls;
  std::vector<DUI::MControl*> m_allControls;  // disabled while recording
  std::vector<DUI::MControl*> m_placed;       // every control, for the layout

  std::unique_ptr<DUI::MenuWnd> m_menu;
  KeyDialog m_keyDialog;
  std::function<std::uint32_t()> m_ticks;

  // Recorder state.
  bool m_recording = false;
  int m_recordMode = 1;
  int m_fixedDelay = 0;
  bool m_haveLastTime = false;
  std::uint32_t m_lastTime = 0;
  // When the press of the click on the record button was queued.
  std::optional<std::uint32_t> m_stopPress;
  int m_stamp = 0;
  struct Held {
    int kind;
    int code;
    std::wstring name;
  };
  std::vector<Held> m_held;

  // The event editor's captured key.
  int m_capturedCode = 0;
  std::wstring m_capturedName;
};

}  // namespace ui
