#include "ui/PageParts.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "device/DeviceWorker.h"
#include "platform/draw/Font.h"
#include "shell/Localisation.h"
#include "toolkit/core/MControlFont.h"
#include "toolkit/core/MPicture.h"
#include "toolkit/core/MText.h"
#include "ui/DeviceMainDlg.h"

using namespace DUI;

namespace ui::page {

namespace {

// The jobs that only send a group of settings from the store.
bool IsWriteJob(int code) {
  switch (code) {
    case DeviceWorker::kJobLighting:
    case DeviceWorker::kJobDpiStages:
    case DeviceWorker::kJobDpiColours:
    case DeviceWorker::kJobReportRate:
    case DeviceWorker::kJobLiftOff:
    case DeviceWorker::kJobPowerOptions:
      return true;
    default:
      return false;
  }
}

}  // namespace

MPicture* Frame(MPanel& panel, UINT id, const wchar_t* image, int border) {
  auto* picture = Add<MPicture>(panel, id, CRect(), 1, 1);
  picture->SetImage(image, 1);
  picture->SetShowMode(ShowModeFrame, border);
  return picture;
}

MPicture* Backdrop(MPanel& panel, UINT id) {
  // The middle of the window's background image is its plain colour.
  auto* picture = Add<MPicture>(panel, id, CRect(), 1, 1);
  picture->SetImage(L"main_bkg.png", 1);
  picture->SetSourceRect(CRect(100, 100, 140, 140));
  picture->SetShowMode(ShowModeSource, 0);
  return picture;
}

MText* Caption(MPanel& panel, UINT id, int fontWidth, ARGB colour) {
  auto* text = Add<MText>(panel, id, CRect(), L"", 1, 1);
  text->SetFontWidth(fontWidth);
  text->SetTextColor(Color(colour));
  text->SetAlignment(DT_LEFT, DT_VCENTER);
  return text;
}

int TextWidth(MControlFont& control) {
  const CString title = control.GetTitle();
  if (title.empty()) return 0;
  return int(std::ceil(platform::MeasureText(title, control.FontSpecFor()).width));
}

void PlaceAfter(MControlFont& caption, MControl& follower, int gap) {
  const CRect c = caption.GetRect();
  const CRect f = follower.GetRect();
  const int x = c.left + std::min(TextWidth(caption), c.Width()) + gap;
  const int y = c.top + (c.Height() - f.Height()) / 2;
  follower.SetRect(CRect(x, y, x + f.Width(), y + f.Height()));
}

void QueueWriteJob(DeviceMainDlg& dlg, int code) {
  const std::vector<int> waiting = dlg.Worker().Jobs().Codes();
  for (auto it = waiting.rbegin(); it != waiting.rend() && IsWriteJob(*it); ++it) {
    if (*it == code) return;
  }
  dlg.AppendJob(code);
}

std::wstring Text(int id) { return shell::GetText(id); }

MPicture* MakeFrame(MPanel& panel, UINT id, const wchar_t* image, enumShowMode mode, int frame) {
  auto* picture = dynamic_cast<MPicture*>(panel.CreateArea(L"MPicture", id, CRect(), nullptr, 1, 1));
  if (picture != nullptr) {
    picture->SetImage(image, 1);
    picture->SetShowMode(mode, frame);
  }
  return picture;
}

MText* MakeText(MPanel& panel, UINT id, Color colour, int size) {
  auto* text = Make<MText>(panel, L"MText", id, L"");
  if (text != nullptr) {
    text->SetTextColor(colour);
    text->SetFontWidth(size);
    text->SetAlignment(DT_LEFT, DT_VCENTER);
  }
  return text;
}

}  // namespace ui::page
