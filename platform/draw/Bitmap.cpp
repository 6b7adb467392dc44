#include "platform/draw/Bitmap.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Paths.h"

namespace platform {

// The pixels live in a Cairo image surface so that a canvas draws on them and
// blits from them without copying.
struct Bitmap::Impl {
  cairo_surface_t* surface = nullptr;
  ~Impl() {
    if (surface) cairo_surface_destroy(surface);
  }
};

Bitmap::Bitmap() = default;
Bitmap::Bitmap(int width, int height) { Create(width, height); }
Bitmap::~Bitmap() = default;
Bitmap::Bitmap(Bitmap&& other) noexcept = default;
Bitmap& Bitmap::operator=(Bitmap&& other) noexcept = default;

Bitmap::Bitmap(const Bitmap& other) { *this = other; }

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this == &other) return *this;
  if (other.IsEmpty()) {
    Reset();
    return *this;
  }
  if (Width() != other.Width() || Height() != other.Height()) Create(other.Width(), other.Height());
  if (IsEmpty()) return *this;
  for (int y = 0; y < Height(); ++y)
    std::memcpy(Row(y), other.Row(y), size_t(Width()) * 4);
  return *this;
}

bool Bitmap::Create(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return false;
  }
  impl_ = std::make_unique<Impl>();
  impl_->surface = s;  // Cairo clears new image surfaces to transparent black.
  return true;
}

void Bitmap::Reset() { impl_.reset(); }

bool Bitmap::IsEmpty() const { return !impl_; }
int Bitmap::Width() const { return impl_ ? cairo_image_surface_get_width(impl_->surface) : 0; }
int Bitmap::Height() const { return impl_ ? cairo_image_surface_get_height(impl_->surface) : 0; }
int Bitmap::Stride() const { return impl_ ? cairo_image_surface_get_stride(impl_->surface) : 0; }

uint32_t* Bitmap::Pixels() {
  if (!impl_) return nullptr;
  cairo_surface_flush(impl_->surface);
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(impl_->surface));
}

const uint32_t* Bitmap::Pixels() const { return const_cast<Bitmap*>(this)->Pixels(); }

uint32_t* Bitmap::Row(int y) {
  if (!impl_) return nullptr;
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(impl_->surface) +
                                     size_t(y) * size_t(Stride()));
}

const uint32_t* Bitmap::Row(int y) const { return const_cast<Bitmap*>(this)->Row(y); }

uint32_t Bitmap::PixelAt(int x, int y) const {
  if (!impl_ || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  cairo_surface_flush(impl_->surface);
  return Row(y)[x];
}

void Bitmap::FillRaw(const RECT& area, uint32_t value) {
  if (!impl_) return;
  RECT r = IntersectRect(area, RECT{0, 0, Width(), Height()});
  if (IsRectEmpty(r)) return;
  cairo_surface_flush(impl_->surface);
  for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, value);
  cairo_surface_mark_dirty(impl_->surface);
}

void Bitmap::CopyFrom(const Bitmap& src, int dstX, int dstY, const RECT& srcArea) {
  if (!impl_ || src.IsEmpty()) return;
  RECT s = IntersectRect(srcArea, RECT{0, 0, src.Width(), src.Height()});
  if (IsRectEmpty(s)) return;
  // Shift the destination by what clipping removed from the source.
  dstX += s.left - srcArea.left;
  dstY += s.top - srcArea.top;
  RECT d = IntersectRect(RECT{dstX, dstY, dstX + (s.right - s.left), dstY + (s.bottom - s.top)},
                         RECT{0, 0, Width(), Height()});
  if (IsRectEmpty(d)) return;
  int sx = s.left + (d.left - dstX);
  int sy = s.top + (d.top - dstY);
  cairo_surface_flush(impl_->surface);
  cairo_surface_flush(src.impl_->surface);
  for (int y = d.top; y < d.bottom; ++y)
    std::memmove(Row(y) + d.left, src.Row(sy + (y - d.top)) + sx, size_t(d.right - d.left) * 4);
  cairo_surface_mark_dirty(impl_->surface);
}

namespace {

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

// Encoded in memory and written whole, so that an existing picture is
// replaced only by a complete new one.
bool Bitmap::SavePng(const std::filesystem::path& file) const {
  if (!impl_) return false;
  cairo_surface_flush(impl_->surface);
  std::string png;
  if (cairo_surface_write_to_png_stream(impl_->surface, AppendPng, &png) != CAIRO_STATUS_SUCCESS) return false;
  return WriteFileAtomically(file, png);
}

void* Bitmap::NativeSurface() const { return impl_ ? impl_->surface : nullptr; }

}  // namespace platform
