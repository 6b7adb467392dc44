#include "toolkit/core/MEdit.h"

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

namespace {

// The hint's colour: the text colour's grey.
constexpr ARGB kHintColour = 0xFF7C818A;
constexpr ARGB kBorderColour = 0xFF3A3F4A;
constexpr ARGB kHoverBorderColour = 0xFF5A606C;

MControl* MakeEdit(MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) { return new MEdit(p, id, r, t, v, e); }

}  // namespace

QELT_REGISTER_CONTROL(L"MEdit", MakeEdit)
// Rich edits are not used by the program; the factories build them as
// plain edit fields.
QELT_REGISTER_CONTROL(L"MRichEdit", MakeEdit)
QELT_REGISTER_CONTROL(L"MEditEx", MakeEdit)

MEdit::MEdit(MObject* parent, UINT id, CRect rect, const wchar_t* hint, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 1), m_hint(hint != nullptr ? hint : L"") {
  m_cursor = IDC_IBEAM;
}

MEdit::~MEdit() = default;

// --- Text and settings ---------------------------------------------------------------------

CString MEdit::GetEditText() const {
  if (m_editor && m_editor->IsOpen()) return m_editor->GetText();
  return m_title;
}

void MEdit::SetControlTitle(const wchar_t* title) {
  m_title = TextEditor::CutToLimit(title != nullptr ? title : L"", m_limit);
}

void MEdit::SetEditText(const wchar_t* text) {
  SetControlTitle(text);
  if (m_editor && m_editor->IsOpen()) m_editor->SetText(m_title);
  UpdateControl(1, 0);
}

void MEdit::SetTipInfo(const wchar_t* hint) {
  m_hint = hint != nullptr ? hint : L"";
  if (m_title.empty()) UpdateControl(1, 0);
}

void MEdit::SetLimitText(int limit) {
  m_limit = limit;
  SetControlTitle(m_title.c_str());
  if (m_editor) m_editor->SetLimit(limit);
  UpdateControl(1, 0);
}

void MEdit::EnablePassWord(int on) {
  m_password = on;
  if (m_editor) ConfigureEditor(*m_editor);
  UpdateControl(1, 0);
}

void MEdit::SetPassWordChar(wchar_t mark) {
  m_passwordChar = mark;
  if (m_editor) ConfigureEditor(*m_editor);
  if (m_password) UpdateControl(1, 0);
}

void MEdit::SetReadOnly(int on) {
  m_readOnly = on;
  if (m_editor) m_editor->SetReadOnly(on);
}

void MEdit::SetNumberOnly(int on) {
  m_numberOnly = on;
  if (m_editor) m_editor->SetNumberOnly(on);
}

void MEdit::EnableCharMessage(int on) {
  m_charMessage = on;
  // Text input is decided when the editor opens.
  if (m_editor && !m_editor->IsOpen()) m_editor->SetTakesText(on);
}

void MEdit::SetEditBKColor(COLORREF colour) {
  m_editBack = colour;
  UpdateControl(1, 0);
}

int MEdit::SetIconImage(const wchar_t* file, int count) {
  if (m_manager == nullptr || file == nullptr || count <= 0) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, count);
  if (info == nullptr) return 0;
  m_icon = info->image.get();
  m_iconWidth = info->frameWidth;
  m_iconHeight = info->height;
  if (m_editor) m_editor->SetRect(EditorRect());
  UpdateControl(1, 0);
  return 1;
}

void MEdit::SetTextRect(CRect rect) {
  m_textRect = rect;
  if (m_editor) m_editor->SetRect(EditorRect());
  UpdateControl(1, 0);
}

CRect MEdit::GetIconRect() const {
  if (m_icon == nullptr) return CRect();
  const int x = m_rect.right - 6 - m_iconWidth;
  const int y = m_rect.top + (m_rect.Height() - m_iconHeight) / 2;
  return CRect(x, y, x + m_iconWidth, y + m_iconHeight);
}

CRect MEdit::EditorRect() const {
  // The editor keeps a small margin inside its rectangle; widened by it,
  // the text does not move when the editor opens.
  CRect r = GetTextRect();
  r.InflateRect(2, 0);
  return r;
}

CRect MEdit::GetTextRect() const {
  if (!m_textRect.IsRectEmpty()) {
    CRect r = m_textRect;
    r.OffsetRect(m_rect.left, m_rect.top);
    return r & m_rect;
  }
  CRect r = m_rect;
  r.DeflateRect(8, 2, 8, 2);
  if (m_icon != nullptr) r.right = GetIconRect().left - 4;
  return r;
}

// --- The editor -------------------------------------------------------------------------------

void MEdit::ConfigureEditor(TextEditor& editor) {
  editor.SetLimit(m_limit);
  editor.SetPassword(m_password);
  editor.SetPasswordChar(m_passwordChar);
  editor.SetNumberOnly(m_numberOnly);
  editor.SetReadOnly(m_readOnly);
  editor.SetTakesText(m_charMessage);
  platform::FontSpec font = FontSpecFor();
  if (m_manager != nullptr && GetFontFamily(m_fontName.c_str()) != nullptr) font.family = m_fontFamily->GetFamilyName();
  editor.SetFont(font);
  editor.SetColors(m_textColor, Color(0), Manager::GetSelectColor());
  editor.SetAlignment(m_hAlign);
}

