#pragma once
// GalleryMenuButton: a push button that opens a popup menu below itself
// and prints the item the user chooses ("menu item=12").

#include <memory>

#include "toolkit/core/MenuWnd.h"
#include "toolkit/core/MButton.h"

class GalleryMenuButton : public DUI::MButton {
 public:
  // The message the menu reports its choice with.
  static constexpr DUI::UINT kMenuMessage = WM_USER + 610;

  GalleryMenuButton(DUI::MObject* parent, DUI::UINT id, DUI::CRect rect, const wchar_t* title);
  ~GalleryMenuButton() override;

  // Opens the menu below the button; 1 when it is open.
  int OpenMenu();
  DUI::MenuWnd* GetMenu() const { return m_menu.get(); }

  int OnControlLButtonDown(DUI::UINT flags, DUI::CPoint pt) override;
  DUI::LRESULT OnWindowMessage(DUI::UINT msg, DUI::WPARAM wParam, DUI::LPARAM lParam) override;

 protected:
  void OnReleaseInside(bool pressed) override;

 private:
  bool MenuOpen() const;

  std::unique_ptr<DUI::MenuWnd> m_menu;
  // The press that closed an open menu must not open it again.
  bool m_closedByPress = false;
};
