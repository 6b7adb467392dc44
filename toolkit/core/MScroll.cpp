#include "toolkit/core/MScroll.h"

#include <algorithm>

#include "toolkit/core/PaintManager.h"

namespace DUI {

MScroll::MScroll(MObject* parent, UINT id, CRect rect, int visible, bool vertical)
    : MControlFont(parent, id, rect, nullptr, visible, 1, 1), m_vertical(vertical) {}

// --- Range and position ---------------------------------------------------------------

void MScroll::SetScrollMaxRange(int max) {
  max = std::max(0, max);
  if (max == m_max) return;
  m_max = max;
  if (m_pos > m_max) m_pos = m_max;
  UpdateControl(0, 0);
}

void MScroll::SetScrollCurrentPos(int pos) {
  pos = std::clamp(pos, 0, m_max);
  if (pos == m_pos) return;
  m_pos = pos;
  PositionChanged();
}

void MScroll::SetScrollSize(int page, int step) {
  m_page = std::max(0, page);
  m_step = std::max(1, step);
  UpdateControl(0, 0);
}

void MScroll::SetScrollInfo(int max, int pos, int page, int step) {
  m_max = std::max(0, max);
  m_page = std::max(0, page);
  m_step = std::max(1, step);
  const int clamped = std::clamp(pos, 0, m_max);
  if (clamped != m_pos) {
    m_pos = clamped;
    PositionChanged();
  } else {
    UpdateControl(0, 0);
  }
}

int MScroll::ScrollRow(int rows) {
  const int pos = std::clamp(m_pos + rows * m_step, 0, m_max);
  if (pos == m_pos) return 0;
  m_pos = pos;
  PositionChanged();
  return 1;
}

void MScroll::PositionChanged() {
  UpdateControl(0, 0);
  // The bar's position is the panel's scroll offset: the content moves, so
  // the panel and everything cached inside it must be drawn again.
  if (auto* owner = dynamic_cast<MControl*>(m_parent)) owner->UpdateControl(1, 0);
}

// --- Geometry ---------------------------------------------------------------------------

int MScroll::GetScrollPageSize() const {
  if (m_page > 0) return m_page;
  const int length = Length();
  return (length * 10 < m_max) ? m_max / 10 : length;
}

int MScroll::ThumbLength() const {
  const int track = TrackLength();
  if (track <= 0 || m_max <= 0) return 0;
  const int page = GetScrollPageSize();
  int thumb = std::max(Thickness() / 2, int(int64_t(page) * track / m_max));
  if (thumb < 100) thumb = std::min(100, track - 50);
  // On a short track the rule above leaves no thumb at all (or a negative
  // one); a bar always keeps a thumb that can be seen and grabbed.
  return std::clamp(thumb, std::min(track, std::max(Thickness(), 8)), track);
}

CRect MScroll::GetThumbRect() const {
  const int thumb = ThumbLength();
  if (thumb <= 0) return CRect();
  const int free = TrackLength() - thumb;
  const int start = TrackStart() + (m_max > 0 ? int(int64_t(m_pos) * free / m_max) : 0);
  return m_vertical ? CRect(m_rect.left, start, m_rect.right, start + thumb)
                    : CRect(start, m_rect.top, start + thumb, m_rect.bottom);
}

int MScroll::GetThumbState() const {
  if (!m_enabled) return 3;
  if (m_changing) return 2;
  return m_hover ? 1 : 0;
}

// --- Drawing -------------------------------------------------------------------------------

void MScroll::InitControl(PaintManager* manager) {
  if (manager == nullptr) return;
  // The window's own thumb resource first; without one, the skin's image,
  // so a bar is never drawn without a thumb.
  const UINT id = ThumbResourceId();
  const ImgResInfo* info = id != 0 ? manager->AddImgResInfo(id, L"PNG", 4, 0) : nullptr;
  if (info == nullptr) info = manager->AddImgResInfo(ThumbFile(), 4);
  if (info == nullptr) return;
  m_image = info->image.get();
  m_imageWidth = info->frameWidth;
  m_imageHeight = info->height;
  m_imageCount = 4;
  m_imagePath = info->file;
}

void MScroll::DrawControl(HDC& dc, CRect) {
  const CRect thumb = GetThumbRect();
  if (thumb.IsRectEmpty()) return;
  // A faint track shows where the thumb can go.
  CRect track = m_rect;
  const int inset = std::max(1, Thickness() / 3);
  if (m_vertical) track.DeflateRect(inset, 0);
  else track.DeflateRect(0, inset);
  MRender::DrawColor(dc, track, Color(0x18FFFFFF));
  if (m_image == nullptr || m_imageWidth <= 0) {
    MRender::DrawColor(dc, thumb, Color(GetThumbState() == 2 ? 0xFFFA373E : 0xFF5A606A));
    return;
  }
  const int corner = std::min({m_imageWidth, m_imageHeight, Thickness()}) / 2;
  MRender::DrawImageFrame(dc, m_image, thumb, GetThumbState() * m_imageWidth, 0, m_imageWidth, m_imageHeight,
                          corner);
}

// --- Mouse ---------------------------------------------------------------------------------------

void MScroll::SetHover(int hover) {
  if (hover == m_hover) return;
  m_hover = hover;
  UpdateControl(0, 0);
}

int MScroll::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_enabled) return 0;
  if (m_changing) {
    DragTo(Along(pt) - m_grab);
    return 1;
  }
  const bool inside = m_rect.PtInRect(pt);
  SetHover(inside ? 1 : 0);
  return inside ? 1 : 0;
}

int MScroll::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_enabled || !m_rect.PtInRect(pt)) return 0;
  const CRect thumb = GetThumbRect();
  if (thumb.IsRectEmpty()) return 1;
  const int thumbStart = m_vertical ? thumb.top : thumb.left;
  const int thumbLength = m_vertical ? thumb.Height() : thumb.Width();
  m_changing = 1;
  SendMessageW(CN_PRESS, CN_SCROLL, 0);
  if (thumb.PtInRect(pt)) {
    m_grab = Along(pt) - thumbStart;
    UpdateControl(0, 0);
  } else {
    // A press on the track brings the thumb's middle under the pointer and
    // goes on as a drag.
    m_grab = thumbLength / 2;
    DragTo(Along(pt) - m_grab);
  }
  return 1;
}

int MScroll::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_changing) return 0;
  // Moves beyond the window's control that holds the press do not reach
  // the bar, but the release does: the thumb ends where the pointer is.
  DragTo(Along(pt) - m_grab);
  m_changing = 0;
  m_hover = m_rect.PtInRect(pt) ? 1 : 0;
  UpdateControl(0, 0);
  SendMessageW(CN_CLICK, CN_SCROLL, m_pos);
  return 1;
}

void MScroll::DragTo(int start) {
  const int free = TrackLength() - ThumbLength();
  int pos = 0;
  if (free > 0) pos = int(int64_t(start - TrackStart()) * m_max / free);
  pos = std::clamp(pos, 0, m_max);
  if (pos == m_pos) return;
  m_pos = pos;
  PositionChanged();
  SendMessageW(CN_SCROLL, WPARAM(m_pos), 0);
}

}  // namespace DUI
