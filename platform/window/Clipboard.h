#pragma once
// The clipboard's text. With the SDL backend it is the desktop's clipboard
// (SDL_SetClipboardText / SDL_GetClipboardText, called on the window
// thread); with the headless backend, or before the window system starts,
// it is a process-wide string in memory, so tests copy and paste without a
// display.

#include <string>

namespace platform {

// Replaces the clipboard's text; false when the desktop refused it.
bool SetClipboardText(const std::wstring& text);
// The clipboard's text; empty when it holds none (or no text).
std::wstring GetClipboardText();

}  // namespace platform
