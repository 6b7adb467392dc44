#include "toolkit/core/MControl.h"

#include <cwchar>

#include "toolkit/core/MRender.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

namespace {

// The help cursor (question mark) has no constant in the message vocabulary.
constexpr HCURSOR kIdcHelp = 32651;

// A panel's own scroll bars (ids 1 and 2) live in the panel's coordinates,
// every other child in the panel's content coordinates.
CPoint ChildPoint(const MControl* child, CPoint incoming, CPoint changed) {
  const UINT id = child->GetControlID();
  return (id == 1 || id == 2) ? incoming : changed;
}

}  // namespace

// --- 1. Construction, identity and the child tree ------------------------------

MControl::MControl(MObject* parent, UINT id, CRect rect, int visible, int enabled, int mouseResponse)
    : m_parent(parent), m_id(id), m_rect(rect), m_visible(visible), m_enabled(enabled),
      m_mouseResponse(mouseResponse) {}

MControl::~MControl() {
  RemoveAllControl();
  // The window keeps plain pointers (focus, hover, timers, tooltip owner);
  // they must not outlive the control.
  if (m_manager != nullptr) m_manager->ForgetControl(this);
  FreeCache();
}

void MControl::FreeCache() {
  MRender::DeleteDC(m_cacheDC);
  MRender::DeleteDC(m_animateDC);
  m_cacheSize = CSize();
  m_animateSize = CSize();
}

void MControl::SetManager(PaintManager* manager) {
  m_manager = manager;
  InitControl(manager);
}

MControl* MControl::GetControl(UINT id) {
  MControl* found = nullptr;
  auto search = [&](MControl* c) {
    if (c->GetControlID() == id) found = c;
    else found = c->GetControl(id);
    return found == nullptr;
  };
  ForEach(m_controls, m_controlsLock, search);
  if (found == nullptr) ForEach(m_areas, m_areasLock, search);
  return found;
}

void MControl::AddChild(MControl* child, UINT kind) {
  if (child == nullptr) return;
  if (kind == 0) {
    std::lock_guard guard(m_areasLock);
    m_areas.push_back(child);
  } else {
    std::lock_guard guard(m_controlsLock);
    m_controls.push_back(child);
  }
}

int MControl::RemoveControl(MControl* control) {
  if (control == nullptr) return 0;
  if (m_manager != nullptr && m_manager->GetFocusControl() == control) m_manager->SetFocusControl(nullptr);
  std::lock_guard guard(m_controlsLock);
  for (size_t i = 0; i < m_controls.size(); ++i) {
    if (m_controls[i] == control) {
      m_controls.erase(m_controls.begin() + static_cast<std::ptrdiff_t>(i));
      if (m_hotChild == control) m_hotChild = nullptr;
      delete control;
      break;
    }
  }
  return 0;
}

void MControl::RemoveAllControl() {
  std::vector<MControl*> areas, controls;
  {
    std::lock_guard guard(m_areasLock);
    areas.swap(m_areas);
  }
  {
    std::lock_guard guard(m_controlsLock);
    controls.swap(m_controls);
    m_hotChild = nullptr;
  }
  for (MControl* c : controls) delete c;
  for (MControl* c : areas) delete c;
}

// --- 2. Geometry and state -------------------------------------------------------

void MControl::SetRect(CRect rect) {
  const CRect old = m_rect;
  SetControlRect(rect);
  if (m_visible && m_parent != nullptr) m_parent->OnControlUpdate(old | m_rect, 1, this);
}

void MControl::SetRect(int x, int y, int width, int height) {
  SetRect(CRect(x, y, x + width, y + height));
}

void MControl::SetVisible(int visible) { SetVisible(visible, 1); }

void MControl::SetVisible(int show, int update) {
  if ((show != 0) == (m_visible != 0)) return;
  SetControlVisible(show);
  // Also when hiding: what lay beneath must be painted again.
  if (update && m_parent != nullptr) m_parent->OnControlUpdate(m_rect, 1, this);
}

