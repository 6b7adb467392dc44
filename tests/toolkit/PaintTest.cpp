// The paint cycle and redraw requests, nine-grids, pictures and the image
// cache, read back as pixels of the back buffer.

#include <algorithm>
#include <filesystem>

#include "ToolkitFixture.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "toolkit/core/Manager.h"
#include "platform/draw/Image.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "toolkit/core/Notify.h"

namespace toolkit_test {
namespace {

class PaintTest : public ToolkitTest {
 protected:
  // Paints whatever is invalid, then returns the back buffer's pixel as
  // straight ARGB.
  static ARGB Pixel(RecordingDialog& dlg, int x, int y) {
    return platform::Unpremultiply(dlg.GetPaintManager()->GetPaintDC()->Bitmap().PixelAt(x, y));
  }
  static void Paint(RecordingDialog& dlg) { Pump(dlg); }
};

// A parent that records the redraw requests of its children.
class RequestLog : public MObject {
 public:
  LRESULT OnControlUpdate(CRect rect, int redraw, MControl*) override {
    requests.push_back({rect, redraw});
    return 0;
  }
  std::vector<std::pair<CRect, int>> requests;
};

TEST_F(PaintTest, BackgroundAndBorderAreDrawnWithAlpha254) {
  RecordingDialog dlg;
  Open(dlg, 200, 100);
  Pump(dlg);
  // Defaults: background 0x0C0B0A, border 0x1950FF (COLORREF, so red 0xFF).
  EXPECT_EQ(Pixel(dlg, 0, 0), 0xFEFF5019u);
  EXPECT_EQ(Pixel(dlg, 199, 50), 0xFEFF5019u);
  EXPECT_EQ(Pixel(dlg, 1, 1), 0xFE0A0B0Cu);
  EXPECT_EQ(Pixel(dlg, 100, 50), 0xFE0A0B0Cu);
}

TEST_F(PaintTest, BlackBackgroundIsKeptAsNearlyBlack) {
  RecordingDialog dlg;
  Open(dlg, 200, 100);
  dlg.GetPaintManager()->SetBackColor(0x000000, RGB(1, 2, 3));
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 0, 0), 0xFE010203u);
  // 0x000001 as COLORREF is red 1.
  EXPECT_EQ(Pixel(dlg, 50, 50), 0xFE010000u);
  COLORREF black = 0;
  MRender::CheckAlphaColor(black);
  EXPECT_EQ(black, 0x000001u);
  COLORREF grey = 0x101010;
  MRender::CheckAlphaColor(grey);
  EXPECT_EQ(grey, 0x101010u);
}

TEST_F(PaintTest, ControlsPaintInOrderOverTheBackground) {
  RecordingDialog dlg;
  Open(dlg, 200, 100);
  dlg.AddProbe(3, CRect(10, 10, 60, 60), 0xFFFF0000);
  dlg.AddProbe(4, CRect(40, 40, 90, 90), 0xFF0000FF);
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 20, 20), 0xFFFF0000u);
  EXPECT_EQ(Pixel(dlg, 50, 50), 0xFF0000FFu);  // the later one is on top
  EXPECT_EQ(Pixel(dlg, 150, 50), 0xFE0A0B0Cu);
}

TEST_F(PaintTest, RedrawRequestMarksLaterOverlappingSiblingsStale) {
  RecordingDialog dlg;
  Open(dlg, 300, 200);
  Probe* a = dlg.AddProbe(3, CRect(10, 10, 110, 110));
  Probe* b = dlg.AddProbe(4, CRect(60, 60, 160, 160));   // over a
  Probe* c = dlg.AddProbe(5, CRect(200, 10, 250, 60));   // apart
  Probe* before = dlg.AddProbe(6, CRect(0, 0, 300, 5));  // apart, earlier test of order below
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  for (Probe* p : {a, b, c, before}) ASSERT_EQ(p->GetUpdate(), 1);

  a->UpdateControl(1, 0);
  EXPECT_EQ(a->GetUpdate(), 0);
  EXPECT_EQ(b->GetUpdate(), 0);  // cached a picture of a
  EXPECT_EQ(c->GetUpdate(), 1);
  const int rendersB = b->renders, rendersC = c->renders;
  Pump(dlg);
  EXPECT_EQ(b->renders, rendersB + 1);
  EXPECT_EQ(c->renders, rendersC);

  // A request from the later control leaves the earlier one valid.
  b->UpdateControl(1, 0);
  EXPECT_EQ(a->GetUpdate(), 1);
  // Redraw 0 (a state change) keeps the cache.
  Pump(dlg);
  c->UpdateControl(0, 0);
  EXPECT_EQ(c->GetUpdate(), 1);
}

