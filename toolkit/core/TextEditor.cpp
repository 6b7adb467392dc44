// The toolkit's text editor.
//
// Index
//   1. Settings
//   2. Opening and closing
//   3. Text, caret stops and selection
//   4. Editing
//   5. Input
//   6. Drawing

#include "toolkit/core/TextEditor.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "platform/window/Clipboard.h"
#include "platform/window/TextInput.h"
#include "platform/window/Window.h"
#include "toolkit/core/MControl.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

namespace {

// Space between the rectangle's edges and the text.
constexpr float kPad = 2.0f;

bool IsControlChar(wchar_t ch) {
  const auto c = uint32_t(ch);
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF;
}

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

// The modifier code cannot tell Ctrl+Shift from Ctrl, so the keys are read
// one by one.
bool KeyHeld(UINT vk) { return platform::GetKeyState(int(vk)) < 0; }

}  // namespace

TextEditor::TextEditor() { Retext(); }

TextEditor::~TextEditor() { Detach(); }

// --- 1. Settings -------------------------------------------------------------------------

void TextEditor::SetLimit(int limit) {
  m_limit = limit;
  const CString cut = CutToLimit(m_text, m_limit);
  if (cut != m_text) {
    m_text = cut;
    Retext();
    m_caret = std::min(m_caret, int(m_text.size()));
    m_anchor = std::min(m_anchor, int(m_text.size()));
    if (m_open) Redraw();
  }
}

void TextEditor::SetPassword(int on) {
  m_password = on;
  Retext();
  if (m_open) Redraw();
}

void TextEditor::SetPasswordChar(wchar_t mark) {
  m_passwordChar = mark;
  m_drawnPasswordChar = 0;
  Retext();
  if (m_open) Redraw();
}

wchar_t TextEditor::DrawablePasswordChar(wchar_t wanted, const platform::FontSpec& font) {
  // The chosen mark when some installed font has it, else the first of
  // these that one has; a mark drawn as a missing-glyph box would look like
  // broken text.
  const wchar_t candidates[] = {wanted, 0x25CF, 0x2022};
  for (wchar_t c : candidates) {
    if (c != 0 && !IsControlChar(c) && platform::CanRenderText(std::wstring(1, c), font)) return c;
  }
  return L'*';
}

CString TextEditor::PasswordMarks(const CString& text, wchar_t mark) {
  return CString(platform::TextCursorStops(text).size() - 1, mark);
}

wchar_t TextEditor::GetDrawnPasswordChar() {
  if (m_drawnPasswordChar == 0) m_drawnPasswordChar = DrawablePasswordChar(m_passwordChar, m_font);
  return m_drawnPasswordChar;
}

void TextEditor::SetFont(const platform::FontSpec& font) {
  m_font = font;
  m_drawnPasswordChar = 0;
  Retext();
}

void TextEditor::SetColors(Color text, Color back, Color selection) {
  m_textColor = text;
  m_backColor = back;
  m_selectionColor = selection;
}

// --- 2. Opening and closing ------------------------------------------------------------------

bool TextEditor::Open(MControl* host, CRect rect, const CString& text) {
  if (host == nullptr || host->GetManager() == nullptr || host->GetManager()->GetPaintWnd() == nullptr) return false;
  if (m_open) EndOpen(false);
  PaintManager* manager = host->GetManager();
  if (TextEditor* other = manager->GetOpenEditor(); other != nullptr && other != this) other->Close();
  m_host = host;
  m_manager = manager;
  m_hwnd = manager->GetPaintWnd();
  m_rect = rect;
  m_text = CutToLimit(text, m_limit);
  m_opened = m_text;
  Retext();
  m_scrollX = 0;
  m_dragging = 0;
  m_open = 1;
  m_manager->SetOpenEditor(this);
  SetSel(0, int(m_text.size()));
  if (m_takesText && !m_readOnly) {
    // The candidate window goes by the caret, in window coordinates.
    ScrollToCaret();
    CRect caret = GetCaretRect();
    const CPoint topLeft = ToWindow(caret.TopLeft());
    caret.MoveToXY(topLeft.x, topLeft.y);
    platform::StartTextInput(m_hwnd, RECT(caret));
    m_textInput = 1;
  }
  StartBlink();
  Redraw();
  return true;
}

