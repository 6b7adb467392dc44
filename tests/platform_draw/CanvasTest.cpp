// Canvas pixels: fills with alpha, rounded corners, blits with source
// rectangles and constant alpha, clipping, copy blending, colour forms.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/draw/Canvas.h"

using namespace platform;

namespace {

// Channels within a tolerance of one step (rounding differs between paths).
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 1) {
  for (int shift = 0; shift < 32; shift += 8) {
    int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "0x" << actual << " != 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}

TEST(Colour, ConversionsKeepRedGreenBlue) {
  const struct {
    ARGB argb;
    COLORREF ref;
  } cases[] = {
      {0xFFFA373E, 0x003E37FA},  // the accent colour
      {0x80112233, 0x00332211},
      {0x00000000, 0x00000000},
      {0xFF0C0B0A, 0x000A0B0C},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgbToColorRef(c.argb), c.ref);
    EXPECT_EQ(ColorRefToArgb(c.ref, ArgbA(c.argb)), c.argb);
  }
  EXPECT_EQ(RGB(0x11, 0x22, 0x33), 0x00332211u);
  EXPECT_EQ(GetRValue(0x00332211), 0x11);
  EXPECT_EQ(Premultiply(0x80FF0000), 0x80800000u);
  EXPECT_EQ(Premultiply(0x00FFFFFF), 0u);
  EXPECT_TRUE(Near(Unpremultiply(0x80800000), 0x80FF0000));
}

TEST(Canvas, FillsBlendWithAlpha) {
  Bitmap b(4, 2);
  {
    Canvas c(b);
    c.FillRect(RECT{0, 0, 4, 2}, 0xFFFFFFFF);
    c.FillRect(RECT{0, 0, 2, 2}, 0x80FF0000);  // half red over white
  }
  EXPECT_TRUE(Near(b.PixelAt(0, 0), 0xFFFF7F7F));
  EXPECT_EQ(b.PixelAt(3, 1), 0xFFFFFFFFu);
  Bitmap t(2, 1);
  {
    Canvas c(t);
    c.FillRect(RECT{0, 0, 1, 1}, 0x80FF0000);  // on transparent: stored premultiplied
  }
  EXPECT_TRUE(Near(t.PixelAt(0, 0), 0x80800000));
  EXPECT_EQ(t.PixelAt(1, 0), 0u);
}

TEST(Canvas, RoundedRectangleLeavesCornersOpen) {
  Bitmap b(40, 20);
  {
    Canvas c(b);
    c.FillRoundRect(RectF{0, 0, 40, 20}, 8, 8, Brush::SolidColor(0xFF00FF00));
  }
  EXPECT_EQ(b.PixelAt(0, 0), 0u);
  EXPECT_EQ(b.PixelAt(39, 19), 0u);
  EXPECT_EQ(b.PixelAt(1, 1), 0u);
  EXPECT_EQ(b.PixelAt(20, 0), 0xFF00FF00u);  // edges between the arcs are full
  EXPECT_EQ(b.PixelAt(0, 10), 0xFF00FF00u);
  EXPECT_EQ(b.PixelAt(20, 10), 0xFF00FF00u);
  // The arc passes through: a pixel on it is partly covered.
  uint32_t onArc = b.PixelAt(2, 2);
  EXPECT_GT(onArc >> 24, 0u);
  EXPECT_LT(onArc >> 24, 255u);
}

TEST(Canvas, BlitWithConstantAlphaAndSourceRectangle) {
  // A two-frame strip: red frame then blue frame.
  Bitmap strip(8, 4);
  strip.FillRaw(RECT{0, 0, 4, 4}, 0xFFFF0000);
  strip.FillRaw(RECT{4, 0, 8, 4}, 0xFF0000FF);
  Bitmap out(20, 10);
  {
    Canvas c(out);
    // Frame 1 stretched to 20 x 10: no red may bleed in at the seam.
    c.DrawBitmap(strip, RectF{0, 0, 20, 10}, RECT{4, 0, 8, 4});
  }
  for (int x = 0; x < 20; ++x) EXPECT_EQ(out.PixelAt(x, 5), 0xFF0000FFu) << x;
  Bitmap half(4, 4);
  {
    Canvas c(half);
    c.DrawBitmap(strip, RectF{0, 0, 4, 4}, RECT{0, 0, 4, 4}, 128);
  }
  EXPECT_TRUE(Near(half.PixelAt(1, 1), 0x80800000));
  Bitmap untouched(4, 4);
  {
    Canvas c(untouched);
    c.DrawBitmap(strip, RectF{0, 0, -4, 4}, RECT{0, 0, 4, 4});  // negative size draws nothing
    c.DrawBitmap(strip, RectF{0, 0, 4, 4}, RECT{4, 0, 4, 4});   // empty source too
  }
  EXPECT_EQ(untouched.PixelAt(1, 1), 0u);
}

TEST(Canvas, ClippingAndSaveRestore) {
  Bitmap b(10, 10);
  {
    Canvas c(b);
    c.Save();
    c.ClipRect(RECT{2, 2, 5, 5});
    c.FillRect(RECT{0, 0, 10, 10}, 0xFFFFFFFF);
    c.Restore();
    c.FillRect(RECT{8, 8, 10, 10}, 0xFF000001);
  }
  EXPECT_EQ(b.PixelAt(1, 1), 0u);
  EXPECT_EQ(b.PixelAt(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(b.PixelAt(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(b.PixelAt(5, 5), 0u);
  EXPECT_EQ(b.PixelAt(9, 9), 0xFF000001u);  // the clip ended with Restore
}

TEST(Canvas, CopyBlendReplacesAlpha) {
  Bitmap b(2, 1);
  {
    Canvas c(b);
    c.Clear(0xFFFFFFFF);
    c.SetBlend(Canvas::Blend::Copy);
    c.FillRect(RECT{0, 0, 1, 1}, 0xFE0C0B0A);  // alpha 254 stays 254
  }
  EXPECT_TRUE(Near(b.PixelAt(0, 0), Premultiply(0xFE0C0B0A)));
  EXPECT_EQ(b.PixelAt(0, 0) >> 24, 0xFEu);
  EXPECT_EQ(b.PixelAt(1, 0), 0xFFFFFFFFu);
}

TEST(Canvas, LinesAndPathsStrokeWithPenColour) {
  Bitmap b(20, 20);
  {
    Canvas c(b);
    c.DrawLine(PointF{0, 10.5f}, PointF{20, 10.5f}, Pen{0xFFFF0000, 1, {}});
    Path p;
    p.MoveTo(2, 2);
    p.ArcTo(RectF{2, 2, 0, 0}, 0, 90);  // degenerate arc must not break the path
    p.LineTo(8, 2);
    p.LineTo(8, 8);
    p.Close();
    c.FillPath(p, Brush::SolidColor(0xFF00FF00));
  }
  EXPECT_EQ(b.PixelAt(5, 10), 0xFFFF0000u);
  EXPECT_EQ(b.PixelAt(5, 12), 0u);
  EXPECT_EQ(b.PixelAt(7, 3), 0xFF00FF00u);
  EXPECT_EQ(b.PixelAt(3, 7), 0u);
}

TEST(Bitmap, CopyFromClipsToBothBitmaps) {
  Bitmap src(4, 4), dst(4, 4);
  src.FillRaw(RECT{0, 0, 4, 4}, 0xFF123456);
  // The source area starts outside the source: its origin still lands on
  // the destination point, so source pixel (0,0) goes to (2,2).
  dst.CopyFrom(src, 0, 0, RECT{-2, -2, 4, 4});
  EXPECT_EQ(dst.PixelAt(2, 2), 0xFF123456u);
  EXPECT_EQ(dst.PixelAt(3, 3), 0xFF123456u);
  EXPECT_EQ(dst.PixelAt(1, 1), 0u);
  EXPECT_EQ(dst.PixelAt(3, 1), 0u);
  Bitmap copy = src;
  src.FillRaw(RECT{0, 0, 1, 1}, 0);
  EXPECT_EQ(copy.PixelAt(0, 0), 0xFF123456u);  // copies are deep
  EXPECT_FALSE(Bitmap(0, 5).Create(0, 5));
}

}  // namespace
