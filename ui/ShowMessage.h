#pragma once
// ShowMessage: the program's message box call. Builds a CUIMessageBox owned
// by parent (may be null), centred on it, shows it modally and returns the
// answer: 1 for the first button, 2 for the second, 0 when the box was
// closed otherwise (always so for a kind without buttons). Null texts count
// as empty. Kinds: 0 one button, 4 two buttons, any other no button.

#include "toolkit/core/WinTypes.h"

namespace ui {

int ShowMessage(const wchar_t* text, HWND parent, const wchar_t* title, int kind);

}  // namespace ui
