#include "toolkit/controls/LightSlider.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/window/Window.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/MPanel.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

// Index
//   1. Values
//   2. Geometry
//   3. Input and the drag step
//   4. Drawing

namespace DUI {

QELT_REGISTER_CONTROL(L"LightSlider", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new LightSlider(p, id, r, v, e);
})

namespace {
constexpr int kThumbSize = 20;
constexpr int kTextWidth = 36;  // room for the value when it is shown
constexpr ARGB kTrackColour = 0xFF3A3F47;
constexpr ARGB kTickColour = 0xFF5A6170;
}  // namespace

LightSlider::LightSlider(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 1) {
  m_runTimer = 1;
  m_textColor = Color(0xFF050505);
  m_textBrush = m_textColor;
  m_hAlign = DT_CENTER;
  m_imageCount = 2;
}

// --- 1. Values -------------------------------------------------------------------------------

int LightSlider::SetProgress(int value) {
  const int position = std::min(m_range, value - m_minimum);
  if (position >= 0 && position <= m_range && position != m_position.load()) {
    m_position = position;
    UpdateControl(1, 0);
  }
  return m_position;
}

void LightSlider::SetMinProgress(int minimum) {
  if (minimum == m_minimum) return;
  m_minimum = minimum;
  UpdateControl(1, 0);
}

void LightSlider::SetMaxProgress(int range) {
  // A range of 0 would leave no track to divide between the values.
  range = std::max(1, range);
  if (range == m_range) return;
  m_range = range;
  if (m_position > range) m_position = range;
  UpdateControl(1, 0);
}

void LightSlider::SetScale(float scale) {
  if (scale <= 0.0f || scale == m_scale) return;
  m_scale = scale;
  UpdateControl(1, 0);
}

void LightSlider::SetShowText(int show) {
  show = show != 0 ? 1 : 0;
  if (show == m_showText) return;
  m_showText = show;
  UpdateControl(1, 0);
}

int LightSlider::SetThumbImage(const wchar_t* file) {
  if (m_manager == nullptr || file == nullptr) return 0;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, 4);
  if (info == nullptr || !info->image) return 0;
  m_thumb = info->image.get();
  m_thumbWidth = info->frameWidth;
  m_thumbHeight = info->height;
  UpdateControl(1, 0);
  return 1;
}

// --- 2. Geometry ----------------------------------------------------------------------------

int LightSlider::ThumbWidth() const { return std::max(2, int(kThumbSize * m_scale)); }

CRect LightSlider::GetTrackRect() const {
  const int half = ThumbWidth() / 2;
  const int right = m_rect.right - half - (m_showText ? kTextWidth : 0);
  return CRect(m_rect.left + half, m_rect.top, std::max(m_rect.left + half, right), m_rect.bottom);
}

CRect LightSlider::GetThumbRect() const {
  const CRect track = GetTrackRect();
  const int w = track.Width();
  const int centre = track.left + std::min(m_position.load() * w / m_range, w);
  const int half = ThumbWidth() / 2;
  return CRect(centre - half, m_rect.top, centre - half + ThumbWidth(), m_rect.bottom);
}

int LightSlider::PositionAt(int x) const {
  const CRect track = GetTrackRect();
  const int w = track.Width();
  if (w <= 0) return 0;
  const int position = int(int64_t(x - track.left) * (m_range + 1) / w);
  // Integer division rounds towards zero, so any point left of the track
  // must be caught before it rounds up to 0 on its own.
  if (x < track.left) return 0;
  return std::clamp(position, 0, m_range);
}

// --- 3. Input and the drag step -----------------------------------------------------------------

void LightSlider::SetState(int state) {
  if (state == m_state) return;
  m_state = state;
  UpdateControl(1, 0);
}

void LightSlider::MoveThumbTo(int x) {
  const int position = PositionAt(x);
  if (position == m_position.load()) return;
  m_position = position;
  UpdateControl(1, 0);
  SendMessageW(CN_SCROLL, WPARAM(m_minimum + position), 0);
}

int LightSlider::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  if (m_dragging) {
    MoveThumbTo(pt.x);
    return 1;
  }
  if (!m_pressedInside) SetState(GetThumbRect().PtInRect(pt) ? 1 : 0);
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int LightSlider::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  MoveThumbTo(pt.x);
  if (GetThumbRect().PtInRect(pt)) {
    m_dragging = true;
    m_lastStep = platform::GetTickCount64();
    SetState(2);
  }
  return 1;
}

int LightSlider::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  m_dragging = false;
  SetState(GetThumbRect().PtInRect(pt) ? 1 : 0);
  SendMessageW(CN_CLICK, WPARAM(GetProgress()), 0);
  return 1;
}

// The wheel is swallowed: brightness and speed change by pointing only.
int LightSlider::OnControlScroll(int, UINT, CPoint) { return 1; }

