// The text editor and the edit field: characters only from WM_CHAR, caret
// stops by grapheme cluster, the limit, paste, number-only and password
// fields, the close paths with their 30/26/29 notifications, the input
// method's state, the caret timer, and the pixels of the field.

#include <algorithm>

#include "ToolkitFixture.h"
#include "platform/window/Clipboard.h"
#include "platform/window/TextInput.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/TextEditor.h"

namespace toolkit_test {
namespace {

constexpr UINT kEditId = 7;
const CRect kEditRect(20, 20, 260, 52);

class EditTest : public ToolkitTest {
 public:
  void SetUp() override {
    ToolkitTest::SetUp();
    Open(dlg);
    edit = static_cast<MEdit*>(dlg.CreateControl(L"MEdit", kEditId, kEditRect, L"Name", 1, 1));
    ASSERT_NE(edit, nullptr);
    platform::SetClipboardText(L"");
  }
  void TearDown() override {
    if (dlg.GetSafeHwnd() != nullptr) dlg.DestroyWindow();
  }

  // Opens the editor with a click on the field.
  void ClickField() {
    Move(dlg, kEditRect.left + 30, kEditRect.top + 10);
    Button(dlg, true, kEditRect.left + 30, kEditRect.top + 10);
    Button(dlg, false, kEditRect.left + 30, kEditRect.top + 10);
  }
  void Type(const std::wstring& text) {
    platform::headless::InjectText(text);
    Pump(dlg);
  }
  void Press(UINT vk) {
    platform::headless::InjectKeyPress(vk);
    Pump(dlg);
  }
  // Key state is read when a key is handled, so each step is pumped.
  void Chord(UINT modifier, UINT vk) {
    Key(dlg, modifier, true);
    Press(vk);
    Key(dlg, modifier, false);
  }
  // The codes the field sent, in order.
  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const Notice& n : dlg.notices) {
      if (n.id == kEditId) codes.push_back(n.code);
    }
    return codes;
  }
  int CountCode(UINT code) const {
    const std::vector<UINT> codes = Codes();
    return int(std::count(codes.begin(), codes.end(), code));
  }
  // Text open with the caret at the end.
  void OpenWith(const std::wstring& text) {
    edit->SetEditText(text.c_str());
    ClickField();
    Press(VK_END);
    dlg.notices.clear();
  }

  static void PumpDlg(RecordingDialog& d) { Pump(d); }
  static void ButtonAt(RecordingDialog& d, bool down, int x, int y) { Button(d, down, x, y); }

  RecordingDialog dlg;
  MEdit* edit = nullptr;
};

TEST_F(EditTest, TypedTextArrivesAsCharactersWithTheNotificationOrder) {
  ClickField();
  EXPECT_TRUE(edit->IsEditFocused());
  EXPECT_TRUE(platform::IsTextInputActive());
  EXPECT_EQ(platform::TextInputWindow(), dlg.GetSafeHwnd());
  Type(L"é中");
  EXPECT_EQ(edit->GetEditText(), L"é中");
  Press(VK_RETURN);
  EXPECT_FALSE(edit->IsEditFocused());
  EXPECT_FALSE(platform::IsTextInputActive());
  EXPECT_EQ(edit->GetEditText(), L"é中");
  EXPECT_EQ(edit->GetTitle(), L"é中");
  // Open, a change per character, the click that opened it, closed.
  EXPECT_EQ(Codes(), (std::vector<UINT>{CN_EDITBEGIN, CN_CLICK, CN_EDITCHANGE, CN_EDITCHANGE, CN_EDITEND}));
}

TEST_F(EditTest, ControlCharactersAreNeverInserted) {
  ClickField();
  // Backspace, Tab, Enter-less control codes and Ctrl+letter codes all
  // arrive as WM_CHAR too; none of them is text.
  Type(std::wstring(L"a") + wchar_t(1) + wchar_t(8) + wchar_t(9) + wchar_t(0x1B) + wchar_t(0x7F) + wchar_t(0x85) +
       L"b");
  EXPECT_EQ(edit->GetEditText(), L"ab");
}

