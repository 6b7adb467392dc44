#include "toolkit/core/ControlTreeDump.h"

// Index
//   1. Class names, state and text of one control
//   2. The walk through the tree
//   3. Lines
//   4. The window-thread hop

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>

#include "platform/Text.h"
#include "toolkit/core/CCheckButton.h"
#include "toolkit/core/CComboBoxList.h"
#include "toolkit/core/DListBox.h"
#include "toolkit/core/MButton2.h"
#include "toolkit/core/MButton3.h"
#include "toolkit/core/MComboBox.h"
#include "toolkit/core/MComboBox2.h"
#include "toolkit/core/MControl.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MEdit.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/CScrollHorizontal.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/MTabCtrl.h"
#include "toolkit/core/NumberEdit.h"

namespace DUI {

namespace {

// --- 1. Class names, state and text --------------------------------------------------------

CString Demangled(const char* mangled) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string text = (status == 0 && name != nullptr) ? std::string(name.get()) : std::string(mangled);
  constexpr std::string_view kToolkit = "DUI::";
  if (text.compare(0, kToolkit.size(), kToolkit) == 0) text.erase(0, kToolkit.size());
  return platform::FromUtf8(text);
}

CString Selected(int index) { return L"selected:" + std::to_wstring(index); }
CString Checked(int check) { return check ? L"checked" : L"unchecked"; }

// --- 2. The walk ------------------------------------------------------------------------------

struct Walk {
  std::vector<ControlTreeEntry>& out;
  CPoint clientOrigin;  // the window's client origin on the screen

  // shift: what the scrolled panels above add to the control's rectangle.
  void Visit(MControl* control, int depth, const CString& parentPath, CPoint shift, bool parentShown,
             bool area) {
    if (control == nullptr) return;
    ControlTreeEntry e;
    e.depth = depth;
    e.id = control->GetControlID();
    e.path = parentPath.empty() ? std::to_wstring(e.id) : parentPath + L"/" + std::to_wstring(e.id);
    e.className = ControlTreeDump::ClassNameOf(*control);
    // Many classes keep the base's "MControl"; only a name of their own says
    // something the C++ class does not.
    if (const wchar_t* name = control->GetClassNameW();
        name != nullptr && e.className != name && CString(name) != L"MControl") {
      e.registeredName = name;
    }
    e.area = area;
    e.screen = control->GetRect();
    e.screen.OffsetRect(shift.x + clientOrigin.x, shift.y + clientOrigin.y);
    e.visible = control->IsVisible() ? 1 : 0;
    e.shown = (parentShown && e.visible) ? 1 : 0;
    e.enabled = control->IsEnabled() ? 1 : 0;
    e.state = ControlTreeDump::StateOf(*control);
    e.text = ControlTreeDump::TextOf(*control);
    const bool shown = e.shown != 0;
    const CString path = e.path;
    out.push_back(std::move(e));

    auto* panel = dynamic_cast<MPanel*>(control);
    const CPoint offset = panel != nullptr ? panel->GetScrollOffset() : CPoint(0, 0);
    const CPoint contentShift(shift.x - offset.x, shift.y - offset.y);
    {
      std::lock_guard guard(control->ControlsLock());
      for (MControl* child : *control->GetControls()) {
        // A panel's own bars live in window coordinates, beside the content.
        const bool ownBar = panel != nullptr && child != nullptr &&
                            (child == static_cast<MControl*>(panel->GetScrollVertical()) ||
                             child == static_cast<MControl*>(panel->GetScrollHorizontal()));
        Visit(child, depth + 1, path, ownBar ? shift : contentShift, shown, false);
      }
    }
    std::lock_guard guard(control->AreasLock());
    for (MControl* child : *control->GetAreas()) Visit(child, depth + 1, path, contentShift, shown, true);
  }
};

void AppendNumber(CString& line, const wchar_t* key, long long value) {
  line += L' ';
  line += key;
  line += L'=';
  line += std::to_wstring(value);
}

}  // namespace

CString ControlTreeDump::ClassNameOf(const MControl& control) { return Demangled(typeid(control).name()); }

CString ControlTreeDump::StateOf(MControl& control) {
  if (CString own = control.GetInspectState(); !own.empty()) return own;
  // The most derived kinds first: a radio button is a check button.
  if (auto* c = dynamic_cast<CCheckButton*>(&control)) return Checked(c->GetCheck());
  if (auto* c = dynamic_cast<MButton2*>(&control)) return Checked(c->GetCheck());
  if (auto* c = dynamic_cast<MButton3*>(&control)) return Checked(c->GetCheck());
  if (auto* c = dynamic_cast<MComboBox2*>(&control)) return Checked(c->GetCheck());
  if (auto* c = dynamic_cast<DListBox*>(&control)) return Selected(c->GetCurSel());
  if (auto* c = dynamic_cast<MComboBox*>(&control)) return Selected(c->GetCurSel());
  if (auto* c = dynamic_cast<CComboBoxList*>(&control)) return Selected(c->GetSelectedIndex());
  if (auto* c = dynamic_cast<MTabCtrl*>(&control)) return Selected(c->GetSelectItem());
  return CString();
}

