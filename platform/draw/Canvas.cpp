// Canvas on Cairo.
//
// Index
//   1. Paths
//   2. Canvas state and clipping
//   3. Fills and strokes
//   4. Blits
//   5. Text

#include "platform/draw/Canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/draw/TextEngine.h"

namespace platform {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

void SetSourceArgb(cairo_t* cr, ARGB c) {
  cairo_set_source_rgba(cr, ArgbR(c) / 255.0, ArgbG(c) / 255.0, ArgbB(c) / 255.0, ArgbA(c) / 255.0);
}

void SetSourceBrush(cairo_t* cr, const Brush& b) {
  if (b.kind == Brush::Kind::Solid) {
    SetSourceArgb(cr, b.color);
    return;
  }
  cairo_pattern_t* p = cairo_pattern_create_linear(b.from.x, b.from.y, b.to.x, b.to.y);
  auto stop = [p](double at, ARGB c) {
    cairo_pattern_add_color_stop_rgba(p, at, ArgbR(c) / 255.0, ArgbG(c) / 255.0, ArgbB(c) / 255.0,
                                      ArgbA(c) / 255.0);
  };
  stop(0, b.color);
  stop(1, b.color2);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void SetPen(cairo_t* cr, const Pen& pen) {
  SetSourceArgb(cr, pen.color);
  cairo_set_line_width(cr, std::max(0.01f, pen.width));
  if (pen.dashes.empty()) {
    cairo_set_dash(cr, nullptr, 0, 0);
  } else {
    std::vector<double> d(pen.dashes.begin(), pen.dashes.end());
    cairo_set_dash(cr, d.data(), int(d.size()), 0);
  }
}

void AppendArc(cairo_t* cr, float x, float y, float w, float h, float start, float sweep) {
  double a0 = start * kDeg;
  double a1 = (start + sweep) * kDeg;
  double cx = x + w / 2.0, cy = y + h / 2.0;
  if (w <= 0 || h <= 0) {
    // A degenerate ellipse: Cairo cannot scale by zero, so draw its chord.
    double rx = std::max(0.0f, w) / 2.0, ry = std::max(0.0f, h) / 2.0;
    cairo_line_to(cr, cx + rx * std::cos(a0), cy + ry * std::sin(a0));
    cairo_line_to(cr, cx + rx * std::cos(a1), cy + ry * std::sin(a1));
    return;
  }
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, w / 2.0, h / 2.0);
  if (sweep >= 0)
    cairo_arc(cr, 0, 0, 1, a0, a1);
  else
    cairo_arc_negative(cr, 0, 0, 1, a0, a1);
  cairo_restore(cr);
}

void AppendPath(cairo_t* cr, const Path& path) {
  cairo_new_path(cr);
  for (const Path::Op& op : path.Ops()) {
    const float* v = op.v;
    switch (op.kind) {
      case Path::Op::Move: cairo_move_to(cr, v[0], v[1]); break;
      case Path::Op::Line: cairo_line_to(cr, v[0], v[1]); break;
      case Path::Op::Curve: cairo_curve_to(cr, v[0], v[1], v[2], v[3], v[4], v[5]); break;
      case Path::Op::Arc: AppendArc(cr, v[0], v[1], v[2], v[3], v[4], v[5]); break;
      case Path::Op::ClosePath: cairo_close_path(cr); break;
    }
  }
}

}  // namespace

// --- 1. Paths ---------------------------------------------------------------------
void Path::MoveTo(float x, float y) { ops_.push_back({Op::Move, {x, y}}); }
void Path::LineTo(float x, float y) { ops_.push_back({Op::Line, {x, y}}); }
void Path::CurveTo(float x1, float y1, float x2, float y2, float x3, float y3) {
  ops_.push_back({Op::Curve, {x1, y1, x2, y2, x3, y3}});
}
void Path::ArcTo(const RectF& box, float start, float sweep) {
  ops_.push_back({Op::Arc, {box.x, box.y, box.width, box.height, start, sweep}});
}
void Path::Close() { ops_.push_back({Op::ClosePath, {}}); }

void Path::AddRect(const RectF& r) {
  MoveTo(r.x, r.y);
  LineTo(r.x + r.width, r.y);
  LineTo(r.x + r.width, r.y + r.height);
  LineTo(r.x, r.y + r.height);
  Close();
}

void Path::AddEllipse(const RectF& r) {
  ops_.push_back({Op::Move, {r.x + r.width, r.y + r.height / 2}});
  ArcTo(r, 0, 360);
  Close();
}

