#pragma once
// ControlTreeDump: a read-only description of a dialog's control tree, one
// line per control, for support and for tests that drive the real program
// from outside ("orvane --inspect").
//
// Index
//   1. Entries: what is recorded of each control
//   2. Collecting and formatting (window thread only)
//   3. Asking from another thread
//
// Order. The dialog's controls in their order, each followed by its own
// subtree (its controls, then its areas), then the dialog's areas: the
// order GetControl searches in, stable for an unchanged tree.
//
// Coordinates. A child of a panel has its rectangle in the panel's content
// coordinates; the dump moves it by the scroll offset of every panel above
// it (a panel's own bars excepted: they sit in window coordinates) and by
// the window's position, so each rectangle is where the control shows on
// the screen.

#include <functional>
#include <vector>

#include "toolkit/core/CRect.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {

class MControl;
class MDialog;

// --- 1. Entries -----------------------------------------------------------------------
struct ControlTreeEntry {
  int depth = 0;          // 0 for the dialog's own controls
  CString path;           // the ids from the top, "40/41/7"
  UINT id = 0;
  CString className;      // the C++ class, without the toolkit's namespace
  CString registeredName; // GetClassNameW where it differs from className
  bool area = false;      // a decoration child (areas), not an interactive one
  CRect screen;           // on the screen
  int visible = 0;        // the control's own flag
  int shown = 0;          // visible together with every parent
  int enabled = 0;
  CString state;          // "checked", "unchecked", "selected:N"; empty when none
  CString text;           // title or edit text
};

class ControlTreeDump {
 public:
  // --- 2. Collecting and formatting (window thread) -----------------------------------
  static std::vector<ControlTreeEntry> Collect(MDialog& dialog);
  // One line, indented two spaces per depth:
  //   id=41 class=MPanel path=40/41 pos=110,120 size=200x100 visible=1 shown=1 enabled=1 state=- text=""
  // with " name=N" after the class when the registered name differs and
  // " area=1" for areas. Texts are quoted with \" \\ \n \t \xNN escapes.
  static CString FormatLine(const ControlTreeEntry& entry);
  // A first line for the window, then one line per control, each ending in
  // a newline:
  //   window class=DeviceMainDlg title="..." pos=X,Y size=WxH visible=1 enabled=1 controls=N
  static CString Format(MDialog& dialog);

  // The C++ class of a control as the dump names it.
  static CString ClassNameOf(const MControl& control);
  // What the dump says of a control's own state and text.
  static CString StateOf(MControl& control);
  static CString TextOf(MControl& control);
  static CString Quote(const CString& text);

  // --- 3. Asking from another thread ---------------------------------------------------
  // Formats the dialog's tree on its window thread and hands the text to
  // done there. Returns at once: 1 when queued, 0 when the window is not up
  // (done is then never called). A window destroyed before the turn comes
  // drops the request unanswered.
  static int PostDump(MDialog& dialog, std::function<void(CString)> done);
};

}  // namespace DUI
