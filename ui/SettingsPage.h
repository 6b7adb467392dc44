#pragma once
// SettingsPage: the system settings page (container 56), the full-window
// page the caption's settings button opens. A device area with the
// firmware version, the update state and the factory restore; a program
// area with the language (switched at once, without a restart), start with
// the desktop session (an XDG autostart entry) and minimised, what closing
// the window does, and the links to the web pages.
//
// The program options are per-user values ("autorun_minimize",
// "exit_mode"), read once when the page is built and written through by
// every handler.

#include <string>

#include "toolkit/core/WinTypes.h"
#include "ui/DevicePage.h"

namespace DUI {
class MPicture;
class MText;
class MButton;
class MComboBox;
class CImageButton;
class CCheckButton;
class CRadioButton;
class CTextButton;
class CRoundArea;
class CArea;
class MControl;
class MControlFont;
}  // namespace DUI

namespace ui {

class SettingsPage : public DevicePage {
 public:
  // --- Ids of the page's controls ---------------------------------------------------------
  enum : DUI::UINT {
    kFrame = 192, kCaptionBand = 193, kCaption = 194,
    kUpdateArea = 237, kRestoreArea = 238, kDeviceFrame = 239, kFirmwareArea = 242,
    kUpdateCaption = 243, kFirmwareLine = 244, kUpdateState = 245, kRestoreCaption = 246, kFirmwareHint = 247,
    kFirmwareUpdate = 248, kCheckUpdate = 249, kDeviceRestore = 250,
    kProgramFrame = 272, kBack = 273, kSoftwareLine = 274, kSoftwareState = 275, kSoftwareUpdate = 276,
    kRestore = 277, kLanguageLabel = 278, kLanguage = 279, kStartLabel = 280, kAutostart = 281,
    kStartMinimised = 282, kSeparator1 = 283, kSeparator2 = 284, kCloseLabel = 285, kCloseToTray = 286,
    kCloseExits = 287, kLinksLabel = 288, kWebsite = 289, kFeedback = 290, kQuestion = 291,
  };
  static constexpr int kLanguageCount = 6;

  using DevicePage::DevicePage;

  void Build() override;
  void Layout(DUI::CRect rect, float scale) override;
  bool OnNotify(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  void RefreshTexts() override;
  void OnShow(bool shown) override;
  void ShowFirmwareVersion(int release) override;
  // The online check's outcome: its state line and whether a newer firmware
  // can be fetched.
  void ShowUpdateLines(const UpdateLines& lines) override;
  void ShowUpdateState(const std::wstring& text, bool newerFirmware);

  // The firmware line: text 551, ": v", the release's first hexadecimal
  // digit, ".", its last two (0x0105 gives "...: v1.05").
  static std::wstring FirmwareLine(int release);

 private:
  void ReadOptions();
  void ShowSoftwareVersion();
  void PickLanguage();
  void AutostartClicked();
  void FactoryRestore();
  void FirmwareUpdate();
  void Inform(int captionId, int textId);
  void Open(const std::wstring& address);

  DUI::MPicture* m_frames[5] = {};  // 192, 193, 239, 272 and the caption band
  DUI::CRoundArea* m_cover = nullptr;
  DUI::CRoundArea* m_areas[3] = {};
  DUI::CArea* m_separators[2] = {};
  DUI::CImageButton* m_back = nullptr;
  DUI::MText* m_caption = nullptr;
  DUI::MText* m_firmwareLine = nullptr;
  DUI::MText* m_updateCaption = nullptr;
  DUI::MText* m_updateState = nullptr;
  DUI::MText* m_restoreCaption = nullptr;
  DUI::MText* m_firmwareHint = nullptr;
  DUI::MButton* m_firmwareUpdate = nullptr;
  DUI::MButton* m_checkUpdate = nullptr;
  DUI::MButton* m_deviceRestore = nullptr;
  DUI::MText* m_softwareLine = nullptr;
  DUI::MText* m_softwareState = nullptr;
  DUI::MButton* m_softwareUpdate = nullptr;
  DUI::MButton* m_restore = nullptr;
  DUI::MText* m_languageLabel = nullptr;
  DUI::MComboBox* m_language = nullptr;
  DUI::MText* m_startLabel = nullptr;
  DUI::CCheckButton* m_autostart = nullptr;
  DUI::CCheckButton* m_startMinimised = nullptr;
  DUI::MText* m_closeLabel = nullptr;
  DUI::CRadioButton* m_closeToTray = nullptr;
  DUI::CRadioButton* m_closeExits = nullptr;
  DUI::MText* m_linksLabel = nullptr;
  DUI::CTextButton* m_links[3] = {};

  int m_release = -1;          // none shown yet
  std::wstring m_updateText;   // the update check's line; empty: text 580
};

}  // namespace ui
