#include "platform/window/TextInput.h"

#include <SDL2/SDL.h>

#include <mutex>

#include "platform/window/Window.h"

namespace platform {

namespace {

std::mutex g_lock;
bool g_active = false;
HWND g_window = nullptr;
RECT g_caret{};

bool UseSdl() { return ActiveBackend() == WindowBackend::Sdl; }

void SdlRect(const RECT& caret) {
  SDL_Rect r{caret.left, caret.top, caret.right - caret.left, caret.bottom - caret.top};
  SDL_SetTextInputRect(&r);
}

}  // namespace

void StartTextInput(HWND hwnd, const RECT& caret) {
  {
    std::lock_guard guard(g_lock);
    g_active = true;
    g_window = hwnd;
    g_caret = caret;
  }
  if (UseSdl()) {
    SdlRect(caret);
    SDL_StartTextInput();
  }
}

void SetTextInputRect(const RECT& caret) {
  {
    std::lock_guard guard(g_lock);
    if (!g_active) return;
    g_caret = caret;
  }
  if (UseSdl()) SdlRect(caret);
}

void StopTextInput() {
  {
    std::lock_guard guard(g_lock);
    g_active = false;
  }
  if (UseSdl()) SDL_StopTextInput();
}

bool IsTextInputActive() {
  std::lock_guard guard(g_lock);
  return g_active;
}

HWND TextInputWindow() {
  std::lock_guard guard(g_lock);
  return g_window;
}

RECT TextInputRect() {
  std::lock_guard guard(g_lock);
  return g_caret;
}

}  // namespace platform