void TextEditor::EndOpen(bool notify) {
  if (!m_open) return;
  m_open = 0;
  StopBlink();
  if (m_dragging && m_hwnd != nullptr && platform::GetCapture() == m_hwnd) platform::ReleaseCapture();
  m_dragging = 0;
  if (m_textInput) platform::StopTextInput();
  m_textInput = 0;
  if (m_manager != nullptr && m_manager->GetOpenEditor() == this) m_manager->SetOpenEditor(nullptr);
  if (notify) {
    Redraw();
    if (onClose) onClose();
  }
}

void TextEditor::Close() { EndOpen(true); }

void TextEditor::Cancel() {
  if (!m_open) return;
  if (m_text != m_opened) {
    m_text = m_opened;
    Retext();
    m_caret = m_anchor = int(m_text.size());
    if (onChange) onChange();
  }
  Close();
}

void TextEditor::Detach() {
  EndOpen(false);
  m_host = nullptr;
  m_manager = nullptr;
  m_hwnd = nullptr;
}

void TextEditor::SetRect(CRect rect) {
  m_rect = rect;
  if (m_open) {
    CaretMoved();
    Redraw();
  }
}

void TextEditor::CheckHostShowing() {
  if (!m_open || m_host == nullptr) return;
  if (!m_host->IsVisible() || !m_host->IsParentVisible()) Close();
}

CPoint TextEditor::ToHost(CPoint windowPt) const {
  // The host's rect is in its parent's coordinates: map the point through
  // every parent control from the top down, as input routing does.
  std::vector<MControl*> chain;
  for (MObject* p = m_host != nullptr ? m_host->GetParantObject() : nullptr; p != nullptr;) {
    auto* c = dynamic_cast<MControl*>(p);
    if (c == nullptr) break;
    chain.push_back(c);
    p = c->GetParantObject();
  }
  CPoint pt = windowPt;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->OnMousePointChange(pt);
  return pt;
}

CPoint TextEditor::ToWindow(CPoint hostPt) const {
  // Parents only add scroll offsets, so the way back subtracts them.
  const CPoint mapped = ToHost(hostPt);
  return CPoint(hostPt.x - (mapped.x - hostPt.x), hostPt.y - (mapped.y - hostPt.y));
}

int TextEditor::HitTest(CPoint windowPt) {
  if (!m_open) return 0;
  return m_rect.PtInRect(ToHost(windowPt)) ? 1 : 0;
}

// --- 3. Text, caret stops and selection --------------------------------------------------------

CString TextEditor::CutToLimit(const CString& text, int limit) {
  if (limit <= 0 || int(text.size()) <= limit) return text;
  const std::vector<int> stops = platform::TextCursorStops(text);
  int cut = 0;
  for (int s : stops) {
    if (s <= limit) cut = s;
  }
  return text.substr(0, size_t(cut));
}

void TextEditor::Retext() {
  m_stops = platform::TextCursorStops(m_text);
  m_words = platform::TextWordStops(m_text);
  if (m_password) {
    m_display = PasswordMarks(m_text, GetDrawnPasswordChar());
  } else {
    m_display = m_text;
  }
}

int TextEditor::PrevStop(int index) const {
  int prev = 0;
  for (int s : m_stops) {
    if (s < index) prev = s;
  }
  return prev;
}

int TextEditor::NextStop(int index) const {
  for (int s : m_stops) {
    if (s > index) return s;
  }
  return int(m_text.size());
}

int TextEditor::SnapStop(int index) const {
  int snapped = 0;
  for (int s : m_stops) {
    if (s <= index) snapped = s;
  }
  return snapped;
}

int TextEditor::PrevWord(int index) const {
  if (m_password) return 0;
  // The start of the word before the caret (boundaries come in start/end
  // pairs; spaces between words are skipped).
  int prev = 0;
  for (size_t i = 0; i < m_words.size(); ++i) {
    const int s = m_words[i];
    if (s >= index) break;
    const bool wordStart = s < int(m_text.size()) && !std::iswspace(m_text[size_t(s)]);
    if (wordStart) prev = s;
  }
  return SnapStop(prev);
}