TEST_F(EditTest, CaretAndBackspaceMoveByGraphemeCluster) {
  const std::wstring eAcute = L"e\u0301";        // e with a combining acute accent
  const std::wstring family = L"\U0001F469\u200D\U0001F467";  // woman ZWJ girl
  struct Case {
    const char* name;
    std::wstring text;
    std::vector<UINT> keys;
    std::wstring expected;
    int caret;
  } cases[] = {
      {"backspace removes a combining sequence", L"a" + eAcute, {VK_BACK}, L"a", 1},
      {"backspace removes an emoji sequence", L"x" + family, {VK_BACK}, L"x", 1},
      {"left steps over the sequence", L"a" + eAcute + L"b", {VK_LEFT, VK_LEFT}, L"a" + eAcute + L"b", 1},
      {"delete removes the sequence after the caret", eAcute + L"z", {VK_HOME, VK_DELETE}, L"z", 0},
      {"right after home lands after the cluster", eAcute + L"z", {VK_HOME, VK_RIGHT}, eAcute + L"z", 2},
  };
  for (const Case& c : cases) {
    OpenWith(c.text);
    for (UINT vk : c.keys) Press(vk);
    EXPECT_EQ(edit->GetEditText(), c.expected) << c.name;
    EXPECT_EQ(edit->GetEditor()->GetCaret(), c.caret) << c.name;
    Press(VK_RETURN);
  }
}

TEST_F(EditTest, TextIsCutAtTheLimit) {
  const std::wstring long130(130, L'x');
  struct Case {
    const char* name;
    int limit;
    void (*act)(EditTest&, const std::wstring&);
    std::wstring input;
    std::wstring expected;
  } cases[] = {
      {"typed", 120, [](EditTest& t, const std::wstring& s) { t.ClickField(); t.Type(s); }, long130,
       std::wstring(120, L'x')},
      {"pasted", 120,
       [](EditTest& t, const std::wstring& s) {
         platform::SetClipboardText(s);
         t.ClickField();
         t.Chord(VK_CONTROL, 'V');
       },
       long130, std::wstring(120, L'x')},
      {"set by the program", 120, [](EditTest& t, const std::wstring& s) { t.edit->SetEditText(s.c_str()); }, long130,
       std::wstring(120, L'x')},
      // A cut never splits a letter from its accent.
      {"cut before a cluster", 3, [](EditTest& t, const std::wstring& s) { t.edit->SetEditText(s.c_str()); },
       L"abe\u0301", L"ab"},
  };
  for (const Case& c : cases) {
    edit->SetEditText(L"");
    edit->SetLimitText(c.limit);
    c.act(*this, c.input);
    EXPECT_EQ(edit->GetEditText(), c.expected) << c.name;
    edit->CloseEditor();
  }
}

TEST_F(EditTest, PasteTakesOneLineAndReplacesTheSelection) {
  edit->SetEditText(L"old");
  platform::SetClipboardText(L"new text\nsecond line");
  ClickField();  // selects all
  Chord(VK_CONTROL, 'V');
  EXPECT_EQ(edit->GetEditText(), L"new text");
  // Copy and cut go through the same clipboard.
  Chord(VK_CONTROL, 'A');
  Chord(VK_CONTROL, 'X');
  EXPECT_EQ(edit->GetEditText(), L"");
  EXPECT_EQ(platform::GetClipboardText(), L"new text");
}

TEST_F(EditTest, NumberOnlyRefusesEverythingButDigits) {
  edit->SetNumberOnly(1);
  ClickField();
  Type(L"1a2-3 ٤");
  EXPECT_EQ(edit->GetEditText(), L"123");
  // One change per accepted digit, none for the refused characters.
  EXPECT_EQ(CountCode(CN_EDITCHANGE), 3);
  platform::SetClipboardText(L"45x");
  Chord(VK_CONTROL, 'V');
  EXPECT_EQ(edit->GetEditText(), L"123");
  platform::SetClipboardText(L"45");
  Chord(VK_CONTROL, 'V');
  EXPECT_EQ(edit->GetEditText(), L"12345");
}

