#include "toolkit/controls/DPISlider.h"

#include <algorithm>
#include <vector>

#include "platform/window/Window.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"DPISlider", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new DPISlider(p, id, r, v, e);
})

namespace {

constexpr int kBackCorner = 10;
constexpr int kTickLeft = 80;
constexpr int kTickPitch = 18;
constexpr int kTickTop = 30;
constexpr int kTickBottom = 45;
constexpr int kThumbTop = 50;
constexpr ARGB kLabelColour = 0xFFFFFFFF;

}  // namespace

DPISlider::DPISlider(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 1) {
  m_textColor = Color(0xFF050505);
  m_textBrush = m_textColor;
  m_runTimer = 1;
  RecomputeThumb();
}

DPISlider::~DPISlider() = default;

// --- 1. Value and range ------------------------------------------------------------------------

int DPISlider::SetProgress(int value) {
  int position;
  bool changed = false;
  {
    std::lock_guard guard(m_lock);
    position = std::min(m_range, value - m_minimum);
    if (position >= 0 && position <= m_range && position != m_position) {
      m_position = position;
      RecomputeThumb();
      changed = true;
    }
  }
  if (changed) UpdateControl(1, 0);
  return position;
}

int DPISlider::GetProgress() {
  std::lock_guard guard(m_lock);
  return m_minimum + m_position;
}

int DPISlider::GetPosition() {
  std::lock_guard guard(m_lock);
  return m_position;
}

void DPISlider::SetMinProgress(int minimum) {
  std::lock_guard guard(m_lock);
  m_minimum = minimum;
}

void DPISlider::SetMaxProgress(int range) {
  {
    std::lock_guard guard(m_lock);
    m_range = std::max(range, 0);
    m_position = std::clamp(m_position, 0, m_range);
    RecomputeThumb();
  }
  UpdateControl(1, 0);
}

CRect DPISlider::GetThumbRect() {
  std::lock_guard guard(m_lock);
  return m_thumb;
}

CRect DPISlider::GetTrackRect() {
  std::lock_guard guard(m_lock);
  return ScaledTrack();
}

CRect DPISlider::ScaledTrack() const {
  const float s = m_scale;
  return CRect(int(float(m_track.left) * s), int(float(m_track.top) * s), int(float(m_track.right) * s),
               int(float(m_track.bottom) * s));
}

void DPISlider::RecomputeThumb() {
  const CRect track = ScaledTrack();
  const int w = track.right - track.left;
  // A range of 0 has a single position, at the track's left end.
  const int along = m_range > 0 ? std::clamp(int(int64_t(m_position) * w / m_range), 0, w) : 0;
  const int centre = track.left + along;
  const int top = int(float(kThumbTop) * m_scale);
  const int half = m_thumbSize.cx / 2;
  m_thumb = CRect(centre - half, top, centre + half, top + m_thumbSize.cy);
  m_thumb.OffsetRect(m_rect.left, m_rect.top);
}

void DPISlider::MoveThumbTo(int x) {
  int value;
  {
    std::lock_guard guard(m_lock);
    const CRect track = ScaledTrack();
    const int w = track.right - track.left;
    if (w <= 0) return;
    const int64_t along = x - (m_rect.left + track.left);
    const int position = int(std::clamp<int64_t>(int64_t(m_range) * along / w, 0, m_range));
    if (position == m_position) return;
    m_position = position;
    RecomputeThumb();
    value = m_minimum + m_position;
  }
  UpdateControl(1, 0);
  // The timer step calls this on the timer thread: the page hears of it on
  // the window thread, after anything the window thread sent before.
  PostNotify(CN_SCROLL, WPARAM(value), 0);
}

bool DPISlider::OnThumb(CPoint pt) { return GetThumbRect().PtInRect(pt) != 0; }

void DPISlider::SetState(int state) {
  if (m_state.exchange(state) != state) UpdateControl(1, 0);
}

// --- 2. Look ----------------------------------------------------------------------------------------

void DPISlider::SetScale(int percent) { SetScaleValue(float(percent) / 100.0f); }

void DPISlider::SetScaleValue(float scale) {
  {
    std::lock_guard guard(m_lock);
    m_scale = scale > 0.0f ? scale : 1.0f;
    RecomputeThumb();
  }
  UpdateControl(1, 0);
}