TEST_F(PaintTest, StaleControlRecopiesWhatLiesBeneath) {
  RecordingDialog dlg;
  Open(dlg, 200, 100);
  // A half-transparent probe over an opaque one: its cache holds the one
  // below, so when the lower one changes colour the upper must follow.
  Probe* low = dlg.AddProbe(3, CRect(10, 10, 90, 90), 0xFFFF0000);
  Probe* glass = dlg.AddProbe(4, CRect(30, 30, 70, 70), 0x00000000);
  glass->overBlend = true;
  dlg.GetPaintManager()->Invalidate();
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 50, 50), 0xFFFF0000u);
  low->colour_ = 0xFF00FF00;
  low->UpdateControl(1, 0);
  Pump(dlg);
  EXPECT_EQ(Pixel(dlg, 50, 50), 0xFF00FF00u);
}

TEST_F(PaintTest, StateChangesRequestRedrawsByTheRules) {
  RequestLog parent;
  // Hiding asks for a redraw although the control is now invisible.
  Probe shown(&parent, 1, CRect(0, 0, 10, 10));
  shown.SetVisible(0);
  ASSERT_EQ(parent.requests.size(), 1u);
  EXPECT_EQ(parent.requests[0].second, 1);
  // Disabling an invisible control asks for nothing; SetRect neither.
  parent.requests.clear();
  shown.SetEnabled(0);
  shown.SetRect(CRect(5, 5, 20, 20));
  EXPECT_TRUE(parent.requests.empty());
  EXPECT_EQ(shown.GetRect(), CRect(5, 5, 20, 20));
  // A visible move asks for the union of both rects.
  shown.SetVisible(1);
  parent.requests.clear();
  shown.SetRect(30, 0, 10, 10);
  ASSERT_EQ(parent.requests.size(), 1u);
  EXPECT_EQ(parent.requests[0].first, CRect(5, 0, 40, 20));
  // Setting the same visibility again asks for nothing.
  parent.requests.clear();
  shown.SetVisible(1);
  EXPECT_TRUE(parent.requests.empty());
}

TEST_F(PaintTest, SetCursorExKnowsSevenNames) {
  RequestLog parent;
  Probe p(&parent, 1, CRect(0, 0, 10, 10));
  EXPECT_EQ(p.SetCursorEx(L"hand"), 0);
  EXPECT_EQ(p.GetCursor(), IDC_HAND);
  p.SetCursorEx(L"pointer");
  EXPECT_EQ(p.GetCursor(), IDC_HAND);
  p.SetCursorEx(L"sizewe");
  EXPECT_EQ(p.GetCursor(), IDC_SIZEWE);
}

// A 30 x 30 image whose 5-pixel corners are red, green, blue and white, its
// edges grey and its centre black.
std::unique_ptr<platform::Image> CornerImage() {
  platform::Bitmap bmp(30, 30);
  bmp.FillRaw(RECT{0, 0, 30, 30}, 0xFF808080);
  bmp.FillRaw(RECT{5, 5, 25, 25}, 0xFF000000);
  bmp.FillRaw(RECT{0, 0, 5, 5}, 0xFFFF0000);
  bmp.FillRaw(RECT{25, 0, 30, 5}, 0xFF00FF00);
  bmp.FillRaw(RECT{0, 25, 5, 30}, 0xFF0000FF);
  bmp.FillRaw(RECT{25, 25, 30, 30}, 0xFFFFFFFF);
  std::vector<platform::Image::Frame> frames(1);
  frames[0].pixels = std::move(bmp);
  return std::make_unique<platform::Image>(std::move(frames));
}

TEST_F(PaintTest, LayeredWindowGivesAlphaToPixelsWrittenWithoutIt) {
  RecordingDialog dlg;
  dlg.SetLayeredWindow(1);
  Open(dlg, 200, 100);
  Probe* plain = dlg.AddProbe(3, CRect(10, 10, 50, 50));
  plain->rawPixels = true;
  plain->colour_ = 0x00123456;  // a colour without alpha
  Probe* black = dlg.AddProbe(4, CRect(60, 10, 100, 50));
  black->rawPixels = true;
  black->colour_ = 0x00000000;  // black without alpha stays transparent
  // A small request repaints the whole layered window.
  plain->UpdateControl(1, 0);
  Pump(dlg);
  const platform::Bitmap& bmp = dlg.GetPaintManager()->GetPaintDC()->Bitmap();
  EXPECT_EQ(bmp.PixelAt(20, 20), 0xFF123456u);
  EXPECT_EQ(bmp.PixelAt(70, 20), 0x00000000u);
  EXPECT_EQ(Pixel(dlg, 150, 80), 0xFE0A0B0Cu);
}

