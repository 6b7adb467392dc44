// Painting and presenting: the invalid region (one bounding rectangle per
// window), BeginPaint, handing back buffers to the backend, layered windows
// and window captures.
//
// Index
//   1. The invalid region
//   2. Presenting and layered windows
//   3. Captures

#include <cstdint>

#include "platform/window/WindowSystem.h"

namespace platform {

using namespace detail;

// --- 1. The invalid region -----------------------------------------------------------------------
bool InvalidateRect(HWND hwnd, const RECT* rect) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  RECT r = rect ? IntersectRect(*rect, ClientOf(*w)) : ClientOf(*w);
  if (IsRectEmpty(r)) return true;
  w->invalid = UnionRect(w->invalid, r);
  if (w->queue) Wake(*w->queue, S().backend.get());
  return true;
}

bool ValidateRect(HWND hwnd, const RECT* rect) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  if (!rect) {
    w->invalid = RECT{};
    w->painting = RECT{};
    return true;
  }
  // The region is one rectangle, so only covering it entirely validates it.
  RECT both = UnionRect(w->invalid, *rect);
  if (both.left == rect->left && both.top == rect->top && both.right == rect->right &&
      both.bottom == rect->bottom)
    w->invalid = RECT{};
  return true;
}

RECT BeginPaint(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return RECT{};
  RECT r = IntersectRect(UnionRect(w->painting, w->invalid), ClientOf(*w));
  w->painting = RECT{};
  w->invalid = RECT{};
  return r;
}

void EndPaint(HWND) {}

// --- 2. Presenting and layered windows -----------------------------------------------------------
bool PresentBitmap(HWND hwnd, const Bitmap& backBuffer, const RECT& area) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || backBuffer.IsEmpty()) return false;
  RECT r = IntersectRect(area, IntersectRect(ClientOf(*w), RECT{0, 0, backBuffer.Width(), backBuffer.Height()}));
  if (IsRectEmpty(r)) return true;
  S().backend->Present(*w, backBuffer, r, false);
  return true;
}

bool SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return false;
  w->exStyle |= WS_EX_LAYERED;
  w->colorKey = key;
  w->alpha = alpha;
  w->layeredFlags = flags;
  S().backend->SetOpacity(*w, (flags & LWA_ALPHA) ? alpha / 255.0f : 1.0f);
  return true;
}

bool UpdateLayeredWindow(HWND hwnd, const Bitmap& pixels) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w || pixels.IsEmpty()) return false;
  w->exStyle |= WS_EX_LAYERED;
  RECT r = IntersectRect(ClientOf(*w), RECT{0, 0, pixels.Width(), pixels.Height()});
  S().backend->Present(*w, pixels, r, !S().backend->PerPixelAlpha());
  return true;
}

bool SupportsPerPixelAlpha() {
  std::lock_guard lock(S().mutex);
  return S().backend && S().backend->PerPixelAlpha();
}

// --- 3. Captures ---------------------------------------------------------------------------------
Bitmap CaptureWindow(HWND hwnd) {
  std::lock_guard lock(S().mutex);
  WindowRecord* w = Find(hwnd);
  if (!w) return Bitmap();
  return S().backend->Capture(*w);
}

bool SaveWindowScreenshot(HWND hwnd, const std::filesystem::path& file) {
  bool layered;
  {
    std::lock_guard lock(S().mutex);
    WindowRecord* w = Find(hwnd);
    if (!w) return false;
    layered = (w->exStyle & WS_EX_LAYERED) && S().backend->PerPixelAlpha();
  }
  Bitmap shot = CaptureWindow(hwnd);
  if (shot.IsEmpty()) return false;
  if (!layered) {
    // An ordinary window is opaque on screen whatever alpha its back buffer
    // held: premultiplied colour over black.
    for (int y = 0; y < shot.Height(); ++y) {
      uint32_t* row = shot.Row(y);
      for (int x = 0; x < shot.Width(); ++x) row[x] |= 0xFF000000u;
    }
  }
  return shot.SavePng(file);
}

}  // namespace platform
