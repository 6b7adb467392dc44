#include "toolkit/controls/MPalette.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/PaintManager.h"

// Index
//   1. Colour conversions
//   2. Values and geometry
//   3. Input
//   4. Drawing

namespace DUI {

QELT_REGISTER_CONTROL(L"MPalette", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MPalette(p, id, r, v);
})
// The other colour pickers the factories accept (a colour grid, a selector,
// a colour wheel, a hue bar) are palettes here: nothing in the program uses
// them, and a palette picks any colour they could.
QELT_REGISTER_CONTROL(L"CColorPalette", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MPalette(p, id, r, v);
})
QELT_REGISTER_CONTROL(L"CColorSelect", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MPalette(p, id, r, v);
})
QELT_REGISTER_CONTROL(L"CirclePalette", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MPalette(p, id, r, v);
})
QELT_REGISTER_CONTROL(L"PaletteBar", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int) -> MControl* {
  return new MPalette(p, id, r, v);
})

namespace {
constexpr int kFieldGap = 38;  // from the field's right edge to the control's
constexpr int kBarRect = 32;   // the bar's rectangle, the bar centred in it

double HueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 1.0 / 2) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

// The small slack keeps a channel that rounding error left a hair short of a
// whole value (0.99999... for 1) from losing a unit.
int Channel(double v) { return std::clamp(int(v * 255 + 1e-9), 0, 255); }

// The straight ARGB pixel of a colour, black kept distinguishable from the
// back buffer's transparent pixels.
uint32_t OpaquePixel(COLORREF colour) {
  MRender::CheckAlphaColor(colour);
  return MRender::ToARGB(colour);
}
}  // namespace

// --- 1. Colour conversions --------------------------------------------------------------------

COLORREF MPalette::HslToColor(double h, double s, double l) {
  if (s == 0) {
    const int grey = Channel(l);
    return RGB(grey, grey, grey);
  }
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  return RGB(Channel(HueToChannel(p, q, h + 1.0 / 3)), Channel(HueToChannel(p, q, h)),
             Channel(HueToChannel(p, q, h - 1.0 / 3)));
}

void MPalette::ColorToHsl(COLORREF colour, double& h, double& s, double& l) {
  const double r = GetRValue(colour) / 255.0, g = GetGValue(colour) / 255.0, b = GetBValue(colour) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  l = (max + min) / 2;
  if (max == min) {
    h = s = 0;
    return;
  }
  const double d = max - min;
  s = l > 0.5 ? d / (2 - max - min) : d / (max + min);
  if (max == r) h = (g - b) / d + (g < b ? 6 : 0);
  else if (max == g) h = (b - r) / d + 2;
  else h = (r - g) / d + 4;
  h /= 6;
}

// --- 2. Values and geometry --------------------------------------------------------------------

MPalette::MPalette(MObject* parent, UINT id, CRect rect, int visible)
    : MControlFont(parent, id, rect, nullptr, visible, 1, 1) {
  m_imageCount = 1;
  const CRect field = GetFieldRect();
  m_thumb = CPoint(field.Width() * m_hue / 360, (m_lightness - 20) * m_fieldHeight / 180);
  m_lastColour = GetSelectColor();
  BuildField();
  RefreshBar();
}

MPalette::~MPalette() = default;

COLORREF MPalette::GetSelectColor() const {
  return HslToColor(m_hue / 360.0, m_saturation / 200.0, m_lightness / 200.0);
}

CRect MPalette::GetFieldRect() const {
  return CRect(m_rect.left, m_rect.top, std::max(m_rect.left, m_rect.right - kFieldGap), m_rect.top + m_fieldHeight);
}

CRect MPalette::GetBarRect() const {
  return CRect(m_rect.right - kBarWidth - kBarWidth, m_rect.top, m_rect.right, m_rect.top + m_fieldHeight);
}

void MPalette::SetSelectColor(COLORREF colour) {
  double h = 0, s = 0, l = 0;
  ColorToHsl(colour & 0xFFFFFF, h, s, l);
  // Truncated, but not below a whole value that rounding error in the
  // conversion left a hair short of (yellow's hue is 60, not 59.99...).
  constexpr double kSlack = 1e-9;
  m_hue = int(h * 360 + kSlack);
  m_saturation = int(s * 200 + kSlack);
  m_lightness = int(l * 200 + kSlack);
  const CRect field = GetFieldRect();
  m_thumb = CPoint(field.Width() * m_hue / 360, std::max(0, (m_lightness - 20) * m_fieldHeight / 180));
  RefreshBar();
  UpdateControl(1, 0);
}

int MPalette::SetThumbImage(const wchar_t* file) {
  if (m_manager == nullptr || file == nullptr) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, 1);
  if (info == nullptr || !info->image) return 0;
  m_thumbImage = info->image.get();
  m_thumbWidth = info->frameWidth;
  m_thumbHeight = info->height;
  UpdateControl(1, 0);
  return 1;
}

void MPalette::SetPalletHeight(int height) {
  // The field maps its height onto the lightness scale; it cannot vanish.
  height = std::max(1, height);
  if (height == m_fieldHeight) return;
  m_thumb.y = m_thumb.y * height / m_fieldHeight;
  m_fieldHeight = height;
  UpdateControl(1, 0);
}

// --- 3. Input ----------------------------------------------------------------------------------

