#include "toolkit/core/MDC.h"

namespace DUI {

MDC::MDC(int width, int height)
    : owned_(std::make_unique<platform::Bitmap>(width, height)), bitmap_(owned_.get()) {}

MDC::MDC(platform::Bitmap& borrowed) : bitmap_(&borrowed) {}

MDC::~MDC() = default;

platform::Canvas& MDC::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<platform::Canvas>(*bitmap_);
    if (origin_.x != 0 || origin_.y != 0) canvas_->Translate(float(-origin_.x), float(-origin_.y));
  }
  return *canvas_;
}

void MDC::SetOrigin(int x, int y) {
  if (canvas_) canvas_->Translate(float(origin_.x - x), float(origin_.y - y));
  origin_ = POINT{x, y};
}

}  // namespace DUI
