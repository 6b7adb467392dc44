// DListBox's in-place editor: the toolkit's text editor over a row's text,
// with CN_EDITBEGIN / CN_EDITCHANGE / CN_EDITEND carrying the row, the text
// committed to the item (or kept on Escape), and the ways it closes.

#include <algorithm>

#include "ToolkitFixture.h"
#include "toolkit/core/DListBox.h"

namespace toolkit_test {
namespace {

constexpr UINT kListId = 12;

class ListEditTest : public ToolkitTest {
 public:
  void SetUp() override {
    ToolkitTest::SetUp();
    Open(dlg, 400, 400);
    list = static_cast<DListBox*>(dlg.CreateControl(L"DListBox", kListId, CRect(20, 20, 300, 200), nullptr, 1, 1));
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 20; ++i) list->AddString((L"Macro " + std::to_wstring(i)).c_str(), i, -1);
    list->EnableShowEdit(1);
    dlg.notices.clear();
  }
  void TearDown() override { dlg.DestroyWindow(); }
  void Press(UINT vk) {
    Key(dlg, vk, true);
    Key(dlg, vk, false);
  }
  void Type(const std::wstring& text) {
    platform::headless::InjectText(text);
    Pump(dlg);
  }
  std::vector<std::pair<UINT, LPARAM>> Edits() const {
    std::vector<std::pair<UINT, LPARAM>> codes;
    for (const Notice& n : dlg.notices) {
      if (n.id == kListId && (n.code == CN_EDITBEGIN || n.code == CN_EDITEND)) codes.push_back({n.code, n.lParam});
    }
    return codes;
  }

  RecordingDialog dlg;
  DListBox* list = nullptr;
};

TEST_F(ListEditTest, EditorOpensOverTheRowAndCommitsToTheItem) {
  ASSERT_EQ(list->ShowEdit(15), 1);
  TextEditor* editor = list->GetEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->IsOpen());
  EXPECT_EQ(list->GetEditIndex(), 15);
  // The row was scrolled into view and the editor lies over it, on screen.
  const CRect shown = list->ContentToWindow(list->GetItemRect(15));
  EXPECT_TRUE(list->GetRect().PtInRect(shown.CenterPoint()));
  EXPECT_TRUE(shown.PtInRect(editor->GetRect().CenterPoint()));
  EXPECT_EQ(editor->GetText(), L"Macro 15");
  Type(L"Intro");
  EXPECT_EQ(list->GetItemText(15), L"Macro 15") << "committed only when the editor closes";
  Press(VK_RETURN);
  EXPECT_EQ(list->GetItemText(15), L"Intro");
  EXPECT_EQ(list->GetEditIndex(), -1);
  EXPECT_EQ(Edits(), (std::vector<std::pair<UINT, LPARAM>>{{CN_EDITBEGIN, 15}, {CN_EDITEND, 15}}));
  EXPECT_EQ(std::count_if(dlg.notices.begin(), dlg.notices.end(), [](const Notice& n) { return n.code == CN_EDITCHANGE; }),
            5);
}

TEST_F(ListEditTest, EveryWayOfClosingLeavesTheRightText) {
  struct Case {
    const char* name;
    void (*close)(ListEditTest&);
    const wchar_t* expected;
  } cases[] = {
      {"Escape keeps the old text", [](ListEditTest& t) { t.Press(VK_ESCAPE); }, L"Macro 2"},
      {"a press on another row commits",
       [](ListEditTest& t) {
         const CPoint p = t.list->ContentToWindow(t.list->GetItemRect(0)).CenterPoint();
         Move(t.dlg, p.x, p.y);
         Button(t.dlg, true, p.x, p.y);
         Button(t.dlg, false, p.x, p.y);
       },
       L"New"},
      {"the wheel commits", [](ListEditTest& t) {
         platform::headless::InjectWheel(t.dlg.GetSafeHwnd(), -120, 100, 100);
         Pump(t.dlg);
       },
       L"New"},
      {"hiding the list commits", [](ListEditTest& t) { t.list->SetVisible(0); }, L"New"},
  };
  for (const Case& c : cases) {
    list->SetVisible(1);
    list->SetCurSel(-1);
    list->ModifyItemString(2, L"Macro 2");
    dlg.notices.clear();
    ASSERT_EQ(list->ShowEdit(2), 1) << c.name;
    Type(L"New");
    c.close(*this);
    EXPECT_FALSE(list->GetEditor()->IsOpen()) << c.name;
    EXPECT_EQ(list->GetItemText(2), c.expected) << c.name;
    EXPECT_EQ(Edits(), (std::vector<std::pair<UINT, LPARAM>>{{CN_EDITBEGIN, 2}, {CN_EDITEND, 2}})) << c.name;
  }
}

TEST_F(ListEditTest, NothingOpensUnlessEditingIsEnabledAndTheRowExists) {
  EXPECT_EQ(list->ShowEdit(-1), 0);
  EXPECT_EQ(list->ShowEdit(20), 0);
  list->EnableShowEdit(0);
  EXPECT_EQ(list->ShowEdit(3), 0);
  EXPECT_TRUE(dlg.notices.empty());
  EXPECT_EQ(dlg.GetPaintManager()->GetOpenEditor(), nullptr);
}

TEST_F(ListEditTest, DeletingTheEditedRowClosesTheEditorFirst) {
  ASSERT_EQ(list->ShowEdit(4), 1);
  Type(L"Gone");
  ASSERT_EQ(list->DeleteItem(4), 1);
  EXPECT_FALSE(list->GetEditor()->IsOpen());
  EXPECT_EQ(list->GetItemText(4), L"Macro 5");
  EXPECT_EQ(Edits().back(), (std::pair<UINT, LPARAM>{CN_EDITEND, 4}));
}

}  // namespace
}  // namespace toolkit_test
