#include "toolkit/core/MDC.h"

namespace DUI {

MDC::MDC(int width, int height)
    : owned_(std::make_unique<platform::Bitmap>(width, height)), bitmap_(owned_.get()) {}

MDC::MDC(platform::Bitmap& borrowed) : bitmap_(&borrowed) {}

MDC::~MDC() = default;

platform::Canvas& MDC::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<platform::Canvas>(*bitmap_);
  return *canvas_;
}

}  // namespace DUI
