#pragma once
// CSelectButton: a grouped push button like MButton2 (checking one
// unchecks the others of its group among its siblings), under its own
// class name "CSelectButton", so it groups only with its own kind.

#include "toolkit/core/MButton2.h"

namespace DUI {

class CSelectButton : public MButton2 {
 public:
  CSelectButton(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  const wchar_t* GetClassNameW() const override { return L"CSelectButton"; }
};

}  // namespace DUI