int TextEditor::NextWord(int index) const {
  if (m_password) return int(m_text.size());
  for (int s : m_words) {
    if (s <= index) continue;
    const bool wordEnd = s > 0 && !std::iswspace(m_text[size_t(s - 1)]);
    if (wordEnd) return SnapStop(s);
  }
  return int(m_text.size());
}

int TextEditor::DisplayIndex(int textIndex) const {
  if (!m_password) return textIndex;
  int n = 0;
  for (int s : m_stops) {
    if (s < textIndex) ++n;
  }
  return n;
}

void TextEditor::SetText(const CString& text) {
  m_text = CutToLimit(text, m_limit);
  Retext();
  m_caret = m_anchor = int(m_text.size());
  if (m_open) {
    CaretMoved();
    Redraw();
  }
}

void TextEditor::SetSel(int anchor, int caret) {
  const int size = int(m_text.size());
  m_anchor = SnapStop(std::clamp(anchor, 0, size));
  m_caret = SnapStop(std::clamp(caret, 0, size));
  if (m_open) {
    CaretMoved();
    Redraw();
  }
}

float TextEditor::CaretX(int textIndex) {
  return platform::TextCaretX(m_display, m_font, DisplayIndex(textIndex));
}

float TextEditor::TextOrigin() {
  const float available = float(m_rect.Width()) - 2 * kPad;
  const float width = platform::MeasureText(m_display, m_font).width;
  float x = float(m_rect.left) + kPad;
  if (width <= available) {
    if (m_align == 1) x += (available - width) / 2;
    else if (m_align == 2) x += available - width;
    return x;
  }
  return x - m_scrollX;
}

int TextEditor::IndexAtX(int hostX) {
  const float x = float(hostX) - TextOrigin();
  const int displayIndex = platform::TextIndexAtX(m_display, m_font, x);
  if (!m_password) return SnapStop(displayIndex);
  return m_stops[size_t(std::clamp(displayIndex, 0, int(m_stops.size()) - 1))];
}

CRect TextEditor::GetCaretRect() {
  const platform::FontMetrics metrics = platform::GetFontMetrics(m_font);
  const int height = std::min(int(std::ceil(metrics.height)), m_rect.Height());
  const int x = int(std::lround(TextOrigin() + CaretX(m_caret)));
  const int top = m_rect.top + (m_rect.Height() - height) / 2;
  return CRect(x, top, x + 1, top + height);
}

void TextEditor::ScrollToCaret() {
  const float available = std::max(1.0f, float(m_rect.Width()) - 2 * kPad);
  const float width = platform::MeasureText(m_display, m_font).width;
  if (width <= available) {
    m_scrollX = 0;
    return;
  }
  const float x = CaretX(m_caret);
  if (x - m_scrollX > available) m_scrollX = x - available;
  if (x - m_scrollX < 0) m_scrollX = x;
  // No empty space right of the text while it is wider than the field.
  m_scrollX = std::clamp(m_scrollX, 0.0f, width - available);
}

void TextEditor::CaretMoved() {
  if (!m_open) return;
  ScrollToCaret();
  if (m_textInput) {
    CRect caret = GetCaretRect();
    const CPoint topLeft = ToWindow(caret.TopLeft());
    caret.MoveToXY(topLeft.x, topLeft.y);
    platform::SetTextInputRect(RECT(caret));
  }
  // The caret stays lit while the user works.
  StartBlink();
}

void TextEditor::MoveCaret(int index, bool extend) {
  m_caret = SnapStop(std::clamp(index, 0, int(m_text.size())));
  if (!extend) m_anchor = m_caret;
  CaretMoved();
  Redraw();
}

// --- 4. Editing -----------------------------------------------------------------------------------

bool TextEditor::Insert(const CString& what) {
  if (m_readOnly) return false;
  CString clean;
  for (wchar_t ch : what) {
    if (IsControlChar(ch)) continue;
    // A number field takes digits only; anything else refuses the whole
    // insertion rather than pasting part of it.
    if (m_numberOnly && !IsDigit(ch)) return false;
    clean.push_back(ch);
  }
  if (clean.empty()) return false;
  const int start = GetSelStart(), end = GetSelEnd();
  const int kept = int(m_text.size()) - (end - start);
  if (m_limit > 0) {
    const int room = m_limit - kept;
    if (room <= 0) return false;
    clean = CutToLimit(clean, room);
    if (clean.empty()) return false;
  }
  m_text.replace(size_t(start), size_t(end - start), clean);
  Retext();
  m_caret = m_anchor = SnapStop(start + int(clean.size()));
  Changed();
  return true;
}

