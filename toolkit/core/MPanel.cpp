#include "toolkit/core/MPanel.h"

#include <algorithm>
#include <climits>

#include "toolkit/core/CScrollHorizontal.h"
#include "toolkit/core/CScrollVertical.h"
#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

namespace {

// Where a point goes that must hit no child: outside the panel's view, or
// over one of its bars, while the content is scrolled. Children scrolled out
// of view would otherwise answer to points beside the panel.
constexpr int kNowhere = INT_MIN / 4;

}  // namespace

MPanel::MPanel(MObject* parent, UINT id, CRect rect, int visible)
    : MControlFont(parent, id, rect, nullptr, visible, 1, 1) {
  m_imageCount = 1;
  EnsureBars();
  UpdateScrollBars();
}

MPanel::~MPanel() = default;

// --- 1. Factory ----------------------------------------------------------------------------

MControl* MPanel::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                             int enabled) {
  return CreateControl(0, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id, CRect rect,
                                const wchar_t* title, int visible, int enabled) {
  MControl* control =
      MakeRegisteredControl(FactoryKind::Panel, className, parent, id, rect, title, visible, enabled);
  return AttachControl(control, kind);
}

MControl* MPanel::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                int enabled) {
  return CreateControl(1, this, className, id, rect, title, visible, enabled);
}

int MPanel::OnControlKeyUp(UINT, UINT, UINT) { return 0; }

MControl* MPanel::AttachControl(MControl* control, UINT kind) {
  if (control == nullptr) return nullptr;
  if (m_manager != nullptr) control->SetManager(m_manager);
  AddChild(control, kind == 0 ? 0 : 1);
  // Content added after the panel was laid out can make it scroll.
  const CRect r = control->GetRect();
  const int height = r.bottom - m_rect.top, width = r.right - m_rect.left;
  if (height > m_virtualHeight || width > m_virtualWidth) {
    m_virtualHeight = std::max(m_virtualHeight, height);
    m_virtualWidth = std::max(m_virtualWidth, width);
    UpdateScrollBars();
  }
  return control;
}

// --- 2. Scrolling -----------------------------------------------------------------------------

CScrollVertical* MPanel::GetScrollVertical() {
  std::lock_guard guard(m_controlsLock);
  for (MControl* c : m_controls) {
    if (c->GetControlID() == kScrollVerticalId) {
      if (auto* bar = dynamic_cast<CScrollVertical*>(c)) return bar;
    }
  }
  return nullptr;
}

CScrollHorizontal* MPanel::GetScrollHorizontal() {
  std::lock_guard guard(m_controlsLock);
  for (MControl* c : m_controls) {
    if (c->GetControlID() == kScrollHorizontalId) {
      if (auto* bar = dynamic_cast<CScrollHorizontal*>(c)) return bar;
    }
  }
  return nullptr;
}

bool MPanel::IsOwnBar(const MControl* control) {
  if (control == nullptr) return false;
  const UINT id = control->GetControlID();
  if (id == kScrollVerticalId) return control == GetScrollVertical();
  if (id == kScrollHorizontalId) return control == GetScrollHorizontal();
  return false;
}

void MPanel::EnsureBars() {
  if (GetScrollVertical() == nullptr) {
    auto* bar = new CScrollVertical(this, kScrollVerticalId, CRect(-m_thickness, 0, 0, 0), 0);
    if (m_manager != nullptr) bar->SetManager(m_manager);
    AddChild(bar, 1);
  }
  if (GetScrollHorizontal() == nullptr) {
    auto* bar = new CScrollHorizontal(this, kScrollHorizontalId, CRect(0, -m_thickness, 0, 0), 0);
    if (m_manager != nullptr) bar->SetManager(m_manager);
    AddChild(bar, 1);
  }
}

void MPanel::RemoveContent() {
  std::vector<MControl*> gone;
  {
    std::lock_guard guard(m_controlsLock);
    std::vector<MControl*> kept;
    for (MControl* c : m_controls) (IsOwnBar(c) ? kept : gone).push_back(c);
    m_controls.swap(kept);
    if (m_hotChild != nullptr && !IsOwnBar(m_hotChild)) m_hotChild = nullptr;
  }
  {
    std::lock_guard guard(m_areasLock);
    gone.insert(gone.end(), m_areas.begin(), m_areas.end());
    m_areas.clear();
  }
  if (m_manager != nullptr) {
    MControl* focus = m_manager->GetFocusControl();
    for (MControl* c : gone) {
      if (c == focus) m_manager->SetFocusControl(nullptr);
    }
  }
  for (MControl* c : gone) delete c;
  m_virtualHeight = m_virtualWidth = 0;
  UpdateScrollBars();
  UpdateControl(1, 0);
}

