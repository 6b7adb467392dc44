#pragma once
// Image: a decoded PNG or GIF as premultiplied ARGB32 frames. A still image
// has one frame; an animated GIF has one full composited frame per image of
// the file, each with its delay in milliseconds.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/draw/Bitmap.h"

namespace platform {

class Image {
 public:
  struct Frame {
    Bitmap pixels;
    int delayMs = 0;
  };

  // Null when the file cannot be read or decoded; never throws.
  static std::unique_ptr<Image> Load(const std::filesystem::path& file);
  static std::unique_ptr<Image> Decode(const uint8_t* data, size_t size);

  explicit Image(std::vector<Frame> frames);

  int Width() const;
  int Height() const;
  int FrameCount() const { return int(frames_.size()); }
  const Bitmap& FrameBitmap(int index = 0) const { return frames_[size_t(index)].pixels; }
  int FrameDelay(int index) const { return frames_[size_t(index)].delayMs; }
  // A copy scaled to the given size (smooth filter), one frame.
  std::unique_ptr<Image> Thumbnail(int width, int height) const;

 private:
  std::vector<Frame> frames_;
};

}  // namespace platform