void TextEditor::DeleteRange(int from, int to) {
  if (m_readOnly || from >= to) return;
  m_text.erase(size_t(from), size_t(to - from));
  Retext();
  m_caret = m_anchor = SnapStop(from);
  Changed();
}

void TextEditor::Copy() {
  // A password never leaves the field in clear.
  if (m_password || GetSelStart() == GetSelEnd()) return;
  platform::SetClipboardText(m_text.substr(size_t(GetSelStart()), size_t(GetSelEnd() - GetSelStart())));
}

void TextEditor::Paste() {
  // One line: a pasted text ends at its first line break.
  const CString clip = platform::GetClipboardText();
  Insert(clip.substr(0, clip.find_first_of(L"\r\n")));
}

void TextEditor::Changed() {
  CaretMoved();
  Redraw();
  if (onChange) onChange();
}

// --- 5. Input -----------------------------------------------------------------------------------------

int TextEditor::OnKeyDown(UINT vk, UINT mods) {
  if (!m_open) return 0;
  if (!m_takesText) {
    if (onKey && onKey(vk, mods)) return 1;
    if (vk == VK_RETURN) Close();
    else if (vk == VK_ESCAPE) Cancel();
    return 1;
  }
  if (KeyHeld(VK_MENU)) return 0;  // Alt combinations are the window's
  const bool ctrl = KeyHeld(VK_CONTROL);
  const bool shift = KeyHeld(VK_SHIFT);
  const int size = int(m_text.size());
  const bool hasSel = GetSelStart() != GetSelEnd();
  switch (vk) {
    case VK_RETURN:
      Close();
      return 1;
    case VK_ESCAPE:
      Cancel();
      return 1;
    case VK_LEFT:
      if (hasSel && !shift) MoveCaret(ctrl ? PrevWord(GetSelStart()) : GetSelStart(), false);
      else MoveCaret(ctrl ? PrevWord(m_caret) : PrevStop(m_caret), shift);
      return 1;
    case VK_RIGHT:
      if (hasSel && !shift) MoveCaret(ctrl ? NextWord(GetSelEnd()) : GetSelEnd(), false);
      else MoveCaret(ctrl ? NextWord(m_caret) : NextStop(m_caret), shift);
      return 1;
    case VK_HOME:
    case VK_UP:
    case VK_PRIOR:
      MoveCaret(0, shift);
      return 1;
    case VK_END:
    case VK_DOWN:
    case VK_NEXT:
      MoveCaret(size, shift);
      return 1;
    case VK_BACK:
      if (hasSel) DeleteRange(GetSelStart(), GetSelEnd());
      else DeleteRange(ctrl ? PrevWord(m_caret) : PrevStop(m_caret), m_caret);
      return 1;
    case VK_DELETE:
      if (shift && !ctrl) {  // Shift+Delete cuts
        Copy();
        if (!m_password) DeleteRange(GetSelStart(), GetSelEnd());
      } else if (hasSel) {
        DeleteRange(GetSelStart(), GetSelEnd());
      } else {
        DeleteRange(m_caret, ctrl ? NextWord(m_caret) : NextStop(m_caret));
      }
      return 1;
    case VK_INSERT:
      if (ctrl && !shift) Copy();
      else if (shift && !ctrl) Paste();
      return 1;
    default:
      break;
  }
  if (ctrl && !shift) {
    switch (vk) {
      case 'A':
        SetSel(0, size);
        return 1;
      case 'C':
        Copy();
        return 1;
      case 'X':
        if (!m_password && !m_readOnly && hasSel) {
          Copy();
          DeleteRange(GetSelStart(), GetSelEnd());
        }
        return 1;
      case 'V':
        Paste();
        return 1;
      default:
        break;
    }
  }
  // Tab moves the focus and function keys keep their meaning; every other
  // key belongs to the editor (its characters arrive as WM_CHAR).
  if (vk == VK_TAB || (vk >= VK_F1 && vk <= VK_F24)) return 0;
  return 1;
}

