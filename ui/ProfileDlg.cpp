#include "ui/ProfileDlg.h"

#include <vector>

#include "platform/window/Window.h"
#include "shell/AppNames.h"
#include "shell/DisplayNames.h"
#include "shell/Localisation.h"
#include "store/SettingsStore.h"
#include "toolkit/core/DListBox.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/Notify.h"

namespace ui {

using namespace DUI;

namespace {

enum : int { kTextImport = 26, kTextExport = 27 };

}  // namespace

ProfileDlg::ProfileDlg(SettingsStore& store, const shell::DisplayNames& names) : m_store(store), m_names(names) {}

HWND ProfileDlg::CreateProfile(HWND owner, CRect rect, int profile) {
  m_owner = owner;
  m_profile = profile;
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, a tool window.
  HWND hwnd = Create(owner, L"ProfileDlg", 0x96000000, WS_EX_TOOLWINDOW, rect);
  if (hwnd != nullptr) platform::SetActiveWindow(hwnd);
  return hwnd;
}

void ProfileDlg::Run(HWND owner, CRect rect, int profile) {
  if (CreateProfile(owner, rect, profile) == nullptr) return;
  ShowModal(SW_SHOWNORMAL);
  DestroyWindow();
}

void ProfileDlg::InitUI(CRect client) {
  MDialog::InitUI(client);
  m_picture = static_cast<MPicture*>(CreateControl(L"MPicture", kPictureId, CRect(), nullptr, 1, 1));
  if (m_picture != nullptr) {
    m_picture->SetImage(L"img_area_content.png", 1);
    m_picture->SetShowMode(ShowModeFrame, 10);
  }
  m_list = static_cast<DListBox*>(CreateControl(L"DListBox", kListId, CRect(), nullptr, 1, 1));
  if (m_list != nullptr) {
    m_list->EnableShowEdit(1);
    m_list->SetFontWidth(14);
    m_list->SetAlignment(DT_CENTER, DT_VCENTER);
    m_list->SetImage(L"img_list_bkg.png", 2);
    m_list->SetEditImage(L"img_list_edit.png", 2);
  }
  m_import = static_cast<MButton*>(CreateControl(L"MButton", kImportId, CRect(), shell::GetText(kTextImport).c_str(), 1, 1));
  m_export = static_cast<MButton*>(CreateControl(L"MButton", kExportId, CRect(), shell::GetText(kTextExport).c_str(), 1, 1));
  for (MButton* button : {m_import, m_export}) {
    if (button != nullptr) button->SetImage(L"img_button.png", 4);
  }
  const std::wstring font = shell::FontName();
  if (!font.empty()) {
    for (MControlFont* c : std::initializer_list<MControlFont*>{m_list, m_import, m_export}) {
      if (c != nullptr) c->SetFontName(font.c_str());
    }
  }
  UISize(client);
  FillList();
}

void ProfileDlg::UISize(CRect client) {
  const int W = client.Width(), H = client.Height(), M = W / 2;
  const CRect area(10, 10, W - 10, H - 45);
  if (m_picture != nullptr) m_picture->SetRect(area);
  if (m_list != nullptr) m_list->SetRect(area);
  if (m_import != nullptr) m_import->SetRect(CRect(10, H - 35, M - 5, H - 7));
  if (m_export != nullptr) m_export->SetRect(CRect(M + 5, H - 35, W - 10, H - 7));
}

int ProfileDlg::OnInitDialog() { return MDialog::OnInitDialog(); }

void ProfileDlg::FillList() {
  if (m_list == nullptr) return;
  m_list->DeleteAllItems();
  std::vector<ProfileRecord> profiles;
  m_store.ListProfiles(profiles);
  for (const ProfileRecord& p : profiles) {
    m_list->AddString(m_names.ProfileName(p.name).c_str(), long(p.profile), -1);
  }
  m_list->SetCurData(m_profile);
}

void ProfileDlg::EndEdit() {
  if (m_list != nullptr) m_list->CloseEdit();
}

void ProfileDlg::Close() {
  if (m_closing) return;
  m_closing = true;
  DoOK();
}

void ProfileDlg::Report(WPARAM command, long profile) {
  EndEdit();
  if (m_nameChanged && m_owner != nullptr) platform::PostMessage(m_owner, kProfileCommand, 0, LPARAM(m_profile));
  m_nameChanged = false;
  if (m_owner != nullptr) platform::PostMessage(m_owner, kProfileCommand, command, LPARAM(profile));
  Close();
}

LRESULT ProfileDlg::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (m_closing) return 1;
  if (id == kListId && m_list != nullptr) {
    switch (code) {
      case CN_CLICK: {
        const long chosen = m_list->GetCurData();
        EndEdit();
        // The choice is the report; a rename made before it names the same
        // or another profile, and the owner switches to the chosen one.
        m_nameChanged = false;
        if (m_list->GetCurSel() >= 0 && m_owner != nullptr) {
          platform::PostMessage(m_owner, kProfileCommand, 0, LPARAM(chosen));
        }
        Close();
        return 1;
      }
      case CN_SUBCLICK:
        m_list->ShowEdit(m_list->GetCurSel());
        return 1;
      case CN_RCLICK:
        if (int(wParam) >= 0) m_list->ShowEdit(int(wParam));
        return 1;
      case CN_EDITEND: {
        const int index = int(lParam);
        if (index < 0 || index >= m_list->GetItemCount()) return 1;
        const long profile = m_list->GetItemData(index);
        const std::wstring text = m_list->GetItemText(index).c_str();
        std::wstring stored;
        m_store.GetProfileName(int(profile), stored);
        if (text.empty() || text == m_names.ProfileName(stored)) {
          // Nothing to rename: the shown name comes back.
          m_list->ModifyItemString(index, m_names.ProfileName(stored).c_str());
          return 1;
        }
        if (m_store.RenameProfile(int(profile), text)) {
          m_profile = int(profile);
          m_nameChanged = true;
        }
        return 1;
      }
      default:
        return 1;
    }
  }
  if (code == CN_CLICK && (id == kImportId || id == kExportId)) {
    const long selected = m_list != nullptr ? m_list->GetCurData() : 0;
    Report(id == kImportId ? 1 : 2, selected);
    return 1;
  }
  return MDialog::OnMessage(id, code, wParam, lParam);
}

LRESULT ProfileDlg::OnNcActivate(int active) {
  if (active == 0 && !m_closing) {
    EndEdit();
    if (m_nameChanged && m_owner != nullptr) platform::PostMessage(m_owner, kProfileCommand, 0, LPARAM(m_profile));
    m_nameChanged = false;
    Close();
  }
  return 0;
}

}  // namespace ui
