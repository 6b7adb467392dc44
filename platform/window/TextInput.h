#pragma once
// Text input (the input method). Characters typed while it is on arrive as
// WM_CHAR, composed by the desktop's input method where there is one (dead
// keys, AltGr, CJK input), and its candidate window is placed by the caret
// rectangle. It is off while no editor that takes text is open, so key
// presses elsewhere never start a composition.
//
// SDL backend: SDL_StartTextInput, SDL_StopTextInput, SDL_SetTextInputRect.
// Headless backend: the state is only recorded, for tests to read.

#include "platform/window/WinTypes.h"

namespace platform {

// Turns text input on for the window, with the caret rectangle in its
// client coordinates.
void StartTextInput(HWND hwnd, const RECT& caret);
// Moves the candidate window to a new caret rectangle (client coordinates
// of the window text input was started for); nothing while it is off.
void SetTextInputRect(const RECT& caret);
void StopTextInput();

bool IsTextInputActive();
// The window and caret rectangle of the last start or move.
HWND TextInputWindow();
RECT TextInputRect();

}  // namespace platform
