#pragma once
// ColorButtonEx: a push button with the MButton behaviour under its own class name
// "ColorButtonEx"; the program builds none.

#include "toolkit/core/MButton.h"

namespace DUI {

class ColorButtonEx : public MButton {
 public:
  ColorButtonEx(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  const wchar_t* GetClassNameW() const override { return L"ColorButtonEx"; }
};

}  // namespace DUI
