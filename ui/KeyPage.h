#pragma once
// KeyPage: the key assignment page (container 50): a button of the mouse and
// its function. The buttons are listed twice, as callouts over the mouse's
// picture (MouseCtrl) and as a list with their functions (MouseKeyCtrl);
// the selectors on the right give the current button a function, which is
// stored as a key record of the current profile and sent by job 6.
//
// Index
//   ids               the page's controls
//   KeyPage           building, layout, notifications, the worker's updates
//   helpers           the modifier text of a key combination, number clamps

#include <string>
#include <vector>

#include "store/KeyRecord.h"
#include "ui/DevicePage.h"

namespace DUI {
class MControl;
class MPicture;
class MText;
class MButton;
class MButton2;
class MButton3;
class MEdit;
class MComboBox2;
class CImageButton;
class MouseCtrl;
class MouseKeyCtrl;
}  // namespace DUI

namespace ui {

struct RawKeyEvent;

class KeyPage : public DevicePage {
 public:
  // --- Ids of the page's controls ---------------------------------------------------
  enum : DUI::UINT {
    kListFrame = 62, kListCaption, kListTitle, kFunctionCaption, kFunctionTitle, kResetAll, kKeyList,
    kFunctionFrame, kKeyName, kResetKey,
    kMouseLabel = 72, kMouseBox, kMediaLabel, kMediaBox, kMacroLabel, kMacroBox,
    kSystemBox = 79,  // its label carries the same id
    kDpiLabel = 80, kDpiBox, kSpecialLabel, kSpecialBox, kComboLabel, kComboOpen, kRepeatLabel, kRepeatOpen,
    kDisableLabel, kDisable,
    kComboPanel = 90, kComboClose, kComboTitle, kComboKey, kCtrl, kWin, kAlt, kShift, kComboApply,
    kRepeatPanel = 99, kRepeatTitle, kCountLabel, kCountEdit, kIntervalLabel, kUnitLabel, kIntervalEdit,
    kRepeatApply, kRepeatClose,
    kMouse = 108,
  };
  // Texts the page shows.
  static constexpr int kTextGuardTitle = 177, kTextGuard = 175;
  static constexpr int kTextResetTitle = 171, kTextReset = 170;
  static constexpr int kTextRepeat = 182, kTextDisable = 139;
  static constexpr int kTextMacroTooLong = 188;

  KeyPage(DeviceMainDlg& dlg, MainPage& container);