int TextEditor::OnChar(wchar_t ch) {
  if (!m_open) return 0;
  if (!m_takesText || IsControlChar(ch)) return 1;
  Insert(CString(1, ch));
  return 1;
}

int TextEditor::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!m_open) return 0;
  const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  switch (msg) {
    case WM_KEYDOWN:
      return OnKeyDown(UINT(wParam), PaintManager::GetModifierCode());
    case WM_CHAR:
      return OnChar(wchar_t(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!HitTest(pt)) {
        Close();
        return 0;
      }
      if (msg == WM_LBUTTONDBLCLK && !m_password) {
        // The word under the pointer.
        const int at = IndexAtX(ToHost(pt).x);
        SetSel(PrevWord(std::min(at + 1, int(m_text.size()))), NextWord(at));
        return 1;
      }
      MoveCaret(IndexAtX(ToHost(pt).x), KeyHeld(VK_SHIFT));
      m_dragging = 1;
      platform::SetCapture(m_hwnd);
      return 1;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!HitTest(pt)) {
        Close();
        return 0;
      }
      return 1;
    case WM_MOUSEMOVE:
      if (m_dragging) {
        MoveCaret(IndexAtX(ToHost(pt).x), true);
        return 1;
      }
      if (HitTest(pt)) platform::SetCursor(IDC_IBEAM);
      return 0;
    case WM_LBUTTONUP:
      if (m_dragging) {
        m_dragging = 0;
        if (platform::GetCapture() == m_hwnd) platform::ReleaseCapture();
        return 1;
      }
      return 0;
    case WM_RBUTTONUP:
      return HitTest(pt);
    case WM_TIMER:
      if (wParam != kCaretTimerId) return 0;
      m_caretOn = m_caretOn ? 0 : 1;
      if (m_host != nullptr) m_host->UpdateControl(GetCaretRect(), 0, 0);
      return 1;
    case WM_NCACTIVATE:
      if (wParam == 0) Close();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam == 0) Close();
      return 0;
    case WM_DESTROY:
      Close();
      return 0;
    default:
      return 0;
  }
}

void TextEditor::StartBlink() {
  m_caretOn = 1;
  if (m_hwnd != nullptr) platform::SetTimer(m_hwnd, kCaretTimerId, kBlinkMs);
}

void TextEditor::StopBlink() {
  m_caretOn = 0;
  if (m_hwnd != nullptr && platform::IsWindow(m_hwnd)) platform::KillTimer(m_hwnd, kCaretTimerId);
}

void TextEditor::Redraw() {
  if (m_host != nullptr) m_host->UpdateControl(1, 0);
}

// --- 6. Drawing -----------------------------------------------------------------------------------------

void TextEditor::Draw(HDC dc) {
  if (!m_open || dc == nullptr || m_rect.IsRectEmpty()) return;
  platform::Canvas& canvas = dc->Canvas();
  canvas.Save();
  canvas.ClipRect(RECT(m_rect));
  if (m_backColor.GetA() != 0) canvas.FillRect(RECT(m_rect), m_backColor.GetValue());
  const float origin = TextOrigin();
  const platform::FontMetrics metrics = platform::GetFontMetrics(m_font);
  const float top = float(m_rect.top) + (float(m_rect.Height()) - metrics.height) / 2;
  if (GetSelStart() != GetSelEnd()) {
    const float x1 = origin + CaretX(GetSelStart());
    const float x2 = origin + CaretX(GetSelEnd());
    const Color sel = m_selectionColor;
    canvas.FillRect(platform::RectF{x1, top, x2 - x1, metrics.height},
                    platform::Brush::SolidColor((ARGB(0xA0) << 24) | (sel.GetValue() & 0x00FFFFFF)));
  }
  if (!m_display.empty()) {
    const float width = platform::MeasureText(m_display, m_font).width + 4;
    canvas.DrawText(m_display, platform::RectF{origin, float(m_rect.top), width, float(m_rect.Height())}, m_font,
                    m_textColor.GetValue(), platform::TextFormat(platform::HAlign::Left, platform::VAlign::Center));
  }
  if (m_caretOn) {
    const CRect caret = GetCaretRect();
    canvas.FillRect(RECT(caret), m_textColor.GetValue());
  }
  canvas.Restore();
}

}  // namespace DUI
