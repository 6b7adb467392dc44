#pragma once
// TextEditor: the toolkit's one text editor, drawn by the toolkit. Edit
// fields, number fields and the in-place editors of lists and value
// controls each own one and open it over their text rectangle.
//
// Index
//   1. Settings (kept between openings)
//   2. Opening and closing
//   3. Text, caret and selection
//   4. Input (called by the window's manager while the editor is open)
//   5. Drawing
//   6. Fields
//
// Input. While an editor is open its window's PaintManager hands it every
// message first (PaintManager::SetOpenEditor): it takes the keys before the
// control under the pointer, characters only from WM_CHAR (so AltGr, dead
// keys and input methods work; control characters are never inserted),
// presses inside its rectangle, and it closes on Enter, on a press anywhere
// else, when the window loses activation or is hidden, when its host
// control or a parent of it is hidden, and when the window is destroyed.
// Escape restores the text it opened with and closes.
//
// The caret moves by grapheme cluster (a letter with its combining marks is
// one step) and blinks on a window timer that runs only while the editor is
// open. Text input (the input method) is on only while an editor that takes
// characters is open, with the candidate window placed at the caret.
//
// Coordinates. The editor's rectangle is in its host's coordinates: those
// of the host's own rect, which inside a scrolled panel are content
// coordinates. Window points are mapped through the host's parents.

#include <functional>
#include <vector>

#include "platform/draw/Font.h"
#include "toolkit/core/Color.h"
#include "toolkit/core/MDC.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {

class MControl;
class PaintManager;

class TextEditor {
 public:
  // The window timer that blinks the caret (outside the ids PaintManager
  // gives controls, 0 to 239, and its own).
  static constexpr UINT kCaretTimerId = 0x7C01;
  static constexpr UINT kBlinkMs = 530;
  static constexpr wchar_t kDefaultPasswordChar = 0xA1F1;

  TextEditor();
  ~TextEditor();
  TextEditor(const TextEditor&) = delete;
  TextEditor& operator=(const TextEditor&) = delete;

  // --- 1. Settings -------------------------------------------------------------------
  // Longest text in characters; a longer text is cut at the last caret stop
  // within it. 0 or less: no limit.
  void SetLimit(int limit);
  int GetLimit() const { return m_limit; }
  void SetPassword(int on);
  int IsPassword() const { return m_password; }
  void SetPasswordChar(wchar_t mark);
  wchar_t GetPasswordChar() const { return m_passwordChar; }
  // The mark actually drawn: the chosen one when the fonts can draw it,
  // else a fallback they can.
  wchar_t GetDrawnPasswordChar();
  static wchar_t DrawablePasswordChar(wchar_t wanted, const platform::FontSpec& font);
  // What a password field shows for text: one mark per grapheme cluster.
  static CString PasswordMarks(const CString& text, wchar_t mark);
  void SetNumberOnly(int on) { m_numberOnly = on; }
  int IsNumberOnly() const { return m_numberOnly; }
  void SetReadOnly(int on) { m_readOnly = on; }
  int IsReadOnly() const { return m_readOnly; }
  // 0 makes a key-capture field: no characters, no input method; keys go to
  // the key handler.
  void SetTakesText(int on) { m_takesText = on; }
  int TakesText() const { return m_takesText; }
  void SetFont(const platform::FontSpec& font);
  const platform::FontSpec& GetFont() const { return m_font; }
  // Text, background (alpha 0: none) and selection colours, ARGB.
  void SetColors(Color text, Color back, Color selection);
  // 0 left, 1 centre, 2 right: where a text that fits is placed.
  void SetAlignment(UINT horizontal) { m_align = horizontal; }

  // Called when the user changed the text, and when the editor closed.
  std::function<void()> onChange;
  std::function<void()> onClose;
  // Keys for the host (key-capture fields): return nonzero when handled.
  std::function<int(UINT vk, UINT modifiers)> onKey;

