#include "toolkit/core/MenuWnd.h"

#include <algorithm>

#include "platform/window/Window.h"
#include "toolkit/core/MDialog.h"
#include "toolkit/core/MenuItem.h"

namespace DUI {

namespace {

// The style the menu was always created with (a frameless window), made a
// pop-up of the platform: WS_POPUP with WS_EX_TOOLWINDOW is placed exactly
// where asked (override-redirect on X11), never takes the activation from
// its owner, and is dismissed with WM_NCACTIVATE 0.
constexpr DWORD kMenuStyle = 0x0000080B;

}  // namespace

MenuWnd::MenuWnd(MObject* parent) : m_parentObject(parent) {}

MenuWnd::~MenuWnd() {
  if (m_hWnd != nullptr && platform::IsWindow(m_hWnd)) platform::DestroyWindow(m_hWnd);
  m_manager.DestroyData();
}

// --- 1. MObject and MWindow ---------------------------------------------------------------------

LRESULT MenuWnd::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return OnMessage(id, code, wParam, lParam);
}

LRESULT MenuWnd::OnControlUpdate(CRect rect, int redraw, MControl* control) {
  return m_manager.OnControlUpdate(rect, redraw, control);
}

LRESULT MenuWnd::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const UINT flags = UINT(wParam);
  switch (msg) {
    case WM_CREATE: OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SIZE: OnSize(UINT(wParam), LOWORD(uintptr_t(lParam)), HIWORD(uintptr_t(lParam))); break;
    case WM_PAINT: OnPaint(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_ERASEBKGND: return 1;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(reinterpret_cast<void*>(lParam)); break;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<void*>(lParam)); break;
    case WM_NCACTIVATE: OnNcActivate(int(wParam)); break;
    case WM_TIMER: OnTimer(UINT(wParam)); break;
    case WM_MOUSEMOVE: OnMouseMove(flags, pt); break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_MOUSEHOVER: OnMouseHover(flags, pt); break;
    case WM_MOUSEWHEEL: OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), pt); break;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, pt); break;
    case WM_LBUTTONUP: OnLButtonUp(flags, pt); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, pt); break;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, pt); break;
    case WM_RBUTTONUP: OnRButtonUp(flags, pt); break;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, pt); break;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), UINT(lParam & 0xFFFF), UINT(lParam >> 16)); break;
    case WM_USERCLOSE: return OnUserCloseWindow(wParam, lParam);
    default: break;
  }
  const LRESULT handled = m_manager.OnWindowMessage(msg, wParam, lParam);
  if (handled != 0) return handled;
  return m_prevProc(m_hWnd, msg, wParam, lParam);
}

int MenuWnd::PreTranslateMessage(MSG* msg) { return m_manager.PreTranslateMessage(msg); }

int MenuWnd::OnInitDialog() {
  m_manager.Init(m_hWnd, this);
  InitUI(GetClientRect());
  return 1;
}

void MenuWnd::OnDestroyMessage(HWND) { PostNcDestroy(); }

// --- 2. Virtual slots ----------------------------------------------------------------------------------

void MenuWnd::InitUI(CRect) {}
void MenuWnd::UISize(CRect) {}

LRESULT MenuWnd::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM) {
  // Once the menu is closing (chosen or dismissed) nothing more is reported.
  if (m_closing) return 0;
  if (m_owner != nullptr && platform::IsWindow(m_owner)) {
    platform::PostMessage(m_owner, m_notifyMessage, wParam, LPARAM(id));
  }
  if (code == CN_CLICK) CloseWindow();
  return 0;
}

LRESULT MenuWnd::OnUserCloseWindow(WPARAM, LPARAM) {
  CloseWindow();
  return 1;
}

void MenuWnd::CloseWindow() {
  if (m_hWnd == nullptr) return;
  m_closing = 1;
  PostMessageW(WM_CLOSE, 0, 0);
}

LRESULT MenuWnd::OnCreate(CREATESTRUCTW*) { return 0; }

LRESULT MenuWnd::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) SetupBackTranslucent();
  const CRect client = GetClientRect();
  if (client.Width() > 1 && client.Height() > 1) {
    UISize(client);
    m_manager.SetCaptionRect(client);
  }
  InvalidateRect(client, 0);
  return 0;
}

LRESULT MenuWnd::OnMouseMove(UINT, CPoint) { return 0; }
LRESULT MenuWnd::OnMouseLeave() { return 0; }
LRESULT MenuWnd::OnMouseHover(UINT, CPoint) { return 0; }
LRESULT MenuWnd::OnMouseWheel(UINT, int, CPoint) { return 0; }
LRESULT MenuWnd::OnLButtonDown(UINT, CPoint) { return 0; }
LRESULT MenuWnd::OnLButtonUp(UINT, CPoint) { return 0; }
LRESULT MenuWnd::OnLButtonDblClk(UINT, CPoint) { return 0; }
LRESULT MenuWnd::OnRButtonDown(UINT, CPoint) { return 0; }
LRESULT MenuWnd::OnRButtonUp(UINT, CPoint) { return 0; }
LRESULT MenuWnd::OnRButtonDblClk(UINT, CPoint) { return 0; }

