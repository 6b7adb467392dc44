#pragma once
// MObject: the root of the toolkit's object tree. Anything that can own
// controls is an MObject: a control (for its children) or a dialog. Its two
// upward channels are OnBaseMessage (notifications) and OnControlUpdate
// (redraw requests).

#include "toolkit/core/CRect.h"
#include "toolkit/core/WinTypes.h"

namespace DUI {

class MControl;

class MObject {
 public:
  MObject() = default;
  MObject(const MObject&) = delete;
  MObject& operator=(const MObject&) = delete;
  virtual ~MObject() = default;

  // 1 when GetClassNameW() equals name exactly (case-sensitive), else 0.
  virtual int IsClass(const wchar_t* name);
  virtual const wchar_t* GetClassNameW() const { return nullptr; }
  virtual const wchar_t* GetObjectClass() { return nullptr; }
  virtual const wchar_t* BaseObjectClassName() { return nullptr; }
  virtual LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control);
};

}  // namespace DUI
