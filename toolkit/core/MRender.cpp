#include "toolkit/core/MRender.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "toolkit/core/Manager.h"

namespace DUI {

namespace {

std::filesystem::path ToPath(const CString& path) { return std::filesystem::path(platform::ToUtf8(path)); }

platform::TextFormat FormatFromFlags(UINT format) {
  platform::TextFormat f;
  f.hAlign = (format & DT_RIGHT) ? platform::HAlign::Right
             : (format & DT_CENTER) ? platform::HAlign::Center
                                    : platform::HAlign::Left;
  f.vAlign = (format & DT_BOTTOM) ? platform::VAlign::Bottom
             : (format & DT_VCENTER) ? platform::VAlign::Center
                                     : platform::VAlign::Top;
  f.wrap = (format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0;
  f.ellipsis = (format & (DT_WORD_ELLIPSIS | DT_END_ELLIPSIS)) != 0;
  return f;
}

// Draws part of a bitmap into a destination rectangle; sizes that are zero
// or negative draw nothing (a nine-grid smaller than its corners).
void Part(platform::Canvas& canvas, const platform::Bitmap& bmp, int dx, int dy, int dw, int dh, int sx, int sy,
          int sw, int sh, BYTE alpha = 255) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  canvas.DrawBitmap(bmp, platform::RectF{float(dx), float(dy), float(dw), float(dh)}, RECT{sx, sy, sx + sw, sy + sh},
                    alpha);
}

}  // namespace

// --- 1. Images -------------------------------------------------------------------------

Image* MRender::LoadImageFromFile(CString path) {
  if (path.empty()) return nullptr;
  return platform::Image::Load(ToPath(path)).release();
}

Image* MRender::LoadImageFromFileEx(CString path, int width, int height) {
  std::unique_ptr<Image> full(LoadImageFromFile(path));
  if (!full) return nullptr;
  if (width == 0 && height == 0) {
    width = full->Width();
    height = full->Height();
  }
  return full->Thumbnail(width, height).release();
}

CString MRender::GetResourcePath(UINT id, CString type) {
  for (auto& c : type) c = static_cast<wchar_t>(std::towlower(c));
  const auto folder = Manager::GetProgramFolder() / "resources";
  return platform::FromUtf8((folder / (std::to_string(id) + "." + platform::ToUtf8(type))).string());
}

Image* MRender::LoadImageFromIDResource(UINT id, CString type, void*) {
  return LoadImageFromFile(GetResourcePath(id, type));
}

HICON MRender::LoadIconFromFile(CString path) { return LoadImageFromFile(path); }

CString MRender::GetSkinFolder() {
  const auto folder = Manager::GetProgramFolder() / "skins" / platform::ToUtf8(Manager::GetTheme());
  CString s = platform::FromUtf8(folder.string());
  if (s.empty() || s.back() != L'/') s += L'/';
  return s;
}

CString MRender::GetSkinFile(const CString& name) {
  // Split at both separators and rebuild with '/': the pages write many
  // skin names with backslashes, a few with doubled separators.
  CString relative;
  CString step;
  bool endsWithSeparator = false;
  const auto flush = [&]() -> bool {
    if (step == L"..") return false;
    if (!step.empty() && step != L".") {
      if (!relative.empty()) relative += L'/';
      relative += step;
    }
    step.clear();
    return true;
  };
  for (const wchar_t ch : name) {
    if (ch == L'\\' || ch == L'/') {
      if (!flush()) return CString();
      endsWithSeparator = true;
    } else if (ch == L'\0') {
      return CString();
    } else {
      step += ch;
      endsWithSeparator = false;
    }
  }
  if (!flush()) return CString();
  if (relative.empty() || endsWithSeparator) return CString();
  return GetSkinFolder() + relative;
}

Image* MRender::LoadSkinImage(const CString& name) { return LoadImageFromFile(GetSkinFile(name)); }

// --- 2. Drawing targets and copies ----------------------------------------------------------

HDC MRender::CreateARGB32Bitmap(HDC, int width, int height, BYTE** bits) {
  HDC dc = new MDC(width, height);
  if (bits != nullptr) *bits = reinterpret_cast<BYTE*>(dc->Bitmap().Pixels());
  return dc;
}

HDC MRender::CreateCompatibleDC(HDC, int width, int height) { return new MDC(width, height); }

void MRender::DeleteDC(HDC& dc) {
  delete dc;
  dc = nullptr;
}

void MRender::BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy) {
  if (dst == nullptr || src == nullptr || cx <= 0 || cy <= 0) return;
  const POINT d = dst->Origin(), o = src->Origin();
  sx -= o.x;
  sy -= o.y;
  dst->Bitmap().CopyFrom(src->Bitmap(), x - d.x, y - d.y, RECT{sx, sy, sx + cx, sy + cy});
}