LRESULT MenuWnd::OnKeyDown(UINT vk, UINT, UINT) {
  if (vk == VK_ESCAPE) {
    CloseWindow();
    return 0;
  }
  MenuItem* hot = GetHotItem();
  if (vk == VK_RETURN) {
    if (hot != nullptr) OnMessage(hot->GetControlID(), CN_CLICK, 0, 0);
    return 0;
  }
  if (vk != VK_UP && vk != VK_DOWN) return 0;
  std::vector<MenuItem*> choosable;
  for (MControl* c : *m_manager.GetControls()) {
    if (c->IsClass(L"MenuItem") && static_cast<MenuItem*>(c)->IsChoosable()) {
      choosable.push_back(static_cast<MenuItem*>(c));
    }
  }
  if (choosable.empty()) return 0;
  const auto at = std::find(choosable.begin(), choosable.end(), hot);
  int index = at == choosable.end() ? (vk == VK_DOWN ? 0 : int(choosable.size()) - 1)
                                    : int(at - choosable.begin()) + (vk == VK_DOWN ? 1 : -1);
  // The highlight wraps around, as menus do.
  index = (index + int(choosable.size())) % int(choosable.size());
  for (MenuItem* item : choosable) item->SetHot(item == choosable[size_t(index)] ? 1 : 0);
  return 0;
}

LRESULT MenuWnd::OnNcHitTest(CPoint) { return 0; }
LRESULT MenuWnd::OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
LRESULT MenuWnd::OnNcCalcSize(int, void*) { return 0; }

LRESULT MenuWnd::OnNcActivate(int active) {
  if (!active) CloseWindow();
  return 0;
}

LRESULT MenuWnd::OnWindowPosChanging(void*) { return 1; }
LRESULT MenuWnd::OnWindowPosChanged(void*) { return 1; }
LRESULT MenuWnd::OnPaint() { return 0; }
void MenuWnd::OnTimer(UINT) {}
LRESULT MenuWnd::OnNcPaint() { return 0; }
LRESULT MenuWnd::OnClose() { return 1; }
void MenuWnd::PostNcDestroy() {}
LRESULT MenuWnd::OnDestroy() { return 0; }

// --- 3. Building the menu ------------------------------------------------------------------------------

int MenuWnd::Create(HWND owner, CPoint pt, UINT notifyMessage, int width) {
  m_width = width;
  m_notifyMessage = notifyMessage;
  m_owner = owner;
  m_point = pt;
  m_closing = 0;
  m_manager.SetBackColor(0x15170B, 0x120F0A);
  const HWND hwnd = MWindow::Create(owner, kTitle, WS_POPUP | kMenuStyle, WS_EX_TOOLWINDOW,
                                    CRect(pt.x, pt.y, pt.x + width, pt.y + width));
  if (hwnd == nullptr) return 0;
  // Items added before the window existed get their look and the window its
  // height now.
  SetMenuPoint();
  return 1;
}

int MenuWnd::Create(HWND owner, CPoint pt, UINT notifyMessage, int width, CString backImage, enumBackMode mode,
                    int frame) {
  if (!backImage.empty()) {
    m_manager.LoadBKImage(backImage);
    m_manager.SetBackMode(mode, frame);
  }
  return Create(owner, pt, notifyMessage, width);
}

int MenuWnd::AddMenu(CString text, UINT id, CString image, int, int) {
  auto* item = static_cast<MenuItem*>(
      m_manager.CreateControl(1, this, L"MenuItem", id, CRect(), text.c_str(), 1, 1));
  if (item != nullptr) {
    item->SetFont(m_fontName.c_str(), m_fontSize, m_fontStyle);
    if (!image.empty()) item->SetImage(image.c_str(), 4);
  }
  SetMenuPoint();
  return -1;
}

int MenuWnd::AddMenu(CString text, UINT id, int, int, int) { return AddMenu(std::move(text), id, CString(), 0, 0); }

void MenuWnd::AddSeparator(UINT id, CString text) {
  auto* item = static_cast<MenuItem*>(
      m_manager.CreateControl(1, this, L"MenuItem", id, CRect(), text.c_str(), 1, 1));
  if (item != nullptr) item->SetSeparator(1);
  SetMenuPoint();
}

MenuItem* MenuWnd::GetHotItem() {
  for (MControl* c : *m_manager.GetControls()) {
    if (c->IsClass(L"MenuItem") && static_cast<MenuItem*>(c)->GetState() == 1) return static_cast<MenuItem*>(c);
  }
  return nullptr;
}

MenuItem* MenuWnd::FindItem(const CString& text) {
  for (MControl* c : *m_manager.GetControls()) {
    if (!c->IsClass(L"MenuItem")) continue;
    auto* item = static_cast<MenuItem*>(c);
    if (item->GetTitle() == text) return item;
  }
  return nullptr;
}