int MControl::IsParentVisible() const {
  if (m_parent == nullptr) return 0;
  const wchar_t* name = m_parent->GetClassNameW();
  if (name != nullptr && std::wcscmp(name, L"MDialog") == 0) return 1;
  const auto* parent = dynamic_cast<const MControl*>(m_parent);
  // Another kind of window (a popup menu) counts as a visible top.
  if (parent == nullptr) return 1;
  return (parent->IsVisible() && parent->IsParentVisible()) ? 1 : 0;
}

void MControl::SetEnabled(int enabled) {
  if ((enabled != 0) == (m_enabled != 0)) return;
  SetControlEnabled(enabled);
  if (m_visible && m_parent != nullptr) m_parent->OnControlUpdate(m_rect, 1, this);
}

int MControl::IsFocusControl() const {
  return (m_manager != nullptr && m_manager->GetFocusControl() == this) ? 1 : 0;
}

void MControl::AddMTimer() {
  if (m_manager != nullptr) m_manager->AddMTimer(this);
}

void MControl::SetTooltip(const wchar_t* text) { m_tooltip = text != nullptr ? text : L""; }

void MControl::SetTooltip(CString text, CRect rect) {
  if (m_manager == nullptr) return;
  m_manager->SetTooltip(text.c_str(), rect);
  m_manager->SetTooltipOwner(m_id);
}

void MControl::ClearTooltip() {
  if (m_manager != nullptr) m_manager->ClearTooltip();
}

CString MControl::GetTooltip() const { return m_tooltip; }

int MControl::SetCursorEx(const wchar_t* name) {
  if (name == nullptr) return 0;
  static const struct {
    const wchar_t* name;
    HCURSOR cursor;
  } kCursors[] = {
      {L"arrow", IDC_ARROW}, {L"wait", IDC_WAIT},     {L"cross", IDC_CROSS}, {L"sizewe", IDC_SIZEWE},
      {L"sizens", IDC_SIZENS}, {L"hand", IDC_HAND}, {L"help", kIdcHelp},
  };
  for (const auto& c : kCursors) {
    if (std::wcscmp(c.name, name) == 0) m_cursor = c.cursor;
  }
  return 0;
}

LRESULT MControl::SendMessageW(UINT code, WPARAM wParam, LPARAM lParam) {
  if (m_parent == nullptr) return 0;
  return m_parent->OnBaseMessage(m_id, code, wParam, lParam);
}

int MControl::PostNotify(UINT code, WPARAM wParam, LPARAM lParam) {
  if (m_manager == nullptr) {
    // Not attached: there is no window thread, and no timer reaches it.
    SendMessageW(code, wParam, lParam);
    return 1;
  }
  return m_manager->NotifyParent(this, code, wParam, lParam);
}

// --- 3. Redraw requests and the cached rendering ---------------------------------

void MControl::UpdateControl(int redraw, int force) {
  if ((m_visible || force) && m_parent != nullptr) m_parent->OnControlUpdate(m_rect, redraw, this);
}

void MControl::UpdateControl(CRect rect, int force, int redraw) {
  if ((m_visible || force) && m_parent != nullptr) m_parent->OnControlUpdate(rect, redraw, this);
}

void MControl::UpdateAControl(int a, int force) {
  if (!(m_visible || force)) return;
  m_animation = a == 0 ? 1 : 0;
  if (m_parent != nullptr) m_parent->OnControlUpdate(m_rect, 0, this);
}

void MControl::UpdateMemDC(HDC& dc, int width, int height) {
  m_update = 1;
  if (m_cacheDC != nullptr && m_cacheSize == CSize(width, height)) return;
  MRender::DeleteDC(m_cacheDC);
  m_cacheDC = MRender::CreateCompatibleDC(dc, width, height);
  m_cacheSize = CSize(width, height);
}