  // --- 2. Opening and closing -----------------------------------------------------------
  // Opens over rect (host coordinates) with the text cut to the limit, all
  // of it selected. False when the host is not in a window. An editor open
  // elsewhere in the window closes first.
  bool Open(MControl* host, CRect rect, const CString& text);
  // Keeps the text, stops the caret and the input method, then onClose.
  void Close();
  // Restores the text of the opening (onChange when that changes it), then
  // closes.
  void Cancel();
  // Forgets the window without notifying anyone (the host is going away).
  void Detach();
  int IsOpen() const { return m_open; }
  MControl* GetHost() const { return m_host; }
  void SetRect(CRect rect);
  CRect GetRect() const { return m_rect; }
  // Closes when the host or one of its parents is hidden.
  void CheckHostShowing();

  // --- 3. Text, caret and selection ---------------------------------------------------------
  const CString& GetText() const { return m_text; }
  // Replaces the text (cut to the limit), caret at the end; no onChange.
  void SetText(const CString& text);
  int GetCaret() const { return m_caret; }
  int GetSelStart() const { return std::min(m_anchor, m_caret); }
  int GetSelEnd() const { return std::max(m_anchor, m_caret); }
  // Selects from anchor to caret (both moved to caret stops).
  void SetSel(int anchor, int caret);
  int IsCaretShown() const { return m_open && m_caretOn; }
  // The caret's rectangle in host coordinates.
  CRect GetCaretRect();
  // The text cut at the last caret stop within limit characters.
  static CString CutToLimit(const CString& text, int limit);

  // --- 4. Input ---------------------------------------------------------------------------------
  // A window message; nonzero when the editor consumed it.
  int OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  int OnKeyDown(UINT vk, UINT modifiers);
  int OnChar(wchar_t ch);
  // Whether a point in window client coordinates lies in the editor.
  int HitTest(CPoint windowPt);

  // --- 5. Drawing --------------------------------------------------------------------------------
  // Draws the editor into dc, whose origin is that of the host's
  // coordinates, clipped to its rectangle.
  void Draw(HDC dc);

 private:
  CPoint ToHost(CPoint windowPt) const;
  CPoint ToWindow(CPoint hostPt) const;
  void Retext();                // stops and display text after a text change
  int PrevStop(int index) const;
  int NextStop(int index) const;
  int SnapStop(int index) const;
  int PrevWord(int index) const;
  int NextWord(int index) const;
  int DisplayIndex(int textIndex) const;
  float CaretX(int textIndex);  // relative to the text origin
  int IndexAtX(int hostX);
  float TextOrigin();           // host x of the text's left edge
  void MoveCaret(int index, bool extend);
  bool Insert(const CString& what);  // replaces the selection; false when refused
  void DeleteRange(int from, int to);
  void Copy();
  void Paste();
  void Changed();               // the user changed the text
  void CaretMoved();            // caret visible again, scrolled into view, input method moved
  void ScrollToCaret();
  void Redraw();
  void StartBlink();
  void StopBlink();
  void EndOpen(bool notify);

  // --- 6. Fields -----------------------------------------------------------------------------------
  MControl* m_host = nullptr;
  PaintManager* m_manager = nullptr;
  HWND m_hwnd = nullptr;
  CRect m_rect;
  int m_open = 0;
  CString m_text;
  CString m_opened;  // the text at opening, for Escape
  std::vector<int> m_stops;  // caret stops of m_text
  std::vector<int> m_words;  // word boundaries of m_text
  CString m_display;         // m_text, or its password marks
  int m_caret = 0;
  int m_anchor = 0;
  int m_caretOn = 0;
  int m_dragging = 0;
  int m_textInput = 0;  // this editor turned text input on
  float m_scrollX = 0;
  int m_limit = 120;
  int m_password = 0;
  wchar_t m_passwordChar = kDefaultPasswordChar;
  wchar_t m_drawnPasswordChar = 0;  // resolved on first use
  int m_numberOnly = 0;
  int m_readOnly = 0;
  int m_takesText = 1;
  UINT m_align = 0;
  platform::FontSpec m_font;
  Color m_textColor{0xFFFFFFFF};
  Color m_backColor{0};
  Color m_selectionColor{0xFFFA373E};
};

}  // namespace DUI
