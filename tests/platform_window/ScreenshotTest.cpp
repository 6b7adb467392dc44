// Presenting pixels, layered windows and screenshots on the headless backend.

#include "WindowTestSupport.h"
#include "TestEnv.h"
#include "platform/draw/Canvas.h"
#include "platform/draw/Image.h"

using namespace platform;
using wintest::Recorder;

namespace {

class PresentTest : public wintest::HeadlessTest {};

TEST_F(PresentTest, PaintCyclePresentsOnlyTheUpdateArea) {
  Recorder rec;
  HWND h = Make(rec, RECT{0, 0, 40, 30});
  Bitmap back(40, 30);
  back.FillRaw(RECT{0, 0, 40, 30}, 0xFF0000FF);
  PresentBitmap(h, back, RECT{0, 0, 40, 30});
  RECT empty{};
  InvalidateRect(h, &empty);  // an empty area changes nothing
  RECT part{10, 5, 20, 15};
  InvalidateRect(h, &part);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m));
  EXPECT_EQ(m.message, WM_PAINT);
  RECT update = BeginPaint(h);
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.bottom, 15);
  back.FillRaw(RECT{0, 0, 40, 30}, 0xFFFF0000);
  PresentBitmap(h, back, update);
  EndPaint(h);
  EXPECT_FALSE(PeekMessage(&m));  // validated
  Bitmap shown = CaptureWindow(h);
  EXPECT_EQ(shown.PixelAt(12, 7), 0xFFFF0000u);
  EXPECT_EQ(shown.PixelAt(5, 7), 0xFF0000FFu);
  EXPECT_EQ(shown.PixelAt(25, 20), 0xFF0000FFu);
}

TEST_F(PresentTest, ScreenshotIsWrittenAndReadsBack) {
  Recorder rec;
  HWND h = Make(rec, RECT{0, 0, 16, 8});
  Bitmap back(16, 8);
  {
    Canvas c(back);
    c.Clear(0xFF102030);
    c.FillRect(RECT{8, 0, 16, 8}, 0xFFE0C040);
  }
  PresentBitmap(h, back, RECT{0, 0, 16, 8});
  testenv::TempDir dir;
  auto file = dir.Path() / "shot.png";
  ASSERT_TRUE(SaveWindowScreenshot(h, file));
  auto image = Image::Load(file);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 16);
  EXPECT_EQ(image->Height(), 8);
  EXPECT_EQ(image->FrameBitmap().PixelAt(2, 2), 0xFF102030u);
  EXPECT_EQ(image->FrameBitmap().PixelAt(12, 2), 0xFFE0C040u);
  EXPECT_FALSE(SaveWindowScreenshot(nullptr, file));
}

TEST_F(PresentTest, LayeredWindowKeepsPerPixelAlphaOrFallsBackToOpaque) {
  Recorder rec;
  HWND h = Make(rec, RECT{0, 0, 4, 4}, WS_VISIBLE | WS_POPUP, WS_EX_LAYERED | WS_EX_TOOLWINDOW);
  Bitmap pixels(4, 4);
  pixels.FillRaw(RECT{0, 0, 2, 4}, 0x80400000);  // half-transparent red, premultiplied
  ASSERT_TRUE(SupportsPerPixelAlpha());
  ASSERT_TRUE(UpdateLayeredWindow(h, pixels));
  Bitmap shown = CaptureWindow(h);
  EXPECT_EQ(shown.PixelAt(0, 0), 0x80400000u);
  EXPECT_EQ(shown.PixelAt(3, 0), 0u);

  headless::SetPerPixelAlpha(false);
  EXPECT_FALSE(SupportsPerPixelAlpha());
  ASSERT_TRUE(UpdateLayeredWindow(h, pixels));
  shown = CaptureWindow(h);
  EXPECT_EQ(shown.PixelAt(0, 0), 0xFF400000u);  // over black
  EXPECT_EQ(shown.PixelAt(3, 0), 0xFF000000u);
}

TEST_F(PresentTest, ResizingKeepsWhatWasShownAndInvalidates) {
  Recorder rec;
  HWND h = Make(rec, RECT{0, 0, 10, 10});
  Bitmap back(10, 10);
  back.FillRaw(RECT{0, 0, 10, 10}, 0xFF00FF00);
  PresentBitmap(h, back, RECT{0, 0, 10, 10});
  rec.Clear();
  MoveWindow(h, 5, 5, 20, 10, false);
  auto sizes = rec.Of(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].lParam, MAKELPARAM(20, 10));
  EXPECT_EQ(rec.Count(WM_MOVE), 1);
  Bitmap shown = CaptureWindow(h);
  EXPECT_EQ(shown.Width(), 20);
  EXPECT_EQ(shown.PixelAt(9, 9), 0xFF00FF00u);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m));
  EXPECT_EQ(m.message, WM_PAINT);
  EXPECT_EQ(BeginPaint(h).right, 20);
}

}  // namespace