void MRender::AlphaBlend(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, int sw, int sh,
                         BYTE alpha) {
  if (dst == nullptr || src == nullptr) return;
  Part(dst->Canvas(), src->Bitmap(), x, y, cx, cy, sx - src->Origin().x, sy - src->Origin().y, sw, sh, alpha);
}

// --- 3. Fills, text and colours -----------------------------------------------------------------

void MRender::FillSolidRect(HDC& dc, const RECT* rect, COLORREF colour) {
  if (dc == nullptr || rect == nullptr) return;
  CRect r(*rect);
  r.OffsetRect(-dc->Origin().x, -dc->Origin().y);
  dc->Bitmap().FillRaw(r, platform::Premultiply(ToARGB(colour)));
}

void MRender::FillSolidRect(HDC& dc, int x, int y, int cx, int cy, COLORREF colour) {
  const RECT r{x, y, x + cx, y + cy};
  FillSolidRect(dc, &r, colour);
}

void MRender::FillRectRaw(HDC dc, const RECT& rect, Color colour) {
  if (dc == nullptr) return;
  CRect r(rect);
  r.OffsetRect(-dc->Origin().x, -dc->Origin().y);
  dc->Bitmap().FillRaw(r, platform::Premultiply(colour.GetValue()));
}

int MRender::DrawTextW(HDC dc, CRect& rect, const wchar_t* text, COLORREF colour, HFONT font, UINT format) {
  return DrawTextARGB(dc, rect, text, Color::FromCOLORREF(colour), font, format);
}

int MRender::DrawTextARGB(HDC dc, CRect& rect, const wchar_t* text, Color colour, HFONT font, UINT format) {
  if (text == nullptr) return 0;
  const platform::FontSpec fontSpec = font != nullptr ? *font : platform::FontSpec{};
  const bool single = (format & DT_SINGLELINE) != 0 || (format & DT_WORDBREAK) == 0;
  const platform::SizeF size =
      platform::MeasureText(text, fontSpec, single ? 0.0f : float(std::max(rect.Width(), 1)));
  const int height = int(std::ceil(size.height));
  if (format & DT_CALCRECT) {
    rect.bottom = rect.top + height;
    if (single) rect.right = rect.left + int(std::ceil(size.width));
    return height;
  }
  if (dc == nullptr) return height;
  const platform::RectF box{float(rect.left), float(rect.top), float(rect.Width()), float(rect.Height())};
  dc->Canvas().DrawText(text, box, fontSpec, colour.GetValue(), FormatFromFlags(format));
  return height;
}

void MRender::CheckAlphaColor(COLORREF& colour) {
  if ((colour & 0x00FFFFFF) == 0) colour = 0x000001;
}

ARGB MRender::ToARGB(COLORREF colour, BYTE alpha) { return platform::ColorRefToArgb(colour, alpha); }

// --- 4. Nine-grids and transitions ----------------------------------------------------------------

void MRender::DrawImageFrame(HDC dc, const Image* image, const CRect& dst, int sx, int sy, int sw, int sh,
                             int corner) {
  DrawImageFrameMID(dc, image, dst, sx, sy, sw, sh, corner, corner, corner, corner);
}