void MPanel::SetVirtualHeight(int height) {
  m_virtualHeight = std::max(0, height);
  UpdateScrollBars();
  UpdateControl(1, 0);
}

void MPanel::SetVirtualWidth(int width) {
  m_virtualWidth = std::max(0, width);
  UpdateScrollBars();
  UpdateControl(1, 0);
}

void MPanel::SetEnableScroll(int enable) {
  if ((enable != 0) == (m_enableScroll != 0)) return;
  m_enableScroll = enable ? 1 : 0;
  UpdateScrollBars();
  UpdateControl(1, 0);
}

void MPanel::SetScrollThickness(int thickness) {
  m_thickness = std::max(1, thickness);
  UpdateScrollBars();
}

CSize MPanel::ChildExtent() {
  CSize extent;
  auto measure = [&](MControl* c) {
    if (IsOwnBar(c)) return true;
    const CRect r = c->GetRect();
    // The furthest child decides, whatever its place in the list.
    extent.cy = std::max(extent.cy, r.bottom - m_rect.top);
    extent.cx = std::max(extent.cx, r.right - m_rect.left);
    return true;
  };
  ForEach(m_controls, m_controlsLock, measure);
  ForEach(m_areas, m_areasLock, measure);
  return extent;
}

void MPanel::UpdateScrollBars() {
  EnsureBars();
  const bool needV = m_enableScroll && m_virtualHeight > m_rect.Height();
  const bool needH = m_enableScroll && m_virtualWidth > m_rect.Width();
  if (CScrollVertical* bar = GetScrollVertical()) {
    // The bars share the corner: the vertical one stops above the other.
    bar->SetRect(CRect(m_rect.right - m_thickness, m_rect.top, m_rect.right,
                       m_rect.bottom - (needH ? m_thickness : 0)));
    bar->SetScrollMaxRange(m_virtualHeight);
    if (!needV) bar->SetScrollCurrentPos(0);
    bar->SetVisible(needV ? 1 : 0);
  }
  if (CScrollHorizontal* bar = GetScrollHorizontal()) {
    bar->SetRect(CRect(m_rect.left, m_rect.bottom - m_thickness, m_rect.right - (needV ? m_thickness : 0),
                       m_rect.bottom));
    bar->SetScrollMaxRange(m_virtualWidth);
    if (!needH) bar->SetScrollCurrentPos(0);
    bar->SetVisible(needH ? 1 : 0);
  }
}

int MPanel::OffsetFor(const MScroll* bar, int virtualSize, int viewSize) {
  if (bar == nullptr || virtualSize <= viewSize || bar->GetScrollMaxRange() <= 0) return 0;
  return int(int64_t(bar->GetScrollCurrentPos()) * (virtualSize - viewSize) / bar->GetScrollMaxRange());
}

CPoint MPanel::GetScrollOffset() const {
  if (!m_enableScroll) return CPoint(0, 0);
  auto* self = const_cast<MPanel*>(this);
  return CPoint(OffsetFor(self->GetScrollHorizontal(), m_virtualWidth, m_rect.Width()),
                OffsetFor(self->GetScrollVertical(), m_virtualHeight, m_rect.Height()));
}

bool MPanel::IsScrolling() const {
  return m_enableScroll && (m_virtualHeight > m_rect.Height() || m_virtualWidth > m_rect.Width());
}

CRect MPanel::ContentToWindow(CRect rect) const {
  const CPoint offset = GetScrollOffset();
  rect.OffsetRect(-offset.x, -offset.y);
  return rect;
}

CPoint MPanel::WindowToContent(CPoint pt) const {
  const CPoint offset = GetScrollOffset();
  return CPoint(pt.x + offset.x, pt.y + offset.y);
}

