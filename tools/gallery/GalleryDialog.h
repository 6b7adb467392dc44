#pragma once
// GalleryDialog: one window with the toolkit core's controls: texts in
// Latin and CJK scripts, a picture in each of the six show modes, and
// push buttons drawn from the generated skin. Every notification it
// receives is printed on stdout, one line each ("notify id=3 code=CN_CLICK
// wparam=0 lparam=0"), so that a script can drive the window and check.

#include <functional>
#include <string>

#include "toolkit/core/MDialog.h"

class GalleryDialog : public DUI::MDialog {
 public:
  static constexpr int kWidth = 900;
  static constexpr int kHeight = 600;
  static constexpr DUI::UINT kApplyId = 3;

  // The page InitUI builds (see GalleryPage.h); set before Create.
  void SetPage(std::string page) { m_page = std::move(page); }
  const std::string& Page() const { return m_page; }

  void InitUI(DUI::CRect client) override;
  DUI::LRESULT OnMessage(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam) override;

  // The rect of a control in client coordinates (empty when absent).
  DUI::CRect ControlRect(DUI::UINT id);

  // A page may react to the notifications it receives (after they are
  // printed), so that its controls work together.
  using NotifyHook = std::function<void(DUI::UINT id, DUI::UINT code, DUI::WPARAM wParam, DUI::LPARAM lParam)>;
  void SetNotifyHook(NotifyHook hook) { m_notifyHook = std::move(hook); }

 private:
  std::string m_page = "core";
  NotifyHook m_notifyHook;
};