int LightSlider::OnControlTimer() {
  if (!m_dragging || m_manager == nullptr) return 0;
  const uint64_t now = platform::GetTickCount64();
  if (now - m_lastStep.load() < kStepInterval) return 0;
  // One step in flight at a time: ticks that come while the window thread
  // has not run the last one yet add nothing.
  if (m_stepPosted.exchange(true)) return 0;
  m_lastStep = now;
  if (!m_manager->PostMessageW(kStepMessage, 0, LPARAM(this))) m_stepPosted = false;
  return 1;
}

LRESULT LightSlider::OnWindowMessage(UINT msg, WPARAM, LPARAM lParam) {
  if (msg != kStepMessage || lParam != LPARAM(this)) return 0;
  m_stepPosted = false;
  StepToCursor();
  return 1;
}

void LightSlider::StepToCursor() {
  if (!m_dragging || m_manager == nullptr) return;
  POINT pt{0, 0};
  if (!platform::GetCursorPos(&pt) || !platform::ScreenToClient(m_manager->GetPaintWnd(), &pt)) return;
  // The slider's rect is in the content coordinates of the panels that
  // hold it: map the window point through them, outermost first.
  std::vector<MPanel*> panels;
  for (MObject* p = m_parent; p != nullptr;) {
    auto* control = dynamic_cast<MControl*>(p);
    if (control == nullptr) break;
    if (auto* panel = dynamic_cast<MPanel*>(control)) panels.push_back(panel);
    p = control->GetParantObject();
  }
  CPoint local(pt.x, pt.y);
  for (auto it = panels.rbegin(); it != panels.rend(); ++it) local = (*it)->WindowToContent(local);
  MoveThumbTo(local.x);
}

// --- 4. Drawing ------------------------------------------------------------------------------

void LightSlider::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    CRect track = GetTrackRect();
    track.OffsetRect(-m_rect.left, -m_rect.top);
    CRect thumb = GetThumbRect();
    thumb.OffsetRect(-m_rect.left, -m_rect.top);
    const int centre = (thumb.left + thumb.right) / 2;
    if (m_image != nullptr && m_imageWidth > 0) {
      // Track image: frame 0 the groove, frame 1 (when present) the part
      // up to the thumb; each centred vertically at its own height.
      const int ih = std::min(h, m_imageHeight);
      const int y = (h - ih) / 2;
      const int corner = std::min(ih / 2, m_imageWidth / 2);
      MRender::DrawImageFrame(m_cacheDC, m_image, CRect(track.left, y, track.right, y + ih), 0, 0, m_imageWidth,
                              m_imageHeight, corner);
      if (m_imageCount > 1 && centre - track.left > 2 * corner) {
        MRender::DrawImageFrame(m_cacheDC, m_image, CRect(track.left, y, centre, y + ih), m_imageWidth, 0,
                                m_imageWidth, m_imageHeight, corner);
      }
    } else {
      // The built-in track: a groove with a notch for each value and the
      // accent colour up to the thumb.
      const int y = h / 2;
      MRender::DrawRoundRectange(m_cacheDC, float(track.left), float(y - 2), float(track.Width()), 4.0f, 1.0f,
                                 Color(kTrackColour));
      for (int p = 0; p <= m_range && m_range <= 40; ++p) {
        const int x = track.left + std::min(p * track.Width() / m_range, track.Width());
        MRender::DrawColor(m_cacheDC, CRect(x, y + 4, x + 1, y + 7), Color(kTickColour));
      }
      if (centre > track.left) {
        MRender::DrawRoundRectange(m_cacheDC, float(track.left), float(y - 2), float(centre - track.left), 4.0f, 1.0f,
                                   Manager::GetSelectColor());
      }
    }
    const int frame = !m_enabled ? 3 : m_state;
    if (m_thumb != nullptr && m_thumbWidth > 0) {
      const int tw = thumb.Width();
      const int th = std::min(h, int(m_thumbHeight * m_scale));
      const int ty = (h - th) / 2;
      MRender::DrawImage(m_cacheDC, m_thumb, CRect(thumb.left, ty, thumb.left + tw, ty + th), frame * m_thumbWidth, 0,
                         m_thumbWidth, m_thumbHeight);
    } else {
      const int d = std::min(thumb.Width(), h);
      const float x = float(centre) - d / 2.0f, y = (h - d) / 2.0f;
      const ARGB ring = frame == 0 ? 0xFFD0D4DA : 0xFFFFFFFF;
      MRender::DrawRoundRectange(m_cacheDC, x, y, float(d), float(d), 1.0f, Color(ring));
    }
    if (m_showText) {
      DrawControlText(m_cacheDC, CRect(w - kTextWidth, 0, w, h), std::to_wstring(GetProgress()), m_textColor);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