CRect MPanel::GetViewRect() const {
  CRect view = m_rect;
  auto* self = const_cast<MPanel*>(this);
  if (CScrollVertical* bar = self->GetScrollVertical(); bar != nullptr && bar->IsVisible()) view.right -= m_thickness;
  if (CScrollHorizontal* bar = self->GetScrollHorizontal(); bar != nullptr && bar->IsVisible()) {
    view.bottom -= m_thickness;
  }
  const CPoint offset = GetScrollOffset();
  view.OffsetRect(offset.x, offset.y);
  return view;
}

int MPanel::EnsureVisible(CRect content) {
  if (!IsScrolling()) return 0;
  const CRect view = GetViewRect();
  int moved = 0;
  // The bar position that scrolls by 'offset' pixels, rounded up so the
  // rectangle ends up wholly inside.
  auto scrollBy = [&](MScroll* bar, int wanted, int virtualSize, int viewSize) {
    if (bar == nullptr || virtualSize <= viewSize) return;
    const int span = virtualSize - viewSize;
    wanted = std::clamp(wanted, 0, span);
    const int max = bar->GetScrollMaxRange();
    const int pos = int((int64_t(wanted) * max + span - 1) / span);
    const int before = bar->GetScrollCurrentPos();
    bar->SetScrollCurrentPos(pos);
    if (bar->GetScrollCurrentPos() != before) moved = 1;
  };
  const CPoint offset = GetScrollOffset();
  if (content.top < view.top) scrollBy(GetScrollVertical(), offset.y - (view.top - content.top), m_virtualHeight, m_rect.Height());
  else if (content.bottom > view.bottom)
    scrollBy(GetScrollVertical(), offset.y + (content.bottom - view.bottom), m_virtualHeight, m_rect.Height());
  if (content.left < view.left) scrollBy(GetScrollHorizontal(), offset.x - (view.left - content.left), m_virtualWidth, m_rect.Width());
  else if (content.right > view.right)
    scrollBy(GetScrollHorizontal(), offset.x + (content.right - view.right), m_virtualWidth, m_rect.Width());
  return moved;
}

bool MPanel::OverBar(CPoint pt) {
  MScroll* bars[] = {GetScrollVertical(), GetScrollHorizontal()};
  for (MScroll* bar : bars) {
    if (bar != nullptr && bar->IsVisible() && bar->GetRect().PtInRect(pt)) return true;
  }
  return false;
}

// --- 3. Overrides ----------------------------------------------------------------------------------

void MPanel::SetControlRect(CRect rect) {
  m_rect = rect;
  const CSize extent = ChildExtent();
  m_virtualHeight = extent.cy;
  m_virtualWidth = extent.cx;
  UpdateScrollBars();
}

void MPanel::InitControl(PaintManager* manager) {
  auto give = [&](MControl* c) {
    if (c->GetManager() != manager) c->SetManager(manager);
    return true;
  };
  ForEach(m_controls, m_controlsLock, give);
  ForEach(m_areas, m_areasLock, give);
}

LRESULT MPanel::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return OnMessage(id, code, wParam, lParam);
}

LRESULT MPanel::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return m_parent != nullptr ? m_parent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT MPanel::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    result = c->OnWindowMessage(msg, wParam, lParam);
    return result == 0;
  });
  return result;
}

LRESULT MPanel::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  if (redraw == 1 && control != nullptr) control->SetUpdate(0);
  CRect region = rect;
  // The bars lie over the content and cache nothing of it; content children
  // that come later and overlap cached a picture of what is changing.
  if (!IsOwnBar(control)) {
    bool met = control == nullptr;
    auto walk = [&](MControl* c) {
      if (c == control) {
        met = true;
      } else if (met && !IsOwnBar(c) && c->IsVisible() && c->GetRect().Intersects(rect)) {
        c->SetUpdate(0);
        region = region | c->GetRect();
      }
      return true;
    };
    ForEach(m_areas, m_areasLock, walk);
    ForEach(m_controls, m_controlsLock, walk);
    region = ContentToWindow(region);
  }
  // Only what shows through the panel needs painting; the request goes on
  // up so that the panel's own later siblings are refreshed as well.
  region = region & m_rect;
  if (region.IsRectEmpty() || !m_visible || m_parent == nullptr) return 0;
  return m_parent->OnControlUpdate(region, 0, this);
}