TEST_F(PaintTest, TransitionAlphaRunsLinearlyBetweenTheEnds) {
  // from/to are transparency percentages at the two ends; the result is
  // the alpha of the last row or column.
  struct Case {
    int from, to, lines;
    int lastAlpha;
  } cases[] = {
      {80, 80, 10, 51},   // the area default: constant 51
      {0, 100, 10, 25},   // 255 - 9 * 25.5
      {100, 0, 10, 229},  // 0 + 9 * 25.5
      {0, 0, 4, 255},
  };
  for (const Case& k : cases) {
    HDC dst = new MDC(20, 20), src = new MDC(20, 20);
    src->Bitmap().FillRaw(RECT{0, 0, 20, 20}, 0xFFFFFFFF);
    const int v = MRender::DrawVerticalTransition(dst, src, CRect(0, 0, 5, k.lines), CRect(0, 0, 5, k.lines),
                                                  k.from, k.to);
    const int h = MRender::DrawHorizontalTransition(dst, src, CRect(0, 0, k.lines, 5), CRect(0, 0, k.lines, 5),
                                                    k.from, k.to);
    EXPECT_EQ(v, k.lastAlpha) << k.from << "/" << k.to;
    EXPECT_EQ(h, k.lastAlpha) << k.from << "/" << k.to;
    MRender::DeleteDC(dst);
    MRender::DeleteDC(src);
  }
}

TEST_F(PaintTest, NineGridKeepsCornersUnscaled) {
  auto image = CornerImage();
  MDC dc(200, 120);
  MRender::DrawImageFrame(&dc, image.get(), CRect(10, 10, 190, 110), 0, 0, 30, 30, 5);
  auto px = [&](int x, int y) { return dc.Bitmap().PixelAt(x, y); };
  // Each corner is exactly 5 x 5 at its corner of the destination.
  struct Case {
    int x, y;
    uint32_t colour;
  } cases[] = {
      {10, 10, 0xFFFF0000}, {14, 14, 0xFFFF0000}, {15, 15, 0xFF000000},
      {185, 10, 0xFF00FF00}, {189, 14, 0xFF00FF00}, {184, 14, 0xFF808080},
      {10, 105, 0xFF0000FF}, {14, 109, 0xFF0000FF}, {14, 104, 0xFF808080},
      {185, 105, 0xFFFFFFFF}, {189, 109, 0xFFFFFFFF},
      {100, 12, 0xFF808080},  // top edge stretched
      {100, 60, 0xFF000000},  // centre stretched
      {9, 9, 0x00000000}, {190, 110, 0x00000000},  // nothing outside
  };
  for (const Case& k : cases) EXPECT_EQ(px(k.x, k.y), k.colour) << k.x << "," << k.y;
}

TEST_F(PaintTest, NineGridSmallerThanItsCornersDrawsOnlyCorners) {
  auto image = CornerImage();
  MDC dc(20, 20);
  MRender::DrawImageFrame(&dc, image.get(), CRect(0, 0, 8, 8), 0, 0, 30, 30, 5);
  // Overlapping corners: the bottom-right one is drawn last of the corners.
  EXPECT_EQ(dc.Bitmap().PixelAt(0, 0), 0xFFFF0000u);
  EXPECT_EQ(dc.Bitmap().PixelAt(7, 7), 0xFFFFFFFFu);
  EXPECT_EQ(dc.Bitmap().PixelAt(9, 9), 0u);
}

TEST_F(PaintTest, FourBorderNineGridUsesEachWidth) {
  auto image = CornerImage();
  MDC dc(100, 100);
  MRender::DrawImageFrameMID(&dc, image.get(), CRect(0, 0, 100, 100), 0, 0, 30, 30, 5, 5, 5, 5);
  EXPECT_EQ(dc.Bitmap().PixelAt(4, 4), 0xFFFF0000u);
  EXPECT_EQ(dc.Bitmap().PixelAt(95, 95), 0xFFFFFFFFu);
  EXPECT_EQ(dc.Bitmap().PixelAt(50, 50), 0xFF000000u);
}

