#include "toolkit/core/NumberEdit.h"

#include <algorithm>
#include <string>

#include "platform/Text.h"
#include "toolkit/core/CImageButton.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

namespace {

constexpr int kStepperWidth = 18;
constexpr int kStepperHeight = 14;
constexpr ARGB kBorderColour = 0xFF4A5E72;

MControl* MakeNumberEdit(MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) {
  auto* n = new NumberEdit(p, id, r, v);
  if (t != nullptr && *t != 0) n->SetEditText(t);
  if (!e) n->SetControlEnabled(0);
  return n;
}

}  // namespace

QELT_REGISTER_CONTROL(L"NumberEdit", MakeNumberEdit)
QELT_REGISTER_CONTROL(L"NumberEdit2", MakeNumberEdit)

NumberEdit::NumberEdit(MObject* parent, UINT id, CRect rect, int visible) : MPanel(parent, id, rect, visible) {
  m_title = L"0";
  m_hAlign = 1;
  AttachControl(new CImageButton(this, kIncreaseId, CRect(), nullptr, 1, 1), 1);
  AttachControl(new CImageButton(this, kDecreaseId, CRect(), nullptr, 1, 1), 1);
  LayoutButtons();
}

NumberEdit::~NumberEdit() = default;

// --- Value and settings ------------------------------------------------------------------

CString NumberEdit::GetEditText() const {
  if (m_editor && m_editor->IsOpen()) return m_editor->GetText();
  return m_title;
}

void NumberEdit::SetEditText(const wchar_t* text) {
  m_title = text != nullptr ? text : L"";
  if (m_editor && m_editor->IsOpen()) m_editor->SetText(m_title);
  UpdateControl(1, 0);
}

int NumberEdit::GetValue() const { return platform::WToI(GetEditText()); }

void NumberEdit::SetEditFont(const wchar_t* name, int size, int style) {
  SetFont(name, size, style);
  UpdateControl(1, 0);
}

void NumberEdit::SetEditBKColor(COLORREF colour) {
  m_editBack = colour;
  UpdateControl(1, 0);
}

void NumberEdit::SetTextRect(CRect rect) {
  m_textRect = rect;
  if (m_editor) m_editor->SetRect(GetTextRect());
  UpdateControl(1, 0);
}

CRect NumberEdit::GetTextRect() const {
  if (!m_textRect.IsRectEmpty()) {
    CRect r = m_textRect;
    r.OffsetRect(m_rect.left, m_rect.top);
    return r & m_rect;
  }
  return CRect(m_rect.left + 6, m_rect.top + 2, m_rect.right - kStepperWidth - 8, m_rect.bottom - 2);
}

void NumberEdit::LayoutButtons() {
  const int h = std::min(kStepperHeight, m_rect.Height() / 2);
  const int cy = m_rect.top + m_rect.Height() / 2;
  const int right = m_rect.right - 3;
  if (MControl* up = GetControl(kIncreaseId)) up->SetRect(CRect(right - kStepperWidth, cy - h, right, cy));
  if (MControl* down = GetControl(kDecreaseId)) down->SetRect(CRect(right - kStepperWidth, cy, right, cy + h));
}

void NumberEdit::Step(int delta) {
  const int value = GetValue();
  const int next = delta > 0 ? std::min(value + delta, kMaximum) : std::max(value + delta, kMinimum);
  const CString text = std::to_wstring(next);
  if (text == GetEditText()) return;
  CloseEditor();
  m_title = text;
  SendMessageW(CN_CLICK, 0, 0);
  UpdateControl(1, 0);
}

// --- The editor ------------------------------------------------------------------------------

