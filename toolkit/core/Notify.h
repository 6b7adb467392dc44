#pragma once
// Notification codes: the code a control passes with its id to its parent's
// OnBaseMessage (and so, at the top, to the dialog's OnMessage). Codes 3, 4,
// 6 and 10 to 25 are not used by any control.

#include "toolkit/core/WinTypes.h"

namespace DUI {

constexpr UINT CN_PRESS = 1;       // left button went down on the control or an item
constexpr UINT CN_CLICK = 2;       // click completed, or a value committed
constexpr UINT CN_RCLICK = 5;      // right button released over an item
constexpr UINT CN_CHECK = 7;       // check state toggled from the keyboard
constexpr UINT CN_SCROLL = 8;      // a scroll bar's position changed
constexpr UINT CN_SUBCLICK = 9;    // click on an item's secondary hot spot
constexpr UINT CN_EDITCHANGE = 26;  // the text of an open editor changed
constexpr UINT CN_COLOR = 27;      // a colour was picked or is hovered
constexpr UINT CN_SPIN = 28;       // a spin value changed
constexpr UINT CN_EDITEND = 29;    // an in-place editor closed
constexpr UINT CN_EDITBEGIN = 30;  // an in-place editor opened
constexpr UINT CN_EDITBUTTON = 31;  // the button inside an edit field was clicked
constexpr UINT CN_REPEAT = 32;     // a held long-press button repeats

// The code's name ("CN_CLICK"), or null for a code no control sends.
inline const char* NotifyCodeName(UINT code) {
  switch (code) {
    case CN_PRESS: return "CN_PRESS";
    case CN_CLICK: return "CN_CLICK";
    case CN_RCLICK: return "CN_RCLICK";
    case CN_CHECK: return "CN_CHECK";
    case CN_SCROLL: return "CN_SCROLL";
    case CN_SUBCLICK: return "CN_SUBCLICK";
    case CN_EDITCHANGE: return "CN_EDITCHANGE";
    case CN_COLOR: return "CN_COLOR";
    case CN_SPIN: return "CN_SPIN";
    case CN_EDITEND: return "CN_EDITEND";
    case CN_EDITBEGIN: return "CN_EDITBEGIN";
    case CN_EDITBUTTON: return "CN_EDITBUTTON";
    case CN_REPEAT: return "CN_REPEAT";
    default: return nullptr;
  }
}

}  // namespace DUI
