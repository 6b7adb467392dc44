#pragma once
// ProfileDlg: the small popup above the main window's profile button. It
// lists the profiles of the current database, lets the user pick one, give
// one a new name in place (the row's edit icon, or a right click), or start
// the profile import or export. It never changes the current profile itself:
// it posts its answer to the owner as message 1705
//   wParam 0, lParam = profile id   switch to this profile
//   wParam 1                        import a profile file into the current profile
//   wParam 2                        export the current profile
// and closes. After a rename the owner first gets 1705 (0, renamed profile),
// so it shows the new name. Losing the activation (a click outside) closes
// the dialog too.
//
// Controls: picture 30, list 31, import button 32, export button 33.

#include <functional>
#include <string>

#include "toolkit/core/MDialog.h"

class SettingsStore;

namespace shell {
class DisplayNames;
}

namespace DUI {
class DListBox;
class MButton;
class MPicture;
}  // namespace DUI

namespace ui {

class ProfileDlg : public DUI::MDialog {
 public:
  static constexpr DUI::UINT kPictureId = 30;
  static constexpr DUI::UINT kListId = 31;
  static constexpr DUI::UINT kImportId = 32;
  static constexpr DUI::UINT kExportId = 33;
  static constexpr DUI::UINT kProfileCommand = 1705;

  ProfileDlg(SettingsStore& store, const shell::DisplayNames& names);

  // Creates the popup at rect (screen coordinates), owned by owner, listing
  // the profiles with profile selected. Not yet modal (tests drive it so).
  HWND CreateProfile(HWND owner, DUI::CRect rect, int profile);
  // CreateProfile, then the modal loop until the dialog closes.
  void Run(HWND owner, DUI::CRect rect, int profile);

  DUI::DListBox* GetList() const { return m_list; }
  DUI::MButton* GetImportButton() const { return m_import; }
  DUI::MButton* GetExportButton() const { return m_export; }
  bool NameChanged() const { return m_nameChanged; }
  int GetProfile() const { return m_profile; }
  // Whether the dialog asked to close (its window goes on the next loop turn).
  bool Closing() const { return m_closing; }

  void InitUI(DUI::CRect client) override;
  void UISize(DUI::CRect client) override;
  int OnInitDialog() override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;
  DUI::LRESULT OnNcActivate(int active) override;

 private:
  void FillList();
  // Posts the pending rename report, then the command, and closes.
  void Report(DUI::WPARAM command, long profile);
  void Close();
  void EndEdit();

  SettingsStore& m_store;
  const shell::DisplayNames& m_names;
  HWND m_owner = nullptr;
  int m_profile = 0;
  bool m_nameChanged = false;
  bool m_closing = false;
  DUI::MPicture* m_picture = nullptr;
  DUI::DListBox* m_list = nullptr;
  DUI::MButton* m_import = nullptr;
  DUI::MButton* m_export = nullptr;
};

}  // namespace ui
