#include "toolkit/core/MProgress.h"

#include <string>

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/Manager.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"MProgress", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MProgress(p, id, r, v, e);
})
// A level meter is a progress bar showing a level: nothing in the program
// uses one.
QELT_REGISTER_CONTROL(L"MLevelCtrl", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new MProgress(p, id, r, v, e);
})

MProgress::MProgress(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 0), m_barColour(Manager::GetSelectColor()) {
  m_textColor = Color(0xFF808080);
  m_textBrush = m_textColor;
  m_hAlign = DT_CENTER;
  m_imageCount = 2;
}

int MProgress::SetProgress(int progress) {
  if (!m_enabled) return m_progress;
  const int maximum = m_maximum;
  if (progress > maximum) progress = maximum;
  if (progress >= 0 && progress != m_progress.exchange(progress)) UpdateControl(1, 0);
  return m_progress;
}

int MProgress::SetRun(int run, int progress) {
  if (!m_enabled) return m_running;
  bool changed = m_running.exchange(run) != run;
  if (progress >= 0 && progress <= m_maximum) changed = m_progress.exchange(progress) != progress || changed;
  if (changed) UpdateControl(1, 0);
  return m_running;
}

void MProgress::SetMaximum(int maximum) {
  // A maximum below 1 would divide by zero when the bar is laid out.
  if (maximum < 1) maximum = 1;
  m_maximum = maximum;
  if (m_progress > maximum) m_progress = maximum;
  UpdateControl(1, 0);
}

void MProgress::SetShowText(int show) {
  m_showText = show;
  UpdateControl(1, 0);
}

void MProgress::SetLineColor(Color colour) {
  m_lineColour = colour;
  UpdateControl(1, 0);
}

void MProgress::SetBarColor(Color colour) {
  m_barColour = colour;
  UpdateControl(1, 0);
}

bool MProgress::LoadPicture(Picture& picture, const ImgResInfo* info) {
  if (info == nullptr || !info->image) return false;
  picture.image = info->image.get();
  picture.width = info->frameWidth;
  picture.height = info->height;
  UpdateControl(1, 0);
  return true;
}

bool MProgress::SetBackGroundImage(CString file) {
  return m_manager != nullptr && LoadPicture(m_track, m_manager->AddImgResInfo(file.c_str(), 1));
}

bool MProgress::SetBackGroundImage(UINT pngResource) {
  return m_manager != nullptr && LoadPicture(m_track, m_manager->AddImgResInfo(pngResource, L"PNG", 1, 1));
}

bool MProgress::SetForeGroundImage(CString file) {
  return m_manager != nullptr && LoadPicture(m_fill, m_manager->AddImgResInfo(file.c_str(), 1));
}

bool MProgress::SetForeGroundImage(UINT pngResource) {
  return m_manager != nullptr && LoadPicture(m_fill, m_manager->AddImgResInfo(pngResource, L"PNG", 1, 1));
}

int MProgress::OnControlTimer() {
  if (!m_running || !m_visible) return 0;
  if (++m_ticks % m_tickDivisor != 0) return 0;
  const int next = m_progress + 1;
  m_progress = next >= m_maximum ? 0 : next;
  UpdateControl(1, 0);
  return 1;
}

int MProgress::FillWidth(int width) const {
  const int maximum = m_maximum;
  return maximum > 0 ? int(int64_t(width) * m_progress / maximum) : 0;
}

void MProgress::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    const int progress = m_progress;
    const int fill = FillWidth(w);
    if (m_fill.image != nullptr) {
      if (m_track.image != nullptr) {
        MRender::DrawImageFrameMID(m_cacheDC, m_track.image, CRect(0, 0, w, h), 0, 0, m_track.width, m_track.height,
                                   kBorder, 0, kBorder, 0);
      }
      // A fill narrower than its borders would draw them overlapping.
      if (progress != 0 && fill >= kBorder) {
        MRender::DrawImageFrameMID(m_cacheDC, m_fill.image, CRect(0, 0, fill, h), 0, 0, m_fill.width, m_fill.height,
                                   kBorder, 0, kBorder, 0);
      }
    } else if (m_image != nullptr && m_imageWidth > 0) {
      MRender::DrawImageFrame(m_cacheDC, m_image, CRect(0, 0, w, kBarHeight), 0, 0, m_imageWidth, m_imageHeight, 2);
      if (progress != 0) {
        MRender::DrawImageFrame(m_cacheDC, m_image, CRect(0, 0, fill, kBarHeight), m_imageWidth, 0, m_imageWidth,
                                m_imageHeight, 2);
      }
    } else {
      MRender::DrawColor(m_cacheDC, CRect(0, h - 2, w, h - 1), m_lineColour);
      MRender::DrawColor(m_cacheDC, CRect(0, h - 3, fill, h), m_barColour);
    }
    if (m_showText) {
      const CString text = m_title + std::to_wstring(progress) + (m_maximum == 100 ? L"%" : L"");
      DrawControlText(m_cacheDC, CRect((w - 60) / 2, 0, (w - 60) / 2 + 60, 20), text, m_textColor);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