TEST_F(EditTest, PasswordShowsMarksAndNeverCopiesInClear) {
  edit->EnablePassWord(1);
  edit->SetEditText(L"se\u0301cret");
  ClickField();
  Chord(VK_CONTROL, 'C');
  EXPECT_EQ(platform::GetClipboardText(), L"");
  // One mark per letter, the accented one included.
  TextEditor* editor = edit->GetEditor();
  const wchar_t mark = editor->GetDrawnPasswordChar();
  EXPECT_EQ(TextEditor::PasswordMarks(edit->GetEditText(), mark), std::wstring(6, mark));
  // The mark is one the fonts can draw; a mark no font has falls back.
  EXPECT_TRUE(platform::CanRenderText(std::wstring(1, mark), editor->GetFont()));
  const wchar_t noGlyph = 0xE123;  // private use: no installed font has it
  ASSERT_FALSE(platform::CanRenderText(std::wstring(1, noGlyph), editor->GetFont()));
  EXPECT_NE(TextEditor::DrawablePasswordChar(noGlyph, editor->GetFont()), noGlyph);
}

TEST_F(EditTest, EscapeRestoresTheOpeningText) {
  OpenWith(L"keep");
  Type(L" this");
  Press(VK_ESCAPE);
  EXPECT_FALSE(edit->IsEditFocused());
  EXPECT_EQ(edit->GetEditText(), L"keep");
  EXPECT_EQ(Codes(), (std::vector<UINT>{CN_EDITCHANGE, CN_EDITCHANGE, CN_EDITCHANGE, CN_EDITCHANGE, CN_EDITCHANGE,
                                        CN_EDITCHANGE, CN_EDITEND}));
}

TEST_F(EditTest, EveryClosePathSendsEditEndOnce) {
  struct Case {
    const char* name;
    void (*close)(EditTest&);
  } cases[] = {
      {"Enter", [](EditTest& t) { t.Press(VK_RETURN); }},
      {"a press elsewhere",
       [](EditTest& t) {
         ButtonAt(t.dlg, true, 300, 200);
         ButtonAt(t.dlg, false, 300, 200);
       }},
      {"the window loses activation", [](EditTest& t) { platform::SetActiveWindow(nullptr); PumpDlg(t.dlg); }},
      {"the window is hidden", [](EditTest& t) { t.dlg.ShowWindow(SW_HIDE); PumpDlg(t.dlg); }},
      {"the field is hidden", [](EditTest& t) { t.edit->SetVisible(0); }},
      {"Tab moves the focus", [](EditTest& t) { t.Press(VK_TAB); }},
  };
  // Somewhere for Tab to move the focus to.
  dlg.AddProbe(9, CRect(20, 100, 120, 140))->SetTabStop(1);
  for (const Case& c : cases) {
    dlg.ShowWindow(SW_SHOW);
    platform::SetActiveWindow(dlg.GetSafeHwnd());
    edit->SetVisible(1);
    edit->SetTabStop(1);
    Pump(dlg);
    ClickField();
    ASSERT_TRUE(edit->IsEditFocused()) << c.name;
    Type(L"x");
    dlg.notices.clear();
    c.close(*this);
    EXPECT_FALSE(edit->IsEditFocused()) << c.name;
    EXPECT_FALSE(platform::IsTextInputActive()) << c.name;
    EXPECT_EQ(dlg.GetPaintManager()->GetOpenEditor(), nullptr) << c.name;
    EXPECT_EQ(CountCode(CN_EDITEND), 1) << c.name;
  }
}

TEST_F(EditTest, APressElsewhereClosesTheEditorBeforeTheOtherControlHearsIt) {
  Probe* probe = dlg.AddProbe(9, CRect(20, 100, 120, 140));
  ClickField();
  Type(L"abc");
  dlg.notices.clear();
  Move(dlg, 40, 120);
  Button(dlg, true, 40, 120);
  ASSERT_EQ(probe->downs.size(), 1u);
  ASSERT_GE(dlg.notices.size(), 2u);
  EXPECT_EQ(dlg.notices[0].id, kEditId);
  EXPECT_EQ(dlg.notices[0].code, CN_EDITEND);
  EXPECT_EQ(dlg.notices[1].id, 9u);
  EXPECT_EQ(dlg.notices[1].code, CN_PRESS);
}

