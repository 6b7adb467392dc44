#include "ui/MousePaletteDlg.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/window/Window.h"
#include "shell/Localisation.h"
#include "toolkit/controls/CColorButton.h"
#include "toolkit/controls/MPalette.h"
#include "toolkit/core/CArea.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/MButton.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"

namespace ui {

using namespace DUI;

namespace {

constexpr COLORREF kPresetColours[MousePaletteDlg::kPresets] = {255,      16711680, 65280,   65535,
                                                               16711935, 16776960, 16777215};
constexpr const wchar_t* kLabels[3] = {L"R:", L"G:", L"B:"};
constexpr int kTextOk = 20;
constexpr int kTextClose = 5;
const Color kLabelColour(0xFFB8BDC6);

}  // namespace

MousePaletteDlg::MousePaletteDlg(COLORREF colour) : m_colour(colour & 0xFFFFFF), m_result(colour & 0xFFFFFF) {}

std::optional<COLORREF> MousePaletteDlg::Pick(HWND owner, COLORREF colour) {
  MousePaletteDlg dlg(colour);
  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
  if (dlg.Create(owner, kWindowName, 0x96000000, 0, CRect(0, 0, kWidth, kHeight)) == nullptr) return std::nullopt;
  dlg.CenterWindow(nullptr);
  dlg.ShowModal(SW_SHOWNORMAL);
  dlg.DestroyWindow();
  // Only OK answers; the window manager's close counts as cancelling.
  if (!dlg.m_accepted) return std::nullopt;
  return dlg.m_result;
}

int MousePaletteDlg::ClampComponent(const CString& text) {
  long value = 0;
  bool digits = false;
  for (wchar_t c : text) {
    if (!std::iswdigit(c)) break;
    digits = true;
    value = std::min<long>(value * 10 + (c - L'0'), 1000);
  }
  return digits ? int(std::clamp<long>(value, 0, 255)) : 0;
}

void MousePaletteDlg::InitUI(CRect client) {
  const int w = client.right;
  if (auto* close = dynamic_cast<CImageButton*>(
          CreateControl(L"CImageButton", kCloseId, CRect(w - 35, 5, w - 5, 35), nullptr, 1, 1))) {
    close->SetImage(L"sysbtn_close.png", 4);
    close->SetTooltip(shell::GetText(kTextClose).c_str());
  }
  m_palette = dynamic_cast<MPalette*>(CreateControl(L"MPalette", kPaletteId, CRect(10, 10, 150, 112), nullptr, 1, 1));
  if (m_palette != nullptr) {
    m_palette->SetPalletHeight(102);
    m_palette->SetThumbImage(L"img_palette_thumb.png");
  }
  m_preview = dynamic_cast<CArea*>(CreateControl(L"CArea", kPreviewId, CRect(160, 10, 245, 34), nullptr, 1, 1));
  if (m_preview != nullptr) m_preview->SetFrame(1, Color(0xFF454B55));
  for (int i = 0; i < 3; ++i) {
    const int y = 42 + i * 26;
    if (auto* label = dynamic_cast<MText*>(
            CreateControl(L"MText", kLabelId + UINT(i), CRect(160, y, 180, y + 22), kLabels[i], 1, 1))) {
      label->SetTextColor(kLabelColour);
      label->SetAlignment(DT_LEFT, DT_VCENTER);
    }
    m_fields[i] = dynamic_cast<MEdit*>(CreateControl(L"MEdit", kFieldId + UINT(i), CRect(182, y, 245, y + 22), nullptr, 1, 1));
    if (m_fields[i] != nullptr) {
      m_fields[i]->SetImage(L"img_edit.png", 4);
      m_fields[i]->SetNumberOnly(1);
      m_fields[i]->SetLimitText(3);
    }
  }
  for (int i = 0; i < kPresets; ++i) {
    const int x = 10 + i * 26;
    if (auto* preset = dynamic_cast<CColorButton*>(
            CreateControl(L"CColorButton", kPresetId + UINT(i), CRect(x, 122, x + 20, 142), nullptr, 1, 1))) {
      preset->SetColor(kPresetColours[i]);
      preset->SetGroupName(L"DEFAULTCOLOR");
    }
  }
  if (auto* ok = dynamic_cast<MButton*>(
          CreateControl(L"MButton", kOkId, CRect(w - 80, 120, w - 5, 144), shell::GetText(kTextOk).c_str(), 1, 1))) {
    ok->SetImage(L"img_button.png", 4);
  }
}

int MousePaletteDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  GetPaintManager()->SetBackColor(0x1A1A1A, 0x454B55);
  if (m_palette != nullptr) m_palette->SetSelectColor(m_colour);
  ShowFields(m_colour);
  ShowPreview(m_colour);
  return 1;
}

void MousePaletteDlg::ShowFields(COLORREF colour) {
  m_showing = true;
  for (int i = 0; i < 3; ++i) {
    if (m_fields[i] != nullptr) m_fields[i]->SetEditText(std::to_wstring((colour >> (8 * i)) & 0xFF).c_str());
  }
  m_showing = false;
}

void MousePaletteDlg::ShowPreview(COLORREF colour) {
  if (m_preview != nullptr) m_preview->SetTransparent(0, 0, colour);
}

void MousePaletteDlg::FieldEdited(int field) {
  if (m_showing) return;
  COLORREF colour = 0;
  for (int i = 0; i < 3; ++i) {
    if (m_fields[i] == nullptr) continue;
    const CString text = m_fields[i]->GetEditText();
    const int value = ClampComponent(text);
    // The field shows what the colour takes; an empty field stays empty
    // while the user types.
    if (i == field && !text.empty() && text != std::to_wstring(value)) {
      m_showing = true;
      m_fields[i]->SetEditText(std::to_wstring(value).c_str());
      m_showing = false;
    }
    colour |= COLORREF(value) << (8 * i);
  }
  m_result = colour;
  if (m_palette != nullptr) m_palette->SetSelectColor(colour);
  ShowPreview(colour);
}

void MousePaletteDlg::Cancel() {
  m_result = 0;
  m_cancelled = true;
  DoCancel();
}

LRESULT MousePaletteDlg::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (id == kPaletteId && (code == CN_COLOR || code == CN_CLICK)) {
    // CN_COLOR without a colour only reports a drag of the bar in progress.
    if (code == CN_COLOR && wParam == 0) return 1;
    m_result = m_palette->GetSelectColor() & 0xFFFFFF;
    ShowFields(m_result);
    ShowPreview(m_result);
    return 1;
  }
  if (id >= kPresetId && id < kPresetId + kPresets && code == CN_CLICK) {
    if (auto* preset = dynamic_cast<CColorButton*>(GetControl(id))) {
      m_result = preset->GetColor() & 0xFFFFFF;
      if (m_palette != nullptr) m_palette->SetSelectColor(m_result);
      ShowFields(m_result);
      ShowPreview(m_result);
    }
    return 1;
  }
  if (id >= kFieldId && id < kFieldId + 3 && code == CN_EDITCHANGE) {
    FieldEdited(int(id - kFieldId));
    return 1;
  }
  if (code == CN_CLICK && id == kOkId) {
    m_accepted = true;
    DoOK();
    return 1;
  }
  if (code == CN_CLICK && id == kCloseId) {
    Cancel();
    return 1;
  }
  return MDialog::OnMessage(id, code, wParam, lParam);
}

int MousePaletteDlg::PreTranslateMessage(MSG* msg) {
  if (msg != nullptr && msg->hwnd == GetSafeHwnd() && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    Cancel();
    return 1;
  }
  return MDialog::PreTranslateMessage(msg);
}

}  // namespace ui
