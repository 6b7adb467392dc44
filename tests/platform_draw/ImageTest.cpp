// PNG and GIF decoding to premultiplied ARGB32. The files are made in the
// test: PNG through Bitmap::SavePng, GIF through giflib's encoder.

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestEnv.h"
#include "platform/draw/Image.h"

using namespace platform;

namespace {

TEST(ImageDecode, PngRoundTripIsPremultiplied) {
  Bitmap b(3, 2);
  b.FillRaw(RECT{0, 0, 1, 1}, 0xFFFF0000);
  b.FillRaw(RECT{1, 0, 2, 1}, Premultiply(0x80FFFFFF));  // half-transparent white
  testenv::TempDir dir;
  ASSERT_TRUE(b.SavePng(dir.Path() / "a.png"));
  auto image = Image::Load(dir.Path() / "a.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 3);
  EXPECT_EQ(image->Height(), 2);
  EXPECT_EQ(image->FrameCount(), 1);
  EXPECT_EQ(image->FrameBitmap().PixelAt(0, 0), 0xFFFF0000u);
  EXPECT_EQ(image->FrameBitmap().PixelAt(1, 0), 0x80808080u);
  EXPECT_EQ(image->FrameBitmap().PixelAt(2, 1), 0u);
}

TEST(ImageDecode, RejectsWhatIsNotAnImage) {
  testenv::TempDir dir;
  const std::string cases[] = {
      "",                                          // empty
      "hello, world",                              // text
      std::string("\x89PNG\r\n\x1a\n", 8) + "xx",  // PNG signature, truncated
      "GIF89a\x02\x00",                             // GIF header, truncated
  };
  for (const std::string& bytes : cases) {
    EXPECT_EQ(Image::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), nullptr);
  }
  EXPECT_EQ(Image::Load(dir.Path() / "missing.png"), nullptr);
}

// --- GIF ------------------------------------------------------------------------
struct GifFrame {
  int left, top, width, height;
  int delayCs;
  int disposal;
  int transparent;  // palette index or NO_TRANSPARENT_COLOR
  std::vector<GifPixelType> pixels;
};

int WriteToString(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(length));
  return length;
}

std::string MakeGif(int width, int height, const std::vector<GifFrame>& frames) {
  // Palette: 0 black, 1 red, 2 green, 3 blue.
  GifColorType colors[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToString, &error);
  EXPECT_TRUE(gif);
  ColorMapObject* map = GifMakeMapObject(4, colors);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, width, height, 2, 0, map);
  for (const GifFrame& f : frames) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = f.disposal;
    gcb.DelayTime = f.delayCs;
    gcb.TransparentColor = f.transparent;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, nullptr);
    std::vector<GifPixelType> row(f.pixels);
    for (int y = 0; y < f.height; ++y) EGifPutLine(gif, row.data() + y * f.width, f.width);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(ImageDecode, AnimatedGifFramesAreCompositedWithDelays) {
  const std::string bytes = MakeGif(
      4, 2,
      {
          // Full red/green frame, kept.
          {0, 0, 4, 2, 10, DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, {1, 1, 2, 2, 1, 1, 2, 2}},
          // Right half: index 0 is transparent, so column 2 shows frame 1;
          // disposed to the background afterwards.
          {2, 0, 2, 2, 20, DISPOSE_BACKGROUND, 0, {0, 3, 0, 3}},
          // One pixel at the origin; the right half is cleared by then.
          {0, 0, 1, 1, 5, DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, {3}},
      });
  auto image = Image::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(image);
  ASSERT_EQ(image->FrameCount(), 3);
  EXPECT_EQ(image->FrameDelay(0), 100);
  EXPECT_EQ(image->FrameDelay(1), 200);
  EXPECT_EQ(image->FrameDelay(2), 50);
  const struct {
    int frame, x, y;
    uint32_t pixel;
  } cases[] = {
      {0, 0, 0, 0xFFFF0000}, {0, 3, 1, 0xFF00FF00},
      {1, 2, 0, 0xFF00FF00},  // transparent index: frame 0 shows through
      {1, 3, 0, 0xFF0000FF}, {1, 0, 0, 0xFFFF0000},
      {2, 0, 0, 0xFF0000FF}, {2, 1, 0, 0xFFFF0000},
      {2, 3, 0, 0x00000000},  // disposed to the (transparent) background
      {2, 2, 1, 0x00000000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(image->FrameBitmap(c.frame).PixelAt(c.x, c.y), c.pixel)
        << "frame " << c.frame << " at " << c.x << "," << c.y;
}

TEST(ImageDecode, ThumbnailScales) {
  Bitmap b(8, 8);
  b.FillRaw(RECT{0, 0, 8, 8}, 0xFF00FF00);
  std::vector<Image::Frame> frames;
  frames.push_back({b, 0});
  Image image(std::move(frames));
  auto small = image.Thumbnail(4, 2);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->Width(), 4);
  EXPECT_EQ(small->Height(), 2);
  EXPECT_EQ(small->FrameBitmap().PixelAt(1, 1), 0xFF00FF00u);
  EXPECT_EQ(image.Thumbnail(0, 0)->Width(), 8);
}

}  // namespace