TEST_F(EditTest, AHiddenParentClosesTheEditor) {
  // A page holding the field: hiding the page hides the field with it.
  Probe* page = dlg.AddProbe(40, CRect(0, 0, 400, 300));
  auto* inner = new MEdit(page, 41, CRect(20, 200, 200, 230), nullptr, 1, 1);
  page->AddChild(inner, 1);
  inner->SetManager(dlg.GetPaintManager());
  ASSERT_TRUE(inner->OpenEditor());
  page->SetVisible(0);
  EXPECT_FALSE(inner->IsEditFocused());
}

TEST_F(EditTest, AFieldInAScrolledPanelMapsPressesAndTheCandidateWindow) {
  // A panel 100 high whose field lies below the fold, scrolled into view.
  auto* panel = new MPanel(&dlg, 50, CRect(20, 100, 320, 200), 1);
  dlg.GetPaintManager()->AttachControl(panel, 1);
  auto* inner = static_cast<MEdit*>(panel->CreateControl(L"MEdit", 51, CRect(30, 300, 300, 330), nullptr, 1, 1));
  ASSERT_NE(inner, nullptr);
  panel->SetVirtualHeight(240);
  CScrollVertical* bar = panel->GetScrollVertical();
  ASSERT_NE(bar, nullptr);
  bar->SetScrollCurrentPos(bar->GetScrollMaxRange());
  const CRect shown = panel->ContentToWindow(inner->GetRect());
  ASSERT_TRUE(panel->GetRect().PtInRect(shown.CenterPoint())) << "the field is scrolled into view";
  ASSERT_NE(shown, inner->GetRect());

  inner->SetEditText(L"abc");
  Move(dlg, shown.left + 40, shown.top + 15);
  Button(dlg, true, shown.left + 40, shown.top + 15);
  Button(dlg, false, shown.left + 40, shown.top + 15);
  ASSERT_TRUE(inner->IsEditFocused());
  // The candidate window sits on the field where it shows, not where its
  // content rectangle would be.
  const RECT ime = platform::TextInputRect();
  EXPECT_TRUE(shown.PtInRect(POINT{ime.left, (ime.top + ime.bottom) / 2}));
  // A press where the field shows lands in the editor and keeps it open.
  Button(dlg, true, shown.left + 10, shown.top + 15);
  Button(dlg, false, shown.left + 10, shown.top + 15);
  EXPECT_TRUE(inner->IsEditFocused());
  EXPECT_EQ(inner->GetEditor()->GetCaret(), 0);
  // Just below where the field shows is elsewhere.
  Button(dlg, true, shown.left + 40, shown.bottom + 4);
  EXPECT_FALSE(inner->IsEditFocused());
}

TEST_F(EditTest, DestroyingTheDialogClosesTheEditorWithItsNotification) {
  ClickField();
  dlg.notices.clear();
  dlg.DestroyWindow();
  EXPECT_EQ(Codes(), std::vector<UINT>{CN_EDITEND});
  EXPECT_FALSE(platform::IsTextInputActive());
}

TEST_F(EditTest, TheEditorTakesKeysBeforeTheControlUnderThePointer) {
  Probe* probe = dlg.AddProbe(9, CRect(20, 100, 120, 140));
  probe->handleKey = 1;
  OpenWith(L"abc");
  Move(dlg, 40, 120);  // the pointer rests on the probe
  Press(VK_LEFT);
  Press(VK_SPACE);
  Type(L" ");
  EXPECT_TRUE(probe->keys.empty());
  EXPECT_EQ(edit->GetEditText(), L"ab c");
}

TEST_F(EditTest, KeyCaptureFieldTakesNoCharactersAndKeepsTextInputOff) {
  edit->EnableCharMessage(0);
  ClickField();
  EXPECT_TRUE(edit->IsEditFocused());
  EXPECT_FALSE(platform::IsTextInputActive());
  Type(L"abc");
  EXPECT_EQ(edit->GetEditText(), L"");
}