void MRender::DrawImageFrameMID(HDC dc, const Image* image, const CRect& dst, int sx, int sy, int sw, int sh,
                                int l, int t, int r, int b) {
  if (dc == nullptr || image == nullptr) return;
  platform::Canvas& c = dc->Canvas();
  const platform::Bitmap& bmp = image->FrameBitmap(0);
  const int L = dst.left, T = dst.top, R = dst.right, B = dst.bottom;
  // Corners keep their size, edges stretch one way, the centre both ways.
  Part(c, bmp, L, T, l, t, sx, sy, l, t);                                          // top-left
  Part(c, bmp, L, T + t, l, B - T - t - b, sx, sy + t, l, sh - t - b);            // left
  Part(c, bmp, L, B - b, l, b, sx, sy + sh - b, l, b);                            // bottom-left
  Part(c, bmp, L + l, T, R - L - l - r, t, sx + l, sy, sw - l - r, t);            // top
  Part(c, bmp, R - r, T, r, t, sx + sw - r, sy, r, t);                            // top-right
  Part(c, bmp, R - r, T + t, r, B - T - t - b, sx + sw - r, sy + t, r, sh - t - b);  // right
  Part(c, bmp, R - r, B - b, r, b, sx + sw - r, sy + sh - b, r, b);              // bottom-right
  Part(c, bmp, L + l, B - b, R - L - l - r, b, sx + l, sy + sh - b, sw - l - r, b);  // bottom
  Part(c, bmp, L + l, T + t, R - L - l - r, B - T - t - b, sx + l, sy + t, sw - l - r,
       sh - t - b);  // centre
}

void MRender::DrawImage(HDC dc, const Image* image, const CRect& dst, int sx, int sy, int sw, int sh, BYTE alpha) {
  if (dc == nullptr || image == nullptr) return;
  Part(dc->Canvas(), image->FrameBitmap(0), dst.left, dst.top, dst.Width(), dst.Height(), sx, sy, sw, sh, alpha);
}

namespace {

// Shared by both transitions: 'lines' rows or columns, each blended with a
// constant alpha that moves linearly between the two ends.
int Transition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int from, int to, bool vertical) {
  if (dst == nullptr || src == nullptr) return 0;
  const int lines = vertical ? dstRect.Height() : dstRect.Width();
  if (lines <= 0) return 0;
  const int low = std::min(from, to), high = std::max(from, to);
  const double a = 255 - low * 255 / 100;
  const double z = (100 - high) * 255 / 100;
  const double step = (a - z) / lines;
  int alpha = 0;
  platform::Canvas& c = dst->Canvas();
  // The source is addressed in its own coordinates, which its origin shifts.
  CRect srcPx(srcRect);
  srcPx.OffsetRect(-src->Origin().x, -src->Origin().y);
  for (int i = 0; i < lines; ++i) {
    alpha = int(from < to ? a - i * step : z + i * step) & 0xFF;
    if (vertical) {
      Part(c, src->Bitmap(), dstRect.left, dstRect.top + i, dstRect.Width(), 1, srcPx.left, srcPx.top + i,
           srcPx.Width(), 1, BYTE(alpha));
    } else {
      Part(c, src->Bitmap(), dstRect.left + i, dstRect.top, 1, dstRect.Height(), srcPx.left + i, srcPx.top, 1,
           srcPx.Height(), BYTE(alpha));
    }
  }
  return alpha;
}

}  // namespace

int MRender::DrawVerticalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int from,
                                    int to) {
  return Transition(dst, src, dstRect, srcRect, from, to, true);
}

int MRender::DrawHorizontalTransition(HDC& dst, HDC& src, const CRect& dstRect, const CRect& srcRect, int from,
                                      int to) {
  return Transition(dst, src, dstRect, srcRect, from, to, false);
}

// --- 5. Shapes and measuring -------------------------------------------------------------------------

