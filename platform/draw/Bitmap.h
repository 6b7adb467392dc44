#pragma once
// Bitmap: a memory bitmap of premultiplied ARGB32 pixels (0xAARRGGBB in a
// native-endian uint32_t, rows top-down). It is the back buffer of windows,
// the cache of controls and the frame store of decoded images. Copying a
// bitmap copies its pixels; moving is cheap.

#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/draw/Color.h"
#include "platform/draw/Geometry.h"

namespace platform {

class Bitmap {
 public:
  Bitmap();
  Bitmap(int width, int height);  // cleared to transparent black
  ~Bitmap();
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;

  // Replaces the pixels with a cleared bitmap of the given size. A size of
  // zero (or a failed allocation) leaves an empty bitmap and returns false.
  bool Create(int width, int height);
  void Reset();

  bool IsEmpty() const;
  int Width() const;
  int Height() const;
  int Stride() const;  // bytes per row
  uint32_t* Pixels();
  const uint32_t* Pixels() const;
  uint32_t* Row(int y);
  const uint32_t* Row(int y) const;

  // Premultiplied pixel; 0 outside the bitmap.
  uint32_t PixelAt(int x, int y) const;
  // Fills the rectangle (clipped to the bitmap) with one premultiplied value,
  // replacing what was there.
  void FillRaw(const RECT& area, uint32_t premultiplied);
  // Copies pixels from src (source rectangle at srcX, srcY) replacing the
  // destination pixels; the areas are clipped to both bitmaps.
  void CopyFrom(const Bitmap& src, int dstX, int dstY, const RECT& srcArea);

  // Writes a PNG file (straight alpha, as PNG requires). False on failure.
  bool SavePng(const std::filesystem::path& file) const;

  // The backend's native surface; used only inside platform/.
  void* NativeSurface() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
