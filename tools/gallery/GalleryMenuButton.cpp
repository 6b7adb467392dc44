#include "tools/gallery/GalleryMenuButton.h"

#include <cstdio>

#include "platform/window/Window.h"
#include "toolkit/core/MenuItem.h"
#include "toolkit/core/PaintManager.h"

using namespace DUI;

GalleryMenuButton::GalleryMenuButton(MObject* parent, UINT id, CRect rect, const wchar_t* title)
    : MButton(parent, id, rect, title, 1, 1) {}

GalleryMenuButton::~GalleryMenuButton() = default;

bool GalleryMenuButton::MenuOpen() const {
  return m_menu != nullptr && m_menu->GetSafeHwnd() != nullptr && m_menu->IsWindowVisible();
}

int GalleryMenuButton::OpenMenu() {
  if (m_manager == nullptr || m_manager->GetPaintWnd() == nullptr) return 0;
  if (MenuOpen()) return 1;
  HWND owner = m_manager->GetPaintWnd();
  POINT at{m_rect.left, m_rect.bottom + 4};
  platform::ClientToScreen(owner, &at);
  m_menu = std::make_unique<MenuWnd>(m_parent);
  m_menu->SetItemFont(L"Open Sans", 14, 0);
  m_menu->LoadBKImage(L"img_menu_bkg.png");
  m_menu->SetBackMode(BackModeFrame, 6);
  m_menu->SetItemBkImage(L"img_menu_item.png");
  m_menu->SetCheckImage(L"img_menu_check.png");
  m_menu->SetItemIndent(10);
  if (!m_menu->Create(owner, CPoint(at.x, at.y), kMenuMessage, 220)) return 0;
  m_menu->AddMenu(L"Rename", 11, L"img_menu_rename.png");
  m_menu->AddMenu(L"Duplicate 复制", 12, L"img_menu_copy.png");
  m_menu->AddSeparator(19);
  m_menu->AddMenu(L"Show hidden profiles", 13);
  m_menu->SetItemCheck(L"Show hidden profiles", 1);
  m_menu->AddMenu(L"Export…", 14);
  m_menu->SetItemEnable(L"Export…", 0);
  m_menu->AddSeparator(20);
  m_menu->AddMenu(L"Delete", 15, L"img_menu_delete.png");
  m_menu->ShowWindow(SW_SHOW);
  return 1;
}

int GalleryMenuButton::OnControlLButtonDown(UINT flags, CPoint pt) {
  // The press itself has already dismissed an open menu (it closes from
  // the message loop), so a live menu here means this press closed it.
  m_closedByPress = m_menu != nullptr && m_menu->GetSafeHwnd() != nullptr;
  return MButton::OnControlLButtonDown(flags, pt);
}

void GalleryMenuButton::OnReleaseInside(bool pressed) {
  MButton::OnReleaseInside(pressed);
  if (pressed && !m_closedByPress) OpenMenu();
  m_closedByPress = false;
}

LRESULT GalleryMenuButton::OnWindowMessage(UINT msg, WPARAM, LPARAM lParam) {
  if (msg != kMenuMessage) return 0;
  std::printf("menu item=%ld\n", static_cast<long>(lParam));
  std::fflush(stdout);
  return 1;
}
