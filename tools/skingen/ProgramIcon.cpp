#include "ProgramIcon.h"

// Index
//   1. Geometry (64-unit box)
//   2. Raster drawing
//   3. SVG
//   4. Icon theme

#include <cstdio>
#include <fstream>

#include "SkinPainter.h"

namespace skin {

using platform::ARGB;
using platform::Bitmap;
using platform::Brush;
using platform::Canvas;
using platform::Path;
using platform::Pen;
using platform::RectF;

namespace {

// --- 1. Geometry (64-unit box) -------------------------------------------------------------
// The logo's double chevron on a dark tile with an accent rim.
constexpr float kTile = 2, kTileSize = 60, kTileRadius = 14;
constexpr ARGB kTileTop = 0xFF262A31, kTileBottom = 0xFF0F1114;
constexpr float kRimInset = 0.75f, kRimRadius = 13, kRimWidth = 1.5f;
constexpr ARGB kRim = 0xC0FA373E;

struct Point {
  float x, y;
};

// One chevron: six corners, the second one 14 units to the right.
constexpr int kChevrons = 2;
constexpr float kChevronStep = 14;
constexpr Point kChevron[] = {{15, 16}, {31, 32}, {15, 48}, {23, 48}, {39, 32}, {23, 16}};
constexpr ARGB kChevronColour[kChevrons] = {color::kAccentDark, color::kAccent};

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace

std::span<const int> ProgramIconSizes() { return kSizes; }

// --- 2. Raster drawing ------------------------------------------------------------------------
void DrawProgramIcon(Canvas& c, float size) {
  const float s = size / 64;
  const RectF tile{kTile * s, kTile * s, kTileSize * s, kTileSize * s};
  c.FillRoundRect(tile, kTileRadius * s, kTileRadius * s,
                  Brush::Linear({0, kTile * s}, {0, (kTile + kTileSize) * s}, kTileTop, kTileBottom));
  const float rim = (kTile + kRimInset) * s;
  const float rimSize = (kTileSize - 2 * kRimInset) * s;
  c.DrawRoundRect(RectF{rim, rim, rimSize, rimSize}, kRimRadius * s, kRimRadius * s, Pen{kRim, kRimWidth * s, {}});
  for (int i = 0; i < kChevrons; ++i) {
    Path m;
    for (const Point& p : kChevron) {
      const float x = (p.x + float(i) * kChevronStep) * s;
      const float y = p.y * s;
      if (m.IsEmpty())
        m.MoveTo(x, y);
      else
        m.LineTo(x, y);
    }
    m.Close();
    c.FillPath(m, Brush::SolidColor(kChevronColour[i]));
  }
}

// --- 3. SVG -------------------------------------------------------------------------------------
namespace {

std::string Hex(ARGB colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

std::string Number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
  return text;
}

std::string Opacity(ARGB colour) { return Number(float((colour >> 24) & 0xFF) / 255.0f); }

}  // namespace

std::string ProgramIconSvg() {
  std::string svg;
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n";
  svg += "  <defs>\n    <linearGradient id=\"tile\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" + Number(kTile) +
         "\" x2=\"0\" y2=\"" + Number(kTile + kTileSize) + "\">\n";
  svg += "      <stop offset=\"0\" stop-color=\"" + Hex(kTileTop) + "\"/>\n";
  svg += "      <stop offset=\"1\" stop-color=\"" + Hex(kTileBottom) + "\"/>\n    </linearGradient>\n  </defs>\n";
  svg += "  <rect x=\"" + Number(kTile) + "\" y=\"" + Number(kTile) + "\" width=\"" + Number(kTileSize) +
         "\" height=\"" + Number(kTileSize) + "\" rx=\"" + Number(kTileRadius) + "\" fill=\"url(#tile)\"/>\n";
  svg += "  <rect x=\"" + Number(kTile + kRimInset) + "\" y=\"" + Number(kTile + kRimInset) + "\" width=\"" +
         Number(kTileSize - 2 * kRimInset) + "\" height=\"" + Number(kTileSize - 2 * kRimInset) + "\" rx=\"" +
         Number(kRimRadius) + "\" fill=\"none\" stroke=\"" + Hex(kRim) + "\" stroke-opacity=\"" + Opacity(kRim) +
         "\" stroke-width=\"" + Number(kRimWidth) + "\"/>\n";
  for (int i = 0; i < kChevrons; ++i) {
    std::string points;
    for (const Point& p : kChevron) {
      if (!points.empty()) points += ' ';
      points += Number(p.x + float(i) * kChevronStep) + "," + Number(p.y);
    }
    svg += "  <polygon points=\"" + points + "\" fill=\"" + Hex(kChevronColour[i]) + "\"/>\n";
  }
  svg += "</svg>\n";
  return svg;
}

// --- 4. Icon theme ------------------------------------------------------------------------------
bool WriteProgramIconTheme(const std::filesystem::path& folder, const std::string& name) {
  bool ok = true;
  std::error_code ec;
  for (const int size : kSizes) {
    const std::string box = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path file = folder / "hicolor" / box / "apps" / (name + ".png");
    std::filesystem::create_directories(file.parent_path(), ec);
    Bitmap icon(size, size);
    {
      Canvas c(icon);
      DrawProgramIcon(c, float(size));
    }
    if (!icon.SavePng(file)) {
      std::fprintf(stderr, "skingen: cannot write %s\n", file.string().c_str());
      ok = false;
    }
  }
  const std::filesystem::path svg = folder / "hicolor" / "scalable" / "apps" / (name + ".svg");
  std::filesystem::create_directories(svg.parent_path(), ec);
  std::ofstream out(svg, std::ios::binary | std::ios::trunc);
  out << ProgramIconSvg();
  out.close();
  if (!out) {
    std::fprintf(stderr, "skingen: cannot write %s\n", svg.string().c_str());
    ok = false;
  }
  return ok;
}

}  // namespace skin
