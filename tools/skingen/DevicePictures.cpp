// The pictures of the three models under device/: a top view per model for
// the key page (300 x 420, placed by the page with its top at y 120 and its
// right edge 150 pixels left of the window's right edge) and the same view
// at two thirds for the device list. The model descriptions point their
// callouts at the buttons drawn here, so the buttons stand where the
// descriptions' "rect" anchors fall (in picture pixels):
//
//   model          left     right    wheel    DPI      side buttons (x, y)
//   Veyra Air      80,80    220,80   150,140  150,200  18,160 12,220 16,280 22,340
//   Veyra Core     85,90    215,90   150,150  150,210  10,230 14,290
//   Veyra Swift 8K 82,75    218,75   150,135  150,195  11,215 15,275
//
// Index
//   1. Shared pieces (body shading, side buttons, wheel, light strips)
//   2. Veyra Air: light honeycomb shell with an RGB ring
//   3. Veyra Core: right-handed, matte, no lighting
//   4. Veyra Swift 8K: light shell, angular, red accents
//   5. Writing both sizes

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "SkinGroups.h"
#include "SkinPainter.h"

namespace {

using namespace skin;
using platform::ARGB;
using platform::Bitmap;
using platform::Brush;
using platform::Canvas;
using platform::FontSpec;
using platform::HAlign;
using platform::Path;
using platform::Pen;
using platform::PointF;
using platform::RectF;
using platform::TextFormat;
using platform::VAlign;

constexpr int kPictureWidth = 300;
constexpr int kPictureHeight = 420;

// --- 1. Shared pieces --------------------------------------------------------------------
struct Bezier {
  PointF p0, p1, p2, p3;
  PointF At(float t) const {
    const float u = 1 - t;
    const float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return PointF{a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
  }
};

// A closed outline made of cubic segments, kept as segments so that light
// strips can follow part of it.
struct Outline {
  std::vector<Bezier> parts;
  Path ToPath() const {
    Path p;
    p.MoveTo(parts.front().p0.x, parts.front().p0.y);
    for (const Bezier& b : parts) p.CurveTo(b.p1.x, b.p1.y, b.p2.x, b.p2.y, b.p3.x, b.p3.y);
    p.Close();
    return p;
  }
};

Outline MakeOutline(PointF start, std::initializer_list<std::array<PointF, 3>> segments) {
  Outline o;
  PointF from = start;
  for (const auto& s : segments) {
    o.parts.push_back(Bezier{from, s[0], s[1], s[2]});
    from = s[2];
  }
  return o;
}

ARGB Mix(ARGB a, ARGB b, float t) {
  const auto ch = [&](int shift) {
    const float x = float((a >> shift) & 0xFF), y = float((b >> shift) & 0xFF);
    return ARGB(std::lround(x + (y - x) * t)) << shift;
  };
  return ch(24) | ch(16) | ch(8) | ch(0);
}

// A stroke along one segment whose colour runs through `colours`.
void ColourRunStroke(Canvas& c, const Bezier& b, const std::vector<ARGB>& colours, float width) {
  constexpr int kSteps = 48;
  PointF last = b.At(0);
  for (int i = 1; i <= kSteps; ++i) {
    const float t = float(i) / kSteps;
    const PointF next = b.At(t);
    const float pos = t * float(colours.size() - 1);
    const size_t k = std::min(size_t(pos), colours.size() - 2);
    c.DrawLine(last, next, Pen{Mix(colours[k], colours[k + 1], pos - float(k)), width, {}});
    last = next;
  }
}

void SoftShadow(Canvas& c, float cx, float y, float w) {
  for (int i = 0; i < 5; ++i) {
    const float grow = float(i) * 6;
    c.FillEllipse(RectF{cx - w / 2 - grow, y - 8 - grow / 3, w + 2 * grow, 16 + 2 * grow / 3},
                  Brush::SolidColor(0x16000000));
  }
}

struct Shell {
  ARGB top, bottom;     // body gradient, nose to tail
  ARGB edge;            // outline
  ARGB seam;            // button seams
  ARGB buttonTop;       // the two main buttons, a shade apart from the palm
  ARGB sideTop, sideBottom, sideEdge;
};

// Body, main-button panels and seams; the split between the buttons runs
// down the middle to `buttonLine`, where a curved seam closes them.
void Body(Canvas& c, const Outline& outline, const Shell& s, float cx, float buttonLine) {
  const Path body = outline.ToPath();
  c.FillPath(body, Brush::Linear({0, 0}, {0, float(kPictureHeight)}, s.top, s.bottom));
  c.Save();
  c.ClipPath(body);
  Path buttons;
  buttons.MoveTo(0, 0);
  buttons.LineTo(float(kPictureWidth), 0);
  buttons.LineTo(float(kPictureWidth), buttonLine + 6);
  buttons.CurveTo(cx + 70, buttonLine - 8, cx - 70, buttonLine - 8, 0, buttonLine + 6);
  buttons.Close();
  c.FillPath(buttons, Brush::Linear({0, 0}, {0, buttonLine}, s.buttonTop, s.top));
  Path seam;
  seam.MoveTo(0, buttonLine + 6);
  seam.CurveTo(cx - 70, buttonLine - 8, cx + 70, buttonLine - 8, float(kPictureWidth), buttonLine + 6);
  c.DrawPath(seam, Pen{s.seam, 2, {}});
  c.DrawLine({cx, 0}, {cx, buttonLine - 2}, Pen{s.seam, 2.5f, {}});
  // A sheen along the left shoulder gives the shell its curve.
  c.FillEllipse(RectF{cx - 96, 46, 34, 190}, Brush::Linear({cx - 96, 0}, {cx - 62, 0}, 0x12FFFFFF, 0x00FFFFFF));
  c.Restore();
  c.DrawPath(body, Pen{s.edge, 2, {}});
}

// A thumb-side button: a raised key standing out of the left flank.
void SideButton(Canvas& c, RectF r, const Shell& s) {
  const float radius = 10;
  c.FillRoundRect(RectF{r.x + 2, r.y + 3, r.width, r.height}, radius, radius, Brush::SolidColor(0x50000000));
  c.FillRoundRect(r, radius, radius, Brush::Linear({r.x, 0}, {r.x + r.width, 0}, s.sideTop, s.sideBottom));
  c.DrawRoundRect(r, radius, radius, Pen{s.sideEdge, 1.5f, {}});
  c.DrawLine({r.x + 6, r.y + radius * 0.6f}, {r.x + 6, r.y + r.height - radius * 0.6f}, Pen{0x30FFFFFF, 2, {}});
}

void Wheel(Canvas& c, RectF r, ARGB rubber, ARGB rib, ARGB light) {
  const float radius = r.width / 2;
  c.FillRoundRect(RectF{r.x - 4, r.y - 4, r.width + 8, r.height + 8}, radius + 4, radius + 4,
                  Brush::SolidColor(0xFF08090B));
  c.FillRoundRect(r, radius, radius, Brush::Linear({r.x, 0}, {r.x + r.width, 0}, rubber, Mix(rubber, 0xFF000000, 0.5f)));
  for (float y = r.y + 6; y < r.y + r.height - 4; y += 5)
    c.DrawLine({r.x + 3, y}, {r.x + r.width - 3, y}, Pen{rib, 1.2f, {}});
  if (light) c.DrawRoundRect(RectF{r.x - 2, r.y - 2, r.width + 4, r.height + 4}, radius + 2, radius + 2, Pen{light, 1.5f, {}});
}

void DpiButton(Canvas& c, RectF r, ARGB fill, ARGB edge) {
  c.FillRoundRect(r, 4, 4, Brush::SolidColor(fill));
  c.DrawRoundRect(r, 4, 4, Pen{edge, 1.2f, {}});
  for (int i = 0; i < 3; ++i)
    c.FillEllipse(RectF{r.x + r.width / 2 - 1.5f, r.y + 6 + i * 6.0f, 3, 3}, Brush::SolidColor(edge));
}

// The product mark: two chevrons, as in the logo.
void Mark(Canvas& c, float cx, float y, float size, ARGB back, ARGB front) {
  for (int i = 0; i < 2; ++i) {
    const float x = cx - size * 0.9f + float(i) * size * 0.6f;
    Path m;
    m.MoveTo(x, y - size / 2);
    m.LineTo(x + size * 0.5f, y);
    m.LineTo(x, y + size / 2);
    m.LineTo(x + size * 0.25f, y + size / 2);
    m.LineTo(x + size * 0.75f, y);
    m.LineTo(x + size * 0.25f, y - size / 2);
    m.Close();
    c.FillPath(m, Brush::SolidColor(i == 0 ? back : front));
  }
}

// --- 2. Veyra Air ----------------------------------------------------------------------------
void DrawAir(Canvas& c) {
  const Outline outline = MakeOutline({150, 18}, {
      {PointF{215, 18}, PointF{258, 60}, PointF{262, 140}},
      {PointF{266, 230}, PointF{268, 330}, PointF{240, 380}},
      {PointF{215, 410}, PointF{85, 410}, PointF{60, 380}},
      {PointF{32, 330}, PointF{34, 230}, PointF{38, 140}},
      {PointF{42, 60}, PointF{85, 18}, PointF{150, 18}},
  });
  const Shell shell{0xFF343945, 0xFF181B20, 0xFF56606E, 0xFF0A0B0D, 0xFF3C424E,
                    0xFF4A515E, 0xFF2A2E36, 0xFF6A7280};
  SoftShadow(c, 150, 400, 170);
  Body(c, outline, shell, 150, 176);

  // Honeycomb perforation over the palm: the shell is light, the inside dark.
  const Path body = outline.ToPath();
  c.Save();
  c.ClipPath(body);
  const float r = 6.5f;
  for (int row = 0; row < 14; ++row) {
    const float y = 204 + float(row) * r * 1.5f;
    for (int col = 0; col < 20; ++col) {
      const float x = 40 + float(col) * r * 1.75f + (row % 2 ? r * 0.87f : 0);
      // Keep a solid rim and a solid spine for the DPI button and the mark.
      if (std::abs(x - 150) < 26 || y > 372) continue;
      Path hex;
      for (int k = 0; k < 6; ++k) {
        const double a = (60.0 * k + 30) * 3.14159265358979 / 180;
        const float hx = x + float(std::cos(a)) * (r - 2), hy = y + float(std::sin(a)) * (r - 2);
        if (k == 0) hex.MoveTo(hx, hy);
        else hex.LineTo(hx, hy);
      }
      hex.Close();
      c.FillPath(hex, Brush::SolidColor(0xFF0B0C0F));
    }
  }
  c.Restore();
  // The RGB ring along the tail.
  const std::vector<ARGB> rainbow = {0xFFFA373E, 0xFFFFB02E, 0xFF3DDC84, 0xFF2EC5FF, 0xFF7A5CFF, 0xFFFF4FD8};
  c.Save();
  c.ClipPath(body);
  ColourRunStroke(c, outline.parts[2], rainbow, 9);
  c.Restore();
  c.DrawPath(body, Pen{shell.edge, 2, {}});

  for (float y : {160.0f, 220.0f, 280.0f, 340.0f}) SideButton(c, RectF{6, y - 24, 38, 48}, shell);
  Wheel(c, RectF{140, 104, 20, 68}, 0xFF3A3F48, 0xFF1B1E23, 0xB0FA373E);
  DpiButton(c, RectF{141, 186, 18, 28}, 0xFF262A31, 0xFF8A93A3);
  Mark(c, 152, 388, 14, 0xFF56606E, 0xFFB8BDC6);
}

// --- 3. Veyra Core -----------------------------------------------------------------------------
void DrawCore(Canvas& c) {
  // Right-handed: a thumb rest flares out on the left at the back.
  const Outline outline = MakeOutline({160, 22}, {
      {PointF{222, 22}, PointF{256, 70}, PointF{258, 150}},
      {PointF{258, 240}, PointF{252, 330}, PointF{228, 376}},
      {PointF{204, 410}, PointF{100, 412}, PointF{66, 388}},
      {PointF{36, 366}, PointF{12, 322}, PointF{20, 272}},
      {PointF{28, 226}, PointF{52, 204}, PointF{48, 160}},
      {PointF{44, 80}, PointF{90, 22}, PointF{160, 22}},
  });
  const Shell shell{0xFF2A2C30, 0xFF141517, 0xFF474A50, 0xFF08090A, 0xFF303337,
                    0xFF3A3D43, 0xFF232529, 0xFF5A5E66};
  SoftShadow(c, 160, 402, 160);
  Body(c, outline, shell, 150, 186);
  const Path body = outline.ToPath();
  // Rubber grip along both flanks: fine diagonal ribs, and the thumb rest
  // in a shade of its own.
  c.Save();
  c.ClipPath(body);
  c.FillEllipse(RectF{-40, 250, 110, 150}, Brush::SolidColor(0xFF1B1C1F));
  for (float y = 196; y < 384; y += 6) {
    c.DrawLine({10, y + 6}, {62, y - 14}, Pen{0xFF35383D, 1.3f, {}});
    c.DrawLine({226, y - 14}, {270, y + 4}, Pen{0xFF35383D, 1.3f, {}});
  }
  c.Restore();
  c.DrawPath(body, Pen{shell.edge, 2, {}});
  for (float y : {230.0f, 290.0f}) SideButton(c, RectF{4, y - 26, 40, 52}, shell);
  Wheel(c, RectF{140, 114, 20, 68}, 0xFF44474D, 0xFF202226, 0);
  DpiButton(c, RectF{141, 196, 18, 28}, 0xFF202226, 0xFF7A7E86);
  Mark(c, 152, 330, 22, 0xFF303337, 0xFF4A4D53);
}

// --- 4. Veyra Swift 8K -------------------------------------------------------------------------
void DrawSwift(Canvas& c) {
  const Outline outline = MakeOutline({150, 16}, {
      {PointF{205, 16}, PointF{246, 48}, PointF{256, 120}},
      {PointF{264, 190}, PointF{262, 300}, PointF{246, 360}},
      {PointF{232, 404}, PointF{68, 404}, PointF{54, 360}},
      {PointF{38, 300}, PointF{36, 190}, PointF{44, 120}},
      {PointF{54, 48}, PointF{95, 16}, PointF{150, 16}},
  });
  const Shell shell{0xFFE4E7EB, 0xFFA7ADB6, 0xFF7D848F, 0xFF5C636D, 0xFFF2F4F6,
                    0xFF3A3F48, 0xFF1E2125, 0xFF8A919C};
  SoftShadow(c, 150, 398, 180);
  Body(c, outline, shell, 150, 166);
  const Path body = outline.ToPath();
  c.Save();
  c.ClipPath(body);
  // Angular side panels and two red racing lines beside the wheel.
  Path leftPanel;
  leftPanel.MoveTo(30, 200);
  leftPanel.LineTo(92, 250);
  leftPanel.LineTo(84, 380);
  leftPanel.LineTo(30, 390);
  leftPanel.Close();
  Path rightPanel;
  rightPanel.MoveTo(270, 200);
  rightPanel.LineTo(208, 250);
  rightPanel.LineTo(216, 380);
  rightPanel.LineTo(270, 390);
  rightPanel.Close();
  c.FillPath(leftPanel, Brush::SolidColor(0xFF2A2E35));
  c.FillPath(rightPanel, Brush::SolidColor(0xFF2A2E35));
  c.DrawLine({128, 30}, {128, 160}, Pen{color::kAccent, 3, {}});
  c.DrawLine({172, 30}, {172, 160}, Pen{color::kAccent, 3, {}});
  c.Restore();
  c.DrawPath(body, Pen{shell.edge, 2, {}});
  for (float y : {215.0f, 275.0f}) SideButton(c, RectF{5, y - 24, 40, 48}, shell);
  Wheel(c, RectF{140, 100, 20, 66}, 0xFF2A2E35, 0xFF111315, 0);
  DpiButton(c, RectF{141, 182, 18, 28}, 0xFF2A2E35, color::kAccentLight);
  FontSpec f;
  f.family = L"Open Sans";
  f.weight = 700;
  f.pixelSize = 30;
  c.DrawText(L"8K", RectF{100, 290, 100, 44}, f, 0xFF2A2E35, TextFormat{HAlign::Center, VAlign::Center});
  c.FillRoundRect(RectF{130, 342, 40, 4}, 2, 2, Brush::SolidColor(color::kAccent));
}

// --- 5. Writing both sizes ---------------------------------------------------------------------
void Model(SkinPainter& p, const std::string& attr, void (*draw)(Canvas&)) {
  Bitmap full(kPictureWidth, kPictureHeight);
  {
    Canvas c(full);
    draw(c);
  }
  p.Single("device/" + attr + "_key.png", kPictureWidth, kPictureHeight,
           [&](Canvas& c, RectF) { c.DrawBitmap(full, 0, 0); });
  // The device list shows the model smaller, on its card.
  p.Single("device/" + attr + ".png", kPictureWidth * 2 / 3, kPictureHeight * 2 / 3, [&](Canvas& c, RectF r) {
    c.DrawBitmap(full, r, RECT{0, 0, kPictureWidth, kPictureHeight});
  });
}

void DrawPictures(SkinPainter& p) {
  Model(p, "veyra_air", DrawAir);
  Model(p, "veyra_core", DrawCore);
  Model(p, "veyra_swift8k", DrawSwift);
}

}  // namespace

REGISTER_SKIN_GROUP("device_pictures", DrawPictures)