void MControl::UpdateAnimateDC(HDC& dc, int width, int height) {
  if (m_animateDC != nullptr && m_animateSize == CSize(width, height)) return;
  MRender::DeleteDC(m_animateDC);
  m_animateDC = MRender::CreateCompatibleDC(dc, width, height);
  m_animateSize = CSize(width, height);
}

void MControl::Draw(HDC& dc, CRect clip) {
  if (!m_visible || !m_rect.Intersects(clip)) return;
  DrawAreas(dc, clip);
  DrawControl(dc, clip);
  DrawSubControls(dc, clip);
}

void MControl::DrawAreas(HDC& dc, CRect clip) {
  ForEach(m_areas, m_areasLock, [&](MControl* area) {
    if (area->GetRect().Intersects(m_rect)) area->Draw(dc, clip);
    return true;
  });
}

// --- 4. Input entry points ----------------------------------------------------------

int MControl::OnMouseMove(UINT flags, CPoint pt) {
  if (!m_visible || !m_mouseResponse) return 0;
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  MControl* const hadHot = m_hotChild;
  if (m_hotChild != nullptr) {
    const CPoint cp = ChildPoint(m_hotChild, incoming, pt);
    if (m_hotChild->PtInRect(cp) && m_hotChild->OnCheckMouseResponse(flags, cp)) {
      return m_hotChild->OnMouseMove(flags, cp);
    }
    // The press holds the mouse: the pressed child follows it anywhere.
    if (m_pressedInside) return m_hotChild->OnMouseMove(flags, cp);
  }
  m_hotChild = nullptr;
  if (m_manager != nullptr && !m_tooltip.empty() && PtInRect(pt) && OnCheckMouseResponse(flags, pt) &&
      m_manager->GetTooltipOwner() != m_id) {
    m_manager->SetTooltip(m_tooltip.c_str(), m_rect);
    m_manager->SetTooltipOwner(m_id);
  }
  OnControlSetCursor(flags, pt);
  int result = OnControlMouseMove(flags, pt);
  if (!m_pressedInside) {
    ForEach(m_controls, m_controlsLock, [&](MControl* c) {
      const CPoint cp = ChildPoint(c, incoming, pt);
      if (c->OnMouseMove(flags, cp) && c->PtInRect(cp)) {
        m_hotChild = c;
        result = 1;
      }
      return true;
    });
  }
  return (m_hotChild != nullptr || hadHot != nullptr) ? 1 : result;
}

MControl* MControl::RoutePress(CPoint incoming, CPoint pt) {
  // The own rect is in window coordinates, so it is tested with the point as
  // it came in, not with the content point of a scrolled panel.
  m_pressedInside = m_rect.PtInRect(incoming) ? 1 : 0;
  // Without a match the hot child of the last move keeps the press, unless
  // it can no longer take one (hidden or disabled since).
  if (m_hotChild != nullptr && !(m_hotChild->IsVisible() && m_hotChild->IsEnabled() && m_hotChild->GetRresponse())) {
    m_hotChild = nullptr;
  }
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    if (c->IsVisible() && c->IsEnabled() && c->GetRresponse() && c->PtInRect(ChildPoint(c, incoming, pt))) {
      m_hotChild = c;
    }
    return true;
  });
  return m_hotChild;
}

void MControl::TakeFocus() {
  if (m_manager == nullptr) return;
  MControl* focus = m_manager->GetFocusControl();
  if (focus != nullptr && focus != this) focus->SetControlFocus(0);
  SetControlFocus(1);
  m_manager->SetFocusControl(this);
}

int MControl::OnLButtonDown(UINT flags, CPoint pt) {
  if (!m_visible || !m_mouseResponse) return 0;
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  if (MControl* child = RoutePress(incoming, pt)) {
    return child->OnLButtonDown(flags, ChildPoint(child, incoming, pt)) ? 1 : 0;
  }
  TakeFocus();
  return OnControlLButtonDown(flags, pt);
}

