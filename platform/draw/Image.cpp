// Image decoding: PNG through libpng's simplified reader, GIF through giflib
// with every frame composited as the file's disposal methods ask.

#include "platform/draw/Image.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/draw/Canvas.h"

namespace platform {

namespace {

std::unique_ptr<Image> DecodePng(const uint8_t* data, size_t size) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
  // BGRA bytes are 0xAARRGGBB words on little-endian machines.
  image.format = PNG_FORMAT_BGRA;
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    return nullptr;
  }
  Bitmap bitmap(int(image.width), int(image.height));
  if (bitmap.IsEmpty()) {
    png_image_free(&image);
    return nullptr;
  }
  if (!png_image_finish_read(&image, nullptr, bitmap.Pixels(), bitmap.Stride(), nullptr)) {
    png_image_free(&image);
    return nullptr;
  }
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x] = Premultiply(row[x]);
  }
  std::vector<Image::Frame> frames;
  frames.push_back({std::move(bitmap), 0});
  return std::make_unique<Image>(std::move(frames));
}

struct GifSource {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

int ReadGif(GifFileType* gif, GifByteType* out, int length) {
  auto* src = static_cast<GifSource*>(gif->UserData);
  size_t n = std::min(size_t(std::max(length, 0)), src->size - src->pos);
  std::memcpy(out, src->data + src->pos, n);
  src->pos += n;
  return int(n);
}

std::unique_ptr<Image> DecodeGif(const uint8_t* data, size_t size) {
  GifSource src{data, size, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&src, ReadGif, &error);
  if (!gif) return nullptr;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount <= 0 || gif->SWidth <= 0 || gif->SHeight <= 0 ||
      gif->SWidth > 16384 || gif->SHeight > 16384) {
    DGifCloseFile(gif, &error);
    return nullptr;
  }
  const int width = gif->SWidth, height = gif->SHeight;
  Bitmap canvas(width, height);
  std::vector<Image::Frame> frames;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& img = gif->SavedImages[i];
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, i, &gcb);
    const ColorMapObject* map = img.ImageDesc.ColorMap ? img.ImageDesc.ColorMap : gif->SColorMap;
    Bitmap previous;
    if (gcb.DisposalMode == DISPOSE_PREVIOUS) previous = canvas;
    const GifImageDesc& d = img.ImageDesc;
    if (map && img.RasterBits) {
      uint32_t* pixels = canvas.Pixels();
      const int stride = canvas.Stride() / 4;
      for (int y = 0; y < d.Height; ++y) {
        int cy = d.Top + y;
        if (cy < 0 || cy >= height) continue;
        for (int x = 0; x < d.Width; ++x) {
          int cx = d.Left + x;
          if (cx < 0 || cx >= width) continue;
          int index = img.RasterBits[size_t(y) * size_t(d.Width) + size_t(x)];
          if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
          const GifColorType& c = map->Colors[index];
          pixels[size_t(cy) * size_t(stride) + size_t(cx)] = MakeArgb(255, c.Red, c.Green, c.Blue);
        }
      }
    }
    frames.push_back({canvas, gcb.DelayTime * 10});
    if (gcb.DisposalMode == DISPOSE_BACKGROUND)
      canvas.FillRaw(RECT{d.Left, d.Top, d.Left + d.Width, d.Top + d.Height}, 0);
    else if (gcb.DisposalMode == DISPOSE_PREVIOUS)
      canvas = previous;
  }
  DGifCloseFile(gif, &error);
  return std::make_unique<Image>(std::move(frames));
}

}  // namespace

std::unique_ptr<Image> Image::Decode(const uint8_t* data, size_t size) {
  if (!data || size < 8) return nullptr;
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (std::memcmp(data, kPng, 8) == 0) return DecodePng(data, size);
  if (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)
    return DecodeGif(data, size);
  return nullptr;
}

std::unique_ptr<Image> Image::Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return nullptr;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Decode(bytes.data(), bytes.size());
}

Image::Image(std::vector<Frame> frames) : frames_(std::move(frames)) {}

int Image::Width() const { return frames_.empty() ? 0 : frames_[0].pixels.Width(); }
int Image::Height() const { return frames_.empty() ? 0 : frames_[0].pixels.Height(); }

std::unique_ptr<Image> Image::Thumbnail(int width, int height) const {
  if (frames_.empty()) return nullptr;
  if (width <= 0 || height <= 0) {
    width = Width();
    height = Height();
  }
  Bitmap out(width, height);
  if (out.IsEmpty()) return nullptr;
  {
    Canvas canvas(out);
    canvas.DrawBitmap(frames_[0].pixels, RectF{0, 0, float(width), float(height)},
                      RECT{0, 0, Width(), Height()});
  }
  std::vector<Frame> frames;
  frames.push_back({std::move(out), 0});
  return std::make_unique<Image>(std::move(frames));
}

}  // namespace platform
