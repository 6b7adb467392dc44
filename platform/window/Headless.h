#pragma once
// Test and screenshot control of the headless backend: input injection, the
// virtual clock and the monitors it pretends to have. Input is routed like
// real input (capture, hit-testing by z-order, enabled state, tracking) and
// queued as messages; call PumpPendingMessages (or run a loop) to dispatch.
// These calls do nothing unless the headless backend is active.

#include <vector>

#include "platform/window/Window.h"

namespace platform::headless {

enum class Button { Left, Right, Middle };

// Pointer positions are client coordinates of hwnd (outside it allowed); the
// message goes to the capture window, else to the topmost enabled window
// under the point, else nowhere (a tracked window then gets WM_MOUSELEAVE).
void InjectMouseMove(HWND hwnd, int x, int y);
void InjectButton(HWND hwnd, Button button, bool down, int x, int y);
void InjectClick(HWND hwnd, int x, int y);  // left down and up at one point
// Wheel delta in 1/120 notches; goes to the window under the point.
void InjectWheel(HWND hwnd, int delta, int x, int y);
// Moves the pointer off every window.
void InjectPointerExit();
// Key down or up (VK_ value) to the focus window; Alt held makes system keys.
void InjectKey(UINT vk, bool down);
void InjectKeyPress(UINT vk);  // down and up
// A key with the scan code the keyboard sent (set 1, 0xE0xx for extended
// keys), for keys whose virtual key depends on more than the key: a keypad
// key with NumLock off comes as a navigation key with its non-extended
// keypad scan code.
void InjectKeyScan(UINT vk, uint16_t scanCode, bool down);
// WM_CHAR for each character, to the focus window.
void InjectText(const std::wstring& text);
// Asks the window to close as the window manager would (WM_CLOSE, wParam 0).
void InjectCloseRequest(HWND hwnd);

// Moves the virtual clock; due timers and hovers are queued for the next
// retrieval. Time never moves by itself unless UseRealTime(true) was called
// (for programs run headless, such as a gallery screenshot with animations).
void AdvanceTime(uint32_t ms);
void UseRealTime(bool real);

// Default: one 1920 x 1080 monitor at 0,0 with a 40-pixel panel at the bottom.
void SetMonitors(const std::vector<MonitorInfo>& monitors);

// Only the headless backend has per-pixel alpha; it can be turned off to
// test the opaque fallback.
void SetPerPixelAlpha(bool supported);

}  // namespace platform::headless