void MPanel::SetUpdate(int valid, COLORREF colour) {
  if (!IsScrolling()) {
    MControl::SetUpdate(valid, colour);
    return;
  }
  // Scrolled children are not where their rectangles say: all of them go
  // stale with the panel.
  m_update = valid;
  auto mark = [&](MControl* c) {
    c->SetUpdate(valid);
    return true;
  };
  ForEach(m_controls, m_controlsLock, mark);
  ForEach(m_areas, m_areasLock, mark);
}

int MPanel::OnMousePointChange(CPoint& pt) {
  if (!IsScrolling()) return 0;
  if (!m_pressedInside && (!m_rect.PtInRect(pt) || OverBar(pt))) {
    pt = CPoint(kNowhere, kNowhere);
    return 1;
  }
  const CPoint offset = GetScrollOffset();
  pt.x += offset.x;
  pt.y += offset.y;
  return 1;
}

int MPanel::OnControlScroll(int kind, UINT down, CPoint) {
  if (kind != 1 || !m_enableScroll) return 0;
  MScroll* bar = nullptr;
  if (m_virtualHeight > m_rect.Height()) bar = GetScrollVertical();
  // Content that is only too wide scrolls sideways with the wheel.
  else if (m_virtualWidth > m_rect.Width()) bar = GetScrollHorizontal();
  if (bar == nullptr) return 0;
  bar->ScrollRow(down ? 1 : -1);
  return 1;
}

void MPanel::DrawControl(HDC& dc, CRect) {
  if (m_image == nullptr || m_imageWidth <= 0 || m_imageHeight <= 0) return;
  if (m_backCorner > 0) {
    MRender::DrawImageFrame(dc, m_image, m_rect, 0, 0, m_imageWidth, m_imageHeight, m_backCorner);
  } else {
    MRender::DrawImage(dc, m_image, m_rect, 0, 0, m_imageWidth, m_imageHeight);
  }
}

void MPanel::DrawAreas(HDC& dc, CRect clip) {
  // Scrolled areas are drawn with the rest of the content.
  if (!IsScrolling()) MControl::DrawAreas(dc, clip);
}

int MPanel::DrawSubControls(HDC& dc, CRect clip) {
  std::vector<MControl*> bars;
  bool content = false;
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    content = !IsOwnBar(c);
    return !content;
  });
  if (!content) {
    std::lock_guard guard(m_areasLock);
    content = !m_areas.empty();
  }
  if (!IsScrolling() || !content) {
    ForEach(m_controls, m_controlsLock, [&](MControl* c) {
      if (IsOwnBar(c)) bars.push_back(c);
      else if (c->IsVisible()) c->Draw(dc, clip);
      return true;
    });
  } else {
    const int w = m_rect.Width(), h = m_rect.Height();
    CRect view = m_rect & clip;
    if (!view.IsRectEmpty() && w > 0 && h > 0) {
      if (!m_contentDC || m_contentDC->Width() != w || m_contentDC->Height() != h) {
        m_contentDC = std::make_unique<MDC>(w, h);
      }
      const CPoint offset = GetScrollOffset();
      HDC content = m_contentDC.get();
      content->SetOrigin(m_rect.left + offset.x, m_rect.top + offset.y);
      // What lies beneath the content is the panel's own drawing.
      MRender::BitBlt(content, m_rect.left + offset.x, m_rect.top + offset.y, w, h, dc, m_rect.left, m_rect.top);
      CRect contentClip = view;
      contentClip.OffsetRect(offset.x, offset.y);
      ForEach(m_areas, m_areasLock, [&](MControl* area) {
        area->Draw(content, contentClip);
        return true;
      });
      ForEach(m_controls, m_controlsLock, [&](MControl* c) {
        if (IsOwnBar(c)) bars.push_back(c);
        else if (c->IsVisible()) c->Draw(content, contentClip);
        return true;
      });
      MRender::BitBlt(dc, view.left, view.top, view.Width(), view.Height(), content, view.left + offset.x,
                      view.top + offset.y);
    } else {
      ForEach(m_controls, m_controlsLock, [&](MControl* c) {
        if (IsOwnBar(c)) bars.push_back(c);
        return true;
      });
    }
  }
  for (MControl* bar : bars) {
    if (bar->IsVisible()) bar->Draw(dc, clip);
  }
  return 1;
}

}  // namespace DUI
