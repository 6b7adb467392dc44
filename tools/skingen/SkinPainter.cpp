#include "SkinPainter.h"

#include <cstdio>

namespace skin {

using platform::Bitmap;
using platform::Brush;
using platform::Path;
using platform::Pen;
using platform::PointF;

bool SkinPainter::Strip(const std::string& name, int frameWidth, int height, int frames,
                        const std::function<void(Canvas&, int, RectF)>& draw) {
  Bitmap strip(frameWidth * frames, height);
  {
    Canvas c(strip);
    for (int i = 0; i < frames; ++i) {
      c.Save();
      c.ClipRect(RECT{i * frameWidth, 0, (i + 1) * frameWidth, height});
      c.Translate(float(i * frameWidth), 0);
      draw(c, i, RectF{0, 0, float(frameWidth), float(height)});
      c.Restore();
    }
  }
  // Names may carry a sub-folder ("icon/", "device/").
  const std::filesystem::path file = folder_ / name;
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (!strip.SavePng(file)) {
    std::fprintf(stderr, "skingen: cannot write %s\n", file.string().c_str());
    ++failed_;
    return false;
  }
  ++written_;
  return true;
}

bool SkinPainter::Single(const std::string& name, int width, int height,
                         const std::function<void(Canvas&, RectF)>& draw) {
  return Strip(name, width, height, 1, [&](Canvas& c, int, RectF r) { draw(c, r); });
}

namespace {
RectF Inset(RectF r, float d) { return RectF{r.x + d, r.y + d, r.width - 2 * d, r.height - 2 * d}; }
}  // namespace

void SkinPainter::ButtonBody(Canvas& c, RectF r, int state, float radius, bool accent) {
  RectF body = Inset(r, 0.5f);
  ARGB top, bottom, border;
  switch (state) {
    case Hover:
      top = accent ? 0xFFFF4A50 : 0xFF363B44;
      bottom = accent ? 0xFFC0242B : 0xFF23272D;
      border = accent ? color::kAccentLight : 0xCCFA373E;
      break;
    case Pressed:
      top = 0xFFB3222A;
      bottom = 0xFF7E161B;
      border = color::kAccent;
      break;
    case Disabled:
      top = 0xB01C1E22;
      bottom = 0xB0181A1D;
      border = 0xB0282A2E;
      break;
    default:
      top = accent ? 0xFFE8333A : 0xFF2C3037;
      bottom = accent ? 0xFFA81E25 : 0xFF1B1E23;
      border = accent ? 0xFFFF5A60 : 0xFF3A3F48;
      break;
  }
  c.FillRoundRect(body, radius, radius, Brush::Linear({0, r.y}, {0, r.y + r.height}, top, bottom));
  // A thin highlight under the top edge gives the body its bevel.
  if (state != Disabled && state != Pressed)
    c.DrawLine(PointF{r.x + radius, r.y + 1.5f}, PointF{r.x + r.width - radius, r.y + 1.5f},
               Pen{0x22FFFFFF, 1, {}});
  c.DrawRoundRect(body, radius, radius, Pen{border, 1, {}});
  if (state == Hover && !accent)
    c.DrawLine(PointF{r.x + radius, r.y + r.height - 1.5f}, PointF{r.x + r.width - radius, r.y + r.height - 1.5f},
               Pen{0xAAFA373E, 1, {}});
}

void SkinPainter::Field(Canvas& c, RectF r, int state, float radius) {
  RectF body = Inset(r, 0.5f);
  ARGB fill = state == Disabled ? 0xFF131417 : color::kField;
  ARGB border = state == Hover ? color::kBorderHigh : state == Pressed ? color::kAccent
                : state == Disabled ? 0xFF1E2024 : color::kBorder;
  c.FillRoundRect(body, radius, radius, Brush::SolidColor(fill));
  // Inner shadow along the top edge: the field sits below the surface.
  c.DrawLine(PointF{r.x + radius, r.y + 1.5f}, PointF{r.x + r.width - radius, r.y + 1.5f}, Pen{0x40000000, 1, {}});
  c.DrawRoundRect(body, radius, radius, Pen{border, 1, {}});
}

void SkinPainter::Panel(Canvas& c, RectF r, float radius, ARGB top, ARGB bottom, ARGB border) {
  RectF body = Inset(r, 0.5f);
  c.FillRoundRect(body, radius, radius, Brush::Linear({0, r.y}, {0, r.y + r.height}, top, bottom));
  c.DrawRoundRect(body, radius, radius, Pen{border, 1, {}});
  c.DrawLine(PointF{r.x + radius, r.y + 1.5f}, PointF{r.x + r.width - radius, r.y + 1.5f}, Pen{0x14FFFFFF, 1, {}});
}

void SkinPainter::IconBackground(Canvas& c, RectF r, int state) {
  RectF body = Inset(r, 1.5f);
  if (state == Hover) c.FillRoundRect(body, 4, 4, Brush::SolidColor(0x26FFFFFF));
  if (state == Pressed) c.FillRoundRect(body, 4, 4, Brush::SolidColor(color::kAccent));
}

ARGB SkinPainter::GlyphColour(int state) {
  switch (state) {
    case Hover:
    case Pressed:
      return color::kGlyphHot;
    case Disabled:
      return color::kGlyphOff;
    default:
      return color::kGlyph;
  }
}

void SkinPainter::DeviceTopView(Canvas& c, RectF r, bool glow) {
  // A symmetric gaming mouse seen from above: narrow nose, wide palm.
  const float w = r.width, h = r.height, x = r.x, y = r.y;
  const float cx = x + w / 2;
  Path body;
  body.MoveTo(cx, y);
  body.CurveTo(cx + w * 0.32f, y, cx + w * 0.44f, y + h * 0.14f, cx + w * 0.45f, y + h * 0.38f);
  body.CurveTo(cx + w * 0.47f, y + h * 0.62f, cx + w * 0.50f, y + h * 0.86f, cx + w * 0.30f, y + h * 0.97f);
  body.CurveTo(cx + w * 0.18f, y + h, cx - w * 0.18f, y + h, cx - w * 0.30f, y + h * 0.97f);
  body.CurveTo(cx - w * 0.50f, y + h * 0.86f, cx - w * 0.47f, y + h * 0.62f, cx - w * 0.45f, y + h * 0.38f);
  body.CurveTo(cx - w * 0.44f, y + h * 0.14f, cx - w * 0.32f, y, cx, y);
  body.Close();
  if (glow) {
    for (int i = 6; i >= 1; --i) {
      c.DrawPath(body, Pen{ARGB(0x0AFA373E), float(i * 3), {}});
    }
  }
  c.FillPath(body, Brush::Linear({x, y}, {x + w, y + h}, 0xFF2C3038, 0xFF121418));
  c.DrawPath(body, Pen{0xFF4A505A, 1.5f, {}});
  // The split between the two main buttons and the line across the palm.
  c.DrawLine(PointF{cx, y + 2}, PointF{cx, y + h * 0.38f}, Pen{0xFF0A0B0D, 2, {}});
  Path palm;
  palm.MoveTo(cx - w * 0.43f, y + h * 0.40f);
  palm.CurveTo(cx - w * 0.2f, y + h * 0.36f, cx + w * 0.2f, y + h * 0.36f, cx + w * 0.43f, y + h * 0.40f);
  c.DrawPath(palm, Pen{0xFF0A0B0D, 2, {}});
  // The wheel, with an accent light strip along the palm.
  c.FillRoundRect(RectF{cx - w * 0.05f, y + h * 0.10f, w * 0.10f, h * 0.18f}, w * 0.05f, w * 0.05f,
                  Brush::Linear({0, y + h * 0.10f}, {0, y + h * 0.28f}, 0xFF5A616C, 0xFF2A2E35));
  c.FillRoundRect(RectF{cx - w * 0.02f, y + h * 0.55f, w * 0.04f, h * 0.28f}, w * 0.02f, w * 0.02f,
                  Brush::Linear({0, y + h * 0.55f}, {0, y + h * 0.83f}, color::kAccentLight, 0x40FA373E));
  // Side buttons on the left flank.
  c.FillRoundRect(RectF{x + w * 0.05f, y + h * 0.36f, w * 0.06f, h * 0.10f}, 3, 3, Brush::SolidColor(0xFF3A3F48));
  c.FillRoundRect(RectF{x + w * 0.05f, y + h * 0.48f, w * 0.06f, h * 0.10f}, 3, 3, Brush::SolidColor(0xFF3A3F48));
}

}  // namespace skin