// The corner image as a PNG in a sub-folder of the skin folder, removed
// again when the test ends.
class SkinImage {
 public:
  explicit SkinImage(const char* name) {
    folder_ = std::filesystem::path(platform::ToUtf8(MRender::GetSkinFolder())) / "qelt_tests";
    std::filesystem::create_directories(folder_);
    EXPECT_TRUE(CornerImage()->FrameBitmap(0).SavePng(folder_ / name));
    relative_ = L"qelt_tests/" + platform::FromUtf8(name);
  }
  ~SkinImage() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const wchar_t* Name() const { return relative_.c_str(); }

 private:
  std::filesystem::path folder_;
  std::wstring relative_;
};

TEST_F(PaintTest, ImageCacheKeepsTheFirstFrameCount) {
  RecordingDialog dlg;
  Open(dlg);
  const SkinImage image("corner.png");
  const std::wstring file = image.Name();
  PaintManager* pm = dlg.GetPaintManager();
  const ImgResInfo* first = pm->AddImgResInfo(file.c_str(), 3);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->frameWidth, 10);
  const ImgResInfo* again = pm->AddImgResInfo(file.c_str(), 2);
  EXPECT_EQ(again, first);
  EXPECT_EQ(again->frameWidth, 10);
  EXPECT_EQ(pm->AddImgResInfo(L"no_such_image.png", 1), nullptr);
}

TEST_F(PaintTest, SetImageNeedsAWindowAndALoadableFile) {
  RecordingDialog dlg;
  Open(dlg);
  const SkinImage image("corner.png");
  const std::wstring file = image.Name();
  RequestLog parent;
  Probe loose(&parent, 1, CRect(0, 0, 10, 10));
  EXPECT_EQ(loose.SetImage(file.c_str(), 1), 0);  // not attached
  Probe* attached = dlg.AddProbe(2, CRect(0, 0, 10, 10));
  EXPECT_EQ(attached->SetImage(file.c_str(), 2), 1);
  EXPECT_EQ(attached->GetImageSize(), CSize(15, 30));
  EXPECT_EQ(attached->SetImage(L"missing.png", 1), 0);
}

TEST_F(PaintTest, SkinNamesBecomeFilesOfTheSkinFolder) {
  const CString folder = MRender::GetSkinFolder();
  struct Case {
    const wchar_t* name;
    const wchar_t* file;  // relative to the skin folder; empty: no file
  } cases[] = {
      {L"img_button.png", L"img_button.png"},
      {L"icon\\battery.png", L"icon/battery.png"},
      {L"icon/battery.png", L"icon/battery.png"},
      {L"icon//icon_windows.png", L"icon/icon_windows.png"},
      {L"icon\\\\a\\b.png", L"icon/a/b.png"},
      {L"\\device\\m.png", L"device/m.png"},  // a leading separator stays inside
      {L"./icon/./x.png", L"icon/x.png"},
      {L"..\\x.png", L""},                      // climbing out of the skin folder
      {L"icon/../../x.png", L""},
      {L"icon\\", L""},                          // a folder, not an image
      {L"", L""},
      {L"\\", L""},
  };
  for (const Case& k : cases) {
    const CString expected = *k.file ? folder + k.file : CString();
    EXPECT_EQ(MRender::GetSkinFile(k.name), expected) << platform::ToUtf8(k.name);
  }
}

// An installed program names its data folder; the skin, the resources and
// the fonts are then looked up there instead of beside the executable.
TEST_F(PaintTest, TheProgramFolderMovesTheSkinFolder) {
  const std::filesystem::path beside = platform::ExecutableFolder();
  EXPECT_EQ(Manager::GetProgramFolder(), beside);
  const std::filesystem::path installed = std::filesystem::path(testing::TempDir()) / "share" / "orvane";
  Manager::SetProgramFolder(installed);
  EXPECT_EQ(MRender::GetSkinFolder(), platform::FromUtf8((installed / "skins" / "theme1").string()) + L"/");
  EXPECT_EQ(MRender::GetSkinFile(L"icon\\battery.png"),
            platform::FromUtf8((installed / "skins" / "theme1" / "icon" / "battery.png").string()));
  EXPECT_EQ(MRender::GetResourcePath(106, L"TTF"), platform::FromUtf8((installed / "resources" / "106.ttf").string()));
  Manager::SetProgramFolder({});
  EXPECT_EQ(Manager::GetProgramFolder(), beside);
  EXPECT_EQ(MRender::GetSkinFolder(), platform::FromUtf8((beside / "skins" / "theme1").string()) + L"/");
}