int MenuWnd::SetItemTitle(CString item, CString title) {
  MenuItem* found = FindItem(item);
  if (found == nullptr) return 0;
  found->SetTitle(title.c_str());
  return 1;
}

int MenuWnd::SetItemVisible(CString item, int visible) {
  MenuItem* found = FindItem(item);
  if (found == nullptr) return 0;
  found->SetVisible(visible);
  SetMenuPoint();
  return 1;
}

int MenuWnd::SetItemEnable(CString item, int enabled) {
  MenuItem* found = FindItem(item);
  if (found == nullptr) return 0;
  found->SetEnabled(enabled);
  return 1;
}

int MenuWnd::SetItemCheck(CString item, int check) {
  MenuItem* found = FindItem(item);
  if (found == nullptr) return 0;
  found->SetCheck(check);
  return 1;
}

void MenuWnd::SetItemFont(CString name, int size, int style) {
  m_fontName = std::move(name);
  m_fontSize = size;
  m_fontStyle = style;
  for (MControl* c : *m_manager.GetControls()) {
    if (c->IsClass(L"MenuItem")) static_cast<MenuItem*>(c)->SetFont(m_fontName.c_str(), size, style);
  }
  SetMenuPoint();
}

void MenuWnd::SetItemHeight(int height) {
  m_itemHeight = std::max(1, height);
  SetMenuPoint();
}

void MenuWnd::SetItemIndent(int indent) {
  m_indent = indent;
  SetMenuPoint();
}

void MenuWnd::SetMenuWidth(int width) {
  m_width = width;
  SetMenuPoint();
}

void MenuWnd::SetPadding(int top, int bottom) {
  m_topPadding = top;
  m_bottomPadding = bottom == 0 ? 2 : bottom;
  SetMenuPoint();
}

void MenuWnd::SetItemColor(Color colour) {
  m_itemColor = colour;
  SetMenuPoint();
}

void MenuWnd::SetItemBkImage(CString file) {
  m_itemBkImage = std::move(file);
  SetMenuPoint();
}

void MenuWnd::SetCheckImage(CString file) {
  m_checkImage = std::move(file);
  SetMenuPoint();
}

void MenuWnd::StyleItem(MenuItem* item) {
  item->SetIndent(m_indent);
  if (!m_itemBkImage.empty()) item->SetItemBkImage(m_itemBkImage.c_str());
  else item->SetItemColor(m_itemColor);
  if (!m_checkImage.empty()) item->SetCheckImage(m_checkImage.c_str());
}

void MenuWnd::SetMenuPoint() {
  // The widest item image makes a column that every text starts after.
  int imageColumn = 0;
  for (MControl* c : *m_manager.GetControls()) {
    if (!c->IsClass(L"MenuItem") || !c->IsVisible()) continue;
    const auto* item = static_cast<MenuItem*>(c);
    if (item->GetImage() != nullptr) imageColumn = std::max(imageColumn, int(item->GetImageSize().cx) + 6);
  }
  int y = m_topPadding;
  for (MControl* c : *m_manager.GetControls()) {
    if (!c->IsClass(L"MenuItem")) continue;
    auto* item = static_cast<MenuItem*>(c);
    if (!item->IsVisible()) {
      item->SetRect(CRect());
      continue;
    }
    StyleItem(item);
    item->SetTextOffset(imageColumn);
    if (item->IsSeparator()) {
      item->SetRect(CRect(m_indent + 1, y + 1, m_width - 1, y + 2));
      y += 4;
    } else {
      item->SetRect(CRect(2, y, m_width - 2, y + m_itemHeight));
      y += m_itemHeight;
    }
  }
  m_menuHeight = y + m_bottomPadding;
  if (m_hWnd == nullptr) return;
  // Sized at the point it was asked for: the platform had to move the first,
  // square window up to keep it on the screen, and the menu should only
  // leave that point as far as its real height needs.
  SetWindowPos(nullptr, m_point.x, m_point.y, m_width, m_menuHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  m_manager.Invalidate();
}

MControl* MenuWnd::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled) {
  return m_manager.CreateControl(1, this, className, id, rect, title, visible, enabled);
}

MControl* MenuWnd::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                              int enabled) {
  return m_manager.CreateControl(0, this, className, id, rect, title, visible, enabled);
}

void MenuWnd::SetupBackTranslucent() {
  if (m_hWnd == nullptr) return;
  if (m_alpha != 255) {
    ModifyExStyle(0, WS_EX_LAYERED);
    platform::SetLayeredWindowAttributes(m_hWnd, 0, m_alpha, LWA_ALPHA);
  } else if (m_transparentColor != 0xFFFFFF) {
    ModifyExStyle(0, WS_EX_LAYERED);
    platform::SetLayeredWindowAttributes(m_hWnd, m_transparentColor, 255, LWA_COLORKEY);
  }
}

}  // namespace DUI