bool NumberEdit::OpenEditor() {
  if (m_manager == nullptr || !m_visible || !m_enabled) return false;
  if (!m_editor) {
    m_editor = std::make_unique<TextEditor>();
    m_editor->onChange = [this] {
      m_title = m_editor->GetText();
      SendMessageW(CN_EDITCHANGE, 0, 0);
    };
    m_editor->onClose = [this] {
      // What was typed is brought into the field's range.
      const int value = std::clamp(platform::WToI(m_editor->GetText()), kMinimum, kMaximum);
      m_title = std::to_wstring(value);
      m_focused = 0;
      UpdateControl(1, 0);
      SendMessageW(CN_EDITEND, 0, 0);
    };
  }
  if (m_editor->IsOpen()) return true;
  m_editor->SetLimit(2);
  m_editor->SetNumberOnly(1);
  platform::FontSpec font = FontSpecFor();
  if (GetFontFamily(m_fontName.c_str()) != nullptr) font.family = m_fontFamily->GetFamilyName();
  m_editor->SetFont(font);
  m_editor->SetColors(m_textColor, Color(0), Manager::GetSelectColor());
  m_editor->SetAlignment(m_hAlign);
  if (!m_editor->Open(this, GetTextRect(), m_title)) return false;
  m_focused = 1;
  SendMessageW(CN_EDITBEGIN, 0, 0);
  return true;
}

void NumberEdit::CloseEditor() {
  if (m_editor) m_editor->Close();
}

// --- Overrides ---------------------------------------------------------------------------------

void NumberEdit::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  if (manager == nullptr) return;
  if (auto* up = dynamic_cast<CImageButton*>(GetControl(kIncreaseId))) up->SetImage(L"img_spin_up.png", 4);
  if (auto* down = dynamic_cast<CImageButton*>(GetControl(kDecreaseId))) down->SetImage(L"img_spin_down.png", 4);
}

void NumberEdit::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  const bool open = IsEditFocused();
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const ARGB border = open ? Manager::GetSelectColor().GetValue() : kBorderColour;
    MRender::DrawRoundRectange(m_cacheDC, 0.5f, 0.5f, float(w) - 1, float(h) - 1, 6.0f, Color(border), 1.0f, true,
                               Color(MRender::ToARGB(m_editBack)));
    if (!open) {
      CRect text = GetTextRect();
      text.OffsetRect(-m_rect.left, -m_rect.top);
      DrawControlText(m_cacheDC, text, m_title, m_enabled ? m_textColor : Color(0xFF808080));
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
  if (open) m_editor->Draw(dc);
}

void NumberEdit::SetControlRect(CRect rect) {
  MPanel::SetControlRect(rect);
  LayoutButtons();
  if (m_editor) m_editor->SetRect(GetTextRect());
}

void NumberEdit::SetControlVisible(int visible) {
  if (!visible) CloseEditor();
  MPanel::SetControlVisible(visible);
}

void NumberEdit::SetControlEnabled(int enabled) {
  if (!enabled) CloseEditor();
  MPanel::SetControlEnabled(enabled);
  for (UINT id : {kIncreaseId, kDecreaseId}) {
    if (MControl* c = GetControl(id)) c->SetEnabled(enabled);
  }
}

int NumberEdit::SetControlFocus(int focus) {
  if (!focus) CloseEditor();
  return MPanel::SetControlFocus(focus);
}

LRESULT NumberEdit::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if ((id == kIncreaseId || id == kDecreaseId) && code == CN_CLICK) {
    Step(id == kIncreaseId ? 1 : -1);
    return 0;
  }
  return MPanel::OnMessage(id, code, wParam, lParam);
}

int NumberEdit::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !GetTextRect().PtInRect(pt)) return 0;
  OpenEditor();
  return 1;
}

int NumberEdit::OnControlKeyDown(UINT vk, UINT, UINT) {
  if (vk != VK_SPACE || !m_enabled || !IsFocusControl() || IsEditFocused()) return 0;
  SendMessageW(CN_PRESS, 0, 0);
  SendMessageW(CN_CLICK, 0, 0);
  return 1;
}

}  // namespace DUI