void MPalette::PickInField(CPoint pt) {
  const CRect field = GetFieldRect();
  const int fw = std::max(1, field.Width());
  m_hue = std::clamp((pt.x - field.left) * 360 / fw, 0, 360);
  m_lightness = std::clamp((pt.y - field.top) * 180 / m_fieldHeight + 20, 20, 200);
  m_thumb = CPoint(std::clamp(pt.x - field.left, 0, field.Width()), std::clamp(pt.y - field.top, 0, m_fieldHeight));
  RefreshBar();
}

void MPalette::PickInBar(CPoint pt) {
  m_saturation = std::clamp((pt.y - GetBarRect().top) * 200 / m_fieldHeight, 0, 200);
}

int MPalette::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  m_drag = Drag::None;
  if (GetFieldRect().PtInRect(pt)) {
    PickInField(pt);
    m_drag = Drag::Field;
  } else if (GetBarRect().PtInRect(pt)) {
    PickInBar(pt);
    m_drag = Drag::Bar;
  }
  const COLORREF colour = GetSelectColor();
  if (colour != m_lastColour) {
    m_lastColour = colour;
    SendMessageW(CN_COLOR, WPARAM(colour), 0);
  }
  UpdateControl(1, 0);
  return 1;
}

int MPalette::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_pressedInside || m_drag == Drag::None) return m_rect.PtInRect(pt) ? 1 : 0;
  if (m_drag == Drag::Field) {
    if (!GetFieldRect().PtInRect(pt)) return 1;
    PickInField(pt);
  } else {
    PickInBar(pt);
    SendMessageW(CN_COLOR, 0, 0);
  }
  UpdateControl(1, 0);
  return 1;
}

int MPalette::OnControlLButtonUp(UINT, CPoint) {
  if (!m_enabled) return 0;
  m_drag = Drag::None;
  const COLORREF colour = GetSelectColor();
  m_lastColour = colour;
  SendMessageW(CN_CLICK, WPARAM(colour), 0);
  UpdateControl(1, 0);
  return 1;
}

int MPalette::OnControlScroll(int, UINT, CPoint) { return 1; }

// --- 4. Drawing ----------------------------------------------------------------------------------

void MPalette::BuildField() {
  platform::Bitmap pixels(kFieldColumns, kRows);
  for (int i = 0; i < kRows; ++i) {
    uint32_t* row = pixels.Row(i);
    for (int j = 0; j < kFieldColumns; ++j) {
      row[j] = OpaquePixel(HslToColor(j / 360.0, 1.0, i / 200.0));
    }
  }
  std::vector<Image::Frame> frames;
  frames.push_back({std::move(pixels), 0});
  m_field = std::make_unique<Image>(std::move(frames));
}

void MPalette::RefreshBar() {
  platform::Bitmap pixels(kBarWidth, kRows);
  for (int j = 0; j < kRows; ++j) {
    const uint32_t pixel = OpaquePixel(HslToColor(m_hue / 360.0, j / 200.0, m_lightness / 200.0));
    uint32_t* row = pixels.Row(j);
    for (int x = 0; x < kBarWidth; ++x) row[x] = pixel;
  }
  std::vector<Image::Frame> frames;
  frames.push_back({std::move(pixels), 0});
  m_bar = std::make_unique<Image>(std::move(frames));
}

void MPalette::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    CRect field = GetFieldRect();
    field.OffsetRect(-m_rect.left, -m_rect.top);
    CRect bar = GetBarRect();
    bar.OffsetRect(-m_rect.left, -m_rect.top);
    if (!field.IsRectEmpty()) MRender::DrawImage(m_cacheDC, m_field.get(), field, 0, 0, kFieldColumns, kRows);
    const int barLeft = bar.left + (bar.Width() - kBarWidth) / 2;
    MRender::DrawImage(m_cacheDC, m_bar.get(), CRect(barLeft, bar.top, barLeft + kBarWidth, bar.bottom), 0, 0,
                       kBarWidth, kRows);
    // The bar's marker: a light bar with dark edges across the whole
    // rectangle at the saturation.
    const int my = std::clamp(bar.top + m_saturation * m_fieldHeight / 200, bar.top + 1, bar.bottom - 2);
    MRender::DrawColor(m_cacheDC, CRect(bar.left + 2, my - 2, bar.right - 2, my + 2), Color(0xFF202020));
    MRender::DrawColor(m_cacheDC, CRect(bar.left + 3, my - 1, bar.right - 3, my + 1), Color(0xFFFFFFFF));
    const int tx = field.left + m_thumb.x, ty = field.top + m_thumb.y;
    if (m_thumbImage != nullptr && m_thumbWidth > 0) {
      MRender::DrawImage(m_cacheDC, m_thumbImage,
                         CRect(tx - m_thumbWidth / 2, ty - m_thumbHeight / 2, tx - m_thumbWidth / 2 + m_thumbWidth,
                               ty - m_thumbHeight / 2 + m_thumbHeight),
                         0, 0, m_thumbWidth, m_thumbHeight);
    } else {
      MRender::DrawRoundRectange(m_cacheDC, tx - 6.0f, ty - 6.0f, 12.0f, 12.0f, 1.0f, Color(0xFF202020), 2.0f, false,
                                 Color(0));
      MRender::DrawRoundRectange(m_cacheDC, tx - 5.0f, ty - 5.0f, 10.0f, 10.0f, 1.0f, Color(0xFFFFFFFF), 1.5f, false,
                                 Color(0));
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