int MControl::OnRButtonDown(UINT flags, CPoint pt) {
  if (!m_visible || !m_mouseResponse) return 0;
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  if (MControl* child = RoutePress(incoming, pt)) {
    return child->OnRButtonDown(flags, ChildPoint(child, incoming, pt)) ? 1 : 0;
  }
  TakeFocus();
  return OnControlRButtonDown(flags, pt);
}

int MControl::OnLButtonUp(UINT flags, CPoint pt) {
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  m_pressedInside = 0;
  if (m_hotChild != nullptr) return m_hotChild->OnLButtonUp(flags, ChildPoint(m_hotChild, incoming, pt));
  return OnControlLButtonUp(flags, pt);
}

int MControl::OnRButtonUp(UINT flags, CPoint pt) {
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  m_pressedInside = 0;
  if (m_hotChild != nullptr) return m_hotChild->OnRButtonUp(flags, ChildPoint(m_hotChild, incoming, pt));
  return OnControlRButtonUp(flags, pt);
}

int MControl::OnLButtonDblClk(UINT flags, CPoint pt) {
  if (!m_visible || !m_mouseResponse) return 0;
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  if (m_hotChild != nullptr) {
    const CPoint cp = ChildPoint(m_hotChild, incoming, pt);
    int handled = m_hotChild->OnLButtonDblClk(flags, cp);
    if (!handled && m_hotChild->GetDblClk() == 0) handled = m_hotChild->OnLButtonDown(flags, cp);
    return handled;
  }
  // Without a distinct double click the second click is a second press.
  m_pressedInside = m_rect.PtInRect(incoming) ? 1 : 0;
  if (m_dblClk == 0) return OnControlLButtonDown(flags, pt);
  return OnControlLButtonDblClk(flags, pt);
}

int MControl::OnRButtonDblClk(UINT flags, CPoint pt) {
  if (!m_visible || !m_mouseResponse) return 0;
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  if (m_hotChild != nullptr) {
    const CPoint cp = ChildPoint(m_hotChild, incoming, pt);
    int handled = m_hotChild->OnRButtonDblClk(flags, cp);
    if (!handled && m_hotChild->GetDblClk() == 0) handled = m_hotChild->OnRButtonDown(flags, cp);
    return handled;
  }
  m_pressedInside = m_rect.PtInRect(incoming) ? 1 : 0;
  if (m_dblClk == 0) return OnControlRButtonDown(flags, pt);
  return OnControlRButtonDblClk(flags, pt);
}

int MControl::OnScroll(int kind, UINT down, CPoint pt) {
  if (!m_visible || !m_mouseResponse || !m_enabled) return 0;
  const CPoint incoming = pt;
  OnMousePointChange(pt);
  if (m_hotChild != nullptr) {
    const CPoint cp = ChildPoint(m_hotChild, incoming, pt);
    if (m_hotChild->PtInRect(cp) && m_hotChild->OnCheckMouseResponse(0, cp) &&
        m_hotChild->OnScroll(kind, down, cp)) {
      return 1;
    }
  }
  if (m_rect.PtInRect(incoming) && OnControlScroll(kind, down, pt)) return 1;
  int handled = 0;
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    const CPoint cp = ChildPoint(c, incoming, pt);
    if (c->PtInRect(cp) && c->OnScroll(kind, down, cp)) handled = 1;
    return handled == 0;
  });
  return handled;
}

int MControl::OnKeyDown(UINT vk, UINT repeat, UINT modifiers) {
  if (!m_visible || !m_mouseResponse) return 0;
  MControl* focused = nullptr;
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    if (c->IsFocused()) focused = c;
    return focused == nullptr;
  });
  // A child with an editor of its own takes every key (and its focused
  // children before it).
  if (focused != nullptr) return focused->OnKeyDown(vk, repeat, modifiers) ? 1 : 0;
  if (m_hotChild != nullptr && m_hotChild->OnKeyDown(vk, repeat, modifiers)) return 1;
  if (OnControlKeyDown(vk, repeat, modifiers)) return 1;
  int handled = 0;
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    if (c->OnKeyDown(vk, repeat, modifiers)) handled = 1;
    return handled == 0;
  });
  return handled;
}