void Path::AddRoundRect(const RectF& r, float rx, float ry) {
  rx = std::clamp(rx, 0.0f, r.width / 2);
  ry = std::clamp(ry, 0.0f, r.height / 2);
  if (rx <= 0 || ry <= 0) {
    AddRect(r);
    return;
  }
  float right = r.x + r.width, bottom = r.y + r.height;
  MoveTo(r.x + rx, r.y);
  LineTo(right - rx, r.y);
  ArcTo({right - 2 * rx, r.y, 2 * rx, 2 * ry}, 270, 90);
  LineTo(right, bottom - ry);
  ArcTo({right - 2 * rx, bottom - 2 * ry, 2 * rx, 2 * ry}, 0, 90);
  LineTo(r.x + rx, bottom);
  ArcTo({r.x, bottom - 2 * ry, 2 * rx, 2 * ry}, 90, 90);
  LineTo(r.x, r.y + ry);
  ArcTo({r.x, r.y, 2 * rx, 2 * ry}, 180, 90);
  Close();
}

// --- 2. Canvas state and clipping ----------------------------------------------------
struct Canvas::Impl {
  cairo_t* cr = nullptr;
};

Canvas::Canvas(Bitmap& target) : target_(target), impl_(std::make_unique<Impl>()) {
  if (target.IsEmpty()) {
    // Drawing on an empty bitmap does nothing; a 1x1 scratch surface keeps
    // every call valid.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    impl_->cr = cairo_create(s);
    cairo_surface_destroy(s);
    cairo_rectangle(impl_->cr, 0, 0, 0, 0);
    cairo_clip(impl_->cr);
  } else {
    auto* surface = static_cast<cairo_surface_t*>(target.NativeSurface());
    cairo_surface_mark_dirty(surface);
    impl_->cr = cairo_create(surface);
  }
}

Canvas::~Canvas() {
  cairo_surface_t* s = cairo_get_target(impl_->cr);
  cairo_destroy(impl_->cr);
  cairo_surface_flush(s);
}

void Canvas::Save() { cairo_save(impl_->cr); }
void Canvas::Restore() { cairo_restore(impl_->cr); }
void Canvas::Translate(float dx, float dy) { cairo_translate(impl_->cr, dx, dy); }