CString ControlTreeDump::TextOf(MControl& control) {
  if (auto* e = dynamic_cast<MEdit*>(&control)) return e->GetEditText();
  if (auto* e = dynamic_cast<NumberEdit*>(&control)) return e->GetEditText();
  if (auto* f = dynamic_cast<MControlFont*>(&control)) return f->GetControlTitle();
  return CString();
}

std::vector<ControlTreeEntry> ControlTreeDump::Collect(MDialog& dialog) {
  std::vector<ControlTreeEntry> entries;
  POINT origin{0, 0};
  if (dialog.GetSafeHwnd() != nullptr) dialog.ClientToScreen(&origin);
  Walk walk{entries, CPoint(origin.x, origin.y)};
  PaintManager* manager = dialog.GetPaintManager();
  {
    std::lock_guard guard(manager->ControlsLock());
    for (MControl* control : *manager->GetControls()) walk.Visit(control, 0, CString(), CPoint(0, 0), true, false);
  }
  std::lock_guard guard(manager->AreasLock());
  for (MControl* control : *manager->GetAreas()) walk.Visit(control, 0, CString(), CPoint(0, 0), true, true);
  return entries;
}

// --- 3. Lines ----------------------------------------------------------------------------------

CString ControlTreeDump::Quote(const CString& text) {
  CString quoted = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'"': quoted += L"\\\""; break;
      case L'\\': quoted += L"\\\\"; break;
      case L'\n': quoted += L"\\n"; break;
      case L'\t': quoted += L"\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          wchar_t hex[8];
          std::swprintf(hex, 8, L"\\x%02X", unsigned(c));
          quoted += hex;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + L"\"";
}

CString ControlTreeDump::FormatLine(const ControlTreeEntry& e) {
  CString line(size_t(e.depth) * 2, L' ');
  line += L"id=" + std::to_wstring(e.id);
  line += L" class=" + e.className;
  if (!e.registeredName.empty()) line += L" name=" + e.registeredName;
  if (e.area) line += L" area=1";
  line += L" path=" + e.path;
  line += L" pos=" + std::to_wstring(e.screen.left) + L"," + std::to_wstring(e.screen.top);
  line += L" size=" + std::to_wstring(e.screen.Width()) + L"x" + std::to_wstring(e.screen.Height());
  AppendNumber(line, L"visible", e.visible);
  AppendNumber(line, L"shown", e.shown);
  AppendNumber(line, L"enabled", e.enabled);
  line += L" state=" + (e.state.empty() ? CString(L"-") : e.state);
  line += L" text=" + Quote(e.text);
  return line;
}

CString ControlTreeDump::Format(MDialog& dialog) {
  const std::vector<ControlTreeEntry> entries = Collect(dialog);
  const CRect window = dialog.GetSafeHwnd() != nullptr ? dialog.GetWindowRect() : CRect();
  CString text = L"window class=" + Demangled(typeid(dialog).name());
  text += L" title=" + Quote(dialog.GetSafeHwnd() != nullptr ? dialog.GetWindowTextW() : CString());
  text += L" pos=" + std::to_wstring(window.left) + L"," + std::to_wstring(window.top);
  text += L" size=" + std::to_wstring(window.Width()) + L"x" + std::to_wstring(window.Height());
  AppendNumber(text, L"visible", dialog.GetSafeHwnd() != nullptr ? dialog.IsWindowVisible() : 0);
  AppendNumber(text, L"enabled", dialog.GetSafeHwnd() != nullptr ? dialog.IsWindowEnabled() : 0);
  AppendNumber(text, L"controls", static_cast<long long>(entries.size()));
  text += L'\n';
  for (const ControlTreeEntry& e : entries) text += FormatLine(e) + L'\n';
  return text;
}

// --- 4. The window-thread hop --------------------------------------------------------------

int ControlTreeDump::PostDump(MDialog& dialog, std::function<void(CString)> done) {
  if (!done || dialog.GetSafeHwnd() == nullptr) return 0;
  MDialog* target = &dialog;
  // The task lives in the dialog's own queue, which goes with the dialog, so
  // it never runs on a dialog that is gone.
  return dialog.GetPaintManager()->PostTask([target, done = std::move(done)] { done(Format(*target)); });
}

}  // namespace DUI