void MRender::DrawRoundRectange(HDC dc, float x, float y, float w, float h, float r, Color pen, float penWidth,
                                bool fill, Color fillColour) {
  if (dc == nullptr || r == 0) return;
  float rx = w / r / 2, ry = h / r / 2;
  if (std::fabs(rx - ry) > 10) rx = ry = std::min(rx, ry);
  // The outline of the GDI+ path: edges joined by quarter arcs.
  platform::Path path;
  path.MoveTo(x + rx, y);
  path.LineTo(x + w - rx, y);
  path.ArcTo({x + w - 2 * rx, y, 2 * rx, 2 * ry}, 270, 90);
  path.LineTo(x + w, y + h - ry);
  path.ArcTo({x + w - 2 * rx, y + h - 2 * ry, 2 * rx, 2 * ry}, 0, 90);
  path.LineTo(x + rx, y + h);
  path.ArcTo({x, y + h - 2 * ry, 2 * rx, 2 * ry}, 90, 90);
  path.LineTo(x, y + ry);
  path.ArcTo({x, y, 2 * rx, 2 * ry}, 180, 90);
  path.Close();
  platform::Canvas& c = dc->Canvas();
  if (fill) c.FillPath(path, platform::Brush::SolidColor(fillColour.GetValue()));
  if (penWidth > 0) c.DrawPath(path, platform::Pen{pen.GetValue(), penWidth, {}});
}

void MRender::DrawRoundRectange(HDC dc, float x, float y, float w, float h, float r, Color pen, float penWidth,
                                Color fillColour) {
  DrawRoundRectange(dc, x, y, w, h, r, pen, penWidth, true, fillColour);
}

void MRender::DrawRoundRectange(HDC dc, float x, float y, float w, float h, float r, Color colour) {
  DrawRoundRectange(dc, x, y, w, h, r, colour, 0, true, colour);
}

void MRender::DrawRectangle(HDC dc, const CRect& rect, Color colour, float penWidth) {
  if (dc == nullptr) return;
  dc->Canvas().DrawRect(platform::RectF::FromRect(rect), platform::Pen{colour.GetValue(), penWidth, {}});
}

void MRender::DrawGradient(HDC dc, const CRect& rect, Color from, Color to, bool vertical) {
  if (dc == nullptr) return;
  const platform::RectF r = platform::RectF::FromRect(rect);
  const platform::PointF end = vertical ? platform::PointF{r.x, r.y + r.height} : platform::PointF{r.x + r.width, r.y};
  dc->Canvas().FillRect(r, platform::Brush::Linear({r.x, r.y}, end, from.GetValue(), to.GetValue()));
}

void MRender::DrawColor(HDC dc, const CRect& rect, Color colour) {
  if (dc == nullptr) return;
  dc->Canvas().FillRect(platform::RectF::FromRect(rect), platform::Brush::SolidColor(colour.GetValue()));
}

CSize MRender::GetTextBounds(const platform::FontSpec& font, const CString& text, int maxWidth) {
  const platform::SizeF size = platform::MeasureText(text, font, float(maxWidth));
  const float line = platform::GetFontMetrics(font).height;
  const int height = int(line) + (line != std::floor(line) ? 4 : 1);
  return CSize(int(std::ceil(size.width)), std::max(height, int(std::ceil(size.height))));
}

CPoint MRender::GetOriginPoint(int width, int height, int cx, int cy, UINT hAlign, UINT vAlign) {
  const int x = hAlign == DT_CENTER ? (width - cx) / 2 : hAlign == DT_RIGHT ? width - cx : 0;
  const int y = vAlign == DT_VCENTER ? (height - cy) / 2 : vAlign == DT_BOTTOM ? height - cy : 0;
  return CPoint(x, y);
}

CPoint MRender::GetOriginPoint(CRect rect, int cx, int cy, UINT hAlign, UINT vAlign) {
  CPoint p = GetOriginPoint(rect.Width(), rect.Height(), cx, cy, hAlign, vAlign);
  p.Offset(rect.left, rect.top);
  return p;
}

bool MRender::SaveBitmapToFile(HDC dc, CString path) {
  return dc != nullptr && dc->Bitmap().SavePng(ToPath(path));
}

}  // namespace DUI
