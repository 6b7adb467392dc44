#include "platform/window/Clipboard.h"

#include <SDL2/SDL.h>

#include <mutex>

#include "platform/Text.h"
#include "platform/window/Window.h"

namespace platform {

namespace {

std::mutex g_lock;
std::wstring g_text;  // the in-memory clipboard

bool UseSdl() { return ActiveBackend() == WindowBackend::Sdl; }

}  // namespace

bool SetClipboardText(const std::wstring& text) {
  if (UseSdl()) return SDL_SetClipboardText(ToUtf8(text).c_str()) == 0;
  std::lock_guard guard(g_lock);
  g_text = text;
  return true;
}

std::wstring GetClipboardText() {
  if (UseSdl()) {
    char* utf8 = SDL_GetClipboardText();
    if (utf8 == nullptr) return {};
    std::wstring text = FromUtf8(utf8);
    SDL_free(utf8);
    return text;
  }
  std::lock_guard guard(g_lock);
  return g_text;
}

}  // namespace platform