  void Build() override;
  void Layout(DUI::CRect rect, float scale) override;
  bool OnNotify(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  void OnShow(bool shown) override;
  void RefreshTexts() override;
  void OnModelShown() override;
  void OnProfileChanged() override;
  void RefreshKeyPage() override;
  void RefreshMacroPage() override;
  void MacroTooLong(int keyCode, int macroId) override;

  // --- State for the tests ---------------------------------------------------------------
  int GetCurrentKey() const { return m_currentKey; }
  int GetCapturedKey() const { return m_capturedCode; }
  const std::wstring& GetCapturedName() const { return m_capturedName; }
  // A selector's combo box (73 .. 83); null for any other id.
  DUI::MComboBox2* Box(DUI::UINT id) const;

  // The text of the modifier buttons' bits (0x01 Ctrl, 0x02 Shift, 0x04 Alt,
  // 0x08 Win) in the order Shift, Ctrl, Win, Alt: "Shift", then "+ Ctrl" and
  // so on appended without a space.
  static std::wstring ModifierText(int bits);
  // The description of a key combination: "%s + %s" of the modifier text and
  // the key's name, or whichever of the two is not empty.
  static std::wstring CombinationText(int bits, const std::wstring& keyName);
  // The number an edit field holds, clamped to [low, high]; a field with no
  // number reads as 0 before clamping.
  static int ClampedNumber(const std::wstring& text, int low, int high);
  // What the list shows for a stored assignment.
  static std::wstring DisplayText(const KeyRecord& record);
  // A macro's name as the macro selector lists it: a leading "Custom" (or
  // its Simplified Chinese word) becomes the current language's word, and a
  // copy's name ends in the current language's "Copy".
  static std::wstring MacroListName(const std::wstring& stored);
  // A macro name stored with an assignment, as the key page shows it in
  // language lcid: the default-name and copy words of another language
  // are put into that language (for the languages that have such words).
  static std::wstring MacroKeyName(const std::wstring& stored, int lcid);

 private:
  // Selecting a button in either control.
  void SelectButton(int index, bool fromList);
  void ShowSelectors();
  void HidePanels();
  void RebuildButtons();
  void FillMacroBox();
  // The left-button guard; true when the current button may be reassigned.
  bool PassesGuard();
  // Stores the record for the current key, describes the button when the
  // store took it, and sends the table.
  void Assign(KeyRecord record);
  void AssignFromBox(DUI::UINT boxId);
  void OpenCombination();
  void AssignCombination();
  void OpenRepeat();
  void AssignRepeat();
  void Disable();
  // Asks whether to restore the defaults; true for yes.
  bool Confirmed();
  void ResetKey();
  void ResetAll();
  void StartCapture();
  void StopCapture();
  void OnRawKey(const RawKeyEvent& event);
  void ClampField(DUI::UINT id);
  // The text of a default key record's description id.
  std::wstring DefaultDescription(int keyCode) const;
  int ListIndexOf(int keyCode) const;
  KeyRecord NewRecord() const;
  std::wstring Text(int id) const;

  DUI::MPicture* m_listFrame = nullptr;
  DUI::MPicture* m_listCaption = nullptr;
  DUI::MText* m_listTitle = nullptr;
  DUI::MPicture* m_functionCaption = nullptr;
  DUI::MText* m_functionTitle = nullptr;
  DUI::MButton* m_resetAll = nullptr;
  DUI::MouseKeyCtrl* m_keyList = nullptr;
  DUI::MPicture* m_functionFrame = nullptr;
  DUI::MText* m_keyName = nullptr;
  DUI::CImageButton* m_resetKey = nullptr;
  DUI::MouseCtrl* m_mouse = nullptr;

  struct Selector {
    DUI::UINT labelId;
    int labelText;
    DUI::UINT controlId;
    DUI::MText* label = nullptr;
    DUI::MControl* control = nullptr;  // an MComboBox2 or an MButton2
  };
  std::vector<Selector> m_selectors;
  DUI::MButton2* m_comboOpen = nullptr;
  DUI::MButton2* m_repeatOpen = nullptr;
  DUI::MButton2* m_disable = nullptr;

  // The key-combination panel.
  DUI::MPicture* m_comboPanel = nullptr;
  DUI::CImageButton* m_comboClose = nullptr;
  DUI::MText* m_comboTitle = nullptr;
  DUI::MEdit* m_comboKey = nullptr;
  DUI::MButton3* m_modifiers[4] = {};  // Ctrl, Win, Alt, Shift
  DUI::MButton* m_comboApply = nullptr;
  // The repeat panel.
  DUI::MPicture* m_repeatPanel = nullptr;
  DUI::MText* m_repeatTitle = nullptr;
  DUI::MText* m_countLabel = nullptr;
  DUI::MEdit* m_countEdit = nullptr;
  DUI::MText* m_intervalLabel = nullptr;
  DUI::MEdit* m_intervalEdit = nullptr;
  DUI::MText* m_unitLabel = nullptr;
  DUI::MButton* m_repeatApply = nullptr;
  DUI::CImageButton* m_repeatClose = nullptr;

  // The container's place as the window gave it, and the window's scale.
  DUI::CRect m_pageRect;
  float m_scale = 1.0f;
  int m_currentKey = 1;
  int m_capturedCode = 0;
  std::wstring m_capturedName;
  bool m_capturing = false;
};

}  // namespace ui