int MControl::OnTimer() {
  int result = OnControlTimer() ? 1 : 0;
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    if (c->IsRunTimer() && c->IsVisible() && c->OnTimer()) result = 1;
    return true;
  });
  return result;
}

// --- 5. Virtual hooks ---------------------------------------------------------------

void MControl::InitControl(PaintManager*) {}

int MControl::PtInRect(CPoint pt) { return m_rect.PtInRect(pt) ? 1 : 0; }

int MControl::DrawSubControls(HDC& dc, CRect clip) {
  ForEach(m_controls, m_controlsLock, [&](MControl* c) {
    if (c->IsVisible()) c->Draw(dc, clip);
    return true;
  });
  return 1;
}

int MControl::IsDraw(CPoint) { return 0; }

void MControl::SetUpdate(int valid, COLORREF) {
  m_update = valid;
  // Children cache a picture of what lies beneath them, which is this
  // control: they go stale with it. Areas are included for the same reason.
  auto mark = [&](MControl* c) {
    if (c->GetRect().Intersects(m_rect)) c->SetUpdate(valid);
    return true;
  };
  ForEach(m_controls, m_controlsLock, mark);
  ForEach(m_areas, m_areasLock, mark);
}

int MControl::SetControlFocus(int focus) {
  if (focus == 0) {
    ForEach(m_controls, m_controlsLock, [](MControl* c) {
      c->SetControlFocus(0);
      return true;
    });
  }
  return 0;
}

void MControl::InitUI(CRect) {}
int MControl::OnMousePointChange(CPoint&) { return 0; }
int MControl::OnCheckMouseResponse(UINT, CPoint) { return 1; }
LRESULT MControl::OnWindowMessage(UINT, WPARAM, LPARAM) { return 0; }
LRESULT MControl::OnMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }
void MControl::SetControlRect(CRect rect) { m_rect = rect; }
void MControl::SetControlVisible(int visible) { m_visible = visible; }
void MControl::SetControlWndVisible(int) {}
void MControl::SetControlEnabled(int enabled) { m_enabled = enabled; }
int MControl::OnControlTimer() { return 0; }
bool MControl::IsAnimating() const { return true; }
HDC MControl::GetControlDropBitmap() { return nullptr; }
int MControl::OnControlMouseMove(UINT, CPoint) { return 0; }

int MControl::OnControlSetCursor(UINT, CPoint pt) {
  if (m_cursor == 0 || !m_rect.PtInRect(pt) || m_manager == nullptr) return 0;
  m_manager->SetCursor(m_cursor);
  return 1;
}

int MControl::OnControlLButtonDown(UINT, CPoint) { return 0; }
int MControl::OnControlLButtonUp(UINT, CPoint) { return 0; }
int MControl::OnControlLButtonDblClk(UINT, CPoint) { return 0; }
int MControl::OnControlScroll(int, UINT, CPoint) { return 0; }
int MControl::OnControlRButtonDown(UINT, CPoint) { return 0; }
int MControl::OnControlRButtonUp(UINT, CPoint) { return 0; }
int MControl::OnControlRButtonDblClk(UINT, CPoint) { return 0; }
int MControl::OnControlKeyDown(UINT, UINT, UINT) { return 0; }
void MControl::OnPositionChange() {}

void MControl::InvalidateRect(const RECT*, int erase) {
  if (m_manager == nullptr) return;
  if (m_manager->IsLayered()) m_manager->Invalidate();
  else m_manager->InvalidateRect(m_rect, erase);
}

}  // namespace DUI