void DPISlider::SetDPIDesc(CString low, CString high) {
  m_lowLabel = std::move(low);
  m_highLabel = std::move(high);
  UpdateControl(1, 0);
}

int DPISlider::SetBkgImage(const wchar_t* file) {
  if (file == nullptr) return 0;
  std::unique_ptr<Image> image(MRender::LoadSkinImage(file));
  if (!image) return 0;
  m_bkgWidth = image->Width();
  m_bkgHeight = image->Height();
  m_bkgImage = std::move(image);
  UpdateControl(1, 0);
  return 1;
}

// --- 3. Overrides: drawing, input, timer ---------------------------------------------------------------

void DPISlider::InitControl(PaintManager* manager) {
  MControlFont::InitControl(manager);
  // The drag step needs the multimedia timer's ticks.
  if (manager != nullptr) manager->AddMTimer(this);
}

void DPISlider::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    if (m_bkgImage) {
      MRender::DrawImageFrame(m_cacheDC, m_bkgImage.get(), CRect(0, 0, w, h), 0, 0, m_bkgWidth, m_bkgHeight,
                              kBackCorner);
    }
    const float s = m_scale;
    for (int i = 0; i < kTickCount; ++i) {
      const int x = int(float(kTickLeft + kTickPitch * i) * s);
      MRender::DrawColor(m_cacheDC, CRect(x, int(kTickTop * s), x + 1, int(kTickBottom * s)), Color(0xFFFFFFFF));
    }
    HFONT font = GetGDIFont();
    CRect low(int(10 * s), int(13 * s), int(40 * s), int(33 * s));
    MRender::DrawTextARGB(m_cacheDC, low, m_lowLabel.c_str(), Color(kLabelColour), font,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    CRect high(int(950 * s), int(13 * s), int(1005 * s), int(33 * s));
    MRender::DrawTextARGB(m_cacheDC, high, m_highLabel.c_str(), Color(kLabelColour), font,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (m_image != nullptr && m_imageWidth > 0) {
      CRect thumb = GetThumbRect();
      thumb.OffsetRect(-m_rect.left, -m_rect.top);
      const int frames = std::max(1, m_imageCount);
      int frame = m_enabled ? m_state.load() : 3;
      frame = std::min(frame, frames - 1);
      MRender::DrawImage(m_cacheDC, m_image, thumb, frame * m_imageWidth, 0, m_imageWidth, m_imageHeight);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

int DPISlider::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  if (m_dragging.load()) {
    MoveThumbTo(pt.x);
    return 1;
  }
  if (!m_pressedInside) SetState(OnThumb(pt) ? StateHover : StateNormal);
  return m_rect.PtInRect(pt) ? 1 : 0;
}

int DPISlider::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  const bool onThumb = OnThumb(pt);
  MoveThumbTo(pt.x);
  // A press on the track that brings the thumb under the pointer holds it
  // as a press on the thumb does.
  if (onThumb || OnThumb(pt)) {
    SetState(StateDragging);
    m_lastDrag = platform::GetTickCount64();
    m_dragging = true;
  }
  return 1;
}

int DPISlider::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  m_dragging = false;
  SetState(OnThumb(pt) ? StateHover : StateNormal);
  PostNotify(CN_CLICK, 0, 0);
  return 1;
}

int DPISlider::OnControlScroll(int, UINT, CPoint) { return 1; }

int DPISlider::OnControlTimer() {
  if (!m_dragging.load() || m_manager == nullptr) return 0;
  const uint64_t now = platform::GetTickCount64();
  if (now - m_lastDrag.load() <= uint64_t(kDragStepMs)) return 0;
  m_lastDrag = now;
  POINT cursor{};
  if (!platform::GetCursorPos(&cursor)) return 0;
  if (!platform::ScreenToClient(m_manager->GetPaintWnd(), &cursor)) return 0;
  // Inside scrolled panels the thumb lives in content coordinates: map the
  // point through the parents from the outermost in, as input is routed.
  std::vector<MControl*> parents;
  for (auto* c = dynamic_cast<MControl*>(m_parent); c != nullptr; c = dynamic_cast<MControl*>(c->GetParantObject())) {
    parents.push_back(c);
  }
  CPoint pt(cursor.x, cursor.y);
  for (auto it = parents.rbegin(); it != parents.rend(); ++it) (*it)->OnMousePointChange(pt);
  MoveThumbTo(pt.x);
  return 1;
}

}  // namespace DUI
