#pragma once
// Canvas: anti-aliased drawing on a Bitmap (fills, rounded rectangles,
// lines, paths, pens and brushes with alpha, image blits with source
// rectangles and constant alpha, clipping, text).
//
// Index
//   1. Pens, brushes, paths
//   2. Text formats
//   3. Canvas
//
// Colours are straight-alpha ARGB (0xAARRGGBB); the canvas premultiplies
// them. Coordinates are pixels with (0,0) at the top-left corner of the
// bitmap; integer rectangles cover whole pixels. A canvas is used by one
// thread at a time; distinct canvases may draw on distinct threads.

#include <memory>
#include <string_view>
#include <vector>

#include "platform/draw/Bitmap.h"
#include "platform/draw/Font.h"

namespace platform {

// --- 1. Pens, brushes, paths -------------------------------------------------
struct Pen {
  ARGB color = 0xFF000000;
  float width = 1.0f;
  std::vector<float> dashes;  // on/off lengths in pixels; empty = solid
};

struct Brush {
  enum class Kind { Solid, LinearGradient };
  Kind kind = Kind::Solid;
  ARGB color = 0xFF000000;  // Solid; also the start colour of a gradient
  ARGB color2 = 0xFF000000;  // gradient end colour
  PointF from;  // gradient start and end points
  PointF to;

  static Brush SolidColor(ARGB c) { return Brush{Kind::Solid, c, c, {}, {}}; }
  static Brush Linear(PointF from, PointF to, ARGB c1, ARGB c2) {
    return Brush{Kind::LinearGradient, c1, c2, from, to};
  }
};

// A figure list in the shape GDI+ paths use: arcs take the bounding box of
// their ellipse and angles in degrees, clockwise from the x axis.
class Path {
 public:
  void MoveTo(float x, float y);
  void LineTo(float x, float y);
  void CurveTo(float x1, float y1, float x2, float y2, float x3, float y3);
  void ArcTo(const RectF& ellipseBox, float startDegrees, float sweepDegrees);
  void Close();
  void AddRect(const RectF& r);
  void AddEllipse(const RectF& r);
  // A rectangle with elliptic corners of radii rx, ry (clamped to half the size).
  void AddRoundRect(const RectF& r, float rx, float ry);
  bool IsEmpty() const { return ops_.empty(); }

  struct Op {
    enum Kind { Move, Line, Curve, Arc, ClosePath } kind;
    float v[6];
  };
  const std::vector<Op>& Ops() const { return ops_; }

 private:
  std::vector<Op> ops_;
};

// --- 2. Text formats --------------------------------------------------------
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

struct TextFormat {
  TextFormat() = default;
  TextFormat(HAlign h, VAlign v, bool wrapLines = false, bool endEllipsis = false)
      : hAlign(h), vAlign(v), wrap(wrapLines), ellipsis(endEllipsis) {}

  HAlign hAlign = HAlign::Left;
  VAlign vAlign = VAlign::Top;
  bool wrap = false;      // break lines at the box width
  bool ellipsis = false;  // end a text that does not fit with "..."
};

// --- 3. Canvas ----------------------------------------------------------------
class Canvas {
 public:
  enum class Blend { Over, Copy };  // Copy replaces pixels (alpha included)
  enum class Filter { Nearest, Smooth };

  explicit Canvas(Bitmap& target);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Bitmap& Target() { return target_; }

  // State: Save/Restore nest and cover clip, offset, blend and antialias.
  void Save();
  void Restore();
  void Translate(float dx, float dy);
  void ClipRect(const RECT& r);  // intersects with the current clip
  void ClipRect(const RectF& r);
  void ClipPath(const Path& p);
  void ResetClip();
  void SetBlend(Blend b);
  void SetAntialias(bool on);

  // Fills.
  void Clear(ARGB color);  // the whole clip, replacing pixels
  void FillRect(const RECT& r, ARGB color);
  void FillRect(const RectF& r, const Brush& brush);
  void FillRoundRect(const RectF& r, float rx, float ry, const Brush& brush);
  void FillEllipse(const RectF& r, const Brush& brush);
  void FillPath(const Path& p, const Brush& brush);

  // Strokes (a pen of width w centred on the geometry).
  void DrawLine(PointF a, PointF b, const Pen& pen);
  void DrawRect(const RectF& r, const Pen& pen);
  void DrawRoundRect(const RectF& r, float rx, float ry, const Pen& pen);
  void DrawEllipse(const RectF& r, const Pen& pen);
  void DrawPath(const Path& p, const Pen& pen);

  // Blits: srcArea of src scaled into dst, with a constant alpha 0-255.
  // Edges never sample pixels outside srcArea. An empty or negative size on
  // either side draws nothing.
  void DrawBitmap(const Bitmap& src, const RectF& dst, const RECT& srcArea, BYTE alpha = 255,
                  Filter filter = Filter::Smooth);
  void DrawBitmap(const Bitmap& src, int x, int y, BYTE alpha = 255);

  // Text in a box, with the format's alignment, wrapping and ellipsis.
  void DrawText(std::wstring_view text, const RectF& box, const FontSpec& font, ARGB color,
                const TextFormat& format = {});

 private:
  struct Impl;
  Bitmap& target_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