void Canvas::ClipRect(const RECT& r) {
  cairo_new_path(impl_->cr);
  cairo_rectangle(impl_->cr, r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
  cairo_clip(impl_->cr);
}

void Canvas::ClipRect(const RectF& r) {
  cairo_new_path(impl_->cr);
  cairo_rectangle(impl_->cr, r.x, r.y, std::max(0.0f, r.width), std::max(0.0f, r.height));
  cairo_clip(impl_->cr);
}

void Canvas::ClipPath(const Path& p) {
  AppendPath(impl_->cr, p);
  cairo_clip(impl_->cr);
}

void Canvas::ResetClip() { cairo_reset_clip(impl_->cr); }

void Canvas::SetBlend(Blend b) {
  cairo_set_operator(impl_->cr, b == Blend::Copy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
}

void Canvas::SetAntialias(bool on) {
  cairo_set_antialias(impl_->cr, on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

// --- 3. Fills and strokes ----------------------------------------------------------------
void Canvas::Clear(ARGB color) {
  cairo_t* cr = impl_->cr;
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  SetSourceArgb(cr, color);
  cairo_paint(cr);
  cairo_restore(cr);
}

void Canvas::FillRect(const RECT& r, ARGB color) {
  if (IsRectEmpty(r)) return;
  cairo_t* cr = impl_->cr;
  cairo_new_path(cr);
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  SetSourceArgb(cr, color);
  cairo_fill(cr);
}

void Canvas::FillRect(const RectF& r, const Brush& brush) {
  if (r.width <= 0 || r.height <= 0) return;
  cairo_t* cr = impl_->cr;
  cairo_new_path(cr);
  cairo_rectangle(cr, r.x, r.y, r.width, r.height);
  SetSourceBrush(cr, brush);
  cairo_fill(cr);
}

void Canvas::FillRoundRect(const RectF& r, float rx, float ry, const Brush& brush) {
  Path p;
  p.AddRoundRect(r, rx, ry);
  FillPath(p, brush);
}

void Canvas::FillEllipse(const RectF& r, const Brush& brush) {
  Path p;
  p.AddEllipse(r);
  FillPath(p, brush);
}

void Canvas::FillPath(const Path& p, const Brush& brush) {
  AppendPath(impl_->cr, p);
  SetSourceBrush(impl_->cr, brush);
  cairo_fill(impl_->cr);
}

void Canvas::DrawLine(PointF a, PointF b, const Pen& pen) {
  cairo_t* cr = impl_->cr;
  cairo_new_path(cr);
  cairo_move_to(cr, a.x, a.y);
  cairo_line_to(cr, b.x, b.y);
  SetPen(cr, pen);
  cairo_stroke(cr);
}

void Canvas::DrawRect(const RectF& r, const Pen& pen) {
  Path p;
  p.AddRect(r);
  DrawPath(p, pen);
}

void Canvas::DrawRoundRect(const RectF& r, float rx, float ry, const Pen& pen) {
  Path p;
  p.AddRoundRect(r, rx, ry);
  DrawPath(p, pen);
}

void Canvas::DrawEllipse(const RectF& r, const Pen& pen) {
  Path p;
  p.AddEllipse(r);
  DrawPath(p, pen);
}

void Canvas::DrawPath(const Path& p, const Pen& pen) {
  AppendPath(impl_->cr, p);
  SetPen(impl_->cr, pen);
  cairo_stroke(impl_->cr);
}

// --- 4. Blits ------------------------------------------------------------------------------
void Canvas::DrawBitmap(const Bitmap& src, const RectF& dst, const RECT& srcArea, BYTE alpha,
                        Filter filter) {
  if (src.IsEmpty() || alpha == 0 || dst.width <= 0 || dst.height <= 0) return;
  if (IsRectEmpty(srcArea)) return;
  RECT s = IntersectRect(srcArea, RECT{0, 0, src.Width(), src.Height()});
  if (IsRectEmpty(s)) return;
  cairo_t* cr = impl_->cr;
  auto* whole = static_cast<cairo_surface_t*>(src.NativeSurface());
  cairo_surface_mark_dirty(whole);
  // A sub-surface with padded edges keeps a stretched part from sampling its
  // neighbours in the strip (the seams of nine-grids and state frames).
  cairo_surface_t* part =
      cairo_surface_create_for_rectangle(whole, s.left, s.top, s.right - s.left, s.bottom - s.top);
  double sx = dst.width / double(s.right - s.left);
  double sy = dst.height / double(s.bottom - s.top);
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, dst.x, dst.y, dst.width, dst.height);
  cairo_clip(cr);
  cairo_translate(cr, dst.x, dst.y);
  cairo_scale(cr, sx, sy);
  cairo_set_source_surface(cr, part, 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(cr);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  bool exact = sx == 1.0 && sy == 1.0 && dst.x == std::floor(dst.x) && dst.y == std::floor(dst.y);
  cairo_pattern_set_filter(pattern, (exact || filter == Filter::Nearest) ? CAIRO_FILTER_NEAREST
                                                                        : CAIRO_FILTER_BILINEAR);
  if (alpha == 255)
    cairo_paint(cr);
  else
    cairo_paint_with_alpha(cr, alpha / 255.0);
  cairo_restore(cr);
  cairo_surface_destroy(part);
}

void Canvas::DrawBitmap(const Bitmap& src, int x, int y, BYTE alpha) {
  DrawBitmap(src, RectF{float(x), float(y), float(src.Width()), float(src.Height())},
             RECT{0, 0, src.Width(), src.Height()}, alpha, Filter::Nearest);
}

// --- 5. Text -----------------------------------------------------------------------------------
void Canvas::DrawText(std::wstring_view text, const RectF& box, const FontSpec& font, ARGB color,
                      const TextFormat& format) {
  if (text.empty() || ArgbA(color) == 0) return;
  PangoAlignment align = format.hAlign == HAlign::Center  ? PANGO_ALIGN_CENTER
                         : format.hAlign == HAlign::Right ? PANGO_ALIGN_RIGHT
                                                          : PANGO_ALIGN_LEFT;
  bool bounded = box.width > 0 && (format.wrap || format.ellipsis);
  PangoLayout* layout = text::GetLayout(text, font, box.width, format.wrap, format.ellipsis, align);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  double w = double(logical.width) / PANGO_SCALE;
  double h = double(logical.height) / PANGO_SCALE;
  double x = box.x;
  if (!bounded) {
    // Unbounded layouts are aligned here; bounded ones align inside the box.
    if (format.hAlign == HAlign::Center) x += (box.width - w) / 2;
    else if (format.hAlign == HAlign::Right) x += box.width - w;
  }
  double y = box.y;
  if (format.vAlign == VAlign::Center) y += (box.height - h) / 2;
  else if (format.vAlign == VAlign::Bottom) y += box.height - h;
  cairo_t* cr = impl_->cr;
  cairo_new_path(cr);
  cairo_move_to(cr, x, y);
  SetSourceArgb(cr, color);
  pango_cairo_show_layout(cr, layout);
  cairo_new_path(cr);
}

}  // namespace platform
