// Text with Pango: fonts resolve, Latin and CJK measure and draw, alignment,
// ellipsis and wrapping, application fonts.

#include <gtest/gtest.h>

#include <filesystem>

#include "TestEnv.h"
#include "platform/draw/Canvas.h"
#include "platform/draw/Font.h"

using namespace platform;

namespace {

FontSpec Font(float px, const wchar_t* family = L"Open Sans Semibold") {
  FontSpec f;
  f.family = family;
  f.pixelSize = px;
  return f;
}

struct Ink {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1, pixels = 0;
};

Ink InkOf(const Bitmap& b) {
  Ink ink;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.PixelAt(x, y) >> 24) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
        ++ink.pixels;
      }
  return ink;
}

TEST(Text, ShippedFamiliesResolve) {
  EXPECT_TRUE(FontFamilyExists(L"Open Sans Semibold"));
  EXPECT_TRUE(FontFamilyExists(L"Open Sans"));
  EXPECT_TRUE(FontFamilyExists(L"Noto Sans CJK SC"));
  EXPECT_FALSE(FontFamilyExists(L"No Such Family 1234"));
}

TEST(Text, LatinAndCjkMeasureAndDraw) {
  const struct {
    const wchar_t* text;
    int lcid;
  } cases[] = {
      {L"DPI 800", 1033}, {L"回报率", 2052}, {L"報告率", 1028}, {L"レポート", 1041}, {L"보고율", 1042},
      {L"Частота", 1058},
  };
  for (const auto& c : cases) {
    SetTextLanguage(c.lcid);
    FontSpec f = Font(14);
    SizeF size = MeasureText(c.text, f);
    EXPECT_GT(size.width, 10) << c.lcid;
    EXPECT_GT(size.height, 10) << c.lcid;
    EXPECT_TRUE(CanRenderText(c.text, f)) << c.lcid;  // no missing-glyph boxes
    Bitmap b(200, 40);
    {
      Canvas canvas(b);
      canvas.DrawText(c.text, RectF{0, 0, 200, 40}, f, 0xFFFFFFFF);
    }
    Ink ink = InkOf(b);
    EXPECT_GT(ink.pixels, 20) << c.lcid;
    EXPECT_LE(ink.right, int(size.width) + 2) << c.lcid;
  }
  SetTextLanguage(2052);
  // A CJK ideograph is about one em wide; twice the size, twice the width.
  EXPECT_NEAR(MeasureText(L"中", Font(20)).width, 20, 2);
  EXPECT_NEAR(MeasureText(L"Wide text", Font(28)).width / MeasureText(L"Wide text", Font(14)).width, 2.0, 0.1);
}

TEST(Text, AlignmentPlacesInkInTheBox) {
  const struct {
    HAlign h;
    VAlign v;
    bool inkLeftHalf, inkTopHalf;
  } cases[] = {
      {HAlign::Left, VAlign::Top, true, true},
      {HAlign::Right, VAlign::Bottom, false, false},
  };
  for (const auto& c : cases) {
    Bitmap b(300, 100);
    {
      Canvas canvas(b);
      canvas.DrawText(L"OK", RectF{0, 0, 300, 100}, Font(14), 0xFFFFFFFF, TextFormat{c.h, c.v});
    }
    Ink ink = InkOf(b);
    EXPECT_EQ(ink.right < 150, c.inkLeftHalf);
    EXPECT_EQ(ink.bottom < 50, c.inkTopHalf);
  }
  Bitmap b(300, 100);
  {
    Canvas canvas(b);
    canvas.DrawText(L"OK", RectF{0, 0, 300, 100}, Font(14), 0xFFFFFFFF,
                    TextFormat{HAlign::Center, VAlign::Center});
  }
  Ink ink = InkOf(b);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 150, 3);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 50, 4);
}

TEST(Text, EllipsisStaysInsideAndWrapGrowsDown) {
  const wchar_t* text = L"A rather long caption that cannot fit";
  Bitmap b(300, 40);
  {
    Canvas canvas(b);
    TextFormat f;
    f.ellipsis = true;
    canvas.DrawText(text, RectF{0, 0, 80, 40}, Font(14), 0xFFFFFFFF, f);
  }
  Ink ink = InkOf(b);
  EXPECT_GT(ink.pixels, 0);
  EXPECT_LT(ink.right, 80);
  SizeF one = MeasureText(text, Font(14));
  SizeF wrapped = MeasureText(text, Font(14), 80);
  EXPECT_LE(wrapped.width, 80);
  EXPECT_GT(wrapped.height, 2 * one.height);
  FontMetrics m = GetFontMetrics(Font(14));
  EXPECT_GT(m.ascent, m.descent);
  EXPECT_NEAR(m.height, one.height, 1);
}

TEST(Text, CaretPositionsRoundTrip) {
  const wchar_t* text = L"abc中d";
  FontSpec f = Font(16);
  float previous = -1;
  for (int i = 0; i <= 5; ++i) {
    float x = TextCaretX(text, f, i);
    EXPECT_GT(x, previous) << i;
    previous = x;
  }
  EXPECT_EQ(TextIndexAtX(text, f, TextCaretX(text, f, 3) + 1), 3);
  EXPECT_EQ(TextIndexAtX(text, f, -10), 0);
  EXPECT_EQ(TextIndexAtX(text, f, 1000), 5);
}

TEST(Text, ApplicationFontFromAFileBesideTheProgram) {
  const std::filesystem::path system = "/usr/share/fonts/truetype/open-sans/OpenSans-Semibold.ttf";
  if (!std::filesystem::exists(system)) GTEST_SKIP() << "fonts-open-sans is not installed";
  testenv::TempDir dir;
  auto copy = dir.Path() / "font" / "OpenSans-Semibold.ttf";
  std::filesystem::create_directories(copy.parent_path());
  std::filesystem::copy_file(system, copy);
  EXPECT_EQ(AddApplicationFont(copy), L"Open Sans");
  EXPECT_EQ(AddApplicationFont(dir.Path() / "missing.ttf"), L"");
  testenv::WriteFile(dir.Path() / "bad.ttf", "not a font");
  EXPECT_EQ(AddApplicationFont(dir.Path() / "bad.ttf"), L"");
  EXPECT_GT(MeasureText(L"still measures", Font(14)).width, 10);
}

}  // namespace