TEST_F(EditTest, CandidateWindowFollowsTheCaret) {
  ClickField();
  const RECT before = platform::TextInputRect();
  Type(L"wwww");
  const RECT after = platform::TextInputRect();
  EXPECT_GT(after.left, before.left);
  EXPECT_GE(after.top, kEditRect.top);
  EXPECT_LE(after.bottom, kEditRect.bottom);
  EXPECT_EQ(after.left, edit->GetEditor()->GetCaretRect().left);
}

TEST_F(EditTest, CaretBlinksOnATimerThatStopsWithTheEditor) {
  ClickField();
  TextEditor* editor = edit->GetEditor();
  EXPECT_TRUE(editor->IsCaretShown());
  platform::headless::AdvanceTime(TextEditor::kBlinkMs);
  Pump(dlg);
  EXPECT_FALSE(editor->IsCaretShown());
  platform::headless::AdvanceTime(TextEditor::kBlinkMs);
  Pump(dlg);
  EXPECT_TRUE(editor->IsCaretShown());
  // Killing the timer of a closed editor fails: it is gone already.
  Press(VK_RETURN);
  EXPECT_FALSE(platform::KillTimer(dlg.GetSafeHwnd(), TextEditor::kCaretTimerId));
}

TEST_F(EditTest, MouseSelectsAndPlacesTheCaret) {
  OpenWith(L"hello world");
  // A press left of the text puts the caret at its start; Shift+End
  // selects to the end.
  Button(dlg, true, kEditRect.left + 9, kEditRect.top + 10);
  Button(dlg, false, kEditRect.left + 9, kEditRect.top + 10);
  TextEditor* editor = edit->GetEditor();
  EXPECT_EQ(editor->GetCaret(), 0);
  EXPECT_TRUE(edit->IsEditFocused());
  Chord(VK_SHIFT, VK_END);
  EXPECT_EQ(editor->GetSelStart(), 0);
  EXPECT_EQ(editor->GetSelEnd(), 11);
  // A drag from the far right back to the left selects as it goes.
  Button(dlg, true, kEditRect.right - 12, kEditRect.top + 10);
  Move(dlg, kEditRect.left + 9, kEditRect.top + 10);
  Button(dlg, false, kEditRect.left + 9, kEditRect.top + 10);
  EXPECT_EQ(editor->GetSelStart(), 0);
  EXPECT_EQ(editor->GetSelEnd(), 11);
}

TEST_F(EditTest, FieldDrawsHintTextSelectionAndCaret) {
  auto ink = [&](ARGB colour, CRect area, int tolerance) {
    const platform::Bitmap shot = platform::CaptureWindow(dlg.GetSafeHwnd());
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        const uint32_t p = shot.Row(y)[x];
        const int dr = int((p >> 16) & 0xFF) - int((colour >> 16) & 0xFF);
        const int dg = int((p >> 8) & 0xFF) - int((colour >> 8) & 0xFF);
        const int db = int(p & 0xFF) - int(colour & 0xFF);
        if (std::abs(dr) <= tolerance && std::abs(dg) <= tolerance && std::abs(db) <= tolerance) ++count;
      }
    }
    return count;
  };
  const CRect textArea = edit->GetTextRect();
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  // The hint in grey while the text is empty.
  EXPECT_GT(ink(0xFF7C818A, textArea, 30), 10);
  EXPECT_EQ(ink(0xFFFFFFFF, textArea, 40), 0);
  ClickField();
  Type(L"Hello");
  Pump(dlg);
  // White text once typed, the hint gone.
  EXPECT_GT(ink(0xFFFFFFFF, textArea, 40), 10);
  Press(VK_HOME);
  Pump(dlg);
  EXPECT_LT(ink(0xFFB02E33, textArea, 50), 5);
  Chord(VK_CONTROL, 'A');
  Pump(dlg);
  // The selection in the accent colour, blended over the field.
  EXPECT_GT(ink(0xFFB02E33, textArea, 50), 20);
}

}  // namespace
}  // namespace toolkit_test
