#pragma once
// MDC: a drawing target, the toolkit's device context. It is a bitmap of
// premultiplied ARGB32 pixels with a canvas to draw on it: either a memory
// bitmap it owns (a control's cache) or one it borrows (the window's back
// buffer). HDC is a pointer to one.
//
// A target may have an origin: the coordinate that addresses its top-left
// pixel. A scrolling panel draws its children, whose rectangles are in
// content coordinates, into a buffer whose origin is the content point shown
// at the panel's corner; the copies and fills of MRender and the canvas
// honour it.

#include <memory>

#include "platform/draw/Bitmap.h"
#include "platform/draw/Canvas.h"
#include "toolkit/core/CRect.h"

namespace DUI {

class MDC {
 public:
  MDC(int width, int height);
  explicit MDC(platform::Bitmap& borrowed);
  ~MDC();
  MDC(const MDC&) = delete;
  MDC& operator=(const MDC&) = delete;

  platform::Bitmap& Bitmap() { return *bitmap_; }
  // Created on first use; drawing state (clip, offset) is reset by the
  // helpers that change it.
  platform::Canvas& Canvas();
  int Width() const { return bitmap_->Width(); }
  int Height() const { return bitmap_->Height(); }
  // Coordinates handed to the drawing helpers address pixel (x - origin.x,
  // y - origin.y).
  void SetOrigin(int x, int y);
  POINT Origin() const { return origin_; }

 private:
  std::unique_ptr<platform::Bitmap> owned_;
  platform::Bitmap* bitmap_ = nullptr;
  std::unique_ptr<platform::Canvas> canvas_;
  POINT origin_{0, 0};
};

using HDC = MDC*;

}  // namespace DUI
