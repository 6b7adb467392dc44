#pragma once
// SkinPainter: the drawing vocabulary of the theme (palette, button bodies,
// glyphs, panels, the device picture) and the writer of image strips.

#include <filesystem>
#include <functional>
#include <string>

#include "platform/draw/Canvas.h"

namespace skin {

using platform::ARGB;
using platform::Canvas;
using platform::RectF;

// The palette of the dark theme. The accent is the toolkit's selection colour.
namespace color {
constexpr ARGB kAccent = 0xFFFA373E;
constexpr ARGB kAccentDark = 0xFF9E1A21;
constexpr ARGB kAccentLight = 0xFFFF6B70;
constexpr ARGB kWindow = 0xFF0C0D0F;
constexpr ARGB kPanel = 0xFF15171B;
constexpr ARGB kPanelHigh = 0xFF1D2025;
constexpr ARGB kField = 0xFF0F1114;
constexpr ARGB kBorder = 0xFF2A2E35;
constexpr ARGB kBorderHigh = 0xFF454B55;
constexpr ARGB kGlyph = 0xFFB8BDC6;
constexpr ARGB kGlyphHot = 0xFFFFFFFF;
constexpr ARGB kGlyphOff = 0xFF4D5158;
// Status colours of the battery gauge: charge level and the charging mark.
constexpr ARGB kPositive = 0xFF34C77B;
constexpr ARGB kPositiveDark = 0xFF1F8A52;
constexpr ARGB kCharge = 0xFFFFC53D;
}  // namespace color

// Frame order of every state strip: normal, hover, pressed, disabled.
enum State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

class SkinPainter {
 public:
  explicit SkinPainter(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // Draws `frames` frames of frameWidth x height side by side and writes the
  // strip as name; draw gets the frame index and the frame's box at (0,0).
  bool Strip(const std::string& name, int frameWidth, int height, int frames,
             const std::function<void(Canvas&, int, RectF)>& draw);
  bool Single(const std::string& name, int width, int height, const std::function<void(Canvas&, RectF)>& draw);
  int Written() const { return written_; }
  int Failed() const { return failed_; }

  // Pieces.
  static void ButtonBody(Canvas& c, RectF r, int state, float radius, bool accent);
  static void Field(Canvas& c, RectF r, int state, float radius);
  static void Panel(Canvas& c, RectF r, float radius, ARGB top, ARGB bottom, ARGB border);
  static void IconBackground(Canvas& c, RectF r, int state);
  static ARGB GlyphColour(int state);
  static void DeviceTopView(Canvas& c, RectF r, bool glow);

 private:
  std::filesystem::path folder_;
  int written_ = 0;
  int failed_ = 0;
};

}  // namespace skin
