#include "toolkit/controls/BatteryCtrl.h"

#include <algorithm>
#include <string>

#include "toolkit/core/ControlRegistry.h"
#include "toolkit/core/ImgResInfo.h"
#include "toolkit/core/PaintManager.h"

namespace DUI {

QELT_REGISTER_CONTROL(L"BatteryCtrl", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
  return new BatteryCtrl(p, id, r, v, e);
})

namespace {
constexpr int kMarkGap = 2;   // between the gauge and the charging mark
constexpr int kTextGap = 6;   // before the level text
constexpr int kTextWidth = 40;
}  // namespace

BatteryCtrl::BatteryCtrl(MObject* parent, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, nullptr, visible, enabled, 0) {
  m_runTimer = 1;
  m_imageCount = 1;
  m_fontSize = 14;
}

void BatteryCtrl::SetBatteryInfo(int level, int charging) {
  const int oldLevel = m_level.exchange(level);
  const int oldCharging = m_charging.exchange(charging);
  if (oldLevel == level && oldCharging == charging) return;
  if ((oldCharging != 0) != (charging != 0)) {
    m_animated = 0;
    m_ticks = 0;
  }
  UpdateControl(1, 0);
}

int BatteryCtrl::GetShownLevel() const {
  const int level = m_charging.load() != 0 ? m_animated.load() : m_level.load();
  return std::clamp(level, 0, 100);
}

bool BatteryCtrl::Load(Picture& picture, const wchar_t* file) {
  if (m_manager == nullptr || file == nullptr) return false;
  const ImgResInfo* info = m_manager->AddImgResInfo(file, 1);
  if (info == nullptr || !info->image) return false;
  picture.image = info->image.get();
  picture.width = info->frameWidth;
  picture.height = info->height;
  return true;
}

int BatteryCtrl::SetBatteryIcon(const wchar_t* fill, const wchar_t* charging) {
  const bool fillLoaded = Load(m_fill, fill);
  const bool chargeLoaded = Load(m_charge, charging);
  if (fillLoaded || chargeLoaded) UpdateControl(1, 0);
  return fillLoaded && chargeLoaded ? 1 : 0;
}

int BatteryCtrl::OnControlTimer() {
  if (m_charging.load() == 0) return 0;
  if (++m_ticks % kTickDivisor != 0) return 0;
  const int next = m_animated.load() + kAnimationStep;
  m_animated = next >= std::clamp(m_level.load(), 0, 100) ? 0 : next;
  UpdateControl(1, 0);
  return 1;
}

void BatteryCtrl::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_update) {
    UpdateMemDC(dc, w, h);
    MRender::BitBlt(m_cacheDC, 0, 0, w, h, dc, m_rect.left, m_rect.top);
    int gaugeWidth = 0;
    if (m_image != nullptr && m_imageWidth > 0) {
      MRender::DrawImage(m_cacheDC, m_image, CRect(0, 0, m_imageWidth, m_imageHeight), 0, 0, m_imageWidth,
                         m_imageHeight);
      gaugeWidth = m_imageWidth;
    }
    const int shown = GetShownLevel();
    if (m_fill.image != nullptr && shown > 0) {
      const int fw = m_fill.width * shown / 100;
      if (fw > 0) {
        MRender::DrawImage(m_cacheDC, m_fill.image, CRect(kInnerX, kInnerY, kInnerX + fw, kInnerY + m_fill.height), 0,
                           0, fw, m_fill.height);
      }
      gaugeWidth = std::max(gaugeWidth, kInnerX + m_fill.width);
    }
    int x = gaugeWidth + kMarkGap;
    if (m_charging.load() != 0 && m_charge.image != nullptr) {
      const int y = ((m_imageHeight > 0 ? m_imageHeight : h) - m_charge.height) / 2;
      MRender::DrawImage(m_cacheDC, m_charge.image, CRect(x, y, x + m_charge.width, y + m_charge.height), 0, 0,
                         m_charge.width, m_charge.height);
    }
    if (m_charge.image != nullptr) x += m_charge.width;
    x += kTextGap;
    if (x + kTextWidth <= w) {
      const CString text = std::to_wstring(std::clamp(m_level.load(), 0, 100)) + L"%";
      DrawControlText(m_cacheDC, CRect(x, 0, w, m_imageHeight > 0 ? m_imageHeight : h), text, m_textColor);
    }
  }
  MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_cacheDC, 0, 0);
}

}  // namespace DUI
