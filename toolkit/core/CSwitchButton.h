#pragma once
// CSwitchButton: a two-state switch. Every release inside flips it and
// sends CN_CLICK with lParam = the new state (1 on, 0 off); while on it
// shows its pressed column.

#include "toolkit/core/MButton3.h"

namespace DUI {

class CSwitchButton : public MButton3 {
 public:
  CSwitchButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

 protected:
  LPARAM ClickParam() const override { return m_check; }
};

}  // namespace DUI