int MEdit::OnCaptureKey(UINT, UINT) { return 0; }

bool MEdit::OpenEditor() {
  if (m_manager == nullptr || !m_visible || !m_enabled) return false;
  if (!m_editor) {
    m_editor = std::make_unique<TextEditor>();
    m_editor->onChange = [this] {
      m_title = m_editor->GetText();
      SendMessageW(CN_EDITCHANGE, 0, 0);
    };
    m_editor->onClose = [this] {
      m_title = m_editor->GetText();
      m_focused = 0;
      UpdateControl(1, 0);
      SendMessageW(CN_EDITEND, 0, 0);
    };
    m_editor->onKey = [this](UINT vk, UINT modifiers) { return OnCaptureKey(vk, modifiers); };
  }
  if (m_editor->IsOpen()) return true;
  ConfigureEditor(*m_editor);
  if (!m_editor->Open(this, EditorRect(), m_title)) return false;
  m_focused = 1;
  SendMessageW(CN_EDITBEGIN, 0, 0);
  return true;
}

void MEdit::CloseEditor() {
  if (m_editor) m_editor->Close();
}

// --- Drawing -------------------------------------------------------------------------------------

void MEdit::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  const bool open = m_editor && m_editor->IsOpen();
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const CRect local(0, 0, w, h);
    if (m_image != nullptr) {
      // Frames: normal, hover, editing, disabled (as many as the strip has).
      int frame = !m_enabled ? 3 : open ? 2 : m_hover ? 1 : 0;
      frame = std::min(frame, std::max(1, m_imageCount) - 1);
      MRender::DrawImageFrame(m_cacheDC, m_image, local, frame * m_imageWidth, 0, m_imageWidth, m_imageHeight,
                              std::min(8, std::min(m_imageWidth, m_imageHeight) / 2));
    } else {
      const ARGB border = open ? Manager::GetSelectColor().GetValue() : m_hover ? kHoverBorderColour : kBorderColour;
      MRender::DrawRoundRectange(m_cacheDC, 0.5f, 0.5f, float(w) - 1, float(h) - 1, 6.0f, Color(border), 1.0f, true,
                                 Color(MRender::ToARGB(m_editBack)));
    }
    if (m_icon != nullptr) {
      CRect icon = GetIconRect();
      icon.OffsetRect(-m_rect.left, -m_rect.top);
      MRender::DrawImage(m_cacheDC, m_icon, icon, 0, 0, m_iconWidth, m_iconHeight);
    }
    if (!open) {
      CRect text = GetTextRect();
      text.OffsetRect(-m_rect.left, -m_rect.top);
      if (!m_title.empty()) {
        CString shown = m_title;
        if (m_password) {
          shown = TextEditor::PasswordMarks(m_title, TextEditor::DrawablePasswordChar(m_passwordChar, FontSpecFor()));
        }
        DrawControlText(m_cacheDC, text, shown, m_enabled ? m_textColor : Color(0xFF808080));
      } else if (!m_hint.empty()) {
        DrawControlText(m_cacheDC, text, m_hint, Color(kHintColour));
      }
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
  if (open) m_editor->Draw(dc);
}

// --- State ---------------------------------------------------------------------------------------

void MEdit::SetControlRect(CRect rect) {
  MControlFont::SetControlRect(rect);
  if (m_editor) m_editor->SetRect(EditorRect());
}

void MEdit::SetControlVisible(int visible) {
  if (!visible) CloseEditor();
  MControlFont::SetControlVisible(visible);
}

void MEdit::SetControlEnabled(int enabled) {
  if (!enabled) CloseEditor();
  MControlFont::SetControlEnabled(enabled);
}

int MEdit::SetControlFocus(int focus) {
  if (!focus) CloseEditor();
  return MControlFont::SetControlFocus(focus);
}

// --- Input ---------------------------------------------------------------------------------------

int MEdit::OnControlMouseMove(UINT, CPoint pt) {
  const int hover = (m_enabled && m_rect.PtInRect(pt)) ? 1 : 0;
  if (hover != m_hover) {
    m_hover = hover;
    UpdateControl(1, 0);
  }
  return m_enabled ? 1 : 0;
}

int MEdit::OnControlLButtonDown(UINT, CPoint pt) {
  m_downInside = 0;
  m_iconPressed = 0;
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  m_downInside = 1;
  if (m_icon != nullptr && GetIconRect().PtInRect(pt)) {
    m_iconPressed = 1;
    return 1;
  }
  OpenEditor();
  return 1;
}

int MEdit::OnControlLButtonUp(UINT, CPoint pt) {
  const bool inside = m_downInside && m_rect.PtInRect(pt);
  const bool icon = m_iconPressed && GetIconRect().PtInRect(pt);
  m_downInside = 0;
  m_iconPressed = 0;
  if (icon) {
    SendMessageW(CN_EDITBUTTON, 0, 0);
    return 1;
  }
  if (inside) SendMessageW(CN_CLICK, 0, 0);
  return inside ? 1 : 0;
}

int MEdit::OnControlKeyDown(UINT vk, UINT, UINT) {
  if (vk != VK_SPACE || !m_enabled || !IsFocusControl() || IsEditFocused()) return 0;
  SendMessageW(CN_PRESS, 0, 0);
  SendMessageW(CN_CLICK, 0, 0);
  return 1;
}

}  // namespace DUI