TEST_F(PaintTest, EveryImageLoaderResolvesBackslashNames) {
  RecordingDialog dlg;
  Open(dlg);
  const SkinImage image("corner.png");
  CString name = image.Name();
  std::replace(name.begin(), name.end(), L'/', L'\\');
  ASSERT_NE(name, CString(image.Name()));
  EXPECT_NE(dlg.GetPaintManager()->AddImgResInfo(name.c_str(), 1), nullptr);
  EXPECT_EQ(dlg.GetPaintManager()->LoadBKImage(name), 1);
  RequestLog parent;
  MPicture pic(&parent, 1, CRect(0, 0, 10, 10), 1, 1);
  EXPECT_EQ(pic.SetImage(name.c_str(), 1), 1);
}

TEST_F(PaintTest, PictureShowModes) {
  RecordingDialog dlg;
  Open(dlg, 300, 200);
  const SkinImage image("corner.png");
  const std::wstring file = image.Name();
  auto* pic = static_cast<MPicture*>(dlg.CreateControl(L"MPicture", 3, CRect(100, 50, 200, 150), nullptr, 1, 1));
  ASSERT_NE(pic, nullptr);
  ASSERT_EQ(pic->SetImage(file.c_str(), 1), 1);
  pic->SetAlignment(1, 4);
  struct Case {
    enumShowMode mode;
    int x, y;
    ARGB colour;
  } cases[] = {
      {ShowModeNormal, 136, 86, 0xFFFF0000},    // 30x30 centred: top-left corner at (135, 85)
      {ShowModeNormal, 120, 60, 0xFE0A0B0C},    // background around it
      {ShowModeTile, 131, 81, 0xFFFF0000},      // second tile starts at 130, 80
      {ShowModeStretch, 105, 55, 0xFFFF0000},   // corner scaled by 100/30
      {ShowModeFrame, 104, 54, 0xFFFF0000},     // corner 5 kept
      {ShowModeFrame, 150, 52, 0xFF808080},     // top edge
      {ShowModeFrame, 150, 100, 0xFF000000},    // centre
  };
  for (const Case& k : cases) {
    pic->SetShowMode(k.mode, 5);
    Paint(dlg);
    EXPECT_EQ(Pixel(dlg, k.x, k.y), k.colour) << int(k.mode) << " at " << k.x << "," << k.y;
  }
  pic->SetShowModeMID(5, 5, 5, 5);
  Paint(dlg);
  EXPECT_EQ(Pixel(dlg, 104, 54), 0xFFFF0000u);
  EXPECT_EQ(Pixel(dlg, 195, 145), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(dlg, 150, 52), 0xFF808080u);
  pic->SetSourceRect(CRect(25, 25, 30, 30));
  pic->SetShowMode(ShowModeSource, 0);
  Paint(dlg);
  EXPECT_EQ(Pixel(dlg, 150, 100), 0xFFFFFFFFu);
}

TEST_F(PaintTest, SetShowModeChangesNothingForTheSameModeUnlessNineGrid) {
  RequestLog parent;
  MPicture pic(&parent, 1, CRect(0, 0, 10, 10), 1, 1);
  EXPECT_EQ(pic.SetShowMode(ShowModeStretch, 4), 1);
  EXPECT_EQ(pic.SetShowMode(ShowModeStretch, 9), 0);
  EXPECT_EQ(pic.SetShowMode(ShowModeFrame, 4), 1);
  EXPECT_EQ(pic.SetShowMode(ShowModeFrame, 4), 0);
  EXPECT_EQ(pic.SetShowMode(ShowModeFrame, 6), 1);
}

TEST_F(PaintTest, TextIsDrawnInTheControlsColour) {
  RecordingDialog dlg;
  Open(dlg, 300, 100);
  auto* text = static_cast<MText*>(dlg.CreateControl(L"MText", 3, CRect(10, 10, 290, 90), L"■■■■", 1, 1));
  ASSERT_NE(text, nullptr);
  text->SetTextColor(Color(0xFF00FF00));
  text->SetFontWidth(40);
  text->SetAlignment(1, 4);
  Paint(dlg);
  // Somewhere in the middle the squares are pure green.
  int green = 0;
  for (int x = 100; x < 200; ++x) {
    if (Pixel(dlg, x, 50) == 0xFF00FF00u) ++green;
  }
  EXPECT_GT(green, 20);
  EXPECT_EQ(Pixel(dlg, 15, 15), 0xFE0A0B0Cu);
}

}  // namespace
}  // namespace toolkit_test
